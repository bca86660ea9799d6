#include "core/common/FolderContents.h"

#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace Utils {

void removeFolderContents(int fd, int depth)
{
    alignas(8) char buffer[4096];
    for (;;) {
        const ssize_t n = ::getdents64(fd, buffer, sizeof buffer);
        if (n <= 0)
            break;
        for (ssize_t at = 0; at < n;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer + at);
            at += entry->d_reclen;
            const char* name = entry->d_name;
            if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
                continue;
            if (::unlinkat(fd, name, 0) == 0 || depth <= 0)
                continue;
            const int sub = ::openat(fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (sub >= 0) {
                removeFolderContents(sub, depth - 1);
                ::unlinkat(fd, name, AT_REMOVEDIR);
            }
        }
    }
    ::close(fd);
}

} // namespace Utils
