#include "PageReach.h"

#include <cstdint>
#include <unordered_set>
#include <utility>

namespace {

std::uint64_t key(const QPDFObjGen& og)
{
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(og.getObj())) << 32) |
           static_cast<std::uint32_t>(og.getGen());
}

} // namespace

bool staysWithin(QPDF& pdf, const std::vector<QPDFObjectHandle>& pages, const std::vector<int>& chosen)
{
    std::unordered_set<std::uint64_t> others;
    for (const QPDFObjectHandle& page : pages)
        others.insert(key(page.getObjGen()));
    std::unordered_set<std::uint64_t> seen;
    // A stack, not recursion: how deep objects nest is the file's to choose. Numbers, names and
    // strings refer to nothing and stay off it.
    std::vector<QPDFObjectHandle> todo;
    const auto follow = [&todo](QPDFObjectHandle item) {
        if (item.isIndirect() || item.isArray() || item.isDictionary())
            todo.push_back(std::move(item));
    };
    for (int index : chosen) {
        QPDFObjectHandle page = pages[static_cast<std::size_t>(index)];
        others.erase(key(page.getObjGen()));
        seen.insert(key(page.getObjGen()));
        for (const auto& [name, value] : page.ditems()) {
            if (name != "/Parent")
                follow(value);
        }
    }
    const std::uint64_t catalog = key(pdf.getRoot().getObjGen());
    while (!todo.empty()) {
        QPDFObjectHandle object = todo.back();
        todo.pop_back();
        if (object.isIndirect()) {
            const std::uint64_t id = key(object.getObjGen());
            if (!seen.insert(id).second)
                continue;
            if (id == catalog || others.count(id) != 0)
                return false;
        }
        if (object.isStream())
            object = object.getDict();
        if (object.isDictionary()) {
            if (object.isDictionaryOfType("/Pages"))
                return false;
            for (const auto& [name, value] : object.ditems())
                follow(value);
        } else if (object.isArray()) {
            for (const QPDFObjectHandle& item : object.aitems())
                follow(item);
        }
    }
    return true;
}
