#include "BookmarkReader.h"

#include <qpdf/QPDFNameTreeObjectHelper.hh>

#include <map>
#include <set>
#include <string>

namespace {

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

// The keys of an outline item (and of the outline's own dictionary) and of a name tree's node.
const std::set<std::string> kItemKeys = {"/Title", "/Parent", "/Prev", "/Next", "/First", "/Last", "/Count",
                                         "/Dest", "/A", "/SE", "/C", "/F", "/Type"};
const std::set<std::string> kNodeKeys = {"/Kids", "/Names", "/Limits"};

// A dictionary with no key but these, and no /Type but /Outlines.
bool holdsOnly(QPDFObjectHandle object, const std::set<std::string>& keys)
{
    if (!object.isDictionary())
        return false;
    for (const std::string& key : object.getKeys()) {
        if (keys.count(key) == 0)
            return false;
    }
    QPDFObjectHandle type = object.getKey("/Type");
    return type.isNull() || (type.isName() && type.getName() == "/Outlines");
}

class OutlineWalk {
public:
    OutlineWalk(QPDF& pdf, const std::vector<QPDFObjectHandle>& pages) : m_root(pdf.getRoot())
    {
        for (std::size_t i = 0; i < pages.size(); ++i) {
            if (pages[i].isInitialized()) // a page that was not read is no target here
                m_pages.emplace(pages[i].getObjGen(), static_cast<int>(i));
        }
        QPDFObjectHandle names = m_root.getKey("/Names");
        if (names.isDictionary() && names.getKey("/Dests").isDictionary())
            m_nameTree = std::make_unique<QPDFNameTreeObjectHelper>(names.getKey("/Dests"), pdf);
    }

    // The items of one level, from first along /Next.
    void readLevel(QPDFObjectHandle item, int depth, std::vector<Bookmark>& into)
    {
        for (; item.isDictionary(); item = item.getKey("/Next")) {
            if (!firstVisit(item))
                return;
            Bookmark bookmark;
            QPDFObjectHandle title = item.getKey("/Title");
            if (title.isString())
                bookmark.title = title.getUTF8Value();
            QPDFObjectHandle count = item.getKey("/Count");
            bookmark.open = count.isInteger() && count.getIntValue() > 0;
            resolve(destinationOf(item), bookmark);
            if (depth < kMaxOutlineDepth)
                readLevel(item.getKey("/First"), depth + 1, bookmark.children);
            into.push_back(std::move(bookmark));
        }
    }

    // The outline's own dictionary counts as seen, so an item pointing back at it stops there.
    bool firstVisit(QPDFObjectHandle item)
    {
        if (m_read >= kMaxBookmarks)
            return false;
        ++m_read;
        return !item.isIndirect() || m_seen.insert(item.getObjGen()).second;
    }

    // The items read and the nodes of the name tree, made null in pdf: only those that are
    // nothing else. A hostile outline may lead through the catalog, a page or an action.
    void letGo(QPDF& pdf)
    {
        std::set<QPDFObjGen> gone;
        for (const QPDFObjGen& item : m_seen) {
            if (holdsOnly(pdf.getObject(item), kItemKeys))
                gone.insert(item);
        }
        if (m_nameTree) {
            QPDFObjectHandle top = m_nameTree->getObjectHandle();
            m_nameTree.reset();
            collectNodes(top, 0, gone);
        }
        for (const QPDFObjGen& object : gone)
            pdf.replaceObject(object, QPDFObjectHandle::newNull());
    }

private:
    QPDFObjectHandle destinationOf(QPDFObjectHandle item)
    {
        QPDFObjectHandle dest = item.getKey("/Dest");
        if (dest.isNull()) {
            QPDFObjectHandle action = item.getKey("/A");
            if (action.isDictionary() && action.getKey("/S").isName() && action.getKey("/S").getName() == "/GoTo")
                dest = action.getKey("/D");
        }
        if (dest.isName()) {
            QPDFObjectHandle dests = m_root.getKey("/Dests");
            dest = dests.isDictionary() ? dests.getKey(dest.getName()) : QPDFObjectHandle::newNull();
        } else if (dest.isString()) {
            QPDFObjectHandle found;
            if (!m_nameTree || !m_nameTree->findObject(dest.getUTF8Value(), found))
                found = QPDFObjectHandle::newNull();
            dest = found;
        }
        // A named destination may stand for a dictionary that holds the array under /D.
        if (dest.isDictionary())
            dest = dest.getKey("/D");
        return dest;
    }

    // A tree that points back or is deeper than a real one is let go only as far as it was
    // walked.
    static void collectNodes(QPDFObjectHandle node, int depth, std::set<QPDFObjGen>& into)
    {
        if (!holdsOnly(node, kNodeKeys) || depth > kMaxOutlineDepth || into.size() >= kMaxBookmarks)
            return;
        if (node.isIndirect() && !into.insert(node.getObjGen()).second)
            return;
        QPDFObjectHandle kids = node.getKey("/Kids");
        if (kids.isArray()) {
            for (const QPDFObjectHandle& kid : kids.aitems())
                collectNodes(kid, depth + 1, into);
        }
    }

    void resolve(QPDFObjectHandle dest, Bookmark& bookmark) const
    {
        if (!dest.isArray() || dest.getArrayNItems() < 1)
            return;
        QPDFObjectHandle page = dest.getArrayItem(0);
        if (page.isIndirect()) {
            const auto found = m_pages.find(page.getObjGen());
            if (found != m_pages.end())
                bookmark.page = found->second;
        }
        for (int i = 1; i < dest.getArrayNItems(); ++i)
            bookmark.view.push_back(detached(dest.getArrayItem(i)));
    }

    QPDFObjectHandle m_root;
    std::map<QPDFObjGen, int> m_pages;
    std::unique_ptr<QPDFNameTreeObjectHelper> m_nameTree;
    std::set<QPDFObjGen> m_seen;
    std::size_t m_read = 0;
};

} // namespace

std::vector<Bookmark> readBookmarks(QPDF& pdf, const std::vector<QPDFObjectHandle>& pages, AfterReading after)
{
    std::vector<Bookmark> bookmarks;
    QPDFObjectHandle outlines = pdf.getRoot().getKey("/Outlines");
    if (!outlines.isDictionary())
        return bookmarks;
    OutlineWalk walk(pdf, pages);
    walk.firstVisit(outlines);
    walk.readLevel(outlines.getKey("/First"), 1, bookmarks);
    if (after == AfterReading::LetGo)
        walk.letGo(pdf);
    return bookmarks;
}
