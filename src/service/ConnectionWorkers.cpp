#include "ConnectionWorkers.h"

ConnectionWorkers::ConnectionWorkers(std::size_t initial, std::size_t max) : m_max(max)
{
    std::lock_guard lock(m_mutex);
    while (m_threads.size() < initial)
        startWorker();
}

ConnectionWorkers::~ConnectionWorkers()
{
    shutdown();
}

void ConnectionWorkers::startWorker()
{
    ++m_idle;
    m_threads.emplace_back([this] { work(); });
}

void ConnectionWorkers::enqueue(std::function<void()> job)
{
    {
        std::lock_guard lock(m_mutex);
        m_jobs.push_back(std::move(job));
        if (m_idle < m_jobs.size() && m_threads.size() < m_max)
            startWorker();
    }
    m_wake.notify_one();
}

void ConnectionWorkers::shutdown()
{
    std::vector<std::thread> threads;
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        threads.swap(m_threads);
    }
    m_wake.notify_all();
    for (std::thread& thread : threads)
        thread.join();
}

void ConnectionWorkers::work()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
        if (m_jobs.empty())
            break;
        std::function<void()> job = std::move(m_jobs.front());
        m_jobs.pop_front();
        --m_idle;
        lock.unlock();
        job();
        lock.lock();
        ++m_idle;
    }
    --m_idle;
}
