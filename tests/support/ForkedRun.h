#pragma once
// Running a piece of a test in a child process of its own: under a limit, as another user, or
// where a fault may end it.

#include <chrono>
#include <functional>
#include <sys/types.h>

// Runs prepare and then body in a forked child. Returns body's exit code, or signalBase plus
// the signal that ended the child; a child still running after limit (a hang) is killed.
int runForked(const std::function<void()>& prepare, const std::function<int()>& body, int signalBase,
              std::chrono::seconds limit = std::chrono::seconds(300));

// Waits for the child up to limit and kills it then; returns its wait status.
int waitOrKill(pid_t pid, std::chrono::milliseconds limit);
