#pragma once
// Reads a document's outline into Bookmarks, every destination resolved to a page index
// (named destinations, /Dest and GoTo actions alike).

#include "Bookmark.h"

#include <qpdf/QPDF.hh>

#include <vector>

std::vector<Bookmark> readBookmarks(QPDF& pdf, const std::vector<QPDFObjectHandle>& pages);
