#include "core/converter/OutputLeftovers.h"

#include "core/common/FolderContents.h"
#include "core/common/Utils.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace Converter {

namespace {

constexpr std::string_view kPartPrefix = ".korvex-";
constexpr std::string_view kPartSuffix = ".part";
constexpr std::string_view kSplitPrefix = ".korvex-split-";

// Reads a decimal number followed by '-' from the front of text, consuming both.
bool takeNumber(std::string_view& text, long& number)
{
    std::size_t digits = 0;
    while (digits < text.size() && digits < 10 && text[digits] >= '0' && text[digits] <= '9')
        ++digits;
    if (digits == 0 || digits >= text.size() || text[digits] != '-')
        return false;
    number = std::stol(std::string(text.substr(0, digits)));
    text.remove_prefix(digits + 1);
    return true;
}

bool allOf(std::string_view text, bool (*accept)(char))
{
    for (const char c : text) {
        if (!accept(c))
            return false;
    }
    return true;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHex(char c) { return isDigit(c) || (c >= 'a' && c <= 'f'); }
bool isAlnum(char c) { return isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// The process id of a leftover's name; 0 for a name that is not one of ours. isFolder says
// which kind the name is.
long leftoverPid(std::string_view name, bool& isFolder)
{
    long pid = 0;
    if (name.substr(0, kSplitPrefix.size()) == kSplitPrefix) {
        name.remove_prefix(kSplitPrefix.size());
        isFolder = true;
        return takeNumber(name, pid) && name.size() == 6 && allOf(name, isAlnum) ? pid : 0;
    }
    if (name.substr(0, kPartPrefix.size()) != kPartPrefix || name.size() <= kPartSuffix.size() ||
        name.substr(name.size() - kPartSuffix.size()) != kPartSuffix)
        return 0;
    name.remove_prefix(kPartPrefix.size());
    name.remove_suffix(kPartSuffix.size());
    isFolder = false;
    long counter = 0;
    if (!takeNumber(name, pid) || !takeNumber(name, counter))
        return 0;
    return name.size() == 12 && allOf(name, isHex) ? pid : 0;
}

bool processEnded(long pid)
{
    return pid > 0 && pid != ::getpid() && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

} // namespace

std::string partFileName(unsigned counter, unsigned long long random)
{
    char name[80];
    std::snprintf(name, sizeof name, ".korvex-%d-%u-%012llx.part", static_cast<int>(::getpid()), counter,
                  random & 0xFFFFFFFFFFFFULL);
    return name;
}

std::string splitWorkPrefix()
{
    return std::string(kSplitPrefix) + std::to_string(::getpid()) + '-';
}

int removeStaleLeftovers(int fd)
{
    const int listing = ::dup(fd);
    if (listing < 0)
        return 0;
    DIR* dir = ::fdopendir(listing);
    if (!dir) {
        ::close(listing);
        return 0;
    }
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        bool isFolder = false;
        const long pid = leftoverPid(entry->d_name, isFolder);
        if (pid == 0 || !processEnded(pid))
            continue;
        struct stat info {};
        if (::fstatat(fd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 || info.st_uid != ::geteuid())
            continue;
        if (!isFolder && S_ISREG(info.st_mode)) {
            removed += ::unlinkat(fd, entry->d_name, 0) == 0;
        } else if (isFolder && S_ISDIR(info.st_mode)) {
            const int sub = ::openat(fd, entry->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (sub >= 0) {
                Utils::removeFolderContents(sub, 2);
                removed += ::unlinkat(fd, entry->d_name, AT_REMOVEDIR) == 0;
            }
        }
    }
    ::closedir(dir);
    return removed;
}

int removeStaleLeftovers(const std::wstring& folder)
{
    if (folder.empty())
        return 0;
    const int fd = ::open(Utils::wideToUtf8(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return 0;
    const int removed = removeStaleLeftovers(fd);
    ::close(fd);
    return removed;
}

} // namespace Converter
