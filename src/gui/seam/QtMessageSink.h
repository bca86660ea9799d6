#pragma once
// The message seam on Qt: posts become events in the receiving window's queue; a send from
// another thread waits until the window has handled the message.

#include "core/message/MessageSink.h"

#include <QObject>
#include <QPointer>

#include <map>
#include <mutex>

class SeamReceiver;

class QtMessageSink : public MessageSink {
public:
    // The process-wide sink, installed as MessageSink::current() on first use.
    static QtMessageSink& instance();

    bool post(WindowHandle window, int message, std::intptr_t wParam,
              std::unique_ptr<MessagePayload> payload) override;
    std::intptr_t send(WindowHandle window, int message, std::intptr_t wParam,
                       std::unique_ptr<MessagePayload> payload) override;

    WindowHandle registerWindow(QObject* object, SeamReceiver* window);
    void unregisterWindow(WindowHandle handle);

private:
    struct Entry {
        QPointer<QObject> object;
        SeamReceiver* window;
    };
    std::mutex m_mutex;
    std::map<WindowHandle, Entry> m_windows;
    WindowHandle m_next = 1;
};
