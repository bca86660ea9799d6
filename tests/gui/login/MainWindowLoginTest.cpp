#include "LoginFixture.h"

#include "core/message/WindowMessages.h"
#include "gui/dialogs/ModalDriver.h"
#include "gui/mainwnd/CMainWnd.h"

#include <QToolButton>

class MainWindowLogin : public LoginFixture {};

// The header's account button opens the login window while nobody is logged in; a sign-in
// reaches the main window, which fetches the account and shows its name.
TEST_F(MainWindowLogin, AccountButtonSignsInAndTheHeaderShowsTheUser)
{
    user->setSavePath((dir.path() / "out").string());
    CMainWnd window;
    window.initWindow();
    window.show();
    const std::string phone = "13344445555";
    bool sawLogin = false;
    whenModal([&](QDialog* dialog) {
        auto* login = qobject_cast<LoginWnd*>(dialog);
        ASSERT_TRUE(login);
        sawLogin = true;
        // Layout texts follow the main window's language.
        EXPECT_EQ(login->findChild<QLabel*>(QStringLiteral("qrcodehintlbl"))->text(),
                  QStringLiteral("打开手机微信，扫描二维码登录"));
        signInWithSmsCode(login, phone);
    });
    window.onClick(QStringLiteral("loginbtn"));
    EXPECT_TRUE(sawLogin);

    const Json::Value holder = account("phone=" + phone);
    const QString name = QString::fromStdString(holder["username"].asString());
    auto* button = window.findChild<QToolButton*>(QStringLiteral("loginbtn"));
    ASSERT_TRUE(button);
    ASSERT_TRUE(pumpUntil([&] { return button->text() == name && !name.isEmpty(); }));
    EXPECT_TRUE(user->isLoggedIn());
    EXPECT_EQ(user->getUserId(), holder["uid"].asString());
    EXPECT_EQ(storedIdentity().second, holder["open_key"].asString());
    window.shutdown();
}

TEST_F(MainWindowLogin, TheAvatarButtonAlsoOpensItAndClosingSignsNobodyIn)
{
    CMainWnd window;
    window.initWindow();
    window.show();
    bool sawLogin = false;
    whenModal([&](QDialog* dialog) {
        auto* login = qobject_cast<LoginWnd*>(dialog);
        ASSERT_TRUE(login);
        sawLogin = true;
        ASSERT_TRUE(pumpUntil([&] { return login->isTimerActive(WindowMessages::kQrTimer); }));
        login->findChild<QAbstractButton*>(QStringLiteral("closebtn"))->click();
        EXPECT_FALSE(login->isTimerActive(WindowMessages::kQrTimer));
    });
    window.onClick(QStringLiteral("nickphotoopt"));
    EXPECT_TRUE(sawLogin);
    EXPECT_FALSE(user->isLoggedIn());
    window.shutdown();
}
