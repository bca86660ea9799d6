#include "LoginFixture.h"

#include "message/WindowMessages.h"
#include "support/LocalHttpServer.h"

#include <atomic>
#include <future>

using namespace WindowMessages;

// A service that holds its answer until the test lets it go, so that the reply arrives after
// the dialog has closed.
class LateReply : public LoginFixture {
protected:
    void SetUp() override
    {
        LoginFixture::SetUp();
        http.server().Get("/index.php", [this](const httplib::Request&, httplib::Response& res) {
            arrived = true;
            released.wait();
            res.set_content(R"({"success":true,"result":{"status":true,"user_id":"77","open_key":"late"}})",
                            "application/json");
        });
        http.start();
        user = std::make_unique<User>(dir.wide("late"), http.base());
        user->setLanguage(Glossary::ENGLSH);
    }
    void TearDown() override
    {
        letGo();
        LoginFixture::TearDown();
        http.stop();
    }
    void letGo()
    {
        if (!let) {
            let = true;
            release.set_value();
        }
    }

    LocalHttpServer http;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<bool> arrived{false};
    bool let = false;
};

TEST_F(LateReply, ASignInThatArrivesAfterTheDialogClosedChangesNothing)
{
    open();
    click("tabopt2");
    type("log_emailedit", QStringLiteral("late@example.org"));
    type("log_passwordedit", QStringLiteral("pw"));
    click("log_signinbtn");
    ASSERT_TRUE(pumpUntil([&] { return arrived.load(); }));
    click("closebtn");
    ASSERT_TRUE(closed());

    letGo();
    Network::RequestRunner::instance().waitForAll();
    pumpUntil([] { return false; }, 300); // deliver whatever was posted
    EXPECT_EQ(user->getUserId(), "");
    EXPECT_EQ(user->getOpenKey(), "");
    EXPECT_EQ(owner.received[WM_USER_REFRESH], 0);
}
