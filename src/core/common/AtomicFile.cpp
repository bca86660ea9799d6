#include "core/common/AtomicFile.h"

#include "core/common/Utils.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace Utils {

namespace {

// "<target>.tmp-<process id>-<counter>"
constexpr const char* kTemporaryInfix = ".tmp-";

bool processIsRunning(long pid)
{
    if (pid <= 0 || pid == ::getpid())
        return false; // this process writes under its own lock, never while it cleans up
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

// The file a write to path replaces: path itself, or the file a symbolic link at path names
// (a dangling link is replaced itself). Empty when nothing may be written there.
std::string writeTarget(const std::string& path)
{
    struct stat info {};
    std::string target = path;
    if (::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
    }
    if (::stat(target.c_str(), &info) != 0)
        return errno == ENOENT ? target : std::string();
    // Read-only by the user's choice (root writes anywhere, so the bits count, not access()).
    if (!S_ISREG(info.st_mode) || (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
        ::access(target.c_str(), W_OK) != 0)
        return {};
    return target;
}

int removeStaleBeside(const std::string& target);

} // namespace

bool writeAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool writeFileAtomically(const std::wstring& path, const std::string& bytes)
{
    static std::atomic<unsigned> counter{0};
    const std::string target = writeTarget(wideToUtf8(path));
    if (target.empty())
        return false;
    const std::string temp = target + kTemporaryInfix + std::to_string(::getpid()) + "-" +
                             std::to_string(counter.fetch_add(1));
    // Readable by this user only: the configuration holds the account's access key.
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, bytes.data(), bytes.size());
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

ReadStatus readExistingFile(const std::wstring& path, std::string& bytes, int* errorCode, std::size_t limit)
{
    bytes.clear();
    const std::string name = wideToUtf8(path);
    struct stat info {};
    // Looked at before it is opened: opening a device can have effects of its own.
    if (::stat(name.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode))
        return ReadStatus::NotRegular;
    // Non-blocking: a FIFO put there after the look would otherwise wait for a writer.
    const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    int error = 0;
    if (fd < 0) {
        error = errno;
        if (error == ENOENT)
            return ReadStatus::Missing;
        if (error == ENXIO)
            return ReadStatus::NotRegular; // a socket
    } else if (::fstat(fd, &info) != 0) {
        error = errno;
        ::close(fd);
    } else if (!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)) {
        ::close(fd);
        return ReadStatus::NotRegular;
    } else if (S_ISREG(info.st_mode) && static_cast<std::uintmax_t>(info.st_size) > limit) {
        ::close(fd);
        return ReadStatus::TooLarge;
    } else {
        char buffer[65536];
        for (;;) {
            if (bytes.size() > limit) {
                ::close(fd);
                bytes.clear();
                return ReadStatus::TooLarge; // it grew while it was read
            }
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                error = errno;
                break;
            }
            if (n == 0)
                break;
            bytes.append(buffer, static_cast<std::size_t>(n));
        }
        ::close(fd);
    }
    if (error == 0)
        return ReadStatus::Read;
    bytes.clear();
    if (errorCode)
        *errorCode = error;
    return ReadStatus::Unreadable;
}

int removeStaleTemporaries(const std::wstring& path)
{
    const std::string name = wideToUtf8(path);
    int removed = removeStaleBeside(name);
    const std::string target = writeTarget(name);
    if (!target.empty() && target != name)
        removed += removeStaleBeside(target);
    return removed;
}

namespace {

int removeStaleBeside(const std::string& target)
{
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash == 0 ? 1 : slash);
    const std::string prefix = target.substr(slash == std::string::npos ? 0 : slash + 1) + kTemporaryInfix;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return 0;
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0)
            continue;
        char* end = nullptr;
        const long pid = std::strtol(name.c_str() + prefix.size(), &end, 10);
        if (end == name.c_str() + prefix.size() || *end != '-' || processIsRunning(pid))
            continue;
        if (::unlinkat(::dirfd(dir), name.c_str(), 0) == 0)
            ++removed;
    }
    ::closedir(dir);
    return removed;
}

} // namespace

} // namespace Utils
