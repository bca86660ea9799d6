#include "core/converter/OutputNameClaims.h"

#include "core/common/Utils.h"
#include "core/converter/WorkingZone.h"

#include <filesystem>

namespace Converter {

std::wstring OutputNameClaims::key(const std::wstring& path)
{
    // One spelling per file: "./a.pdf" and "/abs/a.pdf" are the same claim.
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(Utils::toFsPath(path), ec);
    return ec ? path : Utils::fromFsPath(absolute.lexically_normal());
}

void OutputNameClaims::reserve(const std::wstring& path)
{
    std::lock_guard lock(m_mutex);
    m_taken.insert(key(path));
}

std::wstring OutputNameClaims::claim(const std::wstring& path, bool isFolder)
{
    std::lock_guard lock(m_mutex);
    if (m_taken.insert(key(path)).second)
        return path;
    const std::size_t slash = path.rfind(Utils::kPathSeparator);
    const std::size_t nameStart = slash == std::wstring::npos ? 0 : slash + 1;
    std::size_t dot = isFolder ? std::wstring::npos : path.rfind(L'.');
    if (dot == std::wstring::npos || dot <= nameStart)
        dot = path.size();
    for (unsigned n = 2;; ++n) {
        std::wstring candidate = path.substr(0, dot) + L" (" + std::to_wstring(n) + L")" + path.substr(dot);
        if (m_taken.insert(key(candidate)).second)
            return candidate;
    }
}

std::wstring OutputNameClaims::claimOutput(std::wstring path, int zone)
{
    while (!path.empty() && path.back() == L' ')
        path.pop_back();
    return claim(path, zone == WorkingZone::Split);
}

} // namespace Converter
