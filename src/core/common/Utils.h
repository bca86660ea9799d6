#pragma once
// Path, file and text helpers shared by the whole program. None of them throws or shows a
// message; failures come back as false, -1 or an empty string, and the ones the user cannot
// cause are filed as error reports.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace Utils {

// The one path separator of this platform; every path helper splits and joins with it.
inline constexpr wchar_t kPathSeparator = L'/';

// Creates every missing folder along an absolute path. True when the whole path exists as a
// folder afterwards; otherwise files a report and returns false.
bool createDeepDirectory(const std::wstring& path);

// File name without folder and extension: between the last separator and the last dot.
std::wstring getFileTitle(const std::wstring& path);

// Text after the last dot, without the dot; empty when there is no dot at all.
std::wstring getFileExtension(const std::wstring& path);

// Size in bytes (64-bit, so big files are ordinary files), or -1 when the file cannot be read.
std::int64_t getFileSize(const std::wstring& path);

// Folder of the running executable with a trailing separator; empty when it cannot be read.
std::wstring getModuleDirectory();

// Display text of a size: "512.00 B", "1.00 KB", "3.0 MB".
std::wstring formatFileSize(double size);

// Text conversions. The "ANSI" code page of this platform is UTF-8, so the two pairs agree.
// Bytes that are not valid UTF-8 survive a round trip: they travel as the code points
// U+DC80..U+DCFF and are written back as the same bytes.
std::wstring ansiToWide(const std::string& text);
std::string wideToAnsi(const std::wstring& text);
std::wstring utf8ToWide(const std::string& text);
std::string wideToUtf8(const std::wstring& text);

enum class CodePage { Ansi, Utf8 };
// A NUL-terminated copy of the converted text in a zero-filled buffer one byte longer than the
// text; null for a null input.
std::unique_ptr<char[]> toNarrowBuffer(const wchar_t* text, CodePage codePage);

// The file-system path of a wide path (bytes as the platform stores them).
std::filesystem::path toFsPath(const std::wstring& path);
// The wide form of a file-system path.
std::wstring fromFsPath(const std::filesystem::path& path);

// True when something (file or folder) exists at the path.
bool pathExists(const std::wstring& path);

// Appends a separator unless the text already ends with one.
std::wstring withTrailingSeparator(std::wstring folder);

} // namespace Utils
