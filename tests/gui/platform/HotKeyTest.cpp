// The screenshot hot key on a real X server: Alt + the letter typed into the screenshot pane
// runs the screenshot program and leaves its picture in the output folder; a key another client
// holds is refused with the message; the program's wait is bounded.

#include "core/actions/ActionPayloads.h"
#include "core/app/TextTable.h"
#include "core/message/WindowMessages.h"
#include "gui/GuiWait.h"
#include "gui/capture/ScreenshotHotKey.h"
#include "gui/common/QtText.h"
#include "gui/history/HistoryRowWidget.h"
#include "gui/mainwnd/MainWindowFixture.h"
#include "gui/platform/GlobalHotKey.h"

#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QScreen>
#include <QStackedWidget>

#include <xcb/xcb.h>

#include <fstream>

namespace {

class HotKeyTest : public MainWindowFixture {
protected:
    QDir output() const { return QDir(QString::fromStdString((dir.path() / "out").string())); }
    QStringList pictures() const
    {
        return output().entryList({QStringLiteral("ScreenShot_*.bmp")}, QDir::Files);
    }
    // Opens the screenshot pane and sets the key the way a user does: box first, then letter.
    void setKey(bool enabled, const QString& letter)
    {
        child<QAbstractButton>("capturescropt")->click();
        child<QCheckBox>("checkhotkeybtn")->setChecked(enabled);
        child<QLineEdit>("hotkeyedit")->setText(letter);
    }
    static void press(const char* keys)
    {
        const char* xdotool = std::getenv("KORVEX_XDOTOOL");
        ASSERT_EQ(QProcess::execute(QString::fromLatin1(xdotool ? xdotool : "xdotool"),
                                    {QStringLiteral("key"), QString::fromLatin1(keys)}),
                  0);
    }
    static bool waitFor(const std::function<bool()>& done)
    {
        return GuiWait::until(done, 60000);
    }
};

// Another X client that holds every Alt combination on the root window.
class OtherClientGrab {
public:
    OtherClientGrab()
    {
        m_connection = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_connection))
            return;
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const auto cookie = xcb_grab_key_checked(m_connection, 0, root, XCB_MOD_MASK_1, XCB_GRAB_ANY,
                                                 XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        xcb_generic_error_t* error = xcb_request_check(m_connection, cookie);
        m_ok = error == nullptr;
        std::free(error);
    }
    ~OtherClientGrab() { xcb_disconnect(m_connection); }
    bool ok() const { return m_ok; }

private:
    xcb_connection_t* m_connection = nullptr;
    bool m_ok = false;
};

} // namespace

TEST_F(HotKeyTest, AltAndTheLetterLeavesAScreenshotInTheOutputFolderEveryTime)
{
    open();
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    // Nothing is registered at start-up; the pane starts empty and cleared.
    EXPECT_FALSE(window->screenshot().isRegistered());
    EXPECT_TRUE(child<QLineEdit>("hotkeyedit")->text().isEmpty());
    EXPECT_FALSE(child<QCheckBox>("checkhotkeybtn")->isChecked());

    setKey(true, QStringLiteral("X"));
    EXPECT_EQ(child<QStackedWidget>("switchpane")->currentWidget()->objectName(), QStringLiteral("captureLayout"));
    ASSERT_TRUE(window->screenshot().isRegistered());
    EXPECT_EQ(user->getHotkeyValue(), "X");
    EXPECT_TRUE(user->getHotkeyStatus());

    // Another window has the focus: the key is caught all the same.
    QWidget other;
    other.resize(200, 100);
    other.show();
    other.activateWindow();
    pump(100);

    press("alt+x");
    ASSERT_TRUE(waitFor([&] { return !pictures().isEmpty(); }));
    const QString first = pictures().front();
    EXPECT_TRUE(first.contains(QStringLiteral("分")) && first.endsWith(QStringLiteral("秒.bmp"))) << first.toStdString();
    const QImage picture(output().filePath(first));
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QGuiApplication::primaryScreen()->size());
    ASSERT_TRUE(waitFor([&] { return window->screenshot().isRegistered(); }));
    EXPECT_FALSE(ScreenshotHotKey::screenshotRunning());

    // A second time works as well.
    ASSERT_TRUE(QFile::remove(output().filePath(first)));
    press("alt+x");
    ASSERT_TRUE(waitFor([&] { return !pictures().isEmpty(); }));
    EXPECT_FALSE(QImage(output().filePath(pictures().front())).isNull());
}

