#include "RootKids.h"

#include "XrefTableEntry.h"

#include <qpdf/QPDFObjectHandle.hh>

#include <climits>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <map>
#include <string_view>
#include <unistd.h>

namespace {

// Fewer are cheap enough for qpdf.
constexpr std::size_t kFewestTaken = 1024;
// About 1.6 million references; a larger root is left to qpdf.
constexpr std::size_t kLongestRoot = std::size_t(16) << 20;
constexpr std::size_t kFirstRead = std::size_t(64) << 10;
constexpr int kDeepest = 64;

struct NeedMore {};
struct Unusable {};

bool isWhite(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

bool isDelimiter(char c)
{
    return std::strchr("()<>[]{}/%", c) != nullptr;
}

// Reads one indirect object's text far enough to find its dictionary's /Kids: everything else
// is skipped with the syntax's own rules, so nothing inside a string or a nested dictionary can
// pass for the key.
class ObjectText {
public:
    ObjectText(std::string_view text, bool whole) : m_text(text), m_whole(whole) {}

    // The dictionary with /Kids as "[]", and the references it held.
    std::string read(QPDFObjGen object, std::vector<QPDFObjGen>& kids)
    {
        if (number(word()) != object.getObj() || number(word()) != object.getGen() || word() != "obj")
            throw Unusable();
        space();
        const std::size_t start = m_at;
        expect("<<");
        std::size_t kidsFrom = 0, kidsTo = 0;
        for (;;) {
            space();
            if (peek() == '>') {
                expect(">>");
                break;
            }
            const std::string_view key = name();
            if (key.find('#') != std::string_view::npos)
                throw Unusable(); // "/K#69ds" is /Kids too: qpdf sorts such keys out
            if (key != "/Kids") {
                skipValue(1);
                continue;
            }
            if (kidsTo != 0)
                throw Unusable();
            space();
            kidsFrom = m_at;
            references(kids);
            kidsTo = m_at;
        }
        const std::size_t end = m_at;
        if (kidsTo == 0 || word() != "endobj")
            throw Unusable();
        return std::string(m_text.substr(start, kidsFrom - start)) + "[]" +
               std::string(m_text.substr(kidsTo, end - kidsTo));
    }

private:
    char peek()
    {
        if (m_at >= m_text.size() && m_whole)
            throw Unusable();
        if (m_at >= m_text.size())
            throw NeedMore();
        return m_text[m_at];
    }

    void space()
    {
        while (m_at < m_text.size() || !m_whole) {
            const char c = peek();
            if (c == '%') {
                while (peek() != '\n' && peek() != '\r')
                    ++m_at;
            } else if (isWhite(c)) {
                ++m_at;
            } else {
                return;
            }
        }
    }

    void expect(std::string_view what)
    {
        for (char c : what) {
            if (peek() != c)
                throw Unusable();
            ++m_at;
        }
    }

    // A run of regular characters after white space; empty at a delimiter or the file's end.
    std::string_view word()
    {
        space();
        const std::size_t from = m_at;
        while ((m_at < m_text.size() || !m_whole) && !isWhite(peek()) && !isDelimiter(peek()))
            ++m_at;
        return m_text.substr(from, m_at - from);
    }

    std::string_view name()
    {
        expect("/");
        const std::size_t from = m_at - 1;
        while (!isWhite(peek()) && !isDelimiter(peek()))
            ++m_at;
        return m_text.substr(from, m_at - from);
    }

    // A decimal of digits only, at most INT_MAX; -1 otherwise.
    static long long number(std::string_view digits)
    {
        if (digits.empty() || digits.size() > 10)
            return -1;
        long long value = 0;
        for (char c : digits) {
            if (c < '0' || c > '9')
                return -1;
            value = value * 10 + (c - '0');
        }
        return value <= INT_MAX ? value : -1;
    }

    void references(std::vector<QPDFObjGen>& kids)
    {
        expect("[");
        for (;;) {
            space();
            if (peek() == ']') {
                ++m_at;
                return;
            }
            const long long object = number(word());
            const long long generation = number(word());
            if (object < 1 || generation < 0 || word() != "R")
                throw Unusable();
            kids.emplace_back(static_cast<int>(object), static_cast<int>(generation));
        }
    }

    void skipString()
    {
        int open = 0;
        do {
            const char c = peek();
            ++m_at;
            if (c == '\\') {
                peek();
                ++m_at;
            } else if (c == '(') {
                ++open;
            } else if (c == ')') {
                --open;
            }
        } while (open > 0);
    }

    void skipValue(int depth)
    {
        if (depth > kDeepest)
            throw Unusable();
        space();
        const char c = peek();
        if (c == '(') {
            skipString();
        } else if (c == '<') {
            ++m_at;
            if (peek() == '<') {
                ++m_at;
                for (;;) {
                    space();
                    if (peek() == '>') {
                        expect(">>");
                        return;
                    }
                    name();
                    skipValue(depth + 1);
                }
            }
            while (peek() != '>')
                ++m_at;
            ++m_at;
        } else if (c == '[') {
            ++m_at;
            for (;;) {
                space();
                if (peek() == ']') {
                    ++m_at;
                    return;
                }
                skipValue(depth + 1);
            }
        } else if (c == '/') {
            name();
        } else if (isDelimiter(c)) {
            throw Unusable();
        } else if (number(word()) >= 0) {
            // "12 0 R" is one value; "12 0" alone two.
            const std::size_t after = m_at;
            if (number(word()) < 0 || word() != "R")
                m_at = after;
        }
    }

    std::string_view m_text;
    bool m_whole;
    std::size_t m_at = 0;
};

// Up to length bytes of the file from offset; fewer at its end.
std::string readAt(int fd, qpdf_offset_t offset, std::size_t length)
{
    std::string bytes(length, '\0');
    std::size_t got = 0;
    while (got < length) {
        const ssize_t n = ::pread(fd, bytes.data() + got, length - got, offset + static_cast<off_t>(got));
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return bytes;
}

} // namespace

RootKids::RootKids(QPDF& pdf, const std::string& path) : m_pdf(pdf), m_root(pdf.getRoot().getKey("/Pages").getObjGen())
{
    // A file qpdf had to repair may have its objects elsewhere than its table says; in a file of
    // both kinds of table, the stream may hold what the table leaves out.
    if (!m_root.isIndirect() || pdf.isEncrypted() || pdf.anyWarnings() || pdf.getTrailer().hasKey("/XRefStm"))
        return;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    qpdf_offset_t offset = tableOffsetOf(fd, m_root);
    if (offset < 0) {
        // A copy of qpdf's whole table, given back at once: still far less than the objects.
        const std::map<QPDFObjGen, QPDFXRefEntry> table = pdf.getXRefTable();
        const auto entry = table.find(m_root);
        if (entry != table.end() && entry->second.getType() == 1)
            offset = entry->second.getOffset();
    }
    if (offset < 0) {
        ::close(fd);
        return;
    }
    std::string dictionary;
    for (std::size_t length = kFirstRead; length <= kLongestRoot && dictionary.empty(); length *= 2) {
        const std::string text = readAt(fd, offset, length);
        m_kids.clear();
        try {
            dictionary = ObjectText(text, text.size() < length).read(m_root, m_kids);
        } catch (const NeedMore&) {
        } catch (const Unusable&) {
            break;
        }
    }
    ::close(fd);
    if (dictionary.empty() || m_kids.size() < kFewestTaken) {
        m_kids.clear();
        return;
    }
    QPDFObjectHandle root;
    try {
        root = QPDFObjectHandle::parse(&pdf, dictionary, "the page tree's root");
    } catch (const std::exception&) {
    }
    if (!root.isInitialized() || !root.isDictionary()) {
        m_kids.clear();
        return;
    }
    pdf.replaceObject(m_root, root);
}

void RootKids::putBack()
{
    if (m_kids.empty())
        return;
    std::vector<QPDFObjectHandle> kids;
    kids.reserve(m_kids.size());
    for (const QPDFObjGen& kid : m_kids)
        kids.push_back(m_pdf.getObject(kid));
    m_pdf.getObject(m_root).replaceKey("/Kids", QPDFObjectHandle::newArray(kids));
    m_kids.clear();
}
