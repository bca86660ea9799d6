#include "core/converter/BookmarkPieceName.h"

#include "core/common/Utils.h"

namespace Converter {

namespace {

bool refused(wchar_t c)
{
    return c < 0x20 || c == 0x7F || std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos;
}

bool trimmed(wchar_t c)
{
    return c == L'.' || c == L' ' || c == L'\u3000' || c == L'_';
}

} // namespace

std::wstring safeFileTitle(const std::wstring& title)
{
    std::wstring safe;
    safe.reserve(title.size());
    for (wchar_t c : title)
        safe.push_back(refused(c) ? L'_' : c);
    // A name of dots is this folder or the one above; a leading dot hides the file.
    const std::size_t begin = safe.find_first_not_of(L". \u3000_");
    if (begin == std::wstring::npos)
        return {};
    safe = safe.substr(begin);
    // File names have a byte limit; titles can be whole sentences.
    while (Utils::wideToUtf8(safe).size() > kMaxTitleBytes)
        safe.pop_back();
    while (!safe.empty() && trimmed(safe.back()))
        safe.pop_back();
    return safe;
}

std::wstring bookmarkPieceName(const std::wstring& title, int number, int first, int last,
                               const std::wstring& fallback)
{
    std::wstring name = safeFileTitle(title);
    if (name.empty())
        name = safeFileTitle(fallback);
    if (name.empty())
        name = L"bookmark";
    return name + L'_' + std::to_wstring(number) + L'_' + std::to_wstring(first) + L'_' +
           std::to_wstring(last) + L".pdf";
}

} // namespace Converter
