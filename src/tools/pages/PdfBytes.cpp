#include "PdfBytes.h"

#include <cstring>
#include <sys/types.h>
#include <unistd.h>

bool isPdfWhite(char c)
{
    return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\f' || c == '\0';
}

bool isPdfDelimiter(char c)
{
    return c != '\0' && std::strchr("()<>[]{}/%", c) != nullptr;
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
