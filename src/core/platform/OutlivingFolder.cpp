#include "core/platform/OutlivingFolder.h"

#include "core/common/Utils.h"

#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace Platform {

OutlivingFolder& OutlivingFolder::instance()
{
    static OutlivingFolder folder;
    return folder;
}

std::wstring OutlivingFolder::folder()
{
    std::lock_guard lock(m_mutex);
    struct stat info {};
    // Still ours and still a folder (lstat: never a link someone put in its place).
    if (!m_folder.empty() && ::lstat(Utils::wideToUtf8(m_folder).c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
        info.st_uid == ::getuid())
        return m_folder;
    m_folder.clear();
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
    if (ec)
        return {};
    std::string pattern = (base / "korvex-updater-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) // mode 0700
        return {};
    m_folder = Utils::utf8ToWide(pattern);
    return m_folder;
}

} // namespace Platform
