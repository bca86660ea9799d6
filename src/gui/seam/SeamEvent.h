#pragma once
// A window message delivered through Qt's event queue. A synchronous send carries the promise
// its sender waits on; an event dropped unhandled (window gone) answers 0.

#include "core/message/MessagePayload.h"
#include "gui/seam/QueueHandOff.h"

#include <QEvent>

#include <cstdint>
#include <future>
#include <memory>

class SeamEvent : public QEvent {
public:
    static QEvent::Type eventType();

    SeamEvent(int message, std::intptr_t wParam, std::unique_ptr<MessagePayload> payload,
              std::promise<std::intptr_t>* answer = nullptr)
        : QEvent(eventType()), m_message(message), m_wParam(wParam), m_payload(std::move(payload)),
          m_answer(answer)
    {
    }
    ~SeamEvent() override
    {
        // Qt frees an undelivered event on the receiver's thread.
        QueueHandOff::takeOver(this);
        if (m_answer)
            m_answer->set_value(0);
    }

    int message() const { return m_message; }
    std::intptr_t wParam() const { return m_wParam; }
    // The receiver takes the payload; whatever is left is freed with the event.
    std::unique_ptr<MessagePayload> takePayload() { return std::move(m_payload); }
    void answer(std::intptr_t result)
    {
        if (m_answer) {
            m_answer->set_value(result);
            m_answer = nullptr;
        }
    }

private:
    int m_message;
    std::intptr_t m_wParam;
    std::unique_ptr<MessagePayload> m_payload;
    std::promise<std::intptr_t>* m_answer;
};
