#include "tasks/TaskThreads.h"

TaskThreads::~TaskThreads()
{
    joinAll();
}

void TaskThreads::start(std::function<void()> work)
{
    std::lock_guard lock(m_mutex);
    reapFinished();
    m_workers.emplace_back();
    auto worker = std::prev(m_workers.end());
    worker->thread = std::thread([this, worker, work = std::move(work)] {
        work();
        std::lock_guard done(m_mutex);
        worker->finished = true;
    });
}

void TaskThreads::reapFinished()
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

void TaskThreads::joinAll()
{
    std::list<Worker> workers;
    {
        std::lock_guard lock(m_mutex);
        workers.splice(workers.end(), m_workers);
    }
    for (Worker& worker : workers)
        worker.thread.join();
}

int TaskThreads::running() const
{
    std::lock_guard lock(m_mutex);
    int count = 0;
    for (const Worker& worker : m_workers)
        count += worker.finished ? 0 : 1;
    return count;
}
