#include "support/RecordingSink.h"

#include <algorithm>

bool RecordingSink::post(WindowHandle window, int message, std::intptr_t wParam,
                         std::unique_ptr<MessagePayload> payload)
{
    if (std::find(deadWindows.begin(), deadWindows.end(), window) != deadWindows.end())
        return false;
    RecordedMessage recorded{window, message, wParam, std::shared_ptr<MessagePayload>(std::move(payload))};
    {
        std::lock_guard lock(m_mutex);
        m_messages.push_back(recorded);
        m_changed.notify_all();
    }
    if (onPost)
        onPost(recorded);
    return true;
}

std::intptr_t RecordingSink::send(WindowHandle window, int message, std::intptr_t wParam,
                                  std::unique_ptr<MessagePayload> payload)
{
    if (std::find(deadWindows.begin(), deadWindows.end(), window) != deadWindows.end())
        return 0;
    RecordedMessage recorded{window, message, wParam, std::shared_ptr<MessagePayload>(std::move(payload))};
    {
        std::lock_guard lock(m_mutex);
        m_messages.push_back(recorded);
        m_changed.notify_all();
    }
    return sendAnswer ? sendAnswer(recorded) : 0;
}

std::vector<RecordedMessage> RecordingSink::messages() const
{
    std::lock_guard lock(m_mutex);
    return m_messages;
}

bool RecordingSink::waitFor(const std::function<bool(const std::vector<RecordedMessage>&)>& predicate,
                            std::chrono::milliseconds limit) const
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, limit, [&] { return predicate(m_messages); });
}

bool RecordingSink::waitForMessage(int message, std::intptr_t wParam, RecordedMessage* found,
                                   std::chrono::milliseconds limit) const
{
    std::unique_lock lock(m_mutex);
    const auto matches = [&](const RecordedMessage& m) {
        return m.message == message && (wParam == -1 || m.wParam == wParam);
    };
    const bool ok = m_changed.wait_for(lock, limit, [&] {
        return std::any_of(m_messages.begin(), m_messages.end(), matches);
    });
    if (ok && found)
        *found = *std::find_if(m_messages.begin(), m_messages.end(), matches);
    return ok;
}

std::size_t RecordingSink::count(int message, std::intptr_t wParam) const
{
    std::lock_guard lock(m_mutex);
    return static_cast<std::size_t>(std::count_if(m_messages.begin(), m_messages.end(), [&](const RecordedMessage& m) {
        return m.message == message && (wParam == -1 || m.wParam == wParam);
    }));
}
