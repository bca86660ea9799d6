#include "platform/DetachedProcess.h"

#include <spawn.h>
#include <sys/types.h>
#include <sys/wait.h>

extern char** environ;

namespace Platform {

bool startDetached(const std::vector<std::string>& argv)
{
    if (argv.empty() || argv.front().empty())
        return false;
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    posix_spawnattr_t attributes;
    if (posix_spawnattr_init(&attributes) != 0)
        return false;
    // Its own session: closing our terminal or process group does not end it.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    pid_t pid = -1;
    // glibc's posix_spawn returns only after the exec, with its error when the exec failed.
    const int error = posix_spawn(&pid, args.front(), nullptr, &attributes, args.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (error != 0)
        return false;
    // A quick child is reaped now; a running one is left to init once we have ended.
    ::waitpid(pid, nullptr, WNOHANG);
    return true;
}

} // namespace Platform
