#pragma once
// Emptying a folder through its descriptor, never following a symbolic link.

namespace Utils {

// Removes what the folder open at fd holds, subfolders up to depth levels down included, and
// closes fd. Only system calls: safe on the crash path.
void removeFolderContents(int fd, int depth);

} // namespace Utils
