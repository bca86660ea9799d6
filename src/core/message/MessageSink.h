#pragma once
// The seam between workers and windows. Workers never touch widgets: they post
// (window, message, wParam, payload) here, and the gui delivers it on its own thread.

#include "core/message/MessagePayload.h"

#include <cstdint>
#include <memory>

// An opaque id a window registers while it lives; 0 names no window.
using WindowHandle = std::uint64_t;

class MessageSink {
public:
    virtual ~MessageSink() = default;

    // Queues the message for the window and returns at once. False, with the payload freed,
    // when the window is gone.
    virtual bool post(WindowHandle window, int message, std::intptr_t wParam,
                      std::unique_ptr<MessagePayload> payload) = 0;

    // Delivers the message and waits for the window's answer (the one synchronous send).
    // Returns 0 when the window is gone.
    virtual std::intptr_t send(WindowHandle window, int message, std::intptr_t wParam,
                               std::unique_ptr<MessagePayload> payload) = 0;

    // The process-wide sink; a sink that drops everything until one is installed.
    static MessageSink& current();
    static void setCurrent(std::shared_ptr<MessageSink> sink);
};
