#pragma once
// A label for file names: keeps the whole text (text(), tool tips) but paints it shortened in the
// middle when the column is too narrow, so long names never widen a row.

#include <QLabel>

class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};
