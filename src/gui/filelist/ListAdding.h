#pragma once
// Adds one file at a time to a list: refuses paths already listed or unreadable, builds the row
// from the template and lets the caller fill it once it is in the list.

#include "gui/filelist/FileRowWidget.h"

#include <QPointer>

#include <cstdint>
#include <string>

class FileListWidget;

class ListAdding {
public:
    // Answers of add().
    enum Result { Refused = 2, Added = 1, AlreadyListed = 0, Unreadable = -1 };

    ListAdding(FileListWidget* list, FileRowWidget::Template tmpl);
    virtual ~ListAdding() = default;

    // 1: a row was made and listed; 0: a row with exactly this path is listed already; -1: the
    // file's size cannot be read (filed as an error report); 2: the list refused the row.
    virtual int add(const std::wstring& path);
    // Fills the row made last (name, size, icons, waiting status).
    virtual void fill(int zone);

    // The row made by the last add() that returned 1, else null.
    ListRowWidget* lastRow() const { return m_lastRow; }

protected:
    // A new, empty row for the list.
    virtual ListRowWidget* createRow();

    FileListWidget* m_list;
    FileRowWidget::Template m_template;
    std::wstring m_path;
    std::int64_t m_size = -1;
    QPointer<ListRowWidget> m_lastRow;
};
