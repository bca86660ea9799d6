#pragma once
// The updater as it arrives: written to a private temporary file in its folder and hashed
// on the way, so that neither memory nor the disk ever holds more than the download, and no
// unchecked program ever carries the updater's name or an executable mode.

#include "core/common/NonCopyable.h"
#include "core/common/Sha256Hasher.h"

#include <cstdint>
#include <string>

class UpdaterFile : private NonCopyable {
public:
    // folder: a private folder of this user that outlives the run, ending with a separator.
    explicit UpdaterFile(std::string folder);
    // Removes the temporary file unless it was committed.
    ~UpdaterFile();

    // False when the bytes could not be written (the download then stops).
    bool append(const char* data, std::size_t size);
    // When everything written has the expected digest: makes it executable, flushes it to disk
    // and renames it to "korvex_updater" in the folder; returns that path. Otherwise removes
    // it and returns an empty string.
    std::string commit(const std::string& expectedSha256);
    void discard();

private:
    bool open();

    std::string m_folder;
    std::string m_path;
    int m_fd = -1;
    bool m_failed = false;
    Utils::Sha256Hasher m_hasher;
};
