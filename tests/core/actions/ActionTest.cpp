#include "ServiceFixture.h"

#include "core/actions/Action.h"
#include "core/actions/ActionPayloads.h"
#include "core/common/Diagnostics.h"
#include "core/common/Utils.h"
#include "core/message/WindowMessages.h"
#include "core/network/NotifyPayload.h"
#include "core/user/RequestId.h"

using namespace WindowMessages;

namespace {
constexpr WindowHandle kWindow = 5;
}

class MainAction : public ServiceFixture {
protected:
    std::shared_ptr<Action> action = std::make_shared<Action>(kWindow);
    void send(int request)
    {
        user->SendRequest(request, action);
        waitForTransfers();
    }
};

TEST_F(MainAction, LoginStatusLogsOffOnlyWhenTheKeyChangedOrTheServiceSaysNo)
{
    user->setOpenKey("key-1");
    reply("GetLoginStatus", R"({"success":true,"open_key":"key-1"})");
    send(RequestId::GetLoginStatus);
    EXPECT_EQ(sink->count(WM_UI_NOTIFY), 0u);

    reply("GetLoginStatus", R"({"success":true,"open_key":"key-2"})");
    send(RequestId::GetLoginStatus);
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::LoggedOffElsewhere), 1u);

    reply("GetLoginStatus", R"({"success":false})");
    send(RequestId::GetLoginStatus);
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::LoggedOffElsewhere), 2u);
}

TEST_F(MainAction, UserInfoStoresTheAccountFetchesTheAvatarAndStartsTheStatusTimer)
{
    user->addHistory("/out/a.pdf");
    reply("GetUserInfo", R"({"success":true,"result":{"uid":"u9","username":"安 Ann","open_key":"ok9","photo":")" +
                             http.base() + R"(/files/avatar.png"}})");
    send(RequestId::GetUserInfo);
    EXPECT_EQ(user->getUserId(), "u9");
    EXPECT_EQ(user->getUserName(), "安 Ann");
    EXPECT_EQ(user->getOpenKey(), "ok9");
    EXPECT_EQ(user->getHistory(), std::vector<std::string>{"/out/a.pdf"});

    RecordedMessage avatar;
    ASSERT_TRUE(sink->waitForMessage(WM_UI_NOTIFY, Notify::AvatarReady, &avatar));
    ASSERT_TRUE(avatar.as<WidePathPayload>());
    EXPECT_EQ(readFile(Utils::toFsPath(avatar.as<WidePathPayload>()->path)), "PNGDATA");
    EXPECT_EQ(user->getNickPhotoPath(), Utils::wideToUtf8(avatar.as<WidePathPayload>()->path));
    EXPECT_EQ(requestsOfType("LoginStatistics").size(), 1u);

    RecordedMessage timer;
    ASSERT_TRUE(sink->waitForMessage(WM_START_TIMER, kLoginStatusTimer, &timer));
    EXPECT_EQ(timer.as<TimerPayload>()->periodMs, 10000);
}

TEST_F(MainAction, AFailedAvatarDownloadKeepsTheAvatarTheUserHad)
{
    const std::wstring avatar = user->saveReplyFile(User::ReplyFileKind::Avatar, "OLD", "");
    user->SendRequestTo(RequestId::DownloadAvatar, action, Network::URL(http.base() + "/no-such-file"));
    user->SendRequestTo(RequestId::DownloadAvatar, action, Network::URL("http://127.0.0.1:1/refused.png"));
    waitForTransfers();
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::AvatarReady), 1u); // the 404 page is a transfer
    // A refused transfer never replaces the file.
    user->saveReplyFile(User::ReplyFileKind::Avatar, "OLD", "");
    user->SendRequestTo(RequestId::DownloadAvatar, action, Network::URL("http://127.0.0.1:1/refused.png"));
    waitForTransfers();
    EXPECT_EQ(readFile(Utils::toFsPath(avatar)), "OLD");
}

