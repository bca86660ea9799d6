#include "core/converter/SplitFolder.h"

#include "core/common/FolderContents.h"
#include "core/common/Utils.h"
#include "core/converter/JobFailure.h"
#include "core/converter/OutputLeftovers.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace Converter {

namespace fs = std::filesystem;

SplitFolder::~SplitFolder()
{
    removeWorkFolder();
    close();
}

void SplitFolder::close()
{
    for (int* fd : {&m_fd, &m_parentFd}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

bool SplitFolder::open(const std::wstring& folder, std::wstring& problem)
{
    close();
    std::wstring trimmed = folder;
    while (trimmed.size() > 1 && trimmed.back() == Utils::kPathSeparator)
        trimmed.pop_back();
    m_folder = Utils::toFsPath(trimmed);
    m_name = m_folder.filename().string();
    if (trimmed.empty() || m_name.empty() || m_name == "." || m_name == "..") {
        problem = folder + L": cannot create this folder";
        return false;
    }
    const fs::path parent = m_folder.has_parent_path() ? m_folder.parent_path() : fs::path(".");
    // The folders above are the user's choice, links included; only the last name is ours.
    if (!Utils::createDeepDirectory(Utils::fromFsPath(parent)) ||
        (m_parentFd = ::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) < 0) {
        problem = folder + L": cannot create this folder";
        return false;
    }
    m_existed = ::mkdirat(m_parentFd, m_name.c_str(), 0777) != 0;
    if (m_existed && errno != EEXIST) {
        problem = folder + L": " + systemErrorText(errno);
        return false;
    }
    m_fd = ::openat(m_parentFd, m_name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (m_fd < 0) {
        const int error = errno;
        struct stat info {};
        const bool link = ::fstatat(m_parentFd, m_name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
                          S_ISLNK(info.st_mode);
        problem = folder + L": " + (link ? std::wstring(L"a symbolic link, not a folder; pieces go only into a real folder")
                                         : systemErrorText(error));
        return false;
    }
    removeStaleLeftovers(m_fd);
    return true;
}

bool SplitFolder::stillInPlace() const
{
    struct stat held {};
    struct stat named {};
    return m_fd >= 0 && ::fstat(m_fd, &held) == 0 &&
           ::fstatat(m_parentFd, m_name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISDIR(named.st_mode) && held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

bool SplitFolder::makeWorkFolder(std::wstring& problem)
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    removeWorkFolder();
    int error = EEXIST;
    for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
        std::string name = splitWorkPrefix();
        for (int i = 0; i < 6; ++i)
            name += kLetters[random() % (sizeof kLetters - 1)];
        if (::mkdirat(m_fd, name.c_str(), 0700) != 0) {
            error = errno;
            continue;
        }
        m_workFd = ::openat(m_fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (m_workFd < 0) {
            error = errno;
            ::unlinkat(m_fd, name.c_str(), AT_REMOVEDIR);
            break;
        }
        m_work = m_folder / name;
        return true;
    }
    problem = Utils::fromFsPath(m_folder) + L": " + systemErrorText(error);
    return false;
}

void SplitFolder::removeWorkFolder()
{
    if (m_workFd < 0)
        return;
    Utils::removeFolderContents(m_workFd, 2); // closes it
    m_workFd = -1;
    ::unlinkat(m_fd, m_work.filename().c_str(), AT_REMOVEDIR);
    m_work.clear();
}

bool SplitFolder::removeEarlier(const std::wstring& name)
{
    if (!m_triedListing) {
        m_triedListing = true;
        // A descriptor of its own: one shared with m_fd would share its place in the listing.
        const int listing = ::openat(m_fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        DIR* dir = listing >= 0 ? ::fdopendir(listing) : nullptr;
        if (!dir) {
            if (listing >= 0)
                ::close(listing); // each name is asked about instead
        } else {
            while (const dirent* entry = ::readdir(dir))
                m_earlier.insert(entry->d_name);
            ::closedir(dir);
            m_listed = true;
        }
    }
    const std::string narrow = Utils::toFsPath(name).string();
    if (m_listed && narrow.find('/') == std::string::npos && m_earlier.count(narrow) == 0)
        return true;
    return ::unlinkat(m_fd, narrow.c_str(), 0) == 0 || errno == ENOENT;
}

bool SplitFolder::moveIn(const std::string& workName, const std::wstring& name, std::wstring& problem)
{
    if (::renameat(m_workFd, workName.c_str(), m_fd, Utils::toFsPath(name).c_str()) == 0)
        return true;
    problem = Utils::fromFsPath(m_folder / Utils::toFsPath(name)) + L": " + systemErrorText(errno);
    return false;
}

void SplitFolder::removeIfMadeAndEmpty()
{
    if (!m_existed && m_parentFd >= 0 && stillInPlace())
        ::unlinkat(m_parentFd, m_name.c_str(), AT_REMOVEDIR);
}

} // namespace Converter
