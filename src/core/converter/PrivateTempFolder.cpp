#include "converter/PrivateTempFolder.h"

#include "common/Utils.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>

namespace Converter {

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
    std::string pattern = (base / "korvex-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) // mkdtemp creates it with mode 0700
        return {};
    m_folder = Utils::utf8ToWide(pattern);
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
    std::error_code ec;
    std::filesystem::remove_all(Utils::toFsPath(m_folder), ec);
    m_folder.clear();
}

} // namespace Converter
