// The header's drop-down menu: which elements it shows for a logged-in user and for nobody,
// what each element does once the window gets WM_MENU_COMMAND, and the account and
// advertisement buttons of the header.

#include "gui/menu/DropMenu.h"
#include "core/actions/ActionPayloads.h"
#include "core/app/TextTable.h"
#include "core/message/WindowMessages.h"
#include "gui/UrlRecorder.h"
#include "gui/common/QtText.h"
#include "gui/mainwnd/MainWindowFixture.h"
#include "gui/menu/MenuCommandPayload.h"
#include "support/ServiceProcess.h"

#include <QUrlQuery>

using namespace WindowMessages;

namespace {

class DropMenuTest : public MainWindowFixture {
protected:
    // Logged in after the start-up's requests have ended: their offline failures are said to
    // nobody then, as nobody was logged in.
    void logIn()
    {
        Network::RequestRunner::instance().shutdown();
        Network::RequestRunner::instance().restart();
        pump();
        user->setOpenKey("ok-7f3a/+=");
        user->setUserId("42");
        user->setUserName("lumo");
    }
    // Clicks the header button and returns the menu it opened (null when none opened).
    DropMenu* clickForMenu(const char* button)
    {
        child<QAbstractButton>(button)->click();
        pumpUntil([&] { return window->dropMenu() && window->dropMenu()->isVisible(); });
        return window->dropMenu();
    }
    // Logs in, then off with the menu's element, and waits for the session to end.
    void logInAndOffThroughTheMenu()
    {
        logIn();
        DropMenu* menu = clickForMenu("dropbtn");
        ASSERT_NE(menu, nullptr);
        menu->element(QStringLiteral("BtnLogOff"))->trigger();
        menu->close();
        ASSERT_TRUE(pumpUntil([&] { return !user->isLoggedIn(); }));
        pump(100);
    }
    static QStringList shownElements(DropMenu* menu)
    {
        QStringList names;
        for (QAction* action : menu->actions()) {
            if (action->isVisible() && !action->isSeparator())
                names << action->objectName();
        }
        return names;
    }
    void command(const QString& name)
    {
        MessageSink::current().post(window->seamHandle(), WM_MENU_COMMAND, 0, std::make_unique<MenuCommandPayload>(name));
    }
};

} // namespace

