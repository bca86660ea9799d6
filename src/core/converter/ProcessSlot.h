#pragma once
// The place where a job keeps the child process it is waiting for, so that another thread
// can end it. The slot names a child only while it can still be signalled: the runner clears
// it before it reaps the child, so its process id can never have been reused by then.

#include "core/common/NonCopyable.h"
#include <mutex>
#include <sys/types.h>

namespace Converter {

class ProcessSlot : private NonCopyable {
public:
    // Called by the runner right after the child has started.
    void hold(pid_t pid);
    // Called by the runner once the child has exited, before reaping it. Leaves the slot alone
    // when it names another child by then.
    void release(pid_t pid);

    // Kills the child the slot names; false when it names none (nothing runs, or the child
    // has already exited).
    bool terminate();

    // For good (shutdown): ends the child the slot names and every child started into it later,
    // so a job of many runs cannot go on piece after piece.
    void close();
    bool closed() const;

    // The child the slot names, 0 for none.
    pid_t current() const;

private:
    mutable std::mutex m_mutex;
    pid_t m_pid = 0;
    bool m_closed = false;
};

} // namespace Converter
