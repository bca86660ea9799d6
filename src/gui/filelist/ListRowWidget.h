#pragma once
// Base of every list row: a process-wide id that core code uses to name the row, and the path of
// the file the row stands for.

#include "core/tasks/RowId.h"

#include <QString>
#include <QWidget>

class QLabel;
class QAbstractButton;

class ListRowWidget : public QWidget {
    Q_OBJECT
public:
    explicit ListRowWidget(QWidget* parent = nullptr);

    RowId rowId() const { return m_rowId; }

    QString filePathname() const { return m_filePathname; }
    // Also kept as the dynamic property "filePathname", where layout-driven code looks for it.
    void setFilePathname(const QString& path);

protected:
    // Shows a 16-pixel image from the resources; a missing image leaves the label empty. The path
    // is kept in the label's property "iconResource" so that it can be told without pixels.
    static void setIcon(QLabel* label, const QString& resource);
    // A borderless button that reads as a link (muted: grey, for secondary actions). Colours go through
    // the palette: a style sheet per row would make long lists slow to build.
    static void styleAsLink(QAbstractButton* button, bool muted = false);
    // The text after the last path separator.
    static QString fileNameOf(const QString& path);

    void paintEvent(QPaintEvent* event) override;

private:
    const RowId m_rowId;
    QString m_filePathname;
};
