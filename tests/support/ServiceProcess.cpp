#include "support/ServiceProcess.h"

#include "support/ForkedRun.h"

#include "support/TempDir.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <stdexcept>
#include <thread>

namespace {

// Reads the first line the service prints ("listening on 127.0.0.1:PORT").
std::string readFirstLine(int fd)
{
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 200) <= 0)
            continue;
        char c;
        const ssize_t n = ::read(fd, &c, 1);
        if (n <= 0)
            break;
        if (c == '\n')
            return line;
        line += c;
    }
    return line;
}

} // namespace

ServiceProcess::ServiceProcess() : m_folder(std::make_unique<TempDir>())
{
    m_database = m_folder->file("service.sqlite");
    start();
}

ServiceProcess::ServiceProcess(std::filesystem::path database, std::vector<std::string> arguments,
                               std::filesystem::path errorLog)
    : m_database(std::move(database)), m_arguments(std::move(arguments)), m_errorLog(std::move(errorLog))
{
    start();
}

ServiceProcess::~ServiceProcess()
{
    stop();
}

std::filesystem::path ServiceProcess::executable()
{
    return std::filesystem::read_symlink("/proc/self/exe").parent_path() / "korvex-service";
}

void ServiceProcess::start()
{
    if (running())
        return;
    const std::string program = executable().string();
    std::vector<std::string> args = {program, "--port", "0", "--db", m_database.string()};
    args.insert(args.end(), m_arguments.begin(), m_arguments.end());
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    const int logFd = m_errorLog.empty()
                          ? -1
                          : ::open(m_errorLog.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        if (logFd >= 0)
            ::close(logFd);
        throw std::runtime_error("fork failed");
    }
    if (pid == 0) {
        // Only async-signal-safe calls until exec. The service ends with the test program.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        ::dup2(pipeFds[1], STDOUT_FILENO);
        if (logFd >= 0)
            ::dup2(logFd, STDERR_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    if (logFd >= 0)
        ::close(logFd);
    const std::string line = readFirstLine(pipeFds[0]);
    ::close(pipeFds[0]);
    m_pid = pid;

    const std::string prefix = "listening on 127.0.0.1:";
    if (line.rfind(prefix, 0) != 0) {
        stop();
        throw std::runtime_error("korvex-service did not start (" + program + "): '" + line + "'");
    }
    m_port = std::stoi(line.substr(prefix.size()));
}

void ServiceProcess::stop()
{
    if (!running())
        return;
    ::kill(m_pid, SIGTERM);
    waitOrKill(m_pid, std::chrono::seconds(10));
    m_pid = -1;
    m_port = 0;
}

void ServiceProcess::restart()
{
    stop();
    start();
}
