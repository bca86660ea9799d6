#pragma once
// The file name of a piece of a split by bookmarks: "<title>_<n>_<first>_<last>.pdf", the
// bookmark's title made safe for file names on any system (letters of every script kept).

#include <string>

namespace Converter {

// fallback: used when nothing of the title is left (a title of dots, blanks or nothing),
// normally the input's own title.
std::wstring bookmarkPieceName(const std::wstring& title, int number, int first, int last,
                               const std::wstring& fallback);

// The title as it can stand in a file name: no folder separators, no characters that other
// systems refuse (\ / : * ? " < > |, control characters), no leading or trailing dots or
// blanks, at most kMaxTitleBytes of UTF-8. Empty when nothing is left.
std::wstring safeFileTitle(const std::wstring& title);

inline constexpr std::size_t kMaxTitleBytes = 180;

} // namespace Converter
