#include "LoginFixture.h"

#include "core/message/WindowMessages.h"

#include <QPixmap>

using namespace WindowMessages;

namespace {
const QString kExpired = QStringLiteral("<c #e62c2c>二维码已过期</c>");
const QString kCountdown = QStringLiteral("请微信扫码登陆，二维码有效期还剩<c #e62c2c>");
} // namespace

class QrLogin : public LoginFixture {};

TEST_F(QrLogin, ChineseLayoutShowsTheQrPageAndScanningSignsIn)
{
    open();
    EXPECT_EQ(login->size(), LoginWnd::kSize);
    EXPECT_TRUE(child<QWidget>("chinese_logwaytab")->isVisible());
    EXPECT_FALSE(child<QWidget>("offshore_logwaytab")->isVisible());
    EXPECT_TRUE(child<QWidget>("BtnRefresh")->isVisible());
    EXPECT_EQ(child<QAbstractButton>("tabopt1")->text(), QStringLiteral("微信扫码登陆"));
    EXPECT_EQ(child<QAbstractButton>("tabopt2")->text(), QStringLiteral("手机验证码登陆"));
    EXPECT_EQ(child<QLabel>("titlelbl")->text(), QStringLiteral("登陆Tavrin分割合并(Lumo专版)"));

    // The picture arrives and the countdown runs; polling goes on while nobody scans.
    ASSERT_TRUE(pumpUntil([&] { return markup("qrcodepromptlbl").startsWith(kCountdown); }));
    EXPECT_FALSE(child<QLabel>("qrcodepng")->pixmap().isNull());
    EXPECT_TRUE(login->isTimerActive(kQrTimer));
    const std::string guid = user->getQrGuid();
    ASSERT_FALSE(guid.empty());

    const Json::Value scanned = control("POST", "/control/qr/scan?guid=" + guid + "&phone=13911112222");
    ASSERT_TRUE(scanned["success"].asBool());
    ASSERT_TRUE(pumpUntil([&] { return closed(); }));
    EXPECT_EQ(login->result(), 1);
    EXPECT_FALSE(login->isTimerActive(kQrTimer));
    ASSERT_TRUE(pumpUntil([&] { return owner.received[WM_USER_REFRESH] == 1; }));

    const Json::Value holder = account("phone=13911112222");
    EXPECT_EQ(storedIdentity(), std::make_pair(holder["uid"].asString(), holder["open_key"].asString()));
    EXPECT_FALSE(holder["open_key"].asString().empty());
}

TEST_F(QrLogin, AnUnscannedCodeExpiresUnderTheVeilAndRefreshFetchesANewOne)
{
    open(10); // a short second, so the minute passes quickly
    auto* refresh = child<QAbstractButton>("refreshbtn");
    auto* picture = child<QLabel>("qrcodepng");
    ASSERT_TRUE(waitForMarkup("qrcodepromptlbl", kExpired));
    EXPECT_TRUE(refresh->isVisible());
    EXPECT_FALSE(login->isTimerActive(kQrTimer));
    EXPECT_EQ(picture->property("forecolor").toString(), QStringLiteral("#33939393"));
    EXPECT_FALSE(picture->pixmap().isNull()); // still shown, under the veil
    const std::string first = user->getQrGuid();

    refresh->click();
    EXPECT_FALSE(refresh->isVisible());
    EXPECT_EQ(markup("qrcodepromptlbl"), QStringLiteral("<c #e62c2c>正在获取二维码链接。</c>"));
    ASSERT_TRUE(pumpUntil([&] { return user->getQrGuid() != first && login->isTimerActive(kQrTimer); }));
    EXPECT_EQ(picture->property("forecolor").toString(), QStringLiteral("#00939393"));

    // Closing stops the countdown; a scan afterwards signs nobody in.
    const std::string second = user->getQrGuid();
    click("closebtn");
    EXPECT_TRUE(closed());
    EXPECT_EQ(login->result(), 1);
    EXPECT_FALSE(login->isTimerActive(kQrTimer));
    control("POST", "/control/qr/scan?guid=" + second);
    pumpUntil([&] { return false; }, 300);
    EXPECT_EQ(storedIdentity().first, "");
    EXPECT_EQ(owner.received[WM_USER_REFRESH], 0);
}

TEST_F(QrLogin, AnAccountWithoutPhoneGoesThroughTheBindingPage)
{
    user->setBindPhone(true);
    open();
    ASSERT_TRUE(pumpUntil([&] { return login->isTimerActive(kQrTimer); }));
    const Json::Value scanned = control("POST", "/control/qr/scan?guid=" + user->getQrGuid());
    const std::string userId = scanned["user_id"].asString();
    ASSERT_FALSE(userId.empty());

    auto* pages = child<QStackedWidget>("chinese_logwaytab");
    ASSERT_TRUE(pumpUntil([&] { return pages->currentIndex() == kBindPhonePage; }));
    EXPECT_FALSE(closed());
    EXPECT_FALSE(login->isTimerActive(kQrTimer));
    EXPECT_EQ(storedIdentity().first, userId); // signed in already; binding may be skipped
    EXPECT_EQ(owner.received[WM_USER_REFRESH], 1);

    const std::string phone = "13722223333";
    type("phonenumberedit", QString::fromStdString(phone));
    click("sendmsgcodebtn");
    ASSERT_TRUE(waitForMarkup("bindphonepromptlbl",
                              QStringLiteral("<c #e62c2c>请求验证码成功，请稍后在手机查看验证码。</c>")));
    const std::string code = smsCode(phone);
    ASSERT_EQ(code.size(), 4u);
    type("msgcodeedit", QString::fromStdString(code)); // the fourth digit confirms by itself
    ASSERT_TRUE(pumpUntil([&] { return closed(); }));
    EXPECT_EQ(account("phone=" + phone)["uid"].asString(), userId);
    EXPECT_EQ(storedIdentity().first, userId);
    EXPECT_EQ(owner.received[WM_USER_REFRESH], 2);
}

TEST_F(QrLogin, TheBindingPageCanBeSkippedAndWithoutBindingTheDialogJustCloses)
{
    user->setBindPhone(true);
    open();
    ASSERT_TRUE(pumpUntil([&] { return login->isTimerActive(kQrTimer); }));
    control("POST", "/control/qr/scan?guid=" + user->getQrGuid());
    ASSERT_TRUE(pumpUntil([&] { return child<QStackedWidget>("chinese_logwaytab")->currentIndex() == kBindPhonePage; }));
    click("jumpbtn");
    EXPECT_TRUE(closed());
    EXPECT_EQ(login->result(), 1);
    EXPECT_FALSE(storedIdentity().first.empty());

    user->setBindPhone(false);
    open();
    ASSERT_TRUE(pumpUntil([&] { return login->isTimerActive(kQrTimer); }));
    control("POST", "/control/qr/scan?guid=" + user->getQrGuid());
    ASSERT_TRUE(pumpUntil([&] { return closed(); }));
    EXPECT_EQ(login->result(), 1);
}
