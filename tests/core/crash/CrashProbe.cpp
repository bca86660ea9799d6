// Installs the crash handler, then faults the way the first argument says; "resend" starts
// the sending of kept reports as the program does at start-up. "overflow" overflows the stack
// of a worker thread; "two FOLDER" faults a second thread once the reporter of the first fault
// has said so in FOLDER.

#include "core/common/TrackedThreads.h"
#include "core/crash/CrashHandler.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <thread>
#include <unistd.h>

namespace {
volatile int* g_null = nullptr;
volatile bool g_deeper = true;

// Each call keeps a frame the compiler cannot fold away, until the stack runs out.
[[gnu::noinline]] int recurse(int depth)
{
    volatile char frame[512];
    frame[0] = static_cast<char>(depth);
    if (!g_deeper)
        return frame[0];
    return recurse(depth + 1) + frame[0];
}
} // namespace

int main(int argc, char** argv)
{
    CrashHandler::install();
    const char* how = argc > 1 ? argv[1] : "segv";
    if (std::strcmp(how, "segv") == 0)
        return *g_null;
    if (std::strcmp(how, "abort") == 0)
        std::abort();
    if (std::strcmp(how, "throw") == 0)
        throw std::runtime_error("unhandled");
    if (std::strcmp(how, "thread") == 0) {
        std::thread([] { *g_null = 1; }).join();
        return 0;
    }
    if (std::strcmp(how, "overflow") == 0) {
        TrackedThreads threads;
        threads.start([] { std::printf("%d\n", recurse(0)); });
        threads.waitForAll();
        return 0;
    }
    if (std::strcmp(how, "two") == 0 && argc > 2) {
        const std::filesystem::path folder = argv[2];
        TrackedThreads threads;
        threads.start([folder] {
            while (!std::filesystem::exists(folder / "reporting"))
                ::usleep(1000);
            std::ofstream(folder / "second") << ::getpid();
            *g_null = 2;
        });
        *g_null = 1;
        threads.waitForAll();
        return 0;
    }
    if (std::strcmp(how, "resend") == 0)
        CrashHandler::sendKeptReports();
    std::puts("no fault");
    return 0;
}
