#include "core/converter/ChildProcess.h"

#include "core/converter/ProcessSlot.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <exception>
#include <fcntl.h>
#include <poll.h>
#include <string_view>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace Converter {

namespace {

// Closes a descriptor once, on every way out.
class Fd {
public:
    Fd() = default;
    explicit Fd(int fd) : m_fd(fd) {}
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    ~Fd() { reset(); }
    int get() const { return m_fd; }
    void reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd = -1;
};

bool makePipe(Fd& readEnd, Fd& writeEnd)
{
    // Close-on-exec, so that a child started by another thread at the same moment does not
    // inherit our ends and keep the pipe open after our child has exited.
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return false;
    readEnd.reset(fds[0]);
    writeEnd.reset(fds[1]);
    return true;
}

// What the child sets up between fork and exec; everything is prepared before the fork, since
// only async-signal-safe calls may run in the child of a threaded process.
struct ChildSetup {
    int input;  // -1: /dev/null
    int output;
    int error;
    const char* workingDirectory; // null: ours
    struct rlimit memoryLimit;    // RLIM_INFINITY: as ours
    const char* program;
    char* const* argv;
    char* const* envp;
};

// Our environment with the given "NAME=value" entries in place of ours of those names, null
// ended; the pointers are into environ and into extra.
std::vector<char*> childEnvironment(const std::vector<std::string>& extra)
{
    std::vector<char*> envp;
    for (char** entry = environ; *entry; ++entry) {
        const std::string_view ours(*entry);
        const bool replaced = std::any_of(extra.begin(), extra.end(), [&](const std::string& given) {
            const std::size_t name = given.find('=');
            return name != std::string::npos && ours.size() > name && ours.compare(0, name + 1, given, 0, name + 1) == 0;
        });
        if (!replaced)
            envp.push_back(*entry);
    }
    for (const std::string& given : extra)
        envp.push_back(const_cast<char*>(given.c_str()));
    envp.push_back(nullptr);
    return envp;
}

// Starts the child; 0 or the errno of the step that failed. The child gets an empty signal
// mask, default dispositions, and dies with SIGKILL when the thread that started it ends, so
// a killed program never leaves a qpdf writing on behind it. vfork, as posix_spawn does: a
// fork would copy the page tables of a large program for every qpdf run.
int startChild(const ChildSetup& setup, pid_t& pid)
{
    const pid_t parent = ::getpid();
    // The child writes why it could not become the program into this pipe; exec closes it
    // (close-on-exec), so an empty read means the program runs. A pipe rather than the memory
    // vfork shares, because where vfork is a plain fork (sanitizers) nothing would come back.
    Fd reportRead;
    Fd reportWrite;
    if (!makePipe(reportRead, reportWrite))
        return errno;
    const int reportFd = reportWrite.get();
    // No handler of ours may run in the child while it shares our memory.
    sigset_t all;
    sigset_t previous;
    sigfillset(&all);
    ::pthread_sigmask(SIG_SETMASK, &all, &previous);
    pid = ::vfork();
    if (pid == 0) {
        int error = 0;
        if (::prctl(PR_SET_PDEATHSIG, SIGKILL) != 0)
            error = errno;
        else if (::getppid() != parent)
            ::_exit(127); // the parent is already gone
        struct sigaction action {};
        action.sa_handler = SIG_DFL;
        sigemptyset(&action.sa_mask);
        for (int signal = 1; signal < NSIG && error == 0; ++signal) {
            if (signal != SIGKILL && signal != SIGSTOP)
                ::sigaction(signal, &action, nullptr);
        }
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        const int input = setup.input >= 0 ? setup.input : ::open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (error == 0 && (input < 0 || ::dup2(input, STDIN_FILENO) < 0 ||
                           ::dup2(setup.output, STDOUT_FILENO) < 0 || ::dup2(setup.error, STDERR_FILENO) < 0))
            error = errno;
        if (error == 0 && setup.workingDirectory && ::chdir(setup.workingDirectory) != 0)
            error = errno;
        if (error == 0 && setup.memoryLimit.rlim_cur != RLIM_INFINITY &&
            ::setrlimit(RLIMIT_AS, &setup.memoryLimit) != 0)
            error = errno;
        if (error == 0) {
            ::execve(setup.program, setup.argv, setup.envp);
            error = errno;
        }
        error = error != 0 ? error : ECHILD;
        [[maybe_unused]] const ssize_t written = ::write(reportFd, &error, sizeof error);
        ::_exit(127);
    }
    const int forkError = pid < 0 ? errno : 0;
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    if (pid < 0)
        return forkError;
    reportWrite.reset();
    int childError = 0;
    ssize_t got;
    while ((got = ::read(reportRead.get(), &childError, sizeof childError)) < 0 && errno == EINTR) {
    }
    if (got != static_cast<ssize_t>(sizeof childError))
        childError = 0;
    if (childError != 0) {
        // The child could not become the program: reap it and say why.
        while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
        return childError;
    }
    return 0;
}

// The child's address space limit: the asked one, lowered to ours when ours is lower (a
// soft limit only goes down, so setting it never fails); RLIM_INFINITY to keep ours.
struct rlimit childMemoryLimit(std::size_t asked)
{
    struct rlimit limit{RLIM_INFINITY, RLIM_INFINITY};
    if (asked == 0 || ::getrlimit(RLIMIT_AS, &limit) != 0)
        return {RLIM_INFINITY, RLIM_INFINITY};
    if (limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur > asked)
        limit.rlim_cur = static_cast<rlim_t>(asked);
    return limit;
}

constexpr std::size_t kLongestLine = 65536;

void appendBounded(std::string& out, const char* data, std::size_t size, std::size_t limit)
{
    if (out.size() < limit)
        out.append(data, std::min(size, limit - out.size()));
}

void appendTail(std::string& tail, const char* data, std::size_t size, std::size_t limit)
{
    tail.append(data, size);
    if (tail.size() > limit)
        tail.erase(0, tail.size() - limit);
}

} // namespace

