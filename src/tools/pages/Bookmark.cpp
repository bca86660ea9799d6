#include "Bookmark.h"

namespace {

void keepInto(const std::vector<Bookmark>& bookmarks, const PagePlacement& place,
              std::vector<Bookmark>& kept)
{
    for (const Bookmark& bookmark : bookmarks) {
        QPDFObjectHandle target = bookmark.page >= 0 ? place(bookmark.page) : QPDFObjectHandle();
        if (target.isInitialized() && !target.isNull()) {
            Bookmark copy;
            copy.title = bookmark.title;
            copy.page = bookmark.page;
            copy.view = bookmark.view;
            copy.open = bookmark.open;
            copy.target = target;
            keepInto(bookmark.children, place, copy.children);
            kept.push_back(std::move(copy));
        } else {
            keepInto(bookmark.children, place, kept);
        }
    }
}

} // namespace

std::vector<Bookmark> keepPlaced(const std::vector<Bookmark>& bookmarks, const PagePlacement& place)
{
    std::vector<Bookmark> kept;
    keepInto(bookmarks, place, kept);
    return kept;
}

int pageOf(const Bookmark& bookmark)
{
    if (bookmark.page >= 0)
        return bookmark.page;
    for (const Bookmark& child : bookmark.children) {
        const int page = pageOf(child);
        if (page >= 0)
            return page;
    }
    return -1;
}
