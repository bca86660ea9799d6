#pragma once
// An action that keeps every reply it is given, for the network tests.

#include "core/network/AbstractAction.h"

#include <atomic>
#include <mutex>
#include <vector>

class RecordingAction : public Network::AbstractAction {
public:
    void OnReply(Network::Reply& reply) override
    {
        std::lock_guard lock(mutex);
        replies.push_back(reply);
    }
    int OnProgress(double, double, double downloaded, double, double) override
    {
        progressCalls++;
        return abortAfterBytes >= 0 && downloaded > abortAfterBytes ? 1 : 0;
    }
    // The last reply to the request; an empty one when there was none.
    Network::Reply last(int requestId)
    {
        std::lock_guard lock(mutex);
        for (auto it = replies.rbegin(); it != replies.rend(); ++it)
            if (it->requestId == requestId)
                return *it;
        return {};
    }

    std::mutex mutex;
    std::vector<Network::Reply> replies;
    std::atomic<int> progressCalls{0};
    // Aborts a transfer once this many bytes came in (never when negative).
    double abortAfterBytes = -1;
};
