#pragma once
// The jobs of korvex-pages. Each writes complete files only; a job that throws has written
// nothing at its output (pieces already reported stay, the caller owns the folder).

#include "SourcePdf.h"

#include <functional>
#include <string>
#include <vector>

// Page indices (0-based) in the order they are taken.
using PageList = std::vector<int>;

// qpdf's numeric page ranges: items separated by commas, each a page or first-last (last
// before first runs backwards), a page being a number, "z" (the last page) or "r<n>" (the
// n-th from the end). Throws std::runtime_error for anything else or a page outside
// 1..pageCount.
PageList parsePages(const std::string& text, int pageCount);

struct PlannedPiece {
    int first; // 1-based
    int last;
    std::string title; // the bookmark's, UTF-8; empty for pieces given as ranges
};

// One piece per bookmark of the given level (1 = top) that points at a page: from its page to
// the page before the next bookmark of that level or above, the last to the document's end.
std::vector<PlannedPiece> bookmarkPieces(SourcePdf& source, int level);

// A new document of the range's pages, with the bookmarks that point into it.
void writePiece(SourcePdf& source, const PageList& pages, const std::string& path);

// The input's own document with only the range's pages and the bookmarks that point at them.
void writeExtract(SourcePdf& source, const PageList& pages, const std::string& path);

struct MergeEntry {
    SourcePdf* source;
    PageList pages;
    std::string title; // the top bookmark of this entry's pages
};
// The first entry's document with every entry's pages in order; one top bookmark per entry
// with that entry's own bookmarks under it, at the entry's first page. Alternating takes one
// page of each entry in turn (the first page of every entry, then the second, ...), an entry
// that has run out being passed over.
void writeMerge(const std::vector<MergeEntry>& entries, const std::string& path, bool alternate = false);
