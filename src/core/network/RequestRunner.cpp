#include "core/network/RequestRunner.h"

#include "core/network/LoggedUrl.h"
#include "core/platform/DebugLog.h"

#include <curl/curl.h>

#include <cstdint>
#include <functional>

namespace Network {

namespace {

constexpr const char* kUserAgent = "libcurl-agent/1.0";

struct TransferContext {
    AbstractAction* action;
    CURL* handle;
    Reply* reply;
    std::uint64_t maxBytes;
    std::uint64_t received = 0;
    bool tooLarge = false;
};

// Returning less than n makes libcurl end the transfer with CURLE_WRITE_ERROR.
size_t appendBody(char* data, size_t size, size_t count, void* userData)
{
    auto* context = static_cast<TransferContext*>(userData);
    const size_t n = size * count;
    if (n > context->maxBytes - context->received) {
        context->tooLarge = true;
        return 0;
    }
    context->received += n;
    if (context->action->streamsBody())
        return context->action->OnBodyData(data, n) ? n : 0;
    context->reply->body.append(data, n);
    return n;
}

int xferInfo(void* userData, curl_off_t downloadTotal, curl_off_t downloaded,
             curl_off_t, curl_off_t)
{
    auto* context = static_cast<TransferContext*>(userData);
    if (RequestRunner::instance().isShuttingDown())
        return 1; // shutdown aborts every transfer
    double totalTime = 0.0;
    if (curl_easy_getinfo(context->handle, CURLINFO_TOTAL_TIME, &totalTime) != CURLE_OK)
        totalTime = 0.0;
    return context->action->OnProgress(totalTime, static_cast<double>(downloadTotal),
                                       static_cast<double>(downloaded), 0.0, 0.0);
}

int legacyProgress(void* userData, double downloadTotal, double downloaded, double uploadTotal,
                   double uploaded)
{
    return xferInfo(userData, static_cast<curl_off_t>(downloadTotal),
                    static_cast<curl_off_t>(downloaded), static_cast<curl_off_t>(uploadTotal),
                    static_cast<curl_off_t>(uploaded));
}

} // namespace

void performRequest(const URL& target, std::shared_ptr<AbstractAction> action, int requestId,
                    const TransferLimits& limits)
{
    CURL* handle = curl_easy_init();
    if (!handle)
        return;
    Reply reply;
    TransferContext context{action.get(), handle, &reply, limits.maxBytes};
    curl_easy_setopt(handle, CURLOPT_URL, target.getUrl().c_str());
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, appendBody);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &context);
    curl_easy_setopt(handle, CURLOPT_NOPROGRESS, 0L);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    curl_easy_setopt(handle, CURLOPT_PROGRESSFUNCTION, legacyProgress);
#pragma GCC diagnostic pop
    curl_easy_setopt(handle, CURLOPT_XFERINFOFUNCTION, xferInfo);
    curl_easy_setopt(handle, CURLOPT_XFERINFODATA, &context);
    curl_easy_setopt(handle, CURLOPT_USERAGENT, kUserAgent);
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT, 10L);
    // A length announced beyond the cap is refused before the body; one that is not announced
    // or not kept to is stopped by appendBody.
    curl_easy_setopt(handle, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBytes));
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, limits.lowSpeedBytes);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, limits.lowSpeedSeconds);
    curl_easy_setopt(handle, CURLOPT_TIMEOUT, limits.totalSeconds);
    // Worker threads must not receive SIGALRM from the resolver's time-outs.
    curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);

    Platform::debugLog("request " + std::to_string(requestId) + ": " + loggedUrl(target.getUrl()) + "\n");
    CURLcode code = curl_easy_perform(handle);
    curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &reply.httpStatus);
    if (context.tooLarge)
        code = CURLE_FILESIZE_EXCEEDED;
    if (code == CURLE_OK) {
        reply.succeeded = true;
    } else {
        reply.succeeded = false;
        // What arrived of a reply that was too long is of no use, and the largest part to hold.
        if (code == CURLE_ABORTED_BY_CALLBACK || code == CURLE_FILESIZE_EXCEEDED)
            std::string().swap(reply.body);
        reply.body += std::to_string(static_cast<int>(code));
        Platform::debugLog("request " + std::to_string(requestId) + " failed: " + curl_easy_strerror(code) + "\n");
    }
    reply.url = target;
    reply.requestId = requestId;
    action->OnReply(reply);
    curl_easy_cleanup(handle);
}

RequestRunner& RequestRunner::instance()
{
    static RequestRunner runner;
    return runner;
}

RequestRunner::~RequestRunner()
{
    shutdown();
}

bool RequestRunner::isShuttingDown() const
{
    return m_threads.isClosed();
}

void RequestRunner::run(const URL& target, std::shared_ptr<AbstractAction> action, int requestId,
                        bool detached, const TransferLimits& limits)
{
    if (!action)
        return;
    if (!detached) {
        performRequest(target, std::move(action), requestId, limits);
        return;
    }
    m_threads.start([target, action = std::move(action), requestId, limits] {
        performRequest(target, action, requestId, limits);
    });
}

void RequestRunner::runAfter(std::chrono::milliseconds delay, const URL& target,
                             std::shared_ptr<AbstractAction> action, int requestId)
{
    if (!action)
        return;
    m_threads.start([this, delay, target, action = std::move(action), requestId] {
        if (m_threads.waitUnlessClosed(delay))
            return;
        performRequest(target, action, requestId, TransferLimits::reply());
    });
}

void RequestRunner::waitForAll()
{
    m_threads.waitForAll();
}

void RequestRunner::shutdown()
{
    m_threads.close();
    waitForAll();
}

void RequestRunner::restart()
{
    m_threads.open();
}

} // namespace Network
