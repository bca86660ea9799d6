#pragma once
// A message sink for tests: keeps every posted message so a test can wait for and inspect
// what workers and actions told their windows.

#include "core/message/MessageSink.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

struct RecordedMessage {
    WindowHandle window = 0;
    int message = 0;
    std::intptr_t wParam = 0;
    std::shared_ptr<MessagePayload> payload;

    template <class T> const T* as() const { return dynamic_cast<const T*>(payload.get()); }
};

class RecordingSink : public MessageSink {
public:
    // Windows that count as gone: posts to them free the payload and fail.
    std::vector<WindowHandle> deadWindows;
    // Answer of send() for a message number (default 0).
    std::function<std::intptr_t(const RecordedMessage&)> sendAnswer;
    // Runs on the posting thread after a message was recorded (to act like a window would).
    std::function<void(const RecordedMessage&)> onPost;

    bool post(WindowHandle window, int message, std::intptr_t wParam,
              std::unique_ptr<MessagePayload> payload) override;
    std::intptr_t send(WindowHandle window, int message, std::intptr_t wParam,
                       std::unique_ptr<MessagePayload> payload) override;

    std::vector<RecordedMessage> messages() const;
    // Waits (up to the limit) until the predicate holds for the recorded messages.
    bool waitFor(const std::function<bool(const std::vector<RecordedMessage>&)>& predicate,
                 std::chrono::milliseconds limit = std::chrono::seconds(30)) const;
    // Waits for a message with this number (and sub-code, when not -1); returns it.
    bool waitForMessage(int message, std::intptr_t wParam = -1, RecordedMessage* found = nullptr,
                        std::chrono::milliseconds limit = std::chrono::seconds(30)) const;
    std::size_t count(int message, std::intptr_t wParam = -1) const;

private:
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::vector<RecordedMessage> m_messages;
};

// Installs a fresh recording sink as the process-wide one for the scope of a test.
class ScopedRecordingSink {
public:
    ScopedRecordingSink() : sink(std::make_shared<RecordingSink>()) { MessageSink::setCurrent(sink); }
    ~ScopedRecordingSink() { MessageSink::setCurrent(nullptr); }
    RecordingSink* operator->() const { return sink.get(); }
    std::shared_ptr<RecordingSink> sink;
};
