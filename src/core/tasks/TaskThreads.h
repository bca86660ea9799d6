#pragma once
// The worker threads a window starts (inspection, conversion). They are tracked rather than
// detached, so that shutdown can stop them and wait until none touches shared state any more.

#include "core/common/NonCopyable.h"
#include "core/common/TrackedThreads.h"

#include <functional>

class TaskThreads : private NonCopyable {
public:
    ~TaskThreads();

    void start(std::function<void()> work);
    // Waits for every thread started so far.
    void joinAll();
    // Threads still running.
    int running() const;

private:
    TrackedThreads m_threads;
};
