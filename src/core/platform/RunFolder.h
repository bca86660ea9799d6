#pragma once
// A private (0700) folder for files of this run only, created on first use under the
// temporary folder and removed with its content at exit.

#include <string>

namespace Platform {

// The folder with a trailing separator; empty when it cannot be created.
std::wstring runFolder();
// Removes the folder now (also done at exit).
void removeRunFolder();

} // namespace Platform
