#include "ReachedTable.h"

#include "FileBlockSource.h"
#include "KidsScanner.h"
#include "PdfBytes.h"

#include <qpdf/QPDFTokenizer.hh>

#include <algorithm>
#include <exception>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Fewer kids are cheap enough for qpdf to read with the whole table.
constexpr std::size_t kFewestKids = 1024;
// Reaching more than this share of the table saves too little to be worth the walk.
constexpr int kLargestShare = 8;
// The trailer and what follows it up to the file's end, copied into what qpdf reads.
constexpr qpdf_offset_t kLongestTrailer = qpdf_offset_t(1) << 20;

// The references in a parsed value, at any depth, without resolving any.
void referencesIn(QPDFObjectHandle value, std::vector<QPDFObjGen>& found)
{
    std::vector<QPDFObjectHandle> open{value};
    while (!open.empty()) {
        QPDFObjectHandle item = open.back();
        open.pop_back();
        if (item.isIndirect()) {
            found.push_back(item.getObjGen());
        } else if (item.isArray()) {
            for (const QPDFObjectHandle& element : item.getArrayAsVector())
                open.push_back(element);
        } else if (item.isDictionary()) {
            // getKeys() and hasKey() would resolve the values to leave out nulls.
            for (const auto& [key, element] : item.getDictAsMap())
                open.push_back(element);
        }
    }
}

bool hasEntry(QPDFObjectHandle dictionary, const char* key)
{
    return dictionary.getDictAsMap().count(key) > 0;
}

} // namespace

ReachedTable::ReachedTable(const std::string& path)
{
    m_scratch.setSuppressWarnings(true);
    m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (m_fd < 0 || ::fstat(m_fd, &info) != 0)
        return;
    m_size = info.st_size;
    m_table = std::make_unique<PlainXrefTable>(m_fd, m_size);
    if (!m_table->usable() || m_table->size() < static_cast<int>(kFewestKids))
        return;
    try {
        m_source = std::make_shared<FileBlockSource>(path);
        if (readRoot())
            m_claimed = static_cast<int>(m_kids.size());
    } catch (const std::exception&) {
    }
    if (m_claimed == 0 || m_scratch.anyWarnings()) {
        m_claimed = 0;
        m_kids.clear();
    }
}

ReachedTable::~ReachedTable()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QPDFObjectHandle ReachedTable::parseAt(qpdf_offset_t offset)
{
    m_source->seek(offset, SEEK_SET);
    QPDFTokenizer tokenizer;
    bool empty = false;
    QPDFObjectHandle value = QPDFObjectHandle::parse(m_source, "", tokenizer, empty, nullptr, &m_scratch);
    return empty ? QPDFObjectHandle() : value;
}

QPDFObjectHandle ReachedTable::parseObject(int object)
{
    const PlainXrefTable::Entry entry = m_table->entry(object);
    if (entry.type != 'n' || entry.offset >= m_table->tableOffset())
        return {};
    m_source->seek(entry.offset, SEEK_SET);
    QPDFTokenizer tokenizer;
    const QPDFTokenizer::Token number = tokenizer.readToken(m_source, "");
    const QPDFTokenizer::Token generation = tokenizer.readToken(m_source, "");
    const QPDFTokenizer::Token keyword = tokenizer.readToken(m_source, "");
    if (!number.isInteger() || number.getValue() != std::to_string(object) || !generation.isInteger() ||
        generation.getValue() != std::to_string(entry.generation) || !keyword.isWord("obj"))
        return {};
    bool empty = false;
    QPDFObjectHandle value = QPDFObjectHandle::parse(m_source, "", tokenizer, empty, nullptr, &m_scratch);
    // qpdf is to read the same bytes: none of them in the part of the file it is not given.
    return empty || m_source->tell() > m_table->tableOffset() ? QPDFObjectHandle() : value;
}