TEST_F(HotKeyTest, AKeyAnotherProgramHoldsIsRefusedWithTheMessage)
{
    open();
    OtherClientGrab other;
    ASSERT_TRUE(other.ok());
    QString text;
    answerNextBox(QStringLiteral("BtnConfirm"), &text);
    setKey(true, QStringLiteral("q"));
    EXPECT_EQ(text, QStringLiteral("注册快捷键失败"));
    EXPECT_FALSE(window->screenshot().isRegistered());
    EXPECT_FALSE(child<QCheckBox>("checkhotkeybtn")->isChecked());
    // The configuration keeps what the user set.
    EXPECT_EQ(user->getHotkeyValue(), "q");
    EXPECT_TRUE(user->getHotkeyStatus());
}

TEST_F(HotKeyTest, SwitchedOffOrEmptiedTheKeyIsReleasedQuietly)
{
    open();
    setKey(false, QStringLiteral("x"));
    EXPECT_FALSE(window->screenshot().isRegistered());
    EXPECT_FALSE(user->getHotkeyStatus());
    setKey(true, QStringLiteral("y"));
    ASSERT_TRUE(window->screenshot().isRegistered());

    child<QLineEdit>("hotkeyedit")->clear();
    EXPECT_FALSE(child<QCheckBox>("checkhotkeybtn")->isChecked());
    EXPECT_FALSE(window->screenshot().isRegistered());
    EXPECT_FALSE(user->getHotkeyStatus());
    pump(100);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    // A key with no key code (a digit becomes a code no keyboard has) is refused, in English too.
    window->onClick(QStringLiteral("switchlanbtn"));
    QString text;
    answerNextBox(QStringLiteral("BtnConfirm"), &text);
    setKey(true, QStringLiteral("5"));
    EXPECT_EQ(text, QStringLiteral("Fail To Register Hot Key"));
    EXPECT_FALSE(window->screenshot().isRegistered());
}

TEST_F(HotKeyTest, AScreenshotProgramThatNeverEndsIsGivenUpAndTheWindowKeepsWorking)
{
    open();
    const std::filesystem::path script = dir.path() / "stuck.sh";
    {
        std::ofstream out(script);
        out << "#!/bin/sh\necho $$ > \"" << (dir.path() / "stuck.pid").string() << "\"\nexec sleep 600\n";
    }
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
    window->screenshot().setProgram(QString::fromStdString(script.string()));
    window->screenshot().setTimeLimit(1500);

    // A message that arrives while the program runs is handled during the wait.
    const std::wstring earlier = dir.wide("earlier.pdf");
    std::ofstream(dir.path() / "earlier.pdf") << "%PDF-1.4\n";
    MessageSink::current().post(window->seamHandle(), WindowMessages::WM_UI_NOTIFY, 29,
                                std::make_unique<WidePathPayload>(earlier));
    window->screenshot().takeScreenshot();
    EXPECT_FALSE(ScreenshotHotKey::screenshotRunning());
    EXPECT_TRUE(pictures().isEmpty());
    EXPECT_FALSE(window->findChildren<HistoryRowWidget*>().isEmpty());
    // The program was ended, not left behind.
    std::ifstream pidFile(dir.path() / "stuck.pid");
    int pid = 0;
    pidFile >> pid;
    ASSERT_GT(pid, 0);
    EXPECT_FALSE(std::filesystem::exists("/proc/" + std::to_string(pid)));

    // A program that cannot be started is ignored.
    window->screenshot().setProgram(QString::fromStdString((dir.path() / "missing").string()));
    window->screenshot().takeScreenshot();
    EXPECT_FALSE(ScreenshotHotKey::screenshotRunning());
    EXPECT_TRUE(pictures().isEmpty());
}
