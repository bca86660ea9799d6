#pragma once
// PDFs with an outline, written byte by byte like PdfFactory's (page k carries /KorvexPage k).
// Each bookmark reaches its page in one of the ways real files use, so that readers have to
// resolve all of them.

#include <filesystem>
#include <string>
#include <vector>

namespace BookmarkedPdf {

enum class Target {
    Page,           // /Dest [page /XYZ ...]
    NameTree,       // /Dest (name), the name in the catalog's /Names /Dests tree
    CatalogDests,   // /Dest /name, the name in the catalog's /Dests dictionary (value << /D [...] >>)
    GoToAction,     // /A << /S /GoTo /D [page /Fit] >>
    None,           // no destination at all
};

struct Mark {
    std::string title; // UTF-8
    int page = 1;      // 1-based
    Target target = Target::Page;
    std::vector<Mark> children;
};

void write(const std::filesystem::path& path, int pages, const std::vector<Mark>& outline);

// The same over PdfFactory::documentObjects that the caller changed: pages keep their object
// numbers, other objects may be appended, the catalog is written here.
void write(const std::filesystem::path& path, std::vector<std::string> objects, const std::vector<Mark>& outline);

} // namespace BookmarkedPdf
