#include "ServiceOptions.h"

#include <charconv>
#include <cstring>

const char* ServiceOptions::usage()
{
    return "usage: korvex-service --port PORT --db FILE [--updater FILE] [--no-control] [--verbose]\n"
           "  --port PORT     port on 127.0.0.1; 0 picks a free one\n"
           "  --db FILE       SQLite database, created when missing\n"
           "  --updater FILE  hand out this file as the updater program\n"
           "  --no-control    switch off the /control/ endpoints\n"
           "  --verbose       log every request on standard error\n"
           "The first line on standard output is \"listening on 127.0.0.1:PORT\".\n";
}

std::optional<ServiceOptions> ServiceOptions::parse(int argc, char** argv, std::string& error)
{
    ServiceOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--port" && hasValue) {
            const char* text = argv[++i];
            const char* end = text + std::strlen(text);
            int port = -1;
            const auto [next, ec] = std::from_chars(text, end, port);
            if (ec != std::errc() || next != end || port < 0 || port > 65535) {
                error = "bad port: " + std::string(text);
                return std::nullopt;
            }
            options.port = port;
        } else if (arg == "--db" && hasValue) {
            options.database = argv[++i];
        } else if (arg == "--updater" && hasValue) {
            options.updaterFile = argv[++i];
        } else if (arg == "--no-control") {
            options.control = false;
        } else if (arg == "--verbose") {
            options.verbose = true;
        } else {
            error = "unknown or incomplete argument: " + arg;
            return std::nullopt;
        }
    }
    if (options.port < 0 || options.database.empty()) {
        error = "--port and --db are required";
        return std::nullopt;
    }
    return options;
}
