#pragma once
// Reads a document's outline into Bookmarks, every destination resolved to a page index
// (named destinations, /Dest and GoTo actions alike). The outline is walked here rather than
// by libqpdf's helper, which follows only the top level's /Next chain with care: an item seen
// before (a /Next or /First that points back), a level deeper than kMaxOutlineDepth, or more
// than kMaxBookmarks items end the walk at that point, and the rest of the file stays usable.

#include "Bookmark.h"

#include <qpdf/QPDF.hh>

#include <cstddef>
#include <vector>

inline constexpr int kMaxOutlineDepth = 64;
inline constexpr std::size_t kMaxBookmarks = 100000;

std::vector<Bookmark> readBookmarks(QPDF& pdf, const std::vector<QPDFObjectHandle>& pages);
