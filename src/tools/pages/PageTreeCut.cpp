#include "PageTreeCut.h"

#include <algorithm>
#include <climits>
#include <map>
#include <set>

namespace {

constexpr int kMaxTreeDepth = 64;
// No page can take fewer bytes of the file than its reference in a /Kids array.
constexpr long long kLeastBytesPerPage = 6;
const char* const kInherited[] = {"/Resources", "/MediaBox", "/CropBox", "/Rotate"};

bool isNode(QPDFObjectHandle object)
{
    return object.hasKey("/Kids") || (object.getKey("/Type").isName() && object.getKey("/Type").getName() == "/Pages");
}

// A node's /Count, or -1 when it is no count at all.
long long countOf(QPDFObjectHandle node)
{
    QPDFObjectHandle count = node.getKey("/Count");
    return count.isInteger() && count.getIntValue() >= 0 ? count.getIntValue() : -1;
}

} // namespace

struct PageTreeCut::Found {
    int index;
    QPDFObjectHandle page;
    std::map<std::string, QPDFObjectHandle> inherited; // nearest node's value first
};

PageTreeCut::PageTreeCut(QPDF& pdf, long long fileBytes, const std::vector<QPDFObjGen>& rootKids)
    : m_pdf(pdf), m_rootKids(rootKids)
{
    m_root = pdf.getRoot().getKey("/Pages");
    if (!m_root.isDictionary() || !m_root.isIndirect() || !m_root.getKey("/Kids").isArray())
        return;
    const long long count = countOf(m_root);
    if (count > 0 && count <= fileBytes / kLeastBytesPerPage && count < INT_MAX)
        m_claimed = static_cast<int>(count);
}

bool PageTreeCut::walk(QPDFObjectHandle node, long long first, long long count, int depth,
                       const std::vector<int>& wanted, std::vector<Found>& found)
{
    if (depth > kMaxTreeDepth || std::find(m_path.begin(), m_path.end(), node.getObjGen()) != m_path.end())
        return false;
    m_path.push_back(node.getObjGen());
    const bool taken = !m_rootKids.empty() && node.getObjGen() == m_root.getObjGen();
    QPDFObjectHandle kids = node.getKey("/Kids");
    if (!taken && !kids.isArray())
        return false;
    const int n = taken ? static_cast<int>(m_rootKids.size()) : kids.getArrayNItems();
    const auto kidAt = [&](int k) {
        return taken ? m_pdf.getObject(m_rootKids[static_cast<std::size_t>(k)]) : kids.getArrayItem(k);
    };
    // The wanted indices inside this node.
    const auto from = std::lower_bound(wanted.begin(), wanted.end(), first);
    const auto to = std::lower_bound(wanted.begin(), wanted.end(), first + count);
    std::map<std::string, QPDFObjectHandle> here;
    for (const char* key : kInherited) {
        if (node.hasKey(key))
            here[key] = node.getKey(key);
    }
    auto take = [&](int index, QPDFObjectHandle page) {
        if (!page.isDictionary() || !page.isIndirect() || isNode(page))
            return false;
        Found entry{index, page, here};
        found.push_back(entry);
        return true;
    };
    if (n == count) {
        // As many kids as pages: every kid is taken to be a page, and the ones wanted are checked.
        for (auto it = from; it != to; ++it) {
            if (!take(*it, kidAt(static_cast<int>(*it - first))))
                return false;
        }
    } else {
        long long start = first;
        for (int k = 0; k < n; ++k) {
            QPDFObjectHandle kid = kidAt(k);
            if (!kid.isDictionary() || !kid.isIndirect())
                return false;
            const long long pages = isNode(kid) ? countOf(kid) : 1;
            if (pages < 0 || pages > first + count - start)
                return false;
            const auto in = std::lower_bound(from, to, start);
            if (in != to && *in < start + pages) {
                if (isNode(kid)) {
                    const std::size_t before = found.size();
                    if (!walk(kid, start, pages, depth + 1, wanted, found))
                        return false;
                    // What this node passes down stands behind what the kid has itself.
                    for (std::size_t f = before; f < found.size(); ++f)
                        found[f].inherited.insert(here.begin(), here.end());
                } else if (!take(static_cast<int>(start), kid)) {
                    return false;
                }
            }
            start += pages;
        }
        if (start != first + count)
            return false;
    }
    m_path.pop_back();
    return true;
}

bool PageTreeCut::keepOnly(const std::vector<int>& wanted, std::vector<QPDFObjectHandle>& pages)
{
    if (m_claimed == 0 || wanted.empty())
        return false;
    std::vector<int> sorted(wanted);
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    if (sorted.front() < 0 || sorted.back() >= m_claimed)
        return false;
    std::vector<Found> found;
    m_path.clear();
    if (!walk(m_root, 0, m_claimed, 0, sorted, found) || found.size() != sorted.size())
        return false;
    std::set<QPDFObjGen> seen;
    for (const Found& entry : found) {
        if (!seen.insert(entry.page.getObjGen()).second)
            return false; // one page object in two places: the whole tree sorts that out
    }

    pages.assign(static_cast<std::size_t>(m_claimed), QPDFObjectHandle());
    std::vector<QPDFObjectHandle> kids;
    for (Found& entry : found) {
        for (auto& [key, value] : entry.inherited) {
            if (!entry.page.hasKey(key))
                entry.page.replaceKey(key, value.isIndirect() ? value : value.shallowCopy());
        }
        entry.page.replaceKey("/Parent", m_root);
        pages[static_cast<std::size_t>(entry.index)] = entry.page;
        kids.push_back(entry.page);
    }
    for (const char* key : kInherited)
        m_root.removeKey(key);
    m_root.replaceKey("/Kids", QPDFObjectHandle::newArray(kids));
    m_root.replaceKey("/Count", QPDFObjectHandle::newInteger(static_cast<long long>(kids.size())));
    return true;
}
