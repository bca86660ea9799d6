#include "NamedDestinations.h"

#include <qpdf/QPDFNameTreeObjectHelper.hh>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

// False for a destination whose page is a page object that is not in the document, or null;
// anything else (destinations in other files, odd values) stays as it was.
bool pointsInside(QPDFObjectHandle dest, const std::set<QPDFObjGen>& pages)
{
    if (dest.isDictionary())
        dest = dest.getKey("/D");
    if (!dest.isArray() || dest.getArrayNItems() == 0)
        return true;
    QPDFObjectHandle page = dest.getArrayItem(0);
    if (page.isNull())
        return false; // a copy of a page that was left out
    return !page.isIndirect() || pages.count(page.getObjGen()) > 0;
}

} // namespace

void dropNamesOfRemovedPages(QPDF& pdf)
{
    std::set<QPDFObjGen> pages;
    for (const QPDFObjectHandle& page : pdf.getAllPages())
        pages.insert(page.getObjGen());
    QPDFObjectHandle root = pdf.getRoot();

    QPDFObjectHandle dests = root.getKey("/Dests");
    if (dests.isDictionary()) {
        for (const std::string& key : dests.getKeys()) {
            if (!pointsInside(dests.getKey(key), pages))
                dests.removeKey(key);
        }
    }

    QPDFObjectHandle names = root.getKey("/Names");
    if (!names.isDictionary() || !names.getKey("/Dests").isDictionary())
        return;
    // The tree is written anew with what is left: its old nodes may be shared or odd.
    std::vector<std::pair<std::string, QPDFObjectHandle>> kept;
    bool dropped = false;
    QPDFNameTreeObjectHelper tree(names.getKey("/Dests"), pdf);
    for (const auto& [name, dest] : tree) {
        if (pointsInside(dest, pages))
            kept.emplace_back(name, dest);
        else
            dropped = true;
    }
    if (!dropped)
        return;
    QPDFNameTreeObjectHelper fresh = QPDFNameTreeObjectHelper::newEmpty(pdf);
    for (const auto& [name, dest] : kept)
        fresh.insert(name, dest);
    names.replaceKey("/Dests", fresh.getObjectHandle());
}
