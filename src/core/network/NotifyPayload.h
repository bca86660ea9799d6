#pragma once
// A plain number carried with a notification (for example the text id of a message to show).

#include "core/message/MessagePayload.h"

#include <cstdint>

struct NotifyNumber : MessagePayload {
    explicit NotifyNumber(std::intptr_t v) : value(v) {}
    std::intptr_t value;
};
