#pragma once
// The size limit of a split by size, as the user types it in megabytes, and the pieces that
// came out over it (a single page larger than the limit has to).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Converter {

enum class PieceSizeStatus { Ok, NoNumber, BelowMinimum, AboveMaximum };

// The largest limit taken: far beyond any mail or upload limit, and far from overflowing.
inline constexpr std::uintmax_t kMaxPieceMegabytes = 1000000;

// "10", "2.5", " 0.75 ": a decimal number of megabytes (1 MB = 1,000,000 bytes), at most six
// digits after the point. Refused unless it gives at least 1 KB and at most kMaxPieceMegabytes.
// bytes is set only when the result is Ok.
PieceSizeStatus readPieceMegabytes(std::wstring_view text, std::uintmax_t& bytes);

// The pages of the one-page pieces "<title>_<p>_<p>.pdf" in folder larger than limit bytes,
// in page order, measured on the files.
std::vector<int> oversizePages(const std::wstring& folder, const std::wstring& title, std::uintmax_t limit);

} // namespace Converter
