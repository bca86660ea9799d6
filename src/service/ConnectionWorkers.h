#pragma once
// The server's workers, one connection each: a pool that starts another worker whenever a
// connection waits and none is free (up to a limit), so that busy or slow connections never
// leave a new client waiting in the queue.

#include <httplib.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class ConnectionWorkers : public httplib::TaskQueue {
public:
    ConnectionWorkers(std::size_t initial, std::size_t max);
    ~ConnectionWorkers() override;

    void enqueue(std::function<void()> job) override;
    // Lets the queued jobs run, then ends and joins every worker.
    void shutdown() override;

private:
    void startWorker();
    void work();

    std::size_t m_max;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_jobs;
    std::vector<std::thread> m_threads;
    std::size_t m_idle = 0;
    bool m_stopping = false;
};
