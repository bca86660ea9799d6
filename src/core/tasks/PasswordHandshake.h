#pragma once
// Lets the inspection worker wait while the window asks the user for a file's password. The
// answer is a flag, so a window that answers before the worker waits is never missed.

#include <condition_variable>
#include <mutex>

class PasswordHandshake {
public:
    // Window side: the prompt has been answered (whatever the outcome).
    void answer();
    // Worker side: waits for an answer and consumes it. False when released by stop().
    bool waitForAnswer();
    // Releases every waiter for good (shutdown).
    void stop();
    void reset();

private:
    // Sets the flag and wakes the waiters.
    void raise(bool& flag);

    std::mutex m_mutex;
    std::condition_variable m_answered;
    bool m_passwordAnswered = false;
    bool m_stopped = false;
};
