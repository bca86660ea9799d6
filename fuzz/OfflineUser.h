#pragma once
// A user record in a fresh temporary folder whose requests never leave the process: the
// request runner is shut down, and the service address is a closed loopback port anyway.

#include "common/Utils.h"
#include "network/RequestRunner.h"
#include "user/User.h"

#include <memory>
#include <string>
#include <unistd.h>

inline std::string makeFuzzFolder(const char* name)
{
    Network::RequestRunner::instance().shutdown();
    std::string pattern = std::string("/tmp/korvex-fuzz-") + name + "-XXXXXX";
    return ::mkdtemp(pattern.data());
}

inline std::unique_ptr<User> makeOfflineUser(const std::string& configFolder)
{
    return std::make_unique<User>(Utils::utf8ToWide(configFolder), "http://127.0.0.1:1");
}
