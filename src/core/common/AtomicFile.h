#pragma once
// Writing a file so that readers see either the old or the new content, never a torn one.

#include <string>

namespace Utils {

// Writes the bytes to a temporary file in the same folder, flushes it to disk and renames it
// over the target. False (target untouched) when any step fails.
bool writeFileAtomically(const std::wstring& path, const std::string& bytes);

// Reads a whole file; false when it cannot be opened.
bool readWholeFile(const std::wstring& path, std::string& bytes);

enum class ReadStatus { Read, Missing, Unreadable };
// Reads a whole file, telling a file that is not there from one that is there but cannot be
// read (permissions, I/O error, a folder); errorCode gets errno for the latter.
ReadStatus readExistingFile(const std::wstring& path, std::string& bytes, int* errorCode = nullptr);

// Removes the temporary copies writeFileAtomically left beside path when its process was
// killed mid-write; copies of processes still running are left alone. Returns how many went.
int removeStaleTemporaries(const std::wstring& path);

} // namespace Utils
