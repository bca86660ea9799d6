#pragma once
// What the sink hands a message to: the receiving window's handler, on the window's thread.

#include "core/message/MessageSink.h"

#include <cstdint>
#include <memory>

class SeamReceiver {
public:
    virtual ~SeamReceiver() = default;
    // Handles one message; the return value answers a synchronous send.
    virtual std::intptr_t handleSeamMessage(int message, std::intptr_t wParam,
                                            std::unique_ptr<MessagePayload> payload) = 0;
};
