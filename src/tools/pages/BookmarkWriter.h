#pragma once
// Replaces a document's outline with the given bookmarks (placed ones: each has its target).

#include "Bookmark.h"

#include <qpdf/QPDF.hh>

#include <vector>

void writeBookmarks(QPDF& pdf, const std::vector<Bookmark>& bookmarks);
