#pragma once
// One bookmark of a document: what it says, where it points, and the bookmarks under it.

#include <qpdf/QPDFObjectHandle.hh>

#include <functional>
#include <string>
#include <vector>

struct Bookmark {
    std::string title; // UTF-8
    // Index of the target page in its document's page list; -1 when it points nowhere there.
    int page = -1;
    // What follows the page in the destination (/XYZ left top zoom, /Fit, ...), as direct
    // objects that belong to no document.
    std::vector<QPDFObjectHandle> view;
    bool open = false;
    // Where it points in the written document; null until placed.
    QPDFObjectHandle target;
    std::vector<Bookmark> children;
};

// The page object a source page index becomes in the output; null when the page is not there.
using PagePlacement = std::function<QPDFObjectHandle(int page)>;

// The bookmarks that point at placed pages, with their targets set. A bookmark whose own page
// is not placed gives its place to those of its children that are, so none inside is lost.
std::vector<Bookmark> keepPlaced(const std::vector<Bookmark>& bookmarks, const PagePlacement& place);

// The page a bookmark stands for: its own, else the first one found among its children.
int pageOf(const Bookmark& bookmark);
