#pragma once
// Folders of the desktop session that the program keeps its files in.

#include <string>

namespace Platform {

// The user's documents folder: XDG_DOCUMENTS_DIR of user-dirs.dirs, else $HOME/Documents.
// No trailing separator.
std::wstring documentsFolder();

// The user's home folder ($HOME, else the password database entry).
std::wstring homeFolder();

} // namespace Platform
