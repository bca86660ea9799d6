#pragma once
// The size limit of a split by size, as the user types it in megabytes.

#include <cstdint>
#include <string>
#include <string_view>

namespace Converter {

enum class PieceSizeStatus { Ok, NoNumber, BelowMinimum, AboveMaximum };

// The largest limit taken: far beyond any mail or upload limit, and far from overflowing.
inline constexpr std::uintmax_t kMaxPieceMegabytes = 1000000;

// "10", "2.5", " 0.75 ": a decimal number of megabytes (1 MB = 1,000,000 bytes), at most six
// digits after the point. Refused unless it gives at least 1 KB and at most kMaxPieceMegabytes.
// bytes is set only when the result is Ok.
PieceSizeStatus readPieceMegabytes(std::wstring_view text, std::uintmax_t& bytes);

} // namespace Converter
