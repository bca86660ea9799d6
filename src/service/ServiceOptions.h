#pragma once
// The command line of korvex-service.

#include <optional>
#include <string>

struct ServiceOptions {
    int port = -1;           // 0: any free port
    std::string database;    // SQLite file, created when missing
    std::string updaterFile; // served as the updater instead of the stored one
    bool control = true;     // the /control/... endpoints
    bool verbose = false;    // one line per request on standard error

    // Nothing, and error set, when the command line is wrong.
    static std::optional<ServiceOptions> parse(int argc, char** argv, std::string& error);
    static const char* usage();
};
