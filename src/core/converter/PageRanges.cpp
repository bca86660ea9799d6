#include "core/converter/PageRanges.h"

#include <climits>
#include <cwctype>

namespace Converter {

PageTextStatus readNumber(std::wstring_view text, int& value)
{
    std::size_t i = 0;
    while (i < text.size() && std::iswspace(static_cast<wint_t>(text[i])))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    if (i >= text.size() || text[i] < L'0' || text[i] > L'9')
        return PageTextStatus::NoNumber;
    long long magnitude = 0;
    bool tooBig = false;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        if (!tooBig)
            magnitude = magnitude * 10 + (text[i] - L'0');
        if (magnitude > static_cast<long long>(INT_MAX) + 1)
            tooBig = true; // keep walking the digits; the answer is known
    }
    const long long signedValue = negative ? -magnitude : magnitude;
    if (tooBig || signedValue > INT_MAX || signedValue < INT_MIN)
        return PageTextStatus::OutOfRange;
    value = static_cast<int>(signedValue);
    return PageTextStatus::Ok;
}

PageTextStatus readPageRange(std::wstring_view fromText, std::wstring_view toText, int& from, int& to)
{
    int first = 0;
    int last = 0;
    const PageTextStatus a = readNumber(fromText, first);
    const PageTextStatus b = readNumber(toText, last);
    if (a == PageTextStatus::OutOfRange || b == PageTextStatus::OutOfRange)
        return PageTextStatus::OutOfRange;
    if (a == PageTextStatus::NoNumber || b == PageTextStatus::NoNumber) {
        first = 1;
        last = 1000;
    }
    from = first;
    to = last;
    return PageTextStatus::Ok;
}

PageTextStatus readSplitPoints(std::wstring_view text, std::vector<int>& points)
{
    std::vector<int> result;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t comma = text.find(L',', start);
        if (comma == std::wstring_view::npos)
            comma = text.size();
        int value = 0;
        const PageTextStatus status = readNumber(text.substr(start, comma - start), value);
        if (status == PageTextStatus::OutOfRange)
            return status;
        if (status == PageTextStatus::NoNumber) {
            result.clear();
            break;
        }
        result.push_back(value);
        start = comma + 1;
    }
    points = std::move(result);
    return PageTextStatus::Ok;
}

PageTextStatus readPiecesSize(std::wstring_view text, int& size)
{
    int value = 0;
    const PageTextStatus status = readNumber(text, value);
    if (status != PageTextStatus::Ok)
        return status;
    if (value < 1)
        return PageTextStatus::BelowOne;
    size = value;
    return PageTextStatus::Ok;
}

std::wstring pageRangeText(int from, int to)
{
    return std::to_wstring(from) + L'-' + std::to_wstring(to);
}

} // namespace Converter
