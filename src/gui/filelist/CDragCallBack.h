#pragma once
// What the merge list asks when a dragged row is dropped on another row. The file lists answer
// on their row registry: moveRow decides whether the row may move, and endMove follows every
// drag that reached moveRow.

#include "core/tasks/RowId.h"

class CDragCallBack {
public:
    virtual ~CDragCallBack() = default;
    // True to let the dragged row move to newIndex.
    virtual bool moveRow(RowId row, int newIndex) { return true; }
    virtual void endMove() {}
};
