#include "KidsScanner.h"

#include "PdfBytes.h"

#include <climits>

namespace {

constexpr int kDeepest = 64;
// About 1.6 million references; a larger node is left to qpdf.
constexpr std::size_t kLongestNode = std::size_t(16) << 20;
constexpr std::size_t kFirstRead = std::size_t(64) << 10;

} // namespace

KidsScanner::KidsScanner(std::string_view text, bool whole) : m_text(text), m_whole(whole) {}

std::string KidsScanner::readFrom(int fd, long long offset, QPDFObjGen object, std::vector<QPDFObjGen>& kids)
{
    std::string dictionary;
    // Each try reads and scans from the start again: four times as far, so that a root of
    // 100,000 kids is not scanned six times over.
    for (std::size_t length = kFirstRead; length <= kLongestNode && dictionary.empty(); length *= 4) {
        const std::string text = readFileAt(fd, offset, length);
        kids.clear();
        try {
            dictionary = KidsScanner(text, text.size() < length).read(object, kids);
        } catch (const NeedMore&) {
        } catch (const Unusable&) {
            break;
        }
    }
    if (dictionary.empty())
        kids.clear();
    return dictionary;
}

std::string KidsScanner::read(QPDFObjGen object, std::vector<QPDFObjGen>& kids)
{
    if (number(word()) != object.getObj() || number(word()) != object.getGen() || word() != "obj")
        throw Unusable{};
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
            throw Unusable{}; // "/K#69ds" is /Kids too: qpdf sorts such keys out
        if (key != "/Kids") {
            skipValue(1);
            continue;
        }
        if (kidsTo != 0)
            throw Unusable{};
        space();
        kidsFrom = m_at;
        references(kids);
        kidsTo = m_at;
    }
    const std::size_t end = m_at;
    if (kidsTo == 0 || word() != "endobj")
        throw Unusable{};
    return std::string(m_text.substr(start, kidsFrom - start)) + "[]" +
           std::string(m_text.substr(kidsTo, end - kidsTo));
}

char KidsScanner::peek()
{
    if (m_at >= m_text.size() && m_whole)
        throw Unusable{};
    if (m_at >= m_text.size())
        throw NeedMore{};
    return m_text[m_at];
}

void KidsScanner::space()
{
    while (m_at < m_text.size() || !m_whole) {
        const char c = peek();
        if (c == '%') {
            while (peek() != '\n' && peek() != '\r')
                ++m_at;
        } else if (isPdfWhite(c)) {
            ++m_at;
        } else {
            return;
        }
    }
}

void KidsScanner::expect(std::string_view what)
{
    for (char c : what) {
        if (peek() != c)
            throw Unusable{};
        ++m_at;
    }
}

std::string_view KidsScanner::word()
{
    space();
    const std::size_t from = m_at;
    while ((m_at < m_text.size() || !m_whole) && !isPdfWhite(peek()) && !isPdfDelimiter(peek()))
        ++m_at;
    return m_text.substr(from, m_at - from);
}

std::string_view KidsScanner::name()
{
    expect("/");
    const std::size_t from = m_at - 1;
    while (!isPdfWhite(peek()) && !isPdfDelimiter(peek()))
        ++m_at;
    return m_text.substr(from, m_at - from);
}

long long KidsScanner::number(std::string_view digits)
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

bool KidsScanner::plainReference(std::vector<QPDFObjGen>& kids)
{
    // "12 0 R" followed by white space: the way writers put them, read without the general
    // scanner's checks on every byte. Anything else is left to it.
    const char* const text = m_text.data();
    const std::size_t size = m_text.size();
    std::size_t at = m_at;
    const auto digits = [&](long long& value) {
        const std::size_t from = at;
        value = 0;
        while (at < size && at - from < 10 && text[at] >= '0' && text[at] <= '9')
            value = value * 10 + (text[at++] - '0');
        return at > from && at < size && (text[at] == ' ' || text[at] == '\n' || text[at] == '\r');
    };
    long long object = 0, generation = 0;
    if (!digits(object))
        return false;
    while (at < size && (text[at] == ' ' || text[at] == '\n' || text[at] == '\r'))
        ++at;
    if (!digits(generation))
        return false;
    while (at < size && (text[at] == ' ' || text[at] == '\n' || text[at] == '\r'))
        ++at;
    if (at + 1 >= size || text[at] != 'R' || !(text[at + 1] == ' ' || text[at + 1] == '\n' || text[at + 1] == '\r'))
        return false;
    if (object < 1 || object > INT_MAX || generation > INT_MAX)
        return false;
    kids.emplace_back(static_cast<int>(object), static_cast<int>(generation));
    m_at = at + 1;
    return true;
}

void KidsScanner::references(std::vector<QPDFObjGen>& kids)
{
    expect("[");
    for (;;) {
        space();
        if (plainReference(kids))
            continue;
        if (peek() == ']') {
            ++m_at;
            return;
        }
        const long long object = number(word());
        const long long generation = number(word());
        if (object < 1 || generation < 0 || word() != "R")
            throw Unusable{};
        kids.emplace_back(static_cast<int>(object), static_cast<int>(generation));
    }
}

void KidsScanner::skipString()
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

void KidsScanner::skipValue(int depth)
{
    if (depth > kDeepest)
        throw Unusable{};
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
    } else if (isPdfDelimiter(c)) {
        throw Unusable{};
    } else if (number(word()) >= 0) {
        // "12 0 R" is one value; "12 0" alone two.
        const std::size_t after = m_at;
        if (number(word()) < 0 || word() != "R")
            m_at = after;
    }
}
