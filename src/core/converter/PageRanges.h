#pragma once
// Turning the texts of a row's page boxes into numbers, and numbers into qpdf range texts.
// Numbers are read like the standard string-to-int conversion: leading blanks skipped, an
// optional sign, then digits up to the first character that is not one.

#include <string>
#include <string_view>
#include <vector>

namespace Converter {

enum class PageTextStatus {
    Ok,
    // The text does not start with a number.
    NoNumber,
    // A number beyond the int range: refused rather than wrapped or clamped.
    OutOfRange,
    // A pieces size of 0 or less, which would never end the plan.
    BelowOne,
};

PageTextStatus readNumber(std::wstring_view text, int& value);

// The range of the two boxes; when either does not start with a number, 1 to 1000 (qpdf then
// judges a range beyond the last page). from and to are set only when the result is Ok.
PageTextStatus readPageRange(std::wstring_view fromText, std::wstring_view toText, int& from, int& to);

// Split points cut at commas ("5,10,15"). A part that does not start with a number empties the
// list and ends the reading ("5,,10" gives none); a comma at the end adds nothing.
PageTextStatus readSplitPoints(std::wstring_view text, std::vector<int>& points);

// The pieces size of an every-N split: a number of at least 1.
PageTextStatus readPiecesSize(std::wstring_view text, int& size);

// "3-7".
std::wstring pageRangeText(int from, int to);

} // namespace Converter
