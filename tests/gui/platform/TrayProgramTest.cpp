// The real program on a desktop with a tray: it shows its icon to the desktop's tray, and the
// tray menu's "exit" ends it with exit code 0.

#include "ProgramEnvironment.h"
#include "StatusNotifierWatcher.h"
#include "core/common/Utils.h"
#include "gui/GuiWait.h"
#include "gui/dialogs/FakeFileManager.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QProcess>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>

namespace {

bool waitFor(const std::function<bool()>& done, int ms = 30000)
{
    return GuiWait::until(done, ms);
}

// The labels of the menu entries that the program exports (com.canonical.dbusmenu), by id.
std::map<int, QString> menuLabels(QDBusConnection& bus, const QString& service)
{
    QDBusMessage call = QDBusMessage::createMethodCall(service, QStringLiteral("/MenuBar"),
                                                       QStringLiteral("com.canonical.dbusmenu"),
                                                       QStringLiteral("GetGroupProperties"));
    // Entries are numbered from 1 in the order they were made; the program makes only a few.
    QList<int> ids;
    for (int id = 1; id <= 64; ++id)
        ids << id;
    call << QVariant::fromValue(ids) << QStringList{QStringLiteral("label")};
    const QDBusMessage reply = bus.call(call, QDBus::Block, 5000);
    std::map<int, QString> labels;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return labels;
    const QDBusArgument items = reply.arguments().front().value<QDBusArgument>();
    items.beginArray();
    while (!items.atEnd()) {
        int id = 0;
        QVariantMap properties;
        items.beginStructure();
        items >> id >> properties;
        items.endStructure();
        labels[id] = properties.value(QStringLiteral("label")).toString();
    }
    items.endArray();
    return labels;
}

} // namespace

TEST(TrayProgram, TheTrayMenusExitEndsTheProgramWithExitCodeZero)
{
    PrivateSessionBus bus;
    ASSERT_TRUE(bus.start());
    StatusNotifierWatcher watcher(bus.address());
    ASSERT_TRUE(watcher.ok());

    TempDir dir;
    QProcessEnvironment env = programEnvironment(dir.path());
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
    env.remove(QStringLiteral("XDG_CURRENT_DESKTOP"));
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QString::fromStdString(Utils::wideToUtf8(Utils::getModuleDirectory())) + QStringLiteral("korvex-pdf"), {});
    ASSERT_TRUE(program.waitForStarted());

    // The icon is announced to the tray.
    ASSERT_TRUE(waitFor([&] { return !watcher.items().isEmpty(); }));
    const QString item = watcher.items().front();

    // Its menu holds the commands; "退出程序" ends the program.
    int exitId = -1;
    QStringList labels;
    ASSERT_TRUE(waitFor([&] {
        labels.clear();
        for (const auto& [id, label] : menuLabels(watcher.connection(), item)) {
            labels << label;
            if (label == QStringLiteral("退出程序"))
                exitId = id;
        }
        return exitId >= 0;
    }));
    EXPECT_TRUE(labels.contains(QStringLiteral("软件更新"))) << labels.join(QLatin1Char(',')).toStdString();
    EXPECT_TRUE(labels.contains(QStringLiteral("问题反馈")));
    EXPECT_EQ(program.state(), QProcess::Running);

    QDBusMessage click = QDBusMessage::createMethodCall(item, QStringLiteral("/MenuBar"),
                                                        QStringLiteral("com.canonical.dbusmenu"), QStringLiteral("Event"));
    click << exitId << QStringLiteral("clicked") << QVariant::fromValue(QDBusVariant(QVariant(0))) << 0u;
    watcher.connection().call(click, QDBus::Block, 5000);
    ASSERT_TRUE(waitFor([&] { return program.state() == QProcess::NotRunning; }));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
}
