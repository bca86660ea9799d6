#pragma once
// The outline of a PDF as text, read back with libqpdf: "title@n" per bookmark, n being the
// position of its target in the file's page list ("?" when it points at no page of the file),
// children in brackets, entries separated by ", ".

#include <filesystem>
#include <string>
#include <vector>

std::string outlineOf(const std::filesystem::path& pdf);

// The /KorvexPage numbers of the file's pages, in page order (qpdf's QDF order, which
// PdfFactory::pageNumbers relies on, puts the pages of named destinations first).
std::vector<int> pageNumbersOf(const std::filesystem::path& pdf);

// The page label of every page: style and number, "r2 r3 D1 D2" (style "-" for none).
std::string pageLabelsOf(const std::filesystem::path& pdf);

// What each page shows as it inherits it from the page tree: "number:WxH" from the media box,
// then "r" and the rotation when not 0, then "!" when the page has no font /F1: "5:400x300r90".
std::string pageShapesOf(const std::filesystem::path& pdf);

// The form fields of each page in page order, "name@n" separated by ", ".
std::string formFieldsOf(const std::filesystem::path& pdf);

// For each page in page order, k of the "(Page k)" its content streams show; -1 for none.
std::vector<int> contentNumbersOf(const std::filesystem::path& pdf);

// The link annotations of each page in page order, pages separated by "; ": "@n" for a link to
// the page at position n, "(name)" for a named one, "?" for a page not in the file, "null".
std::string linksOf(const std::filesystem::path& pdf);
