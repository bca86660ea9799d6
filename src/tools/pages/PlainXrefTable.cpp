#include "PlainXrefTable.h"

#include "PdfBytes.h"

#include <cstdio>

namespace {

constexpr std::size_t kTail = 1024;
constexpr std::size_t kEntry = 20;
// A table of more is no file this reader is for (and would take its memory).
constexpr qpdf_offset_t kLongestTable = qpdf_offset_t(256) << 20;
constexpr std::size_t kChunk = std::size_t(64) << 10;
// A section header, or the trailer keyword, fits in this.
constexpr std::size_t kHeader = 64;

// The decimal of exactly digits digits at text[at]; -1 when any is no digit.
long long digitsAt(const std::string& text, std::size_t at, std::size_t digits)
{
    long long value = 0;
    for (std::size_t i = 0; i < digits; ++i) {
        const char c = text[at + i];
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// A decimal of 1 to 10 digits at text[at], moving at past it; -1 when there is none.
long long decimal(const std::string& text, std::size_t& at)
{
    const std::size_t from = at;
    long long value = 0;
    while (at < text.size() && at - from < 10 && text[at] >= '0' && text[at] <= '9')
        value = value * 10 + (text[at++] - '0');
    const bool more = at < text.size() && text[at] >= '0' && text[at] <= '9';
    return at == from || more ? -1 : value;
}

void skipWhite(const std::string& text, std::size_t& at)
{
    while (at < text.size() && isPdfWhite(text[at]))
        ++at;
}

} // namespace

PlainXrefTable::PlainXrefTable(int fd, qpdf_offset_t size)
{
    if (size <= 0)
        return;
    const std::size_t tailLength = static_cast<std::size_t>(std::min<qpdf_offset_t>(kTail, size));
    const std::string tail = readFileAt(fd, size - static_cast<qpdf_offset_t>(tailLength), tailLength);
    std::size_t at = tail.rfind("startxref");
    if (at == std::string::npos)
        return;
    at += 9;
    skipWhite(tail, at);
    std::size_t digits = at;
    while (digits < tail.size() && tail[digits] >= '0' && tail[digits] <= '9')
        ++digits;
    if (digits == at || digits - at > 15)
        return;
    m_table = std::stoll(tail.substr(at, digits - at));
    if (m_table >= size)
        return;
    m_usable = read(fd, size);
    if (!m_usable)
        m_entries.clear();
}

bool PlainXrefTable::read(int fd, qpdf_offset_t size)
{
    // Read as far as the sections say, not to the file's end: the newest table of a linearized
    // file sits near its start.
    const std::size_t length = static_cast<std::size_t>(std::min(size - m_table, kLongestTable));
    std::string text;
    const auto have = [&](std::size_t upto) {
        if (text.size() < upto && text.size() < length) {
            const std::size_t want = std::min(length, std::max(upto, text.size() + kChunk));
            text += readFileAt(fd, m_table + static_cast<qpdf_offset_t>(text.size()), want - text.size());
        }
        return text.size() >= upto;
    };
    have(kChunk);
    if (text.compare(0, 4, "xref") != 0)
        return false; // a cross-reference stream
    std::size_t at = 4;
    bool first = true;
    for (;;) {
        have(at + kHeader);
        skipWhite(text, at);
        if (text.compare(at, 7, "trailer") == 0) {
            m_trailer = m_table + static_cast<qpdf_offset_t>(at);
            return !first;
        }
        const long long start = decimal(text, at);
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
            ++at;
        const long long count = decimal(text, at);
        // A table that does not start with object 0 is left to qpdf's own ways.
        if (start < 0 || count < 0 || (first && start != 0))
            return false;
        // No object numbers far beyond what the table can hold: the entries are allotted for them.
        if (static_cast<unsigned long long>(start + count) > length / kEntry + 1024)
            return false;
        first = false;
        at = pastLineEnd(text, at);
        if (static_cast<unsigned long long>(count) > (length - at) / kEntry ||
            !have(at + static_cast<std::size_t>(count) * kEntry))
            return false;
        if (m_entries.size() < static_cast<std::size_t>(start + count))
            m_entries.resize(static_cast<std::size_t>(start + count));
        for (long long object = start; object < start + count; ++object, at += kEntry) {
            const long long offset = digitsAt(text, at, 10);
            const long long generation = digitsAt(text, at + 11, 5);
            const char type = text[at + 17];
            if (offset < 0 || generation < 0 || text[at + 10] != ' ' || text[at + 16] != ' ' ||
                (type != 'n' && type != 'f') || !isPdfWhite(text[at + 18]) || !isPdfWhite(text[at + 19]))
                return false;
            Entry& entry = m_entries[static_cast<std::size_t>(object)];
            if (entry.type != 0)
                return false; // listed twice: left to qpdf
            entry = Entry{offset, static_cast<int>(generation), type};
        }
    }
}

PlainXrefTable::Entry PlainXrefTable::entry(int object) const
{
    return object >= 0 && static_cast<std::size_t>(object) < m_entries.size() ? m_entries[static_cast<std::size_t>(object)]
                                                                               : Entry{};
}

std::string PlainXrefTable::only(const std::vector<int>& objects) const
{
    std::string table = "xref\n";
    for (std::size_t i = 0; i < objects.size();) {
        std::size_t j = i + 1;
        while (j < objects.size() && objects[j] == objects[j - 1] + 1)
            ++j;
        table += std::to_string(objects[i]) + ' ' + std::to_string(j - i) + '\n';
        for (; i < j; ++i) {
            const Entry e = entry(objects[i]);
            char line[kEntry + 1];
            std::snprintf(line, sizeof line, "%010lld %05d %c \n", static_cast<long long>(e.offset), e.generation,
                          e.type);
            table.append(line, kEntry);
        }
    }
    return table;
}
