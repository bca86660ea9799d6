#include "ServiceFixture.h"

#include "core/actions/ActionPayloads.h"
#include "core/actions/LoginWndAction.h"
#include "core/common/Utils.h"
#include "core/message/WindowMessages.h"
#include "core/network/NotifyPayload.h"
#include "core/user/RequestId.h"

using namespace WindowMessages;

namespace {
constexpr WindowHandle kLogin = 7;
constexpr WindowHandle kOwner = 3;

std::intptr_t numberOf(const RecordedMessage& m)
{
    const auto* n = m.as<NotifyNumber>();
    return n ? n->value : 0;
}
} // namespace

class LoginAction : public ServiceFixture {
protected:
    std::shared_ptr<LoginWndAction> action = std::make_shared<LoginWndAction>(kLogin, kOwner);
    void send(int request)
    {
        user->SendRequest(request, action);
        waitForTransfers();
    }
    // Answers the next request of the type with body, sends request, and returns the window
    // notification that came of it (an empty record, and a failure, when none came).
    RecordedMessage notified(const std::string& type, const std::string& body, int request, std::intptr_t notify)
    {
        reply(type, body);
        send(request);
        RecordedMessage found;
        EXPECT_TRUE(sink->waitForMessage(WM_UI_NOTIFY, notify, &found)) << type;
        return found;
    }
    std::size_t toOwner(int message) const
    {
        std::size_t n = 0;
        for (const RecordedMessage& m : sink->messages())
            n += m.window == kOwner && m.message == message;
        return n;
    }
};

TEST_F(LoginAction, QrLinkIsDownloadedAndItsGuidKeptForPolling)
{
    reply("GetCode", R"({"success":true,"guid":"g-17","result":")" + http.base() + R"(/files/avatar.png"})");
    send(RequestId::GetCode);
    RecordedMessage link;
    ASSERT_TRUE(sink->waitForMessage(WM_UI_NOTIFY, LoginNotify::QrLink, &link));
    EXPECT_EQ(numberOf(link), 1);
    RecordedMessage picture;
    ASSERT_TRUE(sink->waitForMessage(WM_UI_NOTIFY, Notify::QrImage, &picture));
    const std::wstring path = picture.as<WidePathPayload>()->path;
    EXPECT_NE(path.find(L"korvex_qrpaycode_"), std::wstring::npos);
    EXPECT_EQ(readFile(Utils::toFsPath(path)), "PNGDATA");

    send(RequestId::Polling);
    const auto polls = requestsOfType("Polling");
    ASSERT_EQ(polls.size(), 1u);
    EXPECT_EQ(polls[0].find("guid")->second, "g-17");

    // Refused by the service: the window hears it with 0; a picture that cannot be fetched is a
    // network error, not a file.
    reply("GetCode", R"({"success":false})");
    send(RequestId::GetCode);
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, LoginNotify::QrLink), 2u);
    EXPECT_EQ(numberOf(sink->messages().back()), 0);
    user->SendRequestTo(RequestId::DownloadQrImage, action, Network::URL("http://127.0.0.1:1/qr.png"));
    waitForTransfers();
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::QrImage), 1u);
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::RequestError), 1u);
}

TEST_F(LoginAction, PollingWaitsComplainsOrSignsIn)
{
    reply("Polling", R"({"success":true,"result":{"status":"wait"}})");
    send(RequestId::Polling);
    EXPECT_TRUE(sink->messages().empty());

    reply("Polling", R"({"success":true,"result":{"status":"expired"}})");
    send(RequestId::Polling);
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, LoginNotify::PollingStatus), 1u);
    reply("Polling", R"({"success":false})");
    send(RequestId::Polling);
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, LoginNotify::PollingFailed), 1u);
    EXPECT_EQ(user->getUserId(), "");

    // Without a phone the window decides (binding page or close); with one the action closes it.
    reply("Polling", R"({"success":true,"result":{"status":"success","user_id":"41","open_key":"k41","phone":null}})");
    send(RequestId::Polling);
    EXPECT_EQ(user->getUserId(), "41");
    EXPECT_EQ(user->getOpenKey(), "k41");
    EXPECT_EQ(toOwner(WM_USER_REFRESH), 1u);
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, LoginNotify::SignedInNoPhone), 1u);
    EXPECT_EQ(sink->count(WM_STOP_TIMER, kQrTimer), 1u);
    EXPECT_EQ(sink->count(WM_CLOSE), 0u);

    reply("Polling", R"({"success":true,"result":{"status":"success","user_id":"42","open_key":"k42","phone":"13800000000"}})");
    send(RequestId::Polling);
    EXPECT_EQ(user->getUserId(), "42");
    EXPECT_EQ(toOwner(WM_USER_REFRESH), 2u);
    EXPECT_EQ(sink->count(WM_CLOSE), 1u);
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, LoginNotify::SignedInNoPhone), 1u);

    // A stored identity survives in the file.
    user->load();
    EXPECT_EQ(user->getValue("m_userid"), "42");
    EXPECT_EQ(user->getValue("m_openkey"), "k42");
}

