// The header's account button against the stand-in service: the user's name through language
// switches, the account menu behind it, and the invitation to log in after logging off.

#include "LoginFixture.h"

#include "gui/dialogs/ModalDriver.h"
#include "gui/mainwnd/CMainWnd.h"
#include "gui/menu/DropMenu.h"

#include <QToolButton>

class HeaderAccount : public LoginFixture {
protected:
    // Signs in through the account button with an SMS code; the name the header then shows.
    QString signIn(CMainWnd& window, const std::string& phone)
    {
        whenModal([&](QDialog* dialog) { signInWithSmsCode(dialog, phone); });
        window.onClick(QStringLiteral("loginbtn"));
        const QString name = QString::fromStdString(account("phone=" + phone)["username"].asString());
        EXPECT_FALSE(name.isEmpty());
        EXPECT_TRUE(pumpUntil([&] { return button(window)->text() == name; }));
        return name;
    }
    static QToolButton* button(CMainWnd& window) { return window.findChild<QToolButton*>(QStringLiteral("loginbtn")); }
    static void switchLanguage(CMainWnd& window)
    {
        window.onClick(QStringLiteral("switchlanbtn"));
        GuiWait::events(50);
    }
};

TEST_F(HeaderAccount, TheNameOutlivesLanguageSwitchesAndLoggingOffInvitesInTheCurrentLanguage)
{
    user->setSavePath((dir.path() / "out").string());
    CMainWnd window;
    window.initWindow();
    window.show();
    const QString name = signIn(window, "13366667777");

    switchLanguage(window); // English
    EXPECT_EQ(button(window)->text(), name);
    switchLanguage(window); // Chinese
    EXPECT_EQ(button(window)->text(), name);
    switchLanguage(window); // English
    EXPECT_EQ(button(window)->text(), name);

    // Still the account's button: it opens the account menu, not the login window.
    window.onClick(QStringLiteral("loginbtn"));
    DropMenu* menu = window.dropMenu();
    ASSERT_TRUE(menu);
    QAction* logOff = menu->element(QStringLiteral("BtnLogOff"));
    ASSERT_TRUE(logOff && logOff->isVisible());
    logOff->trigger();
    menu->close();
    ASSERT_TRUE(pumpUntil([&] { return !user->isLoggedIn(); }));
    GuiWait::events(50);
    EXPECT_EQ(button(window)->text(), QStringLiteral("Log in"));
    switchLanguage(window); // Chinese
    EXPECT_EQ(button(window)->text(), QStringLiteral("请登录"));
    window.shutdown();
}
