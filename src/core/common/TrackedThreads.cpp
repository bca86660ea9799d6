#include "core/common/TrackedThreads.h"

#include "core/common/AlternateSignalStack.h"

TrackedThreads::~TrackedThreads()
{
    joinAll();
}

bool TrackedThreads::start(std::function<void()> work)
{
    std::lock_guard lock(m_mutex);
    if (m_closed)
        return false;
    reapFinished();
    m_workers.emplace_back();
    auto worker = std::prev(m_workers.end());
    worker->thread = std::thread([this, worker, work = std::move(work)] {
        {
            // A fault on this thread, a stack overflow too, must reach the crash handler.
            const AlternateSignalStack stack;
            work();
        }
        std::lock_guard done(m_mutex);
        worker->finished = true;
        m_changed.notify_all();
    });
    return true;
}

void TrackedThreads::reapFinished()
{
    for (auto it = m_workers.begin(); it != m_workers.end();) {
        if (it->finished) {
            it->thread.join();
            it = m_workers.erase(it);
        } else {
            ++it;
        }
    }
}

void TrackedThreads::joinAll()
{
    std::list<Worker> workers;
    {
        std::lock_guard lock(m_mutex);
        workers.splice(workers.end(), m_workers);
    }
    for (Worker& worker : workers)
        worker.thread.join();
}

void TrackedThreads::waitForAll()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] {
        for (const Worker& worker : m_workers) {
            if (!worker.finished)
                return false;
        }
        return true;
    });
    reapFinished();
}

int TrackedThreads::running() const
{
    std::lock_guard lock(m_mutex);
    int count = 0;
    for (const Worker& worker : m_workers)
        count += worker.finished ? 0 : 1;
    return count;
}

void TrackedThreads::close()
{
    setClosed(true);
}

void TrackedThreads::open()
{
    setClosed(false);
}

void TrackedThreads::setClosed(bool closed)
{
    std::lock_guard lock(m_mutex);
    m_closed = closed;
    m_changed.notify_all();
}

bool TrackedThreads::isClosed() const
{
    std::lock_guard lock(m_mutex);
    return m_closed;
}

bool TrackedThreads::waitUnlessClosed(std::chrono::milliseconds delay)
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, delay, [this] { return m_closed; });
}
