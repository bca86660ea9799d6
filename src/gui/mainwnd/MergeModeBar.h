#pragma once
// The merge zone's choice of how the rows' pages are put together: each row whole in the
// list's order, or one page of each row in turn (a duplex scan's fronts and backs).

#include <QWidget>

class QComboBox;

class MergeModeBar : public QWidget {
    Q_OBJECT
public:
    explicit MergeModeBar(QWidget* parent);

    // True for one page of each row in turn.
    bool alternate() const;
    void retranslate();

private:
    QComboBox* m_mode;
};
