#pragma once
// Base of every heap payload that travels with a window message. The receiving window owns it
// from the moment it is posted; a message to a window that is gone frees it.

struct MessagePayload {
    virtual ~MessagePayload() = default;
};
