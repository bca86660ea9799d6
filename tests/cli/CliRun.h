#pragma once
// Runs one of our programs from outside, as a script would, for the command-line tests.

#include "core/converter/ChildProcess.h"

#include <filesystem>
#include <string>
#include <vector>

struct CliRun {
    int exitCode = -1;
    int signal = 0;
    std::string out, err;
};

// Runs program in folder to its end with its output captured. A run that hangs is killed after
// two minutes, so a hang fails its test instead of stalling the suite.
CliRun runProgram(const std::string& program, const std::vector<std::string>& args,
                  const std::filesystem::path& folder, Converter::ChildProcess::Options options = {});
