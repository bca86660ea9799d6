#pragma once
// Writing a file so that readers see either the old or the new content, never a torn one.

#include <string>

namespace Utils {

// Writes the bytes to a temporary file in the same folder, flushes it to disk and renames it
// over the target. False (target untouched) when any step fails.
bool writeFileAtomically(const std::wstring& path, const std::string& bytes);

// Reads a whole file; false when it cannot be opened.
bool readWholeFile(const std::wstring& path, std::string& bytes);

} // namespace Utils
