#include "common/AtomicFile.h"

#include "common/Utils.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace Utils {

bool writeFileAtomically(const std::wstring& path, const std::string& bytes)
{
    static std::atomic<unsigned> counter{0};
    const std::string target = wideToUtf8(path);
    const std::string temp = target + ".tmp-" + std::to_string(::getpid()) + "-" +
                             std::to_string(counter.fetch_add(1));
    // Readable by this user only: the configuration holds the account's access key.
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    bool ok = true;
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok && ::rename(temp.c_str(), target.c_str()) == 0)
        return true;
    ::unlink(temp.c_str());
    return false;
}

bool readWholeFile(const std::wstring& path, std::string& bytes)
{
    std::ifstream in(toFsPath(path), std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    bytes = buffer.str();
    return true;
}

} // namespace Utils
