#pragma once
// Runs each transfer on a thread of its own. Threads are tracked, not detached, so that
// shutdown and tests can wait for every transfer (and its action's OnReply) to end.

#include "core/common/NonCopyable.h"
#include "core/common/TrackedThreads.h"
#include "core/network/AbstractAction.h"
#include "core/network/TransferLimits.h"

#include <chrono>
#include <memory>

namespace Network {

// One transfer, synchronously: GET the target and hand the outcome to the action. A body
// beyond the limits' size ends the transfer with CURLE_FILESIZE_EXCEEDED and an empty body; a
// transfer too slow or too long with CURLE_OPERATION_TIMEDOUT.
void performRequest(const URL& target, std::shared_ptr<AbstractAction> action, int requestId,
                    const TransferLimits& limits = TransferLimits::reply());

class RequestRunner : private NonCopyable {
public:
    static RequestRunner& instance();

    // detached: run on a new tracked thread; otherwise on the caller's thread.
    void run(const URL& target, std::shared_ptr<AbstractAction> action, int requestId,
             bool detached = true, const TransferLimits& limits = TransferLimits::reply());
    // Runs the transfer (a service request, with its limits) after a delay, on a tracked thread; the wait ends early at shutdown
    // (and the transfer is then not made).
    void runAfter(std::chrono::milliseconds delay, const URL& target,
                  std::shared_ptr<AbstractAction> action, int requestId);

    // Waits until no transfer runs (new ones may still be started afterwards).
    void waitForAll();
    // Aborts running transfers, cancels delayed ones, refuses new ones and waits for all.
    void shutdown();
    // Accept requests again (tests run several shutdowns in one process).
    void restart();
    bool isShuttingDown() const;


private:
    RequestRunner() = default;
    ~RequestRunner();
    TrackedThreads m_threads;
};

} // namespace Network
