#include "XrefTableEntry.h"

#include "PdfBytes.h"

#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kTail = 1024;
constexpr std::size_t kEntry = 20;
// Enough for any table a writer makes in one update.
constexpr int kMostSections = 10000;

// A decimal of up to digits digits at text[at], moving at past it; -1 when there is none.
long long decimal(const std::string& text, std::size_t& at, std::size_t digits)
{
    long long value = 0;
    const std::size_t from = at;
    while (at < text.size() && at - from < digits && text[at] >= '0' && text[at] <= '9')
        value = value * 10 + (text[at++] - '0');
    return at == from || (at < text.size() && text[at] >= '0' && text[at] <= '9') ? -1 : value;
}

void skipWhite(const std::string& text, std::size_t& at)
{
    while (at < text.size() && isPdfWhite(text[at]))
        ++at;
}

} // namespace

qpdf_offset_t tableOffsetOf(int fd, QPDFObjGen object)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_size <= 0)
        return -1;
    const off_t size = info.st_size;
    const std::size_t tailLength = std::min<std::size_t>(kTail, static_cast<std::size_t>(size));
    const std::string tail = readFileAt(fd, size - static_cast<off_t>(tailLength), tailLength);
    std::size_t at = tail.rfind("startxref");
    if (at == std::string::npos)
        return -1;
    at += 9;
    skipWhite(tail, at);
    const long long table = decimal(tail, at, 18);
    if (table < 0 || table >= size)
        return -1;

    off_t position = static_cast<off_t>(table);
    std::string text = readFileAt(fd, position, 64);
    if (text.compare(0, 4, "xref") != 0)
        return -1; // a cross-reference stream
    at = 4;
    for (int section = 0; section < kMostSections; ++section) {
        skipWhite(text, at);
        const long long first = decimal(text, at, 10);
        skipWhite(text, at);
        const long long count = decimal(text, at, 10);
        if (first < 0 || count < 0)
            return -1; // "trailer", or no section header
        // The entries start after the header's line end.
        at = pastLineEnd(text, at);
        const off_t entries = position + static_cast<off_t>(at);
        if (object.getObj() >= first && object.getObj() < first + count) {
            const std::string entry =
                readFileAt(fd, entries + static_cast<off_t>(kEntry) * (object.getObj() - first), kEntry);
            std::size_t e = 0;
            const long long offset = decimal(entry, e, 10);
            const bool spaced = e == 10 && entry.size() == kEntry && entry[10] == ' ';
            e = 11;
            const long long generation = spaced ? decimal(entry, e, 5) : -1;
            if (!spaced || e != 16 || entry[16] != ' ' || entry[17] != 'n' || !isPdfWhite(entry[18]) ||
                !isPdfWhite(entry[19]) || generation != object.getGen() || offset >= size)
                return -1;
            return offset;
        }
        position = entries + static_cast<off_t>(kEntry) * count;
        if (position >= size)
            return -1;
        text = readFileAt(fd, position, 64);
        at = 0;
    }
    return -1;
}