ChildProcess::Result ChildProcess::run(const std::string& program,
                                       const std::vector<std::string>& args, ProcessSlot* slot,
                                       const Options& options)
{
    Result result;

    Fd outRead, outWrite, errRead, errWrite, inParent, inChild;
    if (!makePipe(outRead, outWrite) ||
        (!options.mergeErrorIntoOutput && !makePipe(errRead, errWrite))) {
        result.startError = errno;
        return result;
    }
    if (options.input) {
        // A socket rather than a pipe: send() with MSG_NOSIGNAL cannot raise SIGPIPE in this
        // process when the child exits without reading.
        int fds[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) {
            result.startError = errno;
            return result;
        }
        inParent.reset(fds[0]);
        inChild.reset(fds[1]);
        ::shutdown(inChild.get(), SHUT_WR);
    }

    std::vector<char*> argv;
    argv.reserve(args.size() + 2);
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    // Built here: the child shares our memory until it execs and may not allocate.
    std::vector<char*> envp = childEnvironment(options.environment);

    ChildSetup setup{options.input ? inChild.get() : -1, outWrite.get(),
                           options.mergeErrorIntoOutput ? outWrite.get() : errWrite.get(),
                           options.workingDirectory.empty() ? nullptr : options.workingDirectory.c_str(),
                           {RLIM_INFINITY, RLIM_INFINITY}, program.c_str(), argv.data(), envp.data()};
    setup.memoryLimit = childMemoryLimit(options.memoryLimit);
    pid_t pid = 0;
    const int spawnError = startChild(setup, pid);
    if (spawnError != 0) {
        result.startError = spawnError;
        return result;
    }
    result.started = true;
    if (slot)
        slot->hold(pid);

    // Only the child holds these ends now; end of file arrives when it exits.
    outWrite.reset();
    errWrite.reset();
    inChild.reset();

    std::string_view pendingInput;
    if (options.input) {
        pendingInput = *options.input;
        ::fcntl(inParent.get(), F_SETFL, ::fcntl(inParent.get(), F_GETFL) | O_NONBLOCK);
        if (pendingInput.empty())
            inParent.reset();
    }

    std::string lineBuffer;
    const auto stopped = [slot] { return slot && slot->closed(); };
    const auto takeOutput = [&](const char* data, std::size_t size) {
        if (options.captureOutput)
            appendBounded(result.output, data, size, options.outputLimit);
        if (options.onOutputLine && !stopped()) {
            lineBuffer.append(data, size);
            std::size_t start = 0;
            for (std::size_t nl; (nl = lineBuffer.find('\n', start)) != std::string::npos && !stopped(); start = nl + 1)
                options.onOutputLine(std::string_view(lineBuffer).substr(start, nl - start));
            if (stopped()) {
                lineBuffer.clear();
                return;
            }
            lineBuffer.erase(0, start);
            if (lineBuffer.size() > kLongestLine) { // no line feed in sight: hand it over as is
                options.onOutputLine(lineBuffer);
                lineBuffer.clear();
            }
        }
    };

    // A line handler that throws ends the child, which is still reaped; then the exception
    // goes on to the caller.
    std::exception_ptr failure;
    try {
        char buffer[65536];
        while (outRead.get() >= 0 || errRead.get() >= 0) {
            pollfd fds[3];
            nfds_t count = 0;
            const auto watch = [&](int fd, short events) {
                if (fd >= 0)
                    fds[count++] = pollfd{fd, events, 0};
            };
            watch(outRead.get(), POLLIN);
            watch(errRead.get(), POLLIN);
            watch(inParent.get(), POLLOUT);
            if (::poll(fds, count, -1) < 0) {
                if (errno == EINTR)
                    continue;
                break; // cannot happen with valid descriptors; the wait below still reaps
            }
            for (nfds_t i = 0; i < count; ++i) {
                if (fds[i].revents == 0)
                    continue;
                const int fd = fds[i].fd;
                if (fd == inParent.get()) {
                    const ssize_t n = ::send(fd, pendingInput.data(), pendingInput.size(), MSG_NOSIGNAL);
                    if (n > 0)
                        pendingInput.remove_prefix(static_cast<std::size_t>(n));
                    if ((n < 0 && errno != EAGAIN && errno != EINTR) || pendingInput.empty())
                        inParent.reset(); // all sent (end of input), or the child stopped reading
                    continue;
                }
                const ssize_t n = ::read(fd, buffer, sizeof buffer);
                if (n < 0 && (errno == EINTR || errno == EAGAIN))
                    continue;
                if (n <= 0) {
                    (fd == outRead.get() ? outRead : errRead).reset();
                    continue;
                }
                if (fd == outRead.get())
                    takeOutput(buffer, static_cast<std::size_t>(n));
                else
                    appendTail(result.errorTail, buffer, static_cast<std::size_t>(n), kErrorTailLimit);
            }
        }
        if (options.onOutputLine && !lineBuffer.empty() && !stopped())
            options.onOutputLine(lineBuffer);
    } catch (...) {
        failure = std::current_exception();
        ::kill(pid, SIGKILL);
    }
    inParent.reset();

    // Wait without reaping, empty the slot, then reap: while the slot names the child, the
    // child is at worst a zombie whose id nobody else can have.
    siginfo_t info{};
    while (::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
    }
    if (slot)
        slot->release(pid);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (failure)
        std::rethrow_exception(failure);
    if (WIFEXITED(status)) {
        result.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.signal = WTERMSIG(status);
    }
    return result;
}

} // namespace Converter
