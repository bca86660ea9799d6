#include "core/actions/Action.h"
#include "core/actions/ActionPayloads.h"
#include "core/common/Diagnostics.h"
#include "core/common/Utils.h"
#include "core/message/WindowMessages.h"
#include "core/network/RequestRunner.h"
#include "support/RecordingSink.h"
#include "support/ServiceProcess.h"
#include "support/TempDir.h"
#include "core/user/RequestId.h"
#include "core/user/User.h"

#include <httplib.h>
#include <json/json.h>

#include <gtest/gtest.h>

#include <mutex>

using namespace WindowMessages;

namespace {

constexpr WindowHandle kWindow = 9;

// Keeps the JSON replies of requests whose actions live in windows not built here.
class ReplyRecorder : public CommonWndUserAction {
public:
    ReplyRecorder() : CommonWndUserAction(kWindow) {}
    void OnJsonReply(const Json::Value& root, int request) override
    {
        std::lock_guard lock(mutex);
        replies[request] = root;
    }
    Json::Value reply(int request)
    {
        std::lock_guard lock(mutex);
        return replies[request];
    }
    std::mutex mutex;
    std::map<int, Json::Value> replies;
};

Json::Value getJson(const ServiceProcess& service, const std::string& path)
{
    httplib::Client client(service.host(), service.port());
    const auto result = client.Get(path.c_str());
    Json::Value root;
    if (result)
        Json::Reader().parse(result->body, root);
    return root;
}

void postControl(const ServiceProcess& service, const std::string& path)
{
    httplib::Client client(service.host(), service.port());
    client.Post(path.c_str());
}

} // namespace

TEST(ServiceClient, SignInFetchesTheAccountAndReportsReachTheService)
{
    ServiceProcess service;
    TempDir dir;
    ScopedRecordingSink sink;
    User user(dir.wide("config"), service.baseUrl());
    auto& runner = Network::RequestRunner::instance();
    const auto action = std::make_shared<Action>(kWindow);
    const auto recorder = std::make_shared<ReplyRecorder>();

    user.SendRequest(RequestId::GetConfig, action);
    runner.waitForAll();
    EXPECT_EQ(user.getWebBase(), service.baseUrl() + "/");

    // SMS sign-in: the code goes to the phone (here: the control endpoint) and back.
    user.setPhone("13800138000");
    user.SendRequest(RequestId::GetSmsCode, recorder);
    runner.waitForAll();
    const std::string code = getJson(service, "/control/sms?phone=13800138000")["code"].asString();
    ASSERT_FALSE(code.empty());
    user.setVerifyCode(code);
    user.SendRequest(RequestId::CheckSmsCodeLogin, recorder);
    runner.waitForAll();
    const Json::Value signedIn = recorder->reply(RequestId::CheckSmsCodeLogin);
    ASSERT_TRUE(signedIn["result"]["status"].asBool()) << signedIn.toStyledString();
    user.setUserId(signedIn["result"]["user_id"].asString());

    // The main window's action stores the account and fetches the avatar.
    user.SendRequest(RequestId::GetUserInfo, action);
    RecordedMessage avatar;
    ASSERT_TRUE(sink->waitForMessage(WM_UI_NOTIFY, Notify::AvatarReady, &avatar));
    runner.waitForAll();
    EXPECT_EQ(user.getOpenKey(), signedIn["result"]["open_key"].asString());
    EXPECT_EQ(readFile(Utils::toFsPath(avatar.as<WidePathPayload>()->path)).substr(1, 3), "PNG");
    EXPECT_TRUE(sink->waitForMessage(WM_START_TIMER, kLoginStatusTimer));

    // The login status check finds the same key: nothing to say.
    user.SendRequest(RequestId::GetLoginStatus, action);
    runner.waitForAll();
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::LoggedOffElsewhere), 0u);

    Diagnostics::instance().reportError(L"createDeepDirectory", L"/no such/place", "..\\..\\include\\common\\Utils", L"129");
    runner.waitForAll();
    const Json::Value reports = getJson(service, "/control/error-reports")["result"];
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0]["reason"].asString(), "createDeepDirectory||/no such/place||..\\..\\include\\common\\Utils||129");
    runner.shutdown();
    runner.restart();
}

TEST(ServiceClient, AnOfferedUpdateReachesTheWindowWithItsDigest)
{
    ServiceProcess service;
    TempDir dir;
    ScopedRecordingSink sink;
    User user(dir.wide("config"), service.baseUrl());
    postControl(service, "/control/update?version=99.0.0.0&msg=new");
    user.SendRequest(RequestId::Upgrade, std::make_shared<Action>(kWindow));
    RecordedMessage offer;
    ASSERT_TRUE(sink->waitForMessage(WM_UI_NOTIFY, Notify::UpgradeReply, &offer));
    const UpgradeInfo* info = offer.as<UpgradeInfo>();
    EXPECT_TRUE(info->reply["success"].asBool());
    EXPECT_FALSE(info->silent);
    EXPECT_EQ(info->reply["sha256"].asString().size(), 64u);
    EXPECT_FALSE(info->reply["url"].asString().empty());
    Network::RequestRunner::instance().shutdown();
    Network::RequestRunner::instance().restart();
}
