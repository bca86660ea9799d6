#pragma once
// A fresh folder under the temporary folder, removed with everything in it at the end.

#include "core/common/NonCopyable.h"
#include <filesystem>
#include <string>

class TempDir : private NonCopyable {
public:
    TempDir();
    ~TempDir();

    const std::filesystem::path& path() const { return m_path; }
    // The folder (or a name inside it) as a wide path.
    std::wstring wide(const std::string& name = {}) const;
    std::filesystem::path file(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

// Reads and writes whole files in tests. writeFile throws when the file cannot be written (a
// folder on its path missing, no permission).
std::string readFile(const std::filesystem::path& path);
void writeFile(const std::filesystem::path& path, const std::string& bytes);
