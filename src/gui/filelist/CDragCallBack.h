#pragma once
// What the merge list asks when a dragged row is dropped on another row. The main window answers
// on its row registry: moveRow decides (and may keep the registry locked), endMove always
// follows a drag and ends what moveRow began.

#include "core/tasks/RowId.h"

class CDragCallBack {
public:
    virtual ~CDragCallBack() = default;
    // True to let the dragged row move to newIndex.
    virtual bool moveRow(RowId row, int newIndex) { return true; }
    virtual void endMove() {}
};