TEST_F(DropMenuTest, LoggedOutTheMenuHidesLogOffAndTheAccountButtonDoesNotOpenIt)
{
    openWith({"", "https://maker.example/"});
    DropMenu* menu = clickForMenu("dropbtn");
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(shownElements(menu), (QStringList{QStringLiteral("BtnFeedback"), QStringLiteral("BtnAbout"),
                                                QStringLiteral("BtnUpdate"), QStringLiteral("exit")}));
    EXPECT_EQ(menu->element(QStringLiteral("exit"))->text(), QStringLiteral("退出程序"));
    EXPECT_EQ(menu->element(QStringLiteral("BtnFeedback"))->text(), QStringLiteral("意见反馈"));
    EXPECT_EQ(menu->element(QStringLiteral("BtnUpdate"))->text(), QStringLiteral("检查更新"));
    menu->close();
    ASSERT_TRUE(pumpUntil([&] { return window->dropMenu() == nullptr; }));

    // Nobody logged in: the account button goes to the login window, never to the menu.
    auto* closer = new QTimer(window.get());
    QObject::connect(closer, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    closer->start(20);
    child<QAbstractButton>("loginbtn")->click();
    pump(100);
    closer->stop();
    EXPECT_EQ(window->dropMenu(), nullptr);
}

TEST_F(DropMenuTest, LoggedInTheAccountButtonsOpenTheWholeMenu)
{
    openWith({});
    logIn();
    for (const char* button : {"loginbtn", "nickphotoopt", "dropbtn"}) {
        DropMenu* menu = clickForMenu(button);
        ASSERT_NE(menu, nullptr) << button;
        // No about page given: that element is left out.
        EXPECT_EQ(shownElements(menu), (QStringList{QStringLiteral("BtnFeedback"), QStringLiteral("BtnUpdate"),
                                                    QStringLiteral("BtnLogOff"), QStringLiteral("exit")}))
            << button;
        menu->close();
        ASSERT_TRUE(pumpUntil([&] { return window->dropMenu() == nullptr; }));
    }
}

TEST_F(DropMenuTest, LogOffEndsTheSessionWithoutAMessage)
{
    openWith({});
    ASSERT_NO_FATAL_FAILURE(logInAndOffThroughTheMenu());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(child<QAbstractButton>("loginbtn")->text(), QStringLiteral("请登录"));
    EXPECT_TRUE(user->getUserId().empty());
}

TEST_F(DropMenuTest, AfterLoggingOffInEnglishTheLoginButtonSpeaksEnglishAndFollowsTheLanguage)
{
    openWith({});
    window->onClick(QStringLiteral("switchlanbtn"));
    ASSERT_NO_FATAL_FAILURE(logInAndOffThroughTheMenu());
    EXPECT_EQ(child<QAbstractButton>("loginbtn")->text(), QStringLiteral("Log in"));
    window->onClick(QStringLiteral("switchlanbtn"));
    pump();
    EXPECT_EQ(child<QAbstractButton>("loginbtn")->text(), QStringLiteral("请登录"));
    // Logged off by the service (another login elsewhere) ends the same way.
    logIn();
    window->onClick(QStringLiteral("switchlanbtn"));
    MessageSink::current().post(window->seamHandle(), WindowMessages::WM_LOGGED_OFF, 0, nullptr);
    ASSERT_TRUE(pumpUntil([&] { return !user->isLoggedIn(); }));
    EXPECT_EQ(child<QAbstractButton>("loginbtn")->text(), QStringLiteral("Log in"));
}

TEST_F(DropMenuTest, PagesOpenFromTheMenuAndNamesAreMatchedWithoutCase)
{
    openWith({"https://maker.example/chat", "https://maker.example/product"});
    logIn();
    UrlRecorder urls;
    command(QStringLiteral("btnabout"));
    command(QStringLiteral("BTNCENTER"));
    command(QStringLiteral("BtnFixbug")); // no repair package on this system: nothing
    command(QStringLiteral("nonsense"));
    ASSERT_TRUE(pumpUntil([&] { return urls.opened.size() >= 2; }));
    pump(100);
    ASSERT_EQ(urls.opened.size(), 2u);
    EXPECT_EQ(urls.opened[0], QUrl(QStringLiteral("https://maker.example/product")));
    const QUrl centre = urls.opened[1];
    EXPECT_EQ(centre.path(), QStringLiteral("/api/user_login.html"));
    EXPECT_EQ(centre.host(), QStringLiteral("127.0.0.1"));
    // The key travels escaped and comes back whole.
    EXPECT_EQ(QUrlQuery(centre).queryItemValue(QStringLiteral("open_key"), QUrl::FullyDecoded),
              QStringLiteral("ok-7f3a/+="));
}

TEST_F(DropMenuTest, FeedbackOpensTheFeedbackWindow)
{
    openWith({});
    QString dialogName;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            dialogName = modal->objectName();
            modal->close();
        }
    });
    poll.start(20);
    DropMenu* menu = clickForMenu("dropbtn");
    ASSERT_NE(menu, nullptr);
    menu->element(QStringLiteral("BtnFeedback"))->trigger();
    menu->close();
    EXPECT_TRUE(pumpUntil([&] { return !dialogName.isEmpty(); }));
    poll.stop();
    EXPECT_EQ(dialogName, QStringLiteral("SuggestionWnd"));
}

TEST_F(DropMenuTest, UpdateAsksTheServiceAndExitEndsTheProgram)
{
    ServiceProcess service;
    openOnline(service.baseUrl());
    QString text;
    answerNextBox(QStringLiteral("BtnConfirm"), &text);
    DropMenu* menu = clickForMenu("dropbtn");
    ASSERT_NE(menu, nullptr);
    menu->element(QStringLiteral("BtnUpdate"))->trigger();
    menu->close();
    ASSERT_TRUE(pumpUntil([&] { return !text.isEmpty(); }));
    EXPECT_EQ(text, toQt(Glossary::text(31)));

    bool quit = false;
    QObject::connect(window.get(), &CMainWnd::quitRequested, [&] { quit = true; });
    menu = clickForMenu("dropbtn");
    ASSERT_NE(menu, nullptr);
    menu->element(QStringLiteral("exit"))->trigger();
    EXPECT_TRUE(pumpUntil([&] { return quit; }));
}

TEST_F(DropMenuTest, TheAdvertisementOpensItsLinkOnlyWhileAdvertisementsAreOnOffer)
{
    openWith({});
    UrlRecorder urls;
    auto* ads = child<QWidget>("adsbtn");
    ASSERT_NE(ads, nullptr);
    ads->setProperty("userdata", QStringLiteral("spring"));
    window->onClick(QStringLiteral("adsbtn"));
    pump(100);
    EXPECT_TRUE(urls.opened.empty());

    Json::Value list(Json::arrayValue);
    MessageSink::current().post(window->seamHandle(), WM_UI_NOTIFY, Notify::AdsReply,
                                std::make_unique<JsonPayload>(list));
    pump(100);
    window->onClick(QStringLiteral("adsbtn"));
    ASSERT_TRUE(pumpUntil([&] { return !urls.opened.empty(); }));
    EXPECT_EQ(QUrlQuery(urls.opened[0]).queryItemValue(QStringLiteral("img_key")), QStringLiteral("spring"));
    EXPECT_EQ(QUrlQuery(urls.opened[0]).queryItemValue(QStringLiteral("type")), QStringLiteral("GotoAds"));
}
