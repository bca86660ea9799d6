// The notification-area icon of the main window: its menu and what each command does, and
// bringing the window back after "run in the background".

#include "gui/tray/TrayIcon.h"
#include "core/app/TextTable.h"
#include "core/message/WindowMessages.h"
#include "core/network/NotifyPayload.h"
#include "gui/UrlRecorder.h"
#include "gui/common/QtText.h"
#include "gui/mainwnd/MainWindowFixture.h"
#include "support/ServiceProcess.h"

#include <QMenu>

using namespace WindowMessages;

namespace {

class TrayIconTest : public MainWindowFixture {
protected:
    TrayIcon& tray() { return *window->trayIcon(); }
    QStringList visibleTexts()
    {
        QStringList texts;
        for (QAction* action : tray().menu().actions()) {
            if (action->isVisible())
                texts << action->text();
        }
        return texts;
    }
    // A mouse action on the icon.
    void trayMouse(TrayIcon::Mouse mouse) { tray().onMouse(mouse); }
};

} // namespace

TEST_F(TrayIconTest, IconAndMenuFollowTheLanguageAndTheMakersPages)
{
    openWith({"https://maker.example/chat", "https://maker.example/"});
    ASSERT_NE(window->trayIcon(), nullptr);
    EXPECT_FALSE(tray().icon().icon().isNull());
    EXPECT_TRUE(tray().icon().isVisible());
    EXPECT_EQ(tray().icon().toolTip(), toQt(Glossary::text(1)));
    EXPECT_EQ(tray().icon().contextMenu(), &tray().menu());
    EXPECT_EQ(visibleTexts(), (QStringList{QStringLiteral("软件更新"), QStringLiteral("在线帮助"), QStringLiteral("关于我们"),
                                           QStringLiteral("问题反馈"), QStringLiteral("退出程序")}));
    window->onClick(QStringLiteral("switchlanbtn"));
    EXPECT_EQ(visibleTexts(), (QStringList{QStringLiteral("Software Update"), QStringLiteral("Online Help"),
                                           QStringLiteral("About Us"), QStringLiteral("Feedback"),
                                           QStringLiteral("Exit Process")}));
    EXPECT_EQ(tray().icon().toolTip(), QStringLiteral("Korvex PPT to PDF"));

    // Help and about both open the maker's help page.
    UrlRecorder urls;
    tray().action(TrayIcon::Help)->trigger();
    tray().action(TrayIcon::About)->trigger();
    ASSERT_EQ(urls.opened.size(), 2u);
    EXPECT_EQ(urls.opened[0], QUrl(QStringLiteral("https://maker.example/chat")));
    EXPECT_EQ(urls.opened[1], QUrl(QStringLiteral("https://maker.example/chat")));
}

TEST_F(TrayIconTest, WithoutAHelpPageHelpAndAboutAreLeftOut)
{
    openWith({});
    EXPECT_EQ(visibleTexts(),
              (QStringList{QStringLiteral("软件更新"), QStringLiteral("问题反馈"), QStringLiteral("退出程序")}));
    UrlRecorder urls;
    tray().runCommand(TrayIcon::Help);
    EXPECT_TRUE(urls.opened.empty());
}

TEST_F(TrayIconTest, SoftwareUpdateAsksTheServiceAndTellsTheAnswer)
{
    ServiceProcess service;
    // The silent update check of the start-up shows nothing when there is no update.
    openOnline(service.baseUrl());
    QString text;
    answerNextBox(QStringLiteral("BtnConfirm"), &text);
    tray().action(TrayIcon::Update)->trigger();
    ASSERT_TRUE(pumpUntil([&] { return !text.isEmpty(); }));
    EXPECT_EQ(text, toQt(Glossary::text(31)));
}

TEST_F(TrayIconTest, RunInTheBackgroundThenADoubleClickBringsTheWindowBack)
{
    openWith({});
    closeToTheBackground();

    trayMouse(TrayIcon::Mouse::DoubleClick);
    ASSERT_TRUE(pumpUntil([&] { return window->isVisible() && !window->isMinimized(); }));

    // The same through the icon's own signal, from a hidden window; a right-button press opens
    // the menu and other mouse actions do nothing.
    window->hide();
    emit tray().icon().activated(QSystemTrayIcon::DoubleClick);
    ASSERT_TRUE(pumpUntil([&] { return window->isVisible(); }));
    window->hide();
    trayMouse(TrayIcon::Mouse::Other); // a move, a left button up
    emit tray().icon().activated(QSystemTrayIcon::MiddleClick);
    pump(100);
    EXPECT_FALSE(window->isVisible());
    trayMouse(TrayIcon::Mouse::RightButton);
    ASSERT_TRUE(pumpUntil([&] { return tray().menu().isVisible(); }));
    tray().menu().close();
}

TEST_F(TrayIconTest, FeedbackShowsTheWindowFirstAndExitEndsTheProgram)
{
    openWith({});
    bool quit = false;
    QObject::connect(window.get(), &CMainWnd::quitRequested, [&] { quit = true; });
    window->hide();
    // The main window is back before the feedback window opens.
    QString dialogName;
    bool shownBeforeDialog = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            dialogName = modal->objectName();
            shownBeforeDialog = window->isVisible();
            modal->close();
        }
    });
    poll.start(20);
    tray().action(TrayIcon::Feedback)->trigger();
    poll.stop();
    EXPECT_EQ(dialogName, QStringLiteral("SuggestionWnd"));
    EXPECT_TRUE(shownBeforeDialog);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(quit);

    window->hide();
    tray().action(TrayIcon::Exit)->trigger();
    EXPECT_TRUE(pumpUntil([&] { return quit; }));
}
