#pragma once
// Takes turns for the row pictures' renderers: a long list must not start a child per row at
// once, so at most a few draw at a time across the window and the rest wait their turn. A turn
// lasts as long as the object its start returned (the renderer): when that object is destroyed
// its child has ended, and the next waiting row starts.

#include <QObject>

#include <deque>
#include <functional>
#include <set>
#include <utility>

class ThumbnailQueue {
public:
    static constexpr int kRunning = 2;

    // The one queue that every row of the window shares.
    static ThumbnailQueue& shared();

    explicit ThumbnailQueue(int running = kRunning);
    ThumbnailQueue(const ThumbnailQueue&) = delete;
    ThumbnailQueue& operator=(const ThumbnailQueue&) = delete;

    // start runs when a turn is free (at once if one is) and returns the object that holds the
    // turn until destroyed, or nullptr when it has nothing to do. An owner already waiting keeps
    // its place and its new start.
    void enqueue(const void* owner, std::function<QObject*()> start);
    // The owner no longer waits (a removed row); a turn it holds ends with its renderer.
    void withdraw(const void* owner);

    int running() const { return static_cast<int>(m_running.size()); }
    int waiting() const { return static_cast<int>(m_waiting.size()); }

private:
    void startNext();

    const int m_limit;
    std::deque<std::pair<const void*, std::function<QObject*()>>> m_waiting;
    std::set<const QObject*> m_running;
};
