#include "core/converter/PieceSize.h"

#include "core/converter/InputElement.h"

#include <algorithm>
#include <cwctype>

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

} // namespace Converter
