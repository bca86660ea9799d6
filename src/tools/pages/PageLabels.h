#pragma once
// Page labels ("i", "ii", "1", "A-1", ...) of a written document: every page keeps the label
// it had in its source, whichever pages went where.

#include "SourcePdf.h"

#include <vector>

struct PageOrigin {
    SourcePdf* source;
    int page; // index in the source's page list
};

// origins: the source of every page of out, in out's page order. A document whose sources
// have no labels gets none.
void writePageLabels(QPDF& out, const std::vector<PageOrigin>& origins);
