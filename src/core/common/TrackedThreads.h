#pragma once
// Worker threads that are tracked rather than detached, so that their owner can wait until
// none of them touches shared state any more. Finished threads are joined when the next one
// starts. Once closed, no thread starts until the set is opened again.

#include "core/common/NonCopyable.h"
#include <chrono>
#include <condition_variable>
#include <functional>
#include <list>
#include <mutex>
#include <thread>

class TrackedThreads : private NonCopyable {
public:
    // Joins every thread still tracked.
    ~TrackedThreads();

    // Runs work on a new tracked thread; false, and nothing runs, while closed.
    bool start(std::function<void()> work);
    // Joins every thread started so far, without holding the lock while joining.
    void joinAll();
    // Waits until every tracked thread has finished its work, then joins them.
    void waitForAll();
    // Threads whose work has not finished.
    int running() const;

    // Refuses new threads and wakes every waitUnlessClosed.
    void close();
    void open();
    bool isClosed() const;
    // Waits for the delay; true when the set was closed before it passed.
    bool waitUnlessClosed(std::chrono::milliseconds delay);

private:
    struct Worker {
        std::thread thread;
        bool finished = false;
    };
    void reapFinished();

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::list<Worker> m_workers;
    bool m_closed = false;
};
