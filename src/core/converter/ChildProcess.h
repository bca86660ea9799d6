#pragma once
// Starts a program with an argument vector (no shell), parks it in a process slot, feeds and
// reads its standard streams while it runs, and reaps it. Every run has its own pipes, so
// concurrent children never see each other's output, and everything a child writes is read,
// so a chatty child cannot stall on a full pipe.

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Converter {

class ProcessSlot;

class ChildProcess {
public:
    struct Options {
        // Bytes for standard input; without them the child reads /dev/null.
        std::optional<std::string> input;
        // Folder the child starts in; empty for ours.
        std::string workingDirectory;
        // Keep standard output in Result::output (up to outputLimit bytes; the rest is read
        // and dropped). Otherwise standard output is read and dropped.
        bool captureOutput = false;
        std::size_t outputLimit = 1 << 20;
        // Standard error goes into the same pipe as standard output, interleaved as written.
        bool mergeErrorIntoOutput = false;
        // Called on this thread with each complete line of standard output (without the line
        // feed) as it arrives.
        std::function<void(std::string_view line)> onOutputLine;
        // RLIMIT_AS of the child in bytes, 0 for none: a hostile file makes it fail, not the
        // machine swap.
        std::size_t memoryLimit = 0;
        // Variables ("NAME=value") the child gets in place of ours of those names; the rest of
        // our environment it gets as it is.
        std::vector<std::string> environment;
    };

    struct Result {
        bool started = false;
        // errno of a failed start.
        int startError = 0;
        // The exit code, or -1 when the child did not exit normally (killed by a signal).
        int exitCode = -1;
        int signal = 0;
        std::string output;
        // The last bytes of standard error (all of it when short).
        std::string errorTail;
    };

    static constexpr std::size_t kErrorTailLimit = 8192;

    // program is a path; args excludes the program itself. Blocks until the child has exited.
    // Once the slot is closed no more lines go to onOutputLine: the child is being killed, and
    // what it wrote before must not keep the caller busy.
    static Result run(const std::string& program, const std::vector<std::string>& args,
                      ProcessSlot* slot, const Options& options);
};

} // namespace Converter
