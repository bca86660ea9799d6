#include "support/ForkedRun.h"

#include <csignal>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

int runForked(const std::function<void()>& prepare, const std::function<int()>& body, int signalBase,
              std::chrono::seconds limit)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        prepare();
        ::_exit(body());
    }
    const int status = waitOrKill(pid, limit);
    return WIFEXITED(status) ? WEXITSTATUS(status) : signalBase + WTERMSIG(status);
}

int waitOrKill(pid_t pid, std::chrono::milliseconds limit)
{
    int status = 0;
    const auto end = std::chrono::steady_clock::now() + limit;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > end) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return status;
}
