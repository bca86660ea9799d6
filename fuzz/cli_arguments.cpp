// The command-line front end's arguments: NUL-separated words.

#include "CommandLine.h"
#include "FuzzInput.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    std::string error;
    bool helpOnly = false;
    const auto parsed = CommandLine::parse(input.texts(), error, helpOnly);
    if (parsed) {
        FUZZ_CHECK(error.empty());
        // A split cuts every N pages (N at least 1) or at points; never an endless plan.
        if (parsed->command == CommandLine::Command::Split)
            FUZZ_CHECK(parsed->every >= 1 || parsed->every == 0);
    } else {
        FUZZ_CHECK(!error.empty() || helpOnly);
    }
    return 0;
}