bool ReachedTable::readRoot()
{
    m_trailer = parseAt(m_table->trailerOffset() + 7);
    // An update, a table kept in a stream besides, or encryption: qpdf's own reading decides.
    if (!m_trailer.isInitialized() || !m_trailer.isDictionary() || hasEntry(m_trailer, "/Prev") ||
        hasEntry(m_trailer, "/XRefStm") || hasEntry(m_trailer, "/Encrypt"))
        return false;
    QPDFObjectHandle rootReference = m_trailer.getKey("/Root");
    if (!rootReference.isIndirect() || m_table->entry(rootReference.getObjGen().getObj()).generation !=
                                           rootReference.getObjGen().getGen())
        return false;
    QPDFObjectHandle catalog = parseObject(rootReference.getObjGen().getObj());
    // A form's fields reach across all pages: such files are copied whole anyway.
    if (!catalog.isInitialized() || !catalog.isDictionary() || hasEntry(catalog, "/AcroForm"))
        return false;
    QPDFObjectHandle pages = catalog.getKey("/Pages");
    if (!pages.isIndirect())
        return false;
    m_root = pages.getObjGen();
    const PlainXrefTable::Entry entry = m_table->entry(m_root.getObj());
    if (entry.type != 'n' || entry.generation != m_root.getGen() || entry.offset >= m_table->tableOffset())
        return false;
    m_rootDictionary = KidsScanner::readFrom(m_fd, entry.offset, m_root, m_kids);
    if (m_rootDictionary.empty() || m_kids.size() < kFewestKids)
        return false;
    m_rootParsed = QPDFObjectHandle::parse(&m_scratch, m_rootDictionary, "the page tree's root");
    QPDFObjectHandle count = m_rootParsed.isDictionary() ? m_rootParsed.getKey("/Count") : QPDFObjectHandle();
    return count.isInitialized() && !count.isIndirect() && count.isInteger() &&
           count.getIntValue() == static_cast<long long>(m_kids.size());
}

std::string ReachedTable::tail(const std::vector<int>& wanted)
{
    if (m_claimed == 0)
        return {};
    const int most = m_table->size() / kLargestShare;
    // Each page is an object of its own: too many pages are known to be too much at once.
    std::vector<int> distinct(wanted);
    std::sort(distinct.begin(), distinct.end());
    if (std::unique(distinct.begin(), distinct.end()) - distinct.begin() >= most)
        return {};
    std::vector<bool> reached(static_cast<std::size_t>(m_table->size()), false);
    std::vector<int> objects{0};
    reached[0] = true;
    std::vector<QPDFObjGen> open;
    referencesIn(m_trailer, open);
    try {
        while (!open.empty()) {
            const QPDFObjGen next = open.back();
            open.pop_back();
            const int object = next.getObj();
            const PlainXrefTable::Entry entry = m_table->entry(object);
            // What the table does not have in use is null to qpdf as well.
            if (entry.type != 'n' || entry.generation != next.getGen() || reached[static_cast<std::size_t>(object)])
                continue;
            reached[static_cast<std::size_t>(object)] = true;
            objects.push_back(object);
            if (static_cast<int>(objects.size()) > most)
                return {};
            if (next == m_root) {
                referencesIn(m_rootParsed, open);
                for (int page : wanted) {
                    if (page < 0 || page >= m_claimed)
                        return {};
                    open.push_back(m_kids[static_cast<std::size_t>(page)]);
                }
                continue;
            }
            QPDFObjectHandle value = parseObject(object);
            if (!value.isInitialized())
                return {};
            referencesIn(value, open);
        }
    } catch (const std::exception&) {
        return {};
    }
    if (m_scratch.anyWarnings())
        return {};
    // The highest object listed, so that qpdf checks /Size against the same number.
    const int last = m_table->size() - 1;
    if (!reached[static_cast<std::size_t>(last)] && m_table->entry(last).type != 0)
        objects.push_back(last);
    std::sort(objects.begin(), objects.end());
    const qpdf_offset_t trailer = m_table->trailerOffset();
    if (m_size - trailer > kLongestTrailer)
        return {};
    return m_table->only(objects) + readFileAt(m_fd, trailer, static_cast<std::size_t>(m_size - trailer));
}
