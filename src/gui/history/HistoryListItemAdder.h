#pragma once
// Adds output files to the history list: the same refusals as any list (unreadable, already
// listed, refused), but the row is a history row, completed only when it was listed.

#include "gui/filelist/ListAdding.h"

class HistoryListItemAdder : public ListAdding {
public:
    explicit HistoryListItemAdder(FileListWidget* historyList);

    int add(const std::wstring& path) override;

protected:
    ListRowWidget* createRow() override;
};
