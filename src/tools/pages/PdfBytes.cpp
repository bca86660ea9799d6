#include "PdfBytes.h"

#include <sys/types.h>
#include <unistd.h>

bool isPdfWhite(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

bool isPdfDelimiter(char c)
{
    switch (c) {
    case '(': case ')': case '<': case '>': case '[': case ']': case '{': case '}': case '/': case '%':
        return true;
    default:
        return false;
    }
}

std::size_t pastLineEnd(const std::string& text, std::size_t at)
{
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
        ++at;
    if (at < text.size() && text[at] == '\r')
        ++at;
    if (at < text.size() && text[at] == '\n')
        ++at;
    return at;
}

std::string readFileAt(int fd, long long offset, std::size_t length)
{
    std::string bytes(length, '\0');
    std::size_t got = 0;
    while (got < length) {
        const ssize_t n = ::pread(fd, bytes.data() + got, length - got, static_cast<off_t>(offset + static_cast<long long>(got)));
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return bytes;
}
