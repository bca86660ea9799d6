// A reply nested deeper than the JSON reader allows makes the reader throw; the request thread
// must treat it as an unreadable reply instead of ending the program.

#include "ServiceFixture.h"

#include "core/actions/Action.h"
#include "core/message/WindowMessages.h"
#include "core/network/NotifyPayload.h"
#include "core/user/RequestId.h"

using namespace WindowMessages;

TEST_F(ServiceFixture, AReplyNestedTooDeepIsAParseError)
{
    Network::RequestRunner::instance().restart(); // a test before may have shut it down
    const auto action = std::make_shared<Action>(5);
    reply("GetConfig", std::string(5000, '[') + std::string(5000, ']'));
    user->SendRequest(RequestId::GetConfig, action);
    waitForTransfers();
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::ParseError), 1u);

    // The next reply is read as usual.
    reply("GetConfig", R"({"success":true,"result":{"domain":"https://web.example/","binding_phone":false}})");
    user->SendRequest(RequestId::GetConfig, action);
    waitForTransfers();
    EXPECT_EQ(user->getWebBase(), "https://web.example/");
}
