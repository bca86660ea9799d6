#include "core/converter/OutputCheck.h"

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Converter {

namespace {

// The marker may be followed by a line end, and a few writers pad with more white space.
constexpr std::size_t kTailLength = 1024;

} // namespace

bool isCompletePdf(const std::string& path, Flush flush)
{
    const int fd = ::open(path.c_str(), (flush == Flush::Now ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat info {};
    // A write the disk could not take surfaces here at the latest.
    bool ok = (flush == Flush::Later || ::fsync(fd) == 0) && ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0;
    if (ok) {
        const std::size_t length = std::min<std::size_t>(kTailLength, static_cast<std::size_t>(info.st_size));
        char tail[kTailLength];
        ok = ::pread(fd, tail, length, info.st_size - static_cast<off_t>(length)) == static_cast<ssize_t>(length);
        std::size_t end = length;
        const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; };
        while (ok && end > 0 && isSpace(tail[end - 1]))
            --end;
        ok = ok && end >= 5 && std::memcmp(tail + end - 5, "%%EOF", 5) == 0;
    }
    ::close(fd);
    return ok;
}

} // namespace Converter
