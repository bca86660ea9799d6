// Small PDFs with outlines, named destinations and page labels, mutated, through the readers
// and writers of korvex-pages: the outline walk, split by bookmarks, a piece with its
// bookmarks and labels (also once the outline is let go of, as a split does), and an extract
// that drops the names of removed pages. A file may be refused with an exception; it must
// never loop, exhaust memory or crash.

#include "BookmarkReader.h"
#include "FuzzInput.h"
#include "PageJobs.h"

#include <cstdio>
#include <exception>

namespace {

// Every bookmark the walk kept lies within its limits.
void checkBookmarks(const std::vector<Bookmark>& level, int depth, std::size_t& count, int pageCount)
{
    FUZZ_CHECK(depth <= kMaxOutlineDepth);
    for (const Bookmark& bookmark : level) {
        ++count;
        FUZZ_CHECK(bookmark.page >= -1 && bookmark.page < pageCount);
        checkBookmarks(bookmark.children, depth + 1, count, pageCount);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        SourcePdf source("fuzz.pdf", reinterpret_cast<const char*>(data), size);
        std::size_t count = 0;
        checkBookmarks(source.bookmarks(), 1, count, source.pageCount());
        FUZZ_CHECK(count <= kMaxBookmarks);
        for (int level = 1; level <= 2; ++level) {
            for (const PlannedPiece& piece : bookmarkPieces(source, level)) {
                FUZZ_CHECK(piece.first >= 1 && piece.first <= piece.last && piece.last <= source.pageCount());
            }
        }
        // The first pages, then the first page again: a page used twice.
        PageList pages;
        for (int page = 0; page < source.pageCount() && page < 4; ++page)
            pages.push_back(page);
        pages.push_back(0);
        writePiece(source, pages, "/dev/null");
        // As a split reads it: the outline's items and the name tree's nodes let go of, then a
        // piece of the same pages.
        const std::vector<Bookmark> read = readBookmarks(source.pdf(), source.pages(), AfterReading::LetGo);
        count = 0;
        checkBookmarks(read, 1, count, source.pageCount());
        writePiece(source, pages, "/dev/null");
        writeExtract(source, pages, "/dev/null");
    } catch (const std::exception&) {
        // Refused: the page program reports it and exits with its failure code.
    }
    return 0;
}
