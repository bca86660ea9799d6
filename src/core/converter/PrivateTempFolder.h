#pragma once
// A folder of this run under the system's temporary folder, readable only by this user
// (0700), for files of this run only: decrypted copies of password-protected inputs, and the
// QR pictures and updater the service hands out. Each copy gets a fresh subfolder,
// so copies keep the input's file name (the name outputs are derived from) and two inputs of
// the same name never overwrite each other. The folder is removed when the process exits, on
// the crash path too; its name carries the process id, so a later start can remove the
// folders of processes that were killed.

#include "core/common/NonCopyable.h"
#include <mutex>
#include <string>

namespace Converter {

class PrivateTempFolder : private NonCopyable {
public:
    static PrivateTempFolder& instance();

    ~PrivateTempFolder();

    // The folder, created on first use; empty when it cannot be created.
    std::wstring folder();

    // A path for a copy named fileName, in a subfolder created for it; empty on failure.
    std::wstring newCopyPath(const std::wstring& fileName);

    // True when the path lies inside the folder.
    bool contains(const std::wstring& path);

    // Removes a copy made by newCopyPath together with its subfolder, once nothing needs it.
    // Paths outside the folder are left alone (false).
    bool removeCopy(const std::wstring& path);

    // Removes the folder with everything in it; a later use creates a new one.
    void removeAll();

    // For the crash handler: removes the folder with only async-signal-safe calls, without
    // taking the lock.
    static void removeAfterCrash();

    // Removes this user's folders of processes that no longer run; returns how many went.
    static int removeStaleFolders();

private:
    PrivateTempFolder() = default;
    std::wstring folderLocked();

    std::mutex m_mutex;
    std::wstring m_folder;
    unsigned long m_nextSlot = 0;
};

} // namespace Converter
