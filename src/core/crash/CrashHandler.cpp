#include "core/crash/CrashHandler.h"

#include "core/common/AlternateSignalStack.h"
#include "core/common/Utils.h"
#include "core/converter/PrivateTempFolder.h"
#include "core/crash/CrashReportSettings.h"
#include "core/crash/KeptCrashReports.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace CrashHandler {

namespace {

// Prepared ahead of any fault: the reporter's path and argument vector with three slots that
// the handler fills in place.
struct Prepared {
    std::string reporterPath;
    std::vector<std::string> arguments;
    std::vector<char*> argv;
    char pid[24] = {};
    char tid[24] = {};
    char xcp[24] = {};
};

std::atomic<Prepared*> g_prepared{nullptr};
std::atomic_flag g_entered = ATOMIC_FLAG_INIT;
constexpr int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

void writeDecimal(char* out, unsigned long long value)
{
    char digits[24];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + value % 10);
        value /= 10;
    } while (value && n < 23);
    for (int i = 0; i < n; ++i)
        out[i] = digits[n - 1 - i];
    out[n] = '\0';
}

void writeHex(char* out, unsigned long long value)
{
    static const char hex[] = "0123456789ABCDEF";
    for (int i = 15; i >= 0; --i) {
        out[i] = hex[value & 0xF];
        value >>= 4;
    }
    out[16] = '\0';
}

void writeError(const char* text)
{
    [[maybe_unused]] ssize_t ignored = ::write(STDERR_FILENO, text, std::strlen(text));
}

[[noreturn]] void reportAndExit(const void* faultAddress)
{
    if (g_entered.test_and_set()) {
        // Another thread is already reporting; it ends the process.
        for (;;)
            ::pause();
    }
    Prepared* prepared = g_prepared.load();
    if (!prepared)
        ::_exit(1);
    writeDecimal(prepared->pid, static_cast<unsigned long long>(::getpid()));
    writeDecimal(prepared->tid, static_cast<unsigned long long>(::syscall(SYS_gettid)));
    writeHex(prepared->xcp, reinterpret_cast<unsigned long long>(faultAddress));
    // Decrypted copies must not outlive the process, and the reporter may take a while.
    Converter::PrivateTempFolder::removeAfterCrash();

    int errorPipe[2];
    int startError = 0;
    if (::pipe2(errorPipe, O_CLOEXEC) != 0) {
        startError = errno;
    } else {
        // _Fork runs no atfork handlers and takes no malloc locks: a fault inside malloc must
        // not hang the report.
        const pid_t child = ::_Fork();
        if (child == 0) {
            ::execv(prepared->reporterPath.c_str(), prepared->argv.data());
            const int error = errno;
            [[maybe_unused]] ssize_t ignored = ::write(errorPipe[1], &error, sizeof error);
            ::_exit(127);
        }
        ::close(errorPipe[1]);
        if (child < 0) {
            startError = errno;
        } else {
            int error = 0;
            ssize_t n;
            do {
                n = ::read(errorPipe[0], &error, sizeof error);
            } while (n < 0 && errno == EINTR);
            if (n == static_cast<ssize_t>(sizeof error)) {
                startError = error;
                ::waitpid(child, nullptr, 0);
            } else {
                while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
                }
                ::_exit(1);
            }
        }
        ::close(errorPipe[0]);
    }
    char code[24];
    writeDecimal(code, static_cast<unsigned long long>(startError));
    writeError("execv failed with error ");
    writeError(code);
    writeError(": ");
    const char* description = ::strerrordesc_np(startError);
    writeError(description ? description : "unknown error");
    writeError("\n");
    ::_exit(startError ? startError : 1);
}

void onSignal(int, siginfo_t* info, void*)
{
    reportAndExit(info ? info->si_addr : nullptr);
}

void onTerminate()
{
    reportAndExit(nullptr);
}

} // namespace

void prepare()
{
    auto* prepared = new Prepared;
    prepared->reporterPath = Utils::wideToUtf8(Utils::getModuleDirectory()) + kReporterName;
    CrashReportSettings settings = CrashReportSettings::fromCurrentUser();
    prepared->arguments = settings.arguments();
    prepared->arguments.insert(prepared->arguments.begin(), prepared->reporterPath);
    for (std::size_t i = 0; i < prepared->arguments.size(); ++i) {
        const std::string& previous = i > 0 ? prepared->arguments[i - 1] : std::string();
        if (previous == "-pid")
            prepared->argv.push_back(prepared->pid);
        else if (previous == "-tid")
            prepared->argv.push_back(prepared->tid);
        else if (previous == "-xcp")
            prepared->argv.push_back(prepared->xcp);
        else
            prepared->argv.push_back(prepared->arguments[i].data());
    }
    prepared->argv.push_back(nullptr);
    // The previous preparation is kept alive: a handler on another thread may be reading it.
    g_prepared.store(prepared);
}

void sendKeptReports()
{
    if (KeptCrashReports().empty())
        return;
    std::string reporter = Utils::wideToUtf8(Utils::getModuleDirectory()) + kReporterName;
    std::string mode = "-resend";
    char* argv[] = {reporter.data(), mode.data(), nullptr};
    pid_t child = 0;
    // The reporter leaves a background process to do the sending and exits at once.
    if (::posix_spawn(&child, reporter.c_str(), nullptr, nullptr, argv, environ) == 0) {
        while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
}

void install()
{
    prepare();
    // The calling thread's; every thread the program starts brings its own. Never freed: a
    // fault during the end of the process still needs it.
    new AlternateSignalStack;

    struct sigaction action {};
    action.sa_sigaction = onSignal;
    // The handler stays installed: a fault on a second thread while the first is reported
    // must wait in the handler, not end the process before the report is out. A fault inside
    // the handler itself finds its signal blocked, and the kernel ends the process.
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    for (int signal : kFaultSignals)
        ::sigaction(signal, &action, nullptr);
    std::set_terminate(onTerminate);
}

} // namespace CrashHandler
