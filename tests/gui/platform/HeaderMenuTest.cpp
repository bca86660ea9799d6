// The header's menu button on a real X server with a window manager (where one manages the
// window, the stuck hover look shows): the open menu holds the pointer, so the button never
// hears it leave; once the menu has closed elsewhere it must not look hovered.

#include "ProgramEnvironment.h"
#include "core/common/Utils.h"
#include "gui/GuiWait.h"
#include "gui/mainwnd/MainWindowFixture.h"
#include "gui/menu/DropMenu.h"
#include "support/TempDir.h"

#include <QGuiApplication>
#include <QImage>
#include <QProcess>
#include <QScreen>
#include <QStyleOptionToolButton>
#include <QToolButton>

#include <filesystem>
#include <string>

namespace {

class HeaderMenu : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        const char* program = std::getenv("KORVEX_OPENBOX");
        manager.start(QString::fromLatin1(program ? program : "openbox"), {QStringLiteral("--sm-disable")});
        ASSERT_TRUE(manager.waitForStarted());
        // It takes the display over on its own time; nothing here waits on a reply of it.
        GuiWait::events(1000);
    }
    void TearDown() override
    {
        MainWindowFixture::TearDown();
        manager.terminate();
        manager.waitForFinished();
    }
    static QString xdotoolOutput(const QStringList& arguments)
    {
        const char* program = std::getenv("KORVEX_XDOTOOL");
        QProcess run;
        run.start(QString::fromLatin1(program ? program : "xdotool"), arguments);
        run.waitForFinished(10000);
        return QString::fromUtf8(run.readAllStandardOutput());
    }
    // The visible windows of a process: its main window, and its menu while that is open.
    static QStringList windowsOf(qint64 pid)
    {
        return xdotoolOutput({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                              QString::number(pid)})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    static QImage screenArea(const QRect& area)
    {
        return QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
    }

    QProcess manager;
    static void xdotool(const QStringList& arguments)
    {
        const char* program = std::getenv("KORVEX_XDOTOOL");
        ASSERT_EQ(QProcess::execute(QString::fromLatin1(program ? program : "xdotool"), arguments), 0) << arguments.join(' ').toStdString();
    }
    static void pointerTo(const QPoint& global)
    {
        xdotool({QStringLiteral("mousemove"), QString::number(global.x()), QString::number(global.y())});
        GuiWait::events(200);
    }
};

} // namespace

TEST_F(HeaderMenu, TheMenuButtonLooksAtRestOnceItsMenuHasClosed)
{
    open();
    window->activateWindow();
    pump(200);
    auto* drop = child<QToolButton>("dropbtn");
    const QImage atRest = drop->grab().toImage();
    pointerTo(drop->mapToGlobal(drop->rect().center()));
    ASSERT_TRUE(pumpUntil([&] { return drop->underMouse(); }));
    xdotool({QStringLiteral("click"), QStringLiteral("1")});
    ASSERT_TRUE(pumpUntil([&] { return window->dropMenu() && window->dropMenu()->isVisible(); }));
    DropMenu* menu = window->dropMenu();
    // Down into the menu and a click on an element: the menu closes with the pointer over
    // the window's body.
    pointerTo(menu->mapToGlobal(menu->actionGeometry(menu->element(QStringLiteral("BtnUpdate"))).center()));
    xdotool({QStringLiteral("click"), QStringLiteral("1")});
    ASSERT_TRUE(pumpUntil([&] { return !window->dropMenu() || !window->dropMenu()->isVisible(); }));
    GuiWait::events(300);
    QStyleOptionToolButton option;
    option.initFrom(drop);
    EXPECT_FALSE(option.state & QStyle::State_MouseOver);
    EXPECT_FALSE(drop->underMouse());
    EXPECT_FALSE(drop->isDown());
    EXPECT_EQ(drop->grab().toImage(), atRest);
}

TEST_F(HeaderMenu, TheProgramsMenuButtonLooksAtRestOnceItsMenuHasClosed)
{
    // Where the button sits, seen from the window's top right corner, in a window of this build.
    open();
    auto* drop = child<QToolButton>("dropbtn");
    const QPoint centre = drop->mapTo(window.get(), drop->rect().center());
    const int fromRight = window->width() - centre.x();
    const QSize buttonSize = drop->size();
    window->hide();
    pump(200);

    // The real program, managed by the window manager.
    TempDir dir;
    QProcessEnvironment env = programEnvironment(dir.path());
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QString::fromStdString(Utils::wideToUtf8(Utils::getModuleDirectory())) + QStringLiteral("korvex-pdf"), {});
    ASSERT_TRUE(program.waitForStarted());
    QStringList windows;
    ASSERT_TRUE(pumpUntil([&] { return (windows = windowsOf(program.processId())).size() == 1; }));
    QRect frame;
    for (const QString& line : xdotoolOutput({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), windows.front()})
                                   .split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList pair = line.split(QLatin1Char('='));
        if (pair.size() != 2)
            continue;
        const int value = pair[1].toInt();
        if (pair[0] == QStringLiteral("X")) frame.moveLeft(value);
        if (pair[0] == QStringLiteral("Y")) frame.moveTop(value);
        if (pair[0] == QStringLiteral("WIDTH")) frame.setWidth(value);
        if (pair[0] == QStringLiteral("HEIGHT")) frame.setHeight(value);
    }
    ASSERT_FALSE(frame.isEmpty());
    const QPoint button(frame.left() + frame.width() - fromRight, frame.top() + centre.y());
    QRect area(QPoint(), buttonSize);
    area.moveCenter(button);
    const QPoint body = frame.center();
    pointerTo(body);
    GuiWait::events(500);
    const QImage atRest = screenArea(area);

    for (const char* way : {"escape", "beside"}) {
        SCOPED_TRACE(way);
        xdotool({QStringLiteral("mousemove"), QString::number(button.x()), QString::number(button.y()),
                 QStringLiteral("click"), QStringLiteral("1")});
        ASSERT_TRUE(pumpUntil([&] { return windowsOf(program.processId()).size() == 2; })) << "no menu opened";
        // Away from the button, outside the menu (which opens below and right of the pointer).
        pointerTo(body);
        if (std::string(way) == "escape")
            xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
        else
            xdotool({QStringLiteral("click"), QStringLiteral("1")});
        ASSERT_TRUE(pumpUntil([&] { return windowsOf(program.processId()).size() == 1; })) << "the menu stayed";
        // Settled once it looks as it did; a stuck hover look never does.
        EXPECT_TRUE(GuiWait::until([&] { return screenArea(area) == atRest; }, 5000));
    }
    program.terminate();
    program.waitForFinished();
}