TEST_F(MainAction, WrongShapesAreReportedAndIgnored)
{
    reply("GetAds", R"({"success":true,"result":{"not":"a list"}})");
    send(RequestId::GetAds);
    EXPECT_EQ(sink->count(WM_UI_NOTIFY), 0u);

    reply("GetAds", R"({"success":true,"result":[{"img_key":"k","img_url":"u"}]})");
    send(RequestId::GetAds);
    RecordedMessage ads;
    ASSERT_TRUE(sink->waitForMessage(WM_UI_NOTIFY, Notify::AdsReply, &ads));
    EXPECT_EQ(ads.as<JsonPayload>()->value[0]["img_key"].asString(), "k");

    user->setOpenKey("keep");
    reply("GetUserInfo", R"({"success":true,"result":"just text"})");
    send(RequestId::GetUserInfo);
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::JsonError), 1u);
    EXPECT_EQ(user->getOpenKey(), "keep"); // a malformed reply does not log the user out
    waitForTransfers();
    const auto reports = requestsOfType("SetErrorMsg");
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].find("reason")->second.rfind("OnJsonExceptionError||", 0), 0u);
    EXPECT_NE(reports[0].find("reason")->second.find("||Window\\CommonWndUserAction||34"), std::string::npos);

    reply("GetConfig", "<html>oops</html>");
    send(RequestId::GetConfig);
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::ParseError), 1u);
}

TEST_F(MainAction, ConfigurationAndUpdateRepliesReachTheWindow)
{
    reply("GetConfig", R"({"success":true,"result":{"domain":"https://web.example/","binding_phone":true}})");
    send(RequestId::GetConfig);
    EXPECT_EQ(user->getWebBase(), "https://web.example/");
    EXPECT_TRUE(user->getBindPhone());

    reply("Upgrade", R"({"success":true,"version":"9.9.9.9"})");
    send(RequestId::Upgrade);
    send(RequestId::UpgradeSilent);
    const auto messages = sink->messages();
    std::vector<bool> silent;
    for (const auto& m : messages) {
        if (m.message == WM_UI_NOTIFY && m.wParam == Notify::UpgradeReply)
            silent.push_back(m.as<UpgradeInfo>()->silent);
    }
    std::sort(silent.begin(), silent.end());
    EXPECT_EQ(silent, (std::vector<bool>{false, true}));
}

TEST_F(MainAction, ErrorReportsReachTheServiceWithTheStoredText)
{
    Diagnostics::instance().reportError(L"ILCreateFromPath", L"/a b/c.pdf", "..\\..\\include\\common\\Utils", L"198");
    EXPECT_EQ(user->getErrorReason(), "ILCreateFromPath||/a b/c.pdf||..\\..\\include\\common\\Utils||198");
    waitForTransfers();
    const auto reports = requestsOfType("SetErrorMsg");
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].find("reason")->second, user->getErrorReason());
    EXPECT_EQ(reports[0].find("uid")->second, "0");
}

TEST(MainActionOffline, UserInfoIsRetriedThreeTimesThenGivenUp)
{
    TempDir dir;
    ScopedRecordingSink sink;
    User user(dir.wide(), "http://127.0.0.1:1"); // nothing listens on port 1
    const auto action = std::make_shared<Action>(kWindow);
    user.SendRequest(RequestId::GetUserInfo, action);
    ASSERT_TRUE(sink->waitForMessage(WM_UI_NOTIFY, Notify::AccountProblem));
    Network::RequestRunner::instance().waitForAll();
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::RequestError), 4u);
    RecordedMessage problem;
    sink->waitForMessage(WM_UI_NOTIFY, Notify::AccountProblem, &problem);
    EXPECT_EQ(problem.as<NotifyNumber>()->value, 47);
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::AccountProblem), 1u);
}

