#pragma once
// Receives the outcome of a transfer on the transfer's own thread.

#include "core/network/Reply.h"

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
};

} // namespace Network