TEST_F(LoginAction, CodeRequestsReportToTheirPage)
{
    action->setPage(kBindPhonePage);
    const RecordedMessage sent =
        notified("getMsm", R"({"success":true,"result":{"status":true}})", RequestId::GetSmsCode, LoginNotify::CodeSent);
    EXPECT_EQ(numberOf(sent), kBindPhonePage);
    EXPECT_EQ(sink->count(WM_CODE_COUNTDOWN, kBindPhonePage), 1u);

    action->setPage(kSmsLoginPage);
    reply("getMsm", R"({"success":true,"result":{"status":false,"error_msg":"太频繁"}})");
    send(RequestId::GetSmsCode);
    reply("getMsm", R"({"success":true,"result":{"status":false}})");
    send(RequestId::GetSmsCode);
    std::vector<std::wstring> refusals;
    for (const RecordedMessage& m : sink->messages())
        if (m.message == WM_UI_NOTIFY && m.wParam == LoginNotify::SendRefused) {
            EXPECT_EQ(m.as<CodeMessage>()->page, kSmsLoginPage);
            refusals.push_back(m.as<CodeMessage>()->message);
        }
    EXPECT_EQ(refusals, (std::vector<std::wstring>{L"太频繁", L"暂时无法获取验证码"}));

    reply("getMsm", R"({"success":false})");
    send(RequestId::GetSmsCode);
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, LoginNotify::SendFailed), 1u);
}

TEST_F(LoginAction, CodeChecksSignInOrSayWhyNot)
{
    action->setPage(kSmsLoginPage);
    const RecordedMessage refused = notified("checkCode", R"({"success":true,"result":{"status":false}})",
                                             RequestId::CheckSmsCodeLogin, LoginNotify::CheckRefused);
    EXPECT_EQ(refused.as<CodeMessage>()->message, L"验证验证码失败");

    action->setPage(kBindPhonePage);
    const RecordedMessage failed =
        notified("checkCode", R"({"success":false})", RequestId::CheckSmsCodeBind, LoginNotify::CheckFailed);
    EXPECT_EQ(numberOf(failed), kBindPhonePage);
    EXPECT_EQ(toOwner(WM_USER_REFRESH), 0u);

    reply("checkCode", R"({"success":true,"result":{"status":true,"user_id":"9","open_key":"o9"}})");
    send(RequestId::CheckSmsCodeBind);
    EXPECT_EQ(user->getUserId(), "9");
    EXPECT_EQ(user->getOpenKey(), "o9");
    EXPECT_EQ(toOwner(WM_USER_REFRESH), 1u);
    EXPECT_EQ(sink->count(WM_CLOSE), 1u);
}

TEST_F(LoginAction, EmailRepliesAndWrongShapes)
{
    reply("UserRegister", R"({"success":true,"check_mail":true,"result":{"status":true}})");
    send(RequestId::UserRegister);
    RecordedMessage signUp;
    ASSERT_TRUE(sink->waitForMessage(WM_UI_NOTIFY, LoginNotify::SignUpReply, &signUp));
    EXPECT_TRUE(signUp.as<JsonPayload>()->value["check_mail"].asBool());
    EXPECT_EQ(user->getUserId(), ""); // the window stores a sign-up

    reply("UserLogin", R"({"success":false})");
    send(RequestId::UserLogin);
    EXPECT_EQ(sink->messages().size(), 1u);
    reply("UserLogin", R"({"success":true,"result":{"status":false}})");
    send(RequestId::UserLogin);
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, LoginNotify::SignInRefused), 1u);

    // Not JSON, and JSON of the wrong shape: the window hears it, the QR countdown stops, the
    // account is untouched.
    user->setUserId("keep");
    reply("UserLogin", "<html>gateway</html>");
    send(RequestId::UserLogin);
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::ParseError), 1u);
    reply("UserLogin", R"({"success":true,"result":"text"})");
    send(RequestId::UserLogin);
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::JsonError), 1u);
    EXPECT_EQ(sink->count(WM_STOP_TIMER, kQrTimer), 2u);
    EXPECT_EQ(user->getUserId(), "keep");

    // A failed poll stops the countdown; other failed requests leave it running.
    Network::RequestRunner::instance().run(Network::URL("http://127.0.0.1:1/index.php"), action,
                                           RequestId::GetSmsCode, true);
    Network::RequestRunner::instance().run(Network::URL("http://127.0.0.1:1/index.php"), action,
                                           RequestId::Polling, true);
    waitForTransfers();
    EXPECT_EQ(sink->count(WM_UI_NOTIFY, Notify::RequestError), 2u);
    EXPECT_EQ(sink->count(WM_STOP_TIMER, kQrTimer), 3u);
}

TEST_F(LoginAction, RepliesAfterTheWindowClosedChangeNothing)
{
    reply("UserLogin", R"({"success":true,"result":{"status":true,"user_id":"5","open_key":"o5"}})");
    action->detach();
    send(RequestId::UserLogin);
    reply("GetCode", R"({"success":true,"guid":"g","result":")" + http.base() + R"(/files/avatar.png"})");
    send(RequestId::GetCode);
    waitForTransfers();
    EXPECT_EQ(user->getUserId(), "");
    EXPECT_TRUE(sink->messages().empty());
    EXPECT_EQ(user->getQrGuid(), "");
}
