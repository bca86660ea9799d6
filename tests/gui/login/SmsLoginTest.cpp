#include "LoginFixture.h"

#include "message/WindowMessages.h"

using namespace WindowMessages;

namespace {
QString red(const QString& text)
{
    return QStringLiteral("<c #e62c2c>") + text + QStringLiteral("</c>");
}
} // namespace

class SmsLogin : public LoginFixture {};

TEST(LoginValidation, PhoneNumbersAndCodes)
{
    EXPECT_TRUE(LoginWnd::validPhone(QStringLiteral("13912345678")));
    EXPECT_TRUE(LoginWnd::validPhone(QStringLiteral("19912345678")));
    EXPECT_FALSE(LoginWnd::validPhone(QStringLiteral("12912345678")));
    EXPECT_FALSE(LoginWnd::validPhone(QStringLiteral("1391234567")));
    EXPECT_FALSE(LoginWnd::validPhone(QStringLiteral("139123456789")));
    EXPECT_FALSE(LoginWnd::validPhone(QStringLiteral("1391234567a")));
    EXPECT_TRUE(LoginWnd::validCode(QStringLiteral("0123")));
    EXPECT_FALSE(LoginWnd::validCode(QStringLiteral("123")));
}

TEST_F(SmsLogin, CodeFromTheServiceSignsInAfterAWrongOne)
{
    open();
    click("tabopt2");
    EXPECT_EQ(child<QStackedWidget>("chinese_logwaytab")->currentIndex(), kSmsLoginPage);
    auto* send = child<QAbstractButton>("sendmsgcodebtn1");
    EXPECT_EQ(send->text(), QStringLiteral("发送验证码"));

    type("phonenumberedit1", QStringLiteral("12912345678"));
    click("sendmsgcodebtn1");
    EXPECT_EQ(markup("smsloginpromptlbl"), red(QStringLiteral("请填写正确的手机号")));
    EXPECT_TRUE(send->isEnabled());

    const std::string phone = "13812345678";
    type("phonenumberedit1", QString::fromStdString(phone));
    type("msgcodeedit1", QStringLiteral("123"));
    click("okbtn1");
    EXPECT_EQ(markup("smsloginpromptlbl"), red(QStringLiteral("请填写正确的手机号和验证码")));

    click("sendmsgcodebtn1");
    EXPECT_FALSE(send->isEnabled());
    ASSERT_TRUE(waitForMarkup("smsloginpromptlbl", red(QStringLiteral("请求验证码成功，请稍后在手机查看验证码。"))));
    // The resend countdown holds the button.
    ASSERT_TRUE(pumpUntil([&] { return send->property("markup").toString().startsWith(QStringLiteral("<c #9d9d9d>重新发送(")); }));
    EXPECT_FALSE(send->isEnabled());
    EXPECT_TRUE(login->isTimerActive(kSmsResendTimer));

    const std::string code = smsCode(phone);
    ASSERT_EQ(code.size(), 4u);
    const std::string wrong = code == "0000" ? "1111" : "0000";
    type("msgcodeedit1", QString::fromStdString(wrong)); // four digits confirm by themselves
    ASSERT_TRUE(waitForMarkup("smsloginpromptlbl", red(QStringLiteral("验证码错误"))));
    EXPECT_FALSE(closed());

    type("msgcodeedit1", QString::fromStdString(code));
    ASSERT_TRUE(pumpUntil([&] { return closed(); }));
    EXPECT_FALSE(login->isTimerActive(kSmsResendTimer));
    EXPECT_FALSE(login->isTimerActive(kQrTimer));
    ASSERT_TRUE(pumpUntil([&] { return owner.received[WM_USER_REFRESH] == 1; }));
    const Json::Value holder = account("phone=" + phone);
    EXPECT_EQ(storedIdentity(), std::make_pair(holder["uid"].asString(), holder["open_key"].asString()));
}

TEST_F(SmsLogin, ResendWaitsAlternateShortAndLong)
{
    open(10);
    click("tabopt2");
    auto* send = child<QAbstractButton>("sendmsgcodebtn1");
    type("phonenumberedit1", QStringLiteral("13600001111"));
    std::vector<int> waits;
    for (int round = 0; round < 2; ++round) {
        send->click();
        // The seconds first shown tell the wait: below 60 of the short one, above of the long.
        ASSERT_TRUE(pumpUntil([&] { return send->property("markup").toString().startsWith(QStringLiteral("<c #9d9d9d>")); }));
        const QString text = send->property("markup").toString();
        const int shown = text.mid(text.indexOf(QLatin1Char('(')) + 1).section(QLatin1Char(')'), 0, 0).toInt();
        waits.push_back(shown >= 60 ? 120 : 60);
        ASSERT_TRUE(pumpUntil([&] { return send->isEnabled(); }));
        EXPECT_EQ(send->property("markup").toString(), QStringLiteral("<a><c #2a5acd>重新发送</c></a>"));
        EXPECT_EQ(send->text(), QStringLiteral("重新发送"));
    }
    ASSERT_EQ(waits.size(), 2u);
    EXPECT_TRUE((waits == std::vector<int>{60, 120}) || (waits == std::vector<int>{120, 60}))
        << waits[0] << " " << waits[1];
}

TEST_F(SmsLogin, RefusalsMalformedRepliesAndAStoppedServiceShowTheirTexts)
{
    open();
    ASSERT_TRUE(pumpUntil([&] { return login->isTimerActive(kQrTimer); }));
    click("tabopt2");
    auto* send = child<QAbstractButton>("sendmsgcodebtn1");
    const QString networkError = red(QStringLiteral("网络出错。请检查网络。"));

    // A reply that is not JSON: the network text, and the button comes back for another try.
    control("POST", "/control/fault?kind=malformed&type=getMsm");
    type("phonenumberedit1", QStringLiteral("13500002222"));
    send->click();
    ASSERT_TRUE(waitForMarkup("smsloginpromptlbl", networkError));
    EXPECT_TRUE(send->isEnabled());
    EXPECT_EQ(markup("qrcodepromptlbl"), networkError);

    // A checked code for a phone nobody sent one to is refused with the service's words.
    type("msgcodeedit1", QStringLiteral("4321"));
    ASSERT_TRUE(waitForMarkup("smsloginpromptlbl", red(QStringLiteral("验证码错误"))));

    service.stop();
    send->click();
    ASSERT_TRUE(waitForMarkup("smsloginpromptlbl", networkError));
    EXPECT_EQ(markup("bindphonepromptlbl"), networkError);
    EXPECT_TRUE(send->isEnabled());
    EXPECT_FALSE(closed());
    EXPECT_EQ(storedIdentity().first, "");
}

TEST_F(SmsLogin, AStoppedServiceLeavesTheQrPageWithTheNetworkText)
{
    service.stop();
    open();
    ASSERT_TRUE(waitForMarkup("qrcodepromptlbl", red(QStringLiteral("网络出错。请检查网络。"))));
    EXPECT_FALSE(login->isTimerActive(kQrTimer));
    click("BtnRefresh");
    EXPECT_EQ(markup("qrcodepromptlbl"), red(QStringLiteral("正在获取二维码链接。")));
    ASSERT_TRUE(waitForMarkup("qrcodepromptlbl", red(QStringLiteral("网络出错。请检查网络。"))));
}
