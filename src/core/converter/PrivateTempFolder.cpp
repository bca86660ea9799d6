#include "core/converter/PrivateTempFolder.h"

#include "core/common/FolderContents.h"
#include "core/common/Utils.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace Converter {

namespace {

constexpr const char* kPrefix = "korvex-";

// The folder's path for the crash path, which may not take locks or allocate.
char g_crashPath[PATH_MAX];
std::atomic<bool> g_crashPathSet{false};

void rememberForCrash(const std::string& path)
{
    g_crashPathSet.store(false);
    if (path.size() < sizeof g_crashPath) {
        std::memcpy(g_crashPath, path.c_str(), path.size() + 1);
        g_crashPathSet.store(true);
    }
}

} // namespace

PrivateTempFolder& PrivateTempFolder::instance()
{
    // Destroyed at exit, which removes the folder.
    static PrivateTempFolder folder;
    return folder;
}

PrivateTempFolder::~PrivateTempFolder()
{
    removeAll();
}

std::wstring PrivateTempFolder::folderLocked()
{
    if (!m_folder.empty())
        return m_folder;
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
    if (ec)
        return {};
    std::string pattern = (base / (kPrefix + std::to_string(::getpid()) + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) // mkdtemp creates it with mode 0700
        return {};
    m_folder = Utils::utf8ToWide(pattern);
    rememberForCrash(pattern);
    return m_folder;
}

std::wstring PrivateTempFolder::folder()
{
    std::lock_guard lock(m_mutex);
    return folderLocked();
}

std::wstring PrivateTempFolder::newCopyPath(const std::wstring& fileName)
{
    std::lock_guard lock(m_mutex);
    const std::wstring root = folderLocked();
    if (root.empty() || fileName.empty())
        return {};
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::wstring sub = root + Utils::kPathSeparator + std::to_wstring(++m_nextSlot);
        if (::mkdir(Utils::wideToUtf8(sub).c_str(), 0700) == 0)
            return sub + Utils::kPathSeparator + fileName;
        if (errno != EEXIST)
            return {};
    }
    return {};
}

bool PrivateTempFolder::contains(const std::wstring& path)
{
    std::lock_guard lock(m_mutex);
    if (m_folder.empty())
        return false;
    const std::wstring prefix = Utils::withTrailingSeparator(m_folder);
    return path.size() > prefix.size() && path.compare(0, prefix.size(), prefix) == 0 &&
           path.find(L"/../") == std::wstring::npos;
}

bool PrivateTempFolder::removeCopy(const std::wstring& path)
{
    if (!contains(path))
        return false;
    std::error_code ec;
    const std::filesystem::path copy = Utils::toFsPath(path);
    std::filesystem::remove(copy, ec);
    if (copy.parent_path() != Utils::toFsPath(folder()))
        std::filesystem::remove(copy.parent_path(), ec); // the copy's own subfolder, if now empty
    return !std::filesystem::exists(copy, ec);
}

void PrivateTempFolder::removeAll()
{
    std::lock_guard lock(m_mutex);
    if (m_folder.empty())
        return;
    g_crashPathSet.store(false);
    std::error_code ec;
    std::filesystem::remove_all(Utils::toFsPath(m_folder), ec);
    m_folder.clear();
}

void PrivateTempFolder::removeAfterCrash()
{
    if (!g_crashPathSet.exchange(false))
        return;
    const int fd = ::open(g_crashPath, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return;
    Utils::removeFolderContents(fd, 3);
    ::rmdir(g_crashPath);
}

int PrivateTempFolder::removeStaleFolders()
{
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
    if (ec)
        return 0;
    int removed = 0;
    const std::size_t prefixLength = std::strlen(kPrefix);
    for (const auto& entry : std::filesystem::directory_iterator(base, ec)) {
        // "korvex-<process id>-XXXXXX", a folder of this user whose process has ended.
        const std::string name = entry.path().filename().string();
        if (name.compare(0, prefixLength, kPrefix) != 0)
            continue;
        char* end = nullptr;
        const long pid = std::strtol(name.c_str() + prefixLength, &end, 10);
        if (end == name.c_str() + prefixLength || *end != '-' || std::strlen(end) != 7 || pid <= 0 ||
            pid == ::getpid())
            continue;
        struct stat info {};
        if (::lstat(entry.path().c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
            continue;
        if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH)
            continue;
        std::error_code removeError;
        if (std::filesystem::remove_all(entry.path(), removeError) > 0 && !removeError)
            ++removed;
    }
    return removed;
}

} // namespace Converter
