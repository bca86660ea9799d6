#pragma once
// A folder under the system's temporary folder for a program that is to outlive this one (the
// downloaded updater). Readable only by this user (0700) like the private folder of the run,
// but left in place at exit: such a program may still need its own file once we are gone (a
// script's interpreter opens it after the start; an updater may run itself again). Its name
// does not carry a process id, so no later start takes it for the folder of a killed run.

#include "core/common/NonCopyable.h"
#include <mutex>
#include <string>

namespace Platform {

class OutlivingFolder : private NonCopyable {
public:
    static OutlivingFolder& instance();


    // The folder, created on first use, and again when it has gone; empty when it cannot be
    // created.
    std::wstring folder();

private:
    OutlivingFolder() = default;

    std::mutex m_mutex;
    std::wstring m_folder;
};

} // namespace Platform
