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
    // File names have a byte limit; titles can be whole sentences, or whole books. One pass:
    // each character's UTF-8 length is added until the next one would not fit.
    std::size_t end = begin;
    for (std::size_t bytes = 0; end < safe.size(); ++end) {
        bytes += Utils::wideToUtf8(std::wstring(1, safe[end])).size();
        if (bytes > kMaxTitleBytes)
            break;
    }
    safe = safe.substr(begin, end - begin);
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
