#include "core/network/RequestRunner.h"
#include "RecordingAction.h"
#include "support/LocalHttpServer.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <mutex>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace Network;

namespace {

// A port on loopback with nothing listening: bound once, then closed.
int closedPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

} // namespace

TEST(Url, ComposesTheQueryInByteWiseKeyOrder)
{
    const URL bare("svc.local", "/index.php", {});
    EXPECT_EQ(bare.getUrl(), "http://svc.local/index.php");
    const URL query("svc.local", "/index.php",
                    {{"type", "GetCode"}, {"token", "T"}, {"soft_type", "12"}, {"class", "WeChat"}, {"Zed", "1"}});
    EXPECT_EQ(query.getUrl(), "http://svc.local/index.php?Zed=1&class=WeChat&soft_type=12&token=T&type=GetCode");
    EXPECT_EQ(URL("h", "/p", {{"a", "1"}}, "https").getUrl(), "https://h/p?a=1");
    const URL link("http://cdn.local/a.png");
    EXPECT_EQ(link.getUrl(), "http://cdn.local/a.png");
    EXPECT_TRUE(link.host.empty());
    EXPECT_TRUE(URL().getUrl().empty());
}

TEST(RequestRunner, DeliversBodiesAndErrorPagesAsSuccessfulTransfers)
{
    LocalHttpServer http;
    http.server().Get("/ok", [](const httplib::Request& req, httplib::Response& res) {
        res.set_content("{\"a\":\"" + req.get_param_value("x") + "\"}", "application/json");
    });
    http.server().Get("/missing", [](const httplib::Request&, httplib::Response& res) {
        res.status = 404;
        res.set_content("<html>not here</html>", "text/html");
    });
    http.start();
    auto action = std::make_shared<RecordingAction>();
    RequestRunner::instance().run(URL("127.0.0.1:" + std::to_string(http.port()), "/ok", {{"x", "1"}}), action, 6);
    RequestRunner::instance().run(URL(http.base() + "/missing"), action, 7);
    RequestRunner::instance().waitForAll();
    ASSERT_EQ(action->replies.size(), 2u);
    for (const Reply& reply : action->replies) {
        EXPECT_TRUE(reply.succeeded);
        if (reply.requestId == 6) {
            EXPECT_EQ(reply.body, "{\"a\":\"1\"}");
        } else {
            EXPECT_EQ(reply.requestId, 7);
            EXPECT_EQ(reply.body, "<html>not here</html>");
            EXPECT_EQ(reply.url.getUrl(), http.base() + "/missing");
        }
    }
}

TEST(RequestRunner, FailuresCarryTheLibcurlCodeAndAnAbortCarriesExactly42)
{
    LocalHttpServer http;
    http.server().Get("/big", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(std::string(4 << 20, 'x'), "application/octet-stream");
    });
    http.start();

    auto refused = std::make_shared<RecordingAction>();
    RequestRunner::instance().run(URL("http://127.0.0.1:" + std::to_string(closedPort()) + "/"), refused, 1);
    auto aborted = std::make_shared<RecordingAction>();
    aborted->abortAfterBytes = 1;
    RequestRunner::instance().run(URL(http.base() + "/big"), aborted, 2);
    auto synchronous = std::make_shared<RecordingAction>();
    RequestRunner::instance().run(URL(http.base() + "/big"), synchronous, 3, false);
    EXPECT_EQ(synchronous->replies.size(), 1u); // ran on this thread
    RequestRunner::instance().waitForAll();

    ASSERT_EQ(refused->replies.size(), 1u);
    EXPECT_FALSE(refused->replies[0].succeeded);
    EXPECT_EQ(refused->replies[0].body, "7");
    ASSERT_EQ(aborted->replies.size(), 1u);
    EXPECT_FALSE(aborted->replies[0].succeeded);
    EXPECT_EQ(aborted->replies[0].body, "42");
    EXPECT_GT(aborted->progressCalls.load(), 0);
    EXPECT_EQ(synchronous->replies[0].body.size(), 4u << 20);
}

TEST(RequestRunner, ShutdownCancelsDelayedTransfersAndRefusesNewOnes)
{
    LocalHttpServer http;
    std::atomic<int> hits{0};
    http.server().Get("/", [&](const httplib::Request&, httplib::Response& res) {
        ++hits;
        res.set_content("{}", "application/json");
    });
    http.start();
    auto action = std::make_shared<RecordingAction>();
    RequestRunner::instance().runAfter(std::chrono::hours(1), URL(http.base() + "/"), action, 24);
    RequestRunner::instance().shutdown(); // returns without waiting the hour
    RequestRunner::instance().run(URL(http.base() + "/"), action, 1);
    RequestRunner::instance().waitForAll();
    EXPECT_TRUE(action->replies.empty());
    EXPECT_EQ(hits.load(), 0);
    EXPECT_EQ(action.use_count(), 1); // no thread holds the action any more

    RequestRunner::instance().restart();
    RequestRunner::instance().runAfter(std::chrono::milliseconds(1), URL(http.base() + "/"), action, 24);
    RequestRunner::instance().waitForAll();
    EXPECT_EQ(action->replies.size(), 1u);
}
