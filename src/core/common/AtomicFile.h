#pragma once
// Writing a file so that readers see either the old or the new content, never a torn one.

#include <cstddef>
#include <string>

namespace Utils {

// Writes the bytes to a temporary file in the same folder, flushes it to disk and renames it
// over the target. A symbolic link is written through: the temporary file goes beside the
// file the link names, which is replaced, and the link stays. False (target untouched) when
// any step fails, and when the target is read-only (no write permission bit, or this user may
// not write it) or is not a regular file.
bool writeFileAtomically(const std::wstring& path, const std::string& bytes);

// Writes all the bytes to the descriptor, again after an interrupted write; false when the
// system takes no more (a full disk, an I/O error).
bool writeAll(int fd, const char* data, std::size_t size);

// Reads a whole file; false when it cannot be opened.
bool readWholeFile(const std::wstring& path, std::string& bytes);

// What a configuration-sized file may hold; anything longer is not one of ours.
constexpr std::size_t kReadLimit = 64u * 1024 * 1024;

enum class ReadStatus { Read, Missing, Unreadable, NotRegular, TooLarge };
// Reads a whole file, telling a file that is not there from one that is there but cannot be
// read (permissions, I/O error, a folder); errorCode gets errno for the latter. A FIFO, a
// device or a socket (also behind a symbolic link) is never read: NotRegular. A file longer
// than limit is not read to its end: TooLarge. Neither blocks.
ReadStatus readExistingFile(const std::wstring& path, std::string& bytes, int* errorCode = nullptr,
                            std::size_t limit = kReadLimit);

// Removes the temporary copies writeFileAtomically left beside path when its process was
// killed mid-write (beside the file a symbolic link names as well); copies of processes still
// running are left alone. Returns how many went.
int removeStaleTemporaries(const std::wstring& path);

} // namespace Utils
