#include "BookmarkReader.h"

#include <qpdf/QPDFOutlineDocumentHelper.hh>
#include <qpdf/QPDFOutlineObjectHelper.hh>

#include <map>

namespace {

// Deeper than any real outline; a deeper one is a loop qpdf did not catch.
constexpr int kMaxDepth = 64;

// A copy that belongs to no document, so it can go into another one.
QPDFObjectHandle detached(QPDFObjectHandle value)
{
    if (value.isInteger())
        return QPDFObjectHandle::newInteger(value.getIntValue());
    if (value.isReal())
        return QPDFObjectHandle::newReal(value.getRealValue());
    if (value.isName())
        return QPDFObjectHandle::newName(value.getName());
    if (value.isBool())
        return QPDFObjectHandle::newBool(value.getBoolValue());
    return QPDFObjectHandle::newNull();
}

void readLevel(std::vector<QPDFOutlineObjectHelper> items, const std::map<QPDFObjGen, int>& index,
               int depth, std::vector<Bookmark>& into)
{
    for (QPDFOutlineObjectHelper& item : items) {
        Bookmark bookmark;
        bookmark.title = item.getTitle();
        bookmark.open = item.getCount() > 0;
        QPDFObjectHandle dest = item.getDest();
        // A named destination may stand for a dictionary that holds the array under /D.
        if (dest.isDictionary())
            dest = dest.getKey("/D");
        if (dest.isArray() && dest.getArrayNItems() >= 1) {
            QPDFObjectHandle page = dest.getArrayItem(0);
            if (page.isIndirect()) {
                const auto found = index.find(page.getObjGen());
                if (found != index.end())
                    bookmark.page = found->second;
            }
            for (int i = 1; i < dest.getArrayNItems(); ++i)
                bookmark.view.push_back(detached(dest.getArrayItem(i)));
        }
        if (depth < kMaxDepth)
            readLevel(item.getKids(), index, depth + 1, bookmark.children);
        into.push_back(std::move(bookmark));
    }
}

} // namespace

std::vector<Bookmark> readBookmarks(QPDF& pdf, const std::vector<QPDFObjectHandle>& pages)
{
    std::map<QPDFObjGen, int> index;
    for (std::size_t i = 0; i < pages.size(); ++i)
        index.emplace(pages[i].getObjGen(), static_cast<int>(i));
    QPDFOutlineDocumentHelper outlines(pdf);
    std::vector<Bookmark> bookmarks;
    if (outlines.hasOutlines())
        readLevel(outlines.getTopLevelOutlines(), index, 1, bookmarks);
    return bookmarks;
}
