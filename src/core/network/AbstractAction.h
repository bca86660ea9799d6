#pragma once
// Receives the outcome of a transfer on the transfer's own thread.

#include "core/network/Reply.h"

#include <cstddef>

namespace Network {

class AbstractAction {
public:
    virtual ~AbstractAction() = default;
    virtual void OnReply(Reply& reply) = 0;
    // Total time so far (s), download total, downloaded, upload total, uploaded (bytes).
    // Nonzero aborts the transfer, which then ends with the body "42".
    virtual int OnProgress(double totalTime, double downloadTotal, double downloaded,
                           double uploadTotal, double uploaded)
    {
        return 0;
    }
    // An action that takes the body piece by piece as it arrives (a large download going to a
    // file) says so here; the reply then holds no body, only the code of a failure.
    virtual bool streamsBody() const { return false; }
    // One piece of a streamed body; false (it could not be kept) aborts the transfer.
    virtual bool OnBodyData(const char* data, std::size_t size) { return true; }
};

} // namespace Network
