#pragma once
// A split folder that someone else planted as a link: out/a points at elsewhere/, which holds
// a file by the name the first piece of a.pdf would get.

#include "support/TempDir.h"

#include <filesystem>
#include <string>

inline void plantLinkedSplitFolder(const TempDir& dir, const std::string& strangersFile)
{
    std::filesystem::create_directories(dir.file("out"));
    std::filesystem::create_directories(dir.file("elsewhere"));
    writeFile(dir.file("elsewhere/a_1_1.pdf"), strangersFile);
    std::filesystem::create_directory_symlink(dir.file("elsewhere"), dir.file("out/a"));
}