TEST(MainActionOffline, SilentUpdateCheckBacksOffAfterEachFailure)
{
    EXPECT_EQ(Action::updateRetryDelay(1), std::chrono::seconds(2));
    EXPECT_EQ(Action::updateRetryDelay(2), std::chrono::seconds(4));
    EXPECT_EQ(Action::updateRetryDelay(8), std::chrono::seconds(256));
    EXPECT_EQ(Action::updateRetryDelay(9), std::chrono::minutes(5));
    EXPECT_EQ(Action::updateRetryDelay(1000), std::chrono::minutes(5));

    TempDir dir;
    ScopedRecordingSink sink;
    User user(dir.wide(), "http://127.0.0.1:1");
    user.SendRequest(RequestId::UpgradeSilent, std::make_shared<Action>(kWindow));
    ASSERT_TRUE(sink->waitForMessage(WM_UI_NOTIFY, Notify::RequestError));
    // The retry waits; shutdown ends the wait instead of hanging or spinning.
    Network::RequestRunner::instance().shutdown();
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::RequestError), 1u);
}

TEST_F(MainAction, RepliesAreReadOnlyAsFarAsTheirRequestNeeds)
{
    // Requests whose replies are ignored: any shape passes without an error or a report.
    for (const char* body : {"[1,2]", "\"text\"", R"({"success":"yes"})", R"({"success":[true]})", "7"}) {
        reply("LoginStatistics", body);
        send(RequestId::LoginStatistics);
        reply("ConvertStatistics", body);
        send(RequestId::ConvertStatistics);
    }
    waitForTransfers();
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::JsonError), 0u);
    EXPECT_TRUE(requestsOfType("SetErrorMsg").empty());

    // Update checks hand every object reply to the window, whatever its "success" holds.
    reply("Upgrade", R"({"success":"1","version":"9.9.9.9"})");
    send(RequestId::Upgrade);
    send(RequestId::UpgradeSilent);
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::UpgradeReply), 2u);
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::JsonError), 0u);

    // Where "success" matters, a shape that is not a boolean (nor a number) is a reply of the
    // wrong shape: sub-code 12, which the main window ignores, so the user stays logged in.
    user->setOpenKey("key-1");
    for (const char* body : {R"({"success":"true","open_key":"key-1"})", R"({"success":{},"open_key":"x"})",
                             R"([{"success":true}])"}) {
        reply("GetLoginStatus", body);
        send(RequestId::GetLoginStatus);
    }
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::LoggedOffElsewhere), 0u);
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::JsonError), 3u);
    EXPECT_EQ(user->getOpenKey(), "key-1");
    for (const char* body : {R"({"success":"true","result":{"uid":"u1"}})", R"({"success":"yes"})"}) {
        reply("GetUserInfo", body);
        send(RequestId::GetUserInfo);
        reply("GetConfig", body);
        send(RequestId::GetConfig);
    }
    reply("GetAds", "[{\"img_key\":\"k\"}]");
    send(RequestId::GetAds);
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::AccountProblem), 0u);
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::AdsReply), 0u);
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::JsonError), 8u);
    EXPECT_TRUE(user->getUserId().empty());

    // Missing is a plain "no"; a number says what it says.
    reply("GetLoginStatus", R"({"open_key":"key-1"})");
    send(RequestId::GetLoginStatus);
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::LoggedOffElsewhere), 1u);
    Json::Value numeric(Json::objectValue);
    numeric["success"] = 1;
    EXPECT_TRUE(Action::replyFlag(numeric));
    EXPECT_FALSE(Action::replyFlag(Json::Value(Json::objectValue)));
    EXPECT_THROW(Action::replyFlag(Json::Value(true)), Json::Exception);

    // The window's reading of whole update replies never throws.
    EXPECT_TRUE(Action::replySucceeded(Json::Value(true)) == false);
    EXPECT_TRUE(Action::replySucceeded(numeric));
    Json::Value text(Json::objectValue);
    text["success"] = "true";
    EXPECT_FALSE(Action::replySucceeded(text));
}
