// The header's menu button on a real X server: the open menu holds the pointer, so the button
// never hears it leave; once the menu has closed elsewhere it must not look hovered.

#include "gui/GuiWait.h"
#include "gui/mainwnd/MainWindowFixture.h"
#include "gui/menu/DropMenu.h"

#include <QImage>
#include <QProcess>
#include <QStyleOptionToolButton>
#include <QToolButton>

namespace {

class HeaderMenu : public MainWindowFixture {
protected:
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
