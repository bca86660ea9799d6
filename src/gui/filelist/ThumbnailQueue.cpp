#include "gui/filelist/ThumbnailQueue.h"

#include <algorithm>

ThumbnailQueue& ThumbnailQueue::shared()
{
    static ThumbnailQueue queue;
    return queue;
}

ThumbnailQueue::ThumbnailQueue(int running) : m_limit(std::max(1, running)) {}

void ThumbnailQueue::enqueue(const void* owner, std::function<QObject*()> start)
{
    const auto it = std::find_if(m_waiting.begin(), m_waiting.end(),
                                 [owner](const auto& entry) { return entry.first == owner; });
    if (it != m_waiting.end())
        it->second = std::move(start);
    else
        m_waiting.emplace_back(owner, std::move(start));
    startNext();
}

void ThumbnailQueue::withdraw(const void* owner)
{
    m_waiting.erase(std::remove_if(m_waiting.begin(), m_waiting.end(),
                                   [owner](const auto& entry) { return entry.first == owner; }),
                    m_waiting.end());
}

void ThumbnailQueue::startNext()
{
    while (running() < m_limit && !m_waiting.empty()) {
        std::function<QObject*()> start = std::move(m_waiting.front().second);
        m_waiting.pop_front();
        QObject* turn = start();
        if (!turn)
            continue;
        m_running.insert(turn);
        // Without a context object: the queue outlives every row, and destroyed comes after the
        // renderer's child has been waited for.
        QObject::connect(turn, &QObject::destroyed, [this, turn] {
            m_running.erase(turn);
            startNext();
        });
    }
}
