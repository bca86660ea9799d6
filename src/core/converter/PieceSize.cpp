#include "core/converter/PieceSize.h"

#include "core/common/Utils.h"
#include "core/converter/InputElement.h"
#include "core/converter/PdfSplitter.h"

#include <algorithm>
#include <cwctype>
#include <filesystem>

namespace Converter {

namespace {

constexpr std::uintmax_t kMinPieceBytes = 1000;
constexpr std::size_t kMaxFractionDigits = 6;

std::wstring_view trimmed(std::wstring_view text)
{
    while (!text.empty() && std::iswspace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && std::iswspace(text.back()))
        text.remove_suffix(1);
    return text;
}

bool allDigits(std::wstring_view text)
{
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

} // namespace

PieceSizeStatus readPieceMegabytes(std::wstring_view text, std::uintmax_t& bytes)
{
    text = trimmed(text);
    const std::size_t point = text.find(L'.');
    std::wstring_view whole = text.substr(0, point);
    std::wstring_view fraction = point == std::wstring_view::npos ? std::wstring_view() : text.substr(point + 1);
    if ((whole.empty() && fraction.empty()) || !allDigits(whole) || !allDigits(fraction) ||
        fraction.size() > kMaxFractionDigits)
        return PieceSizeStatus::NoNumber;
    while (whole.size() > 1 && whole.front() == L'0')
        whole.remove_prefix(1);
    // More digits than the maximum has: too big, whatever they are.
    if (whole.size() > std::to_string(kMaxPieceMegabytes).size())
        return PieceSizeStatus::AboveMaximum;
    std::uintmax_t megabytes = 0;
    for (wchar_t c : whole)
        megabytes = megabytes * 10 + static_cast<std::uintmax_t>(c - L'0');
    std::uintmax_t part = 0, scale = InputElement::kBytesPerMb;
    for (wchar_t c : fraction) {
        scale /= 10;
        part += static_cast<std::uintmax_t>(c - L'0') * scale;
    }
    if (megabytes > kMaxPieceMegabytes || (megabytes == kMaxPieceMegabytes && part > 0))
        return PieceSizeStatus::AboveMaximum;
    const std::uintmax_t total = megabytes * InputElement::kBytesPerMb + part;
    if (total < kMinPieceBytes)
        return PieceSizeStatus::BelowMinimum;
    bytes = total;
    return PieceSizeStatus::Ok;
}

std::vector<int> oversizePages(const std::wstring& folder, const std::wstring& title, std::uintmax_t limit)
{
    namespace fs = std::filesystem;
    std::vector<int> pages;
    std::error_code ec;
    const std::wstring prefix = title + L'_';
    for (const auto& entry : fs::directory_iterator(Utils::toFsPath(folder), ec)) {
        const std::wstring name = Utils::fromFsPath(entry.path().filename());
        if (name.rfind(prefix, 0) != 0 || name.size() <= prefix.size() + 4)
            continue;
        const std::wstring pages1 = name.substr(prefix.size(), name.size() - prefix.size() - 4);
        const std::size_t cut = pages1.find(L'_');
        if (cut == std::wstring::npos || pages1.substr(0, cut) != pages1.substr(cut + 1) ||
            !allDigits(pages1.substr(0, cut)) || cut == 0 || cut > 9)
            continue;
        const int page = std::stoi(pages1.substr(0, cut));
        if (name != PdfSplitter::pieceName(title, SplitPiece{page, page}))
            continue;
        std::error_code sizeError;
        const std::uintmax_t size = entry.file_size(sizeError);
        if (!sizeError && size > limit)
            pages.push_back(page);
    }
    std::sort(pages.begin(), pages.end());
    return pages;
}

} // namespace Converter
