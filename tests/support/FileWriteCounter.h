#pragma once
// Counts the writes of one file name in a folder from the moment it is made: the renames that
// put a new copy in place and the closes of the name after writing (inotify).

#include <filesystem>
#include <string>

class FileWriteCounter {
public:
    FileWriteCounter(const std::filesystem::path& folder, std::string name);
    ~FileWriteCounter();
    FileWriteCounter(const FileWriteCounter&) = delete;
    FileWriteCounter& operator=(const FileWriteCounter&) = delete;

    // The writes seen so far.
    int count();

private:
    int m_fd;
    std::string m_name;
    int m_count = 0;
};
