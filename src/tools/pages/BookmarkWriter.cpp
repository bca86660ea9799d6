#include "BookmarkWriter.h"

namespace {

// Entries shown when everything above is open: the bookmark and, if open, its children.
int visibleCount(const std::vector<Bookmark>& level)
{
    int count = 0;
    for (const Bookmark& bookmark : level)
        count += 1 + (bookmark.open ? visibleCount(bookmark.children) : 0);
    return count;
}

void writeLevel(QPDF& pdf, QPDFObjectHandle parent, const std::vector<Bookmark>& level)
{
    QPDFObjectHandle previous;
    for (const Bookmark& bookmark : level) {
        QPDFObjectHandle dest = QPDFObjectHandle::newArray();
        dest.appendItem(bookmark.target);
        if (bookmark.view.empty())
            dest.appendItem(QPDFObjectHandle::newName("/Fit"));
        for (const QPDFObjectHandle& value : bookmark.view)
            dest.appendItem(value);

        QPDFObjectHandle item = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
        item.replaceKey("/Title", QPDFObjectHandle::newUnicodeString(bookmark.title));
        item.replaceKey("/Parent", parent);
        item.replaceKey("/Dest", dest);
        if (previous.isInitialized()) {
            previous.replaceKey("/Next", item);
            item.replaceKey("/Prev", previous);
        } else {
            parent.replaceKey("/First", item);
        }
        parent.replaceKey("/Last", item);
        if (!bookmark.children.empty()) {
            writeLevel(pdf, item, bookmark.children);
            const int shown = visibleCount(bookmark.children);
            item.replaceKey("/Count", QPDFObjectHandle::newInteger(bookmark.open ? shown : -shown));
        }
        previous = item;
    }
}

} // namespace

void writeBookmarks(QPDF& pdf, const std::vector<Bookmark>& bookmarks)
{
    QPDFObjectHandle root = pdf.getRoot();
    if (bookmarks.empty()) {
        root.removeKey("/Outlines");
        return;
    }
    QPDFObjectHandle outlines = pdf.makeIndirectObject(QPDFObjectHandle::newDictionary());
    outlines.replaceKey("/Type", QPDFObjectHandle::newName("/Outlines"));
    writeLevel(pdf, outlines, bookmarks);
    outlines.replaceKey("/Count", QPDFObjectHandle::newInteger(visibleCount(bookmarks)));
    root.replaceKey("/Outlines", outlines);
}
