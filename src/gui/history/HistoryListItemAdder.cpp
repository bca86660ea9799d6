#include "gui/history/HistoryListItemAdder.h"

#include "gui/history/HistoryRowWidget.h"

HistoryListItemAdder::HistoryListItemAdder(FileListWidget* historyList)
    : ListAdding(historyList, FileRowWidget::WithPage)
{
}

int HistoryListItemAdder::add(const std::wstring& path)
{
    const int result = ListAdding::add(path);
    if (result == Added) {
        if (auto* row = qobject_cast<HistoryRowWidget*>(m_lastRow.data()))
            row->fill(path);
    }
    return result;
}

ListRowWidget* HistoryListItemAdder::createRow()
{
    return new HistoryRowWidget;
}
