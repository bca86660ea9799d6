#include "core/message/MessageSink.h"

#include <mutex>

namespace {

class DroppingSink : public MessageSink {
public:
    bool post(WindowHandle, int, std::intptr_t, std::unique_ptr<MessagePayload>) override
    {
        return false;
    }
    std::intptr_t send(WindowHandle, int, std::intptr_t, std::unique_ptr<MessagePayload>) override
    {
        return 0;
    }
};

std::mutex g_mutex;
std::shared_ptr<MessageSink> g_sink;

} // namespace

MessageSink& MessageSink::current()
{
    static DroppingSink dropping;
    std::lock_guard lock(g_mutex);
    // The installed sink lives until the process ends or it is replaced at shutdown, after
    // every worker has been joined.
    return g_sink ? *g_sink : static_cast<MessageSink&>(dropping);
}

void MessageSink::setCurrent(std::shared_ptr<MessageSink> sink)
{
    std::lock_guard lock(g_mutex);
    g_sink = std::move(sink);
}
