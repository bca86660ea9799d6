// Replies without end, too long or too slow: each transfer ends with an error and holds no more
// than its cap, so a hostile or broken server can neither fill the memory nor hold a thread.

#include "RecordingAction.h"
#include "core/network/LoggedUrl.h"
#include "core/network/RequestRunner.h"
#include "support/ForkedRun.h"
#include "support/LocalHttpServer.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <mutex>
#include <thread>

using namespace Network;

namespace {

// Takes the body piece by piece, as the updater's download does.
class StreamingAction : public RecordingAction {
public:
    bool streamsBody() const override { return true; }
    bool OnBodyData(const char* data, std::size_t size) override
    {
        streamed.append(data, size);
        largestPiece = std::max(largestPiece, size);
        return true;
    }
    std::string streamed;
    std::size_t largestPiece = 0;
};

// Serves /endless (chunked, never ending), /huge (announces 100 GB, then sends without end) and
// /trickle (a byte every 50 ms); each ends when the client goes away.
void serveHostileBodies(LocalHttpServer& http)
{
    const auto endless = [](httplib::DataSink& sink) {
        const std::string block(64 << 10, 'x');
        while (sink.write(block.data(), block.size())) {
        }
        return false;
    };
    http.server().Get("/endless", [endless](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("application/json", [endless](size_t, httplib::DataSink& sink) {
            return endless(sink);
        });
    });
    http.server().Get("/huge", [endless](const httplib::Request&, httplib::Response& res) {
        res.set_content_provider(100ull << 30, "application/json",
                                 [endless](size_t, size_t, httplib::DataSink& sink) { return endless(sink); });
    });
    http.server().Get("/trickle", [](const httplib::Request&, httplib::Response& res) {
        res.set_chunked_content_provider("application/json", [](size_t, httplib::DataSink& sink) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            return sink.write("x", 1);
        });
    });
    http.start();
}

std::size_t virtualMemorySize()
{
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    statm >> pages;
    return pages * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

// Runs the subject in a child process allowed 256 MB more address space than it starts with:
// a reply held without bound ends it (std::bad_alloc) instead of eating the machine. Returns
// the child's exit status, or 128 + the signal that ended it.
int inMemoryLimitedChild(const std::function<int()>& subject)
{
    const auto limit = [] {
        const rlim_t size = virtualMemorySize() + (256u << 20);
        const rlimit bound{size, size};
        ::setrlimit(RLIMIT_AS, &bound);
    };
    return runForked(limit, subject, 128);
}

} // namespace

TEST(ReplyLimits, EndlessAndOverlongRepliesEndWithAnErrorUnderAMemoryLimit)
{
    LocalHttpServer http;
    serveHostileBodies(http);
    for (const char* path : {"/endless", "/huge"}) {
        const int status = inMemoryLimitedChild([&] {
            auto action = std::make_shared<RecordingAction>();
            performRequest(URL(http.base() + path), action, 1, TransferLimits::reply());
            const Reply reply = action->last(1);
            // CURLE_FILESIZE_EXCEEDED, and nothing of the overlong body kept.
            return !reply.succeeded && reply.body == "63" ? 0 : 1;
        });
        EXPECT_EQ(status, 0) << path;
    }

    // In this process too: the body the action sees never exceeds the cap.
    auto action = std::make_shared<RecordingAction>();
    auto& runner = RequestRunner::instance();
    runner.run(URL(http.base() + "/endless"), action, 2, true, {100000, 0, 0, 0});
    runner.run(URL(http.base() + "/huge"), action, 3, true, TransferLimits::picture());
    runner.waitForAll();
    for (const int id : {2, 3}) {
        EXPECT_FALSE(action->last(id).succeeded) << id;
        EXPECT_EQ(action->last(id).body, "63") << id;
    }
}

TEST(ReplyLimits, TricklingRepliesEndWithATimeOut)
{
    LocalHttpServer http;
    serveHostileBodies(http);
    auto action = std::make_shared<RecordingAction>();
    auto& runner = RequestRunner::instance();
    // Slower than 1,000 bytes a second for a second; and a whole transfer of at most 2 seconds.
    runner.run(URL(http.base() + "/trickle"), action, 1, true, {1 << 20, 1000, 1, 0});
    runner.run(URL(http.base() + "/trickle"), action, 2, true, {1 << 20, 0, 0, 2});
    runner.waitForAll();
    for (const int id : {1, 2}) {
        const Reply reply = action->last(id);
        EXPECT_FALSE(reply.succeeded) << id;
        // What arrived, then CURLE_OPERATION_TIMEDOUT.
        ASSERT_GE(reply.body.size(), 2u) << id;
        EXPECT_EQ(reply.body.substr(reply.body.size() - 2), "28") << id;
        EXPECT_EQ(reply.body.find_first_not_of('x'), reply.body.size() - 2) << id;
    }
}

TEST(ReplyLimits, AStreamedBodyGoesToTheActionAndNotIntoTheReply)
{
    LocalHttpServer http;
    http.server().Get("/file", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(std::string(3 << 20, 'p'), "application/octet-stream");
    });
    serveHostileBodies(http);
    auto action = std::make_shared<StreamingAction>();
    performRequest(URL(http.base() + "/file"), action, 1, TransferLimits::download(3 << 20));
    EXPECT_TRUE(action->last(1).succeeded);
    EXPECT_TRUE(action->last(1).body.empty());
    EXPECT_EQ(action->streamed, std::string(3 << 20, 'p'));
    EXPECT_LT(action->largestPiece, 1u << 20);

    // One byte more than announced ends it; only what fitted was handed on.
    auto overlong = std::make_shared<StreamingAction>();
    performRequest(URL(http.base() + "/endless"), overlong, 2, TransferLimits::download(100000));
    EXPECT_FALSE(overlong->last(2).succeeded);
    EXPECT_EQ(overlong->last(2).body, "63");
    EXPECT_LE(overlong->streamed.size(), 100000u);
}

TEST(LoggedUrl, MasksPasswordsAndCodesOnly)
{
    EXPECT_EQ(loggedUrl("http://h/index.php?class=System&password=s3cret&type=UserLogin&user_name=a@b.c"),
              "http://h/index.php?class=System&password=***&type=UserLogin&user_name=a@b.c");
    EXPECT_EQ(loggedUrl("https://h/p?code=1234&phone=138&repassword=x&xpassword=y#password=z"),
              "https://h/p?code=***&phone=138&repassword=***&xpassword=y#password=z");
    EXPECT_EQ(loggedUrl("http://h/p?password="), "http://h/p?password=***");
    EXPECT_EQ(loggedUrl("http://h/p"), "http://h/p");
    EXPECT_EQ(loggedUrl("http://h/p?&&password&a=1"), "http://h/p?&&password&a=1");
}
