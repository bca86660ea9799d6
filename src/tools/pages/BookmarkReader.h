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

// libqpdf keeps every object it has read until the document goes. A job that writes neither
// the outline nor the named destinations of its source (a split) lets go of the outline's items
// and of the name tree's nodes once they are read: every handle to them then reads null. For a
// LaTeX manual of 1,370 pages and 1,837 bookmarks that is 3 MB of a split's peak. The
// destinations themselves stay, since links on the pages may share them.
enum class AfterReading { Keep, LetGo };

std::vector<Bookmark> readBookmarks(QPDF& pdf, const std::vector<QPDFObjectHandle>& pages,
                                    AfterReading after = AfterReading::Keep);
