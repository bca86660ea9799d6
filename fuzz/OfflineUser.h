#pragma once
// A user record in a fresh temporary folder whose requests never leave the process: the
// request runner is shut down, and the service address is a closed loopback port anyway.

#include "core/common/Utils.h"
#include "core/network/RequestRunner.h"
#include "core/user/User.h"

#include <memory>
#include <string>
#include <unistd.h>

// In memory when the machine has /dev/shm: every configuration change is flushed to disk.
// The name carries the process id, so the script that ran the target can remove the folder
// (libFuzzer ends a timed run without running exit handlers).
inline std::string makeFuzzFolder(const char* name)
{
    Network::RequestRunner::instance().shutdown();
    const char* base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    std::string pattern = std::string(base) + "/korvex-fuzz-" + name + "-" + std::to_string(::getpid()) + "-XXXXXX";
    return ::mkdtemp(pattern.data());
}

inline std::unique_ptr<User> makeOfflineUser(const std::string& configFolder)
{
    return std::make_unique<User>(Utils::utf8ToWide(configFolder), "http://127.0.0.1:1");
}

// The one offline user a target keeps for all its inputs, made on first use.
inline User& keptOfflineUser(const char* name)
{
    static const std::unique_ptr<User> user = makeOfflineUser(makeFuzzFolder(name) + "/config");
    return *user;
}
