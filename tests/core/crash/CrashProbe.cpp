// Installs the crash handler, then faults the way the first argument says; "resend" starts
// the sending of kept reports as the program does at start-up.

#include "core/crash/CrashHandler.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <thread>

namespace {
volatile int* g_null = nullptr;
}

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
    if (std::strcmp(how, "resend") == 0)
        CrashHandler::sendKeptReports();
    std::puts("no fault");
    return 0;
}
