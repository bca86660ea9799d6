#pragma once
// Small PDFs built to hurt their readers: outlines that loop, a page tree that states far
// more pages than it has, bookmarks with titles of a hundred kilobytes. Written byte by byte
// like PdfFactory's files (page k carries /KorvexPage k).

#include <cstddef>
#include <filesystem>

namespace HostilePdf {

enum class OutlineLoop {
    NextToItself,    // a child bookmark whose /Next is itself
    FirstToItself,   // a bookmark whose /First is itself
    FirstToOutlines, // the outline's /First is the outline dictionary itself
    FirstToCatalog,  // the outline's /First is the document's catalog
};

// 3 pages; bookmarks "Intro" (page 1) and "Chapter" (page 2) with the child "Section"
// (page 3), then the loop.
void writeOutlineLoop(const std::filesystem::path& path, OutlineLoop loop);

// pages real pages; the page tree's /Count says stated.
void writeStatedPageCount(const std::filesystem::path& path, int pages, long long stated);

// One page per bookmark, each bookmark titled with the same string of titleBytes ASCII
// letters (one object, so the file stays small).
void writeLongTitles(const std::filesystem::path& path, int bookmarks, std::size_t titleBytes);

// The first third of a valid file of that many pages: no cross-reference table, no trailer and
// most pages cut off.
void writeTruncated(const std::filesystem::path& path, int pages);

// Two pages, and a page tree whose /Kids holds the tree itself between them.
void writePageTreeLoop(const std::filesystem::path& path);

// pages pages, each drawing a form that draws the next one ten times, depth forms deep: cheap to
// read, ten to the power depth rectangles to draw (at depth 8, far longer than a test waits).
void writeSlowPages(const std::filesystem::path& path, int pages, int depth);

} // namespace HostilePdf
