#pragma once
// The environment of the real program started by a test: a home and runtime folder of the
// test's own, on the test's X server.

#include <QProcessEnvironment>
#include <QString>

#include <filesystem>

inline QProcessEnvironment programEnvironment(const std::filesystem::path& home)
{
    std::filesystem::create_directories(home / "run");
    std::filesystem::permissions(home / "run", std::filesystem::perms::owner_all);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), QString::fromStdString(home.string()));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString((home / ".config").string()));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString((home / "run").string()));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return env;
}
