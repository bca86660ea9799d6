// The real program ends in order on SIGTERM, SIGINT and SIGHUP, and its start removes the
// private folders that killed runs left behind.

#include "core/common/Utils.h"
#include "gui/GuiWait.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

bool pumpUntil(const std::function<bool()>& done)
{
    return GuiWait::until(done, 60000);
}

} // namespace

TEST(ProgramSignals, StopSignalsEndTheProgramInOrderAndStartRemovesStaleFolders)
{
    for (const int signal : {SIGTERM, SIGINT, SIGHUP, 0}) {
        TempDir dir;
        // Last round: a configuration that cannot be read; its notice, in the language every
        // start begins in, must not keep the program from ending, and the file stays as it was.
        const fs::path config = dir.file("Documents/PDF_Splitting_And_merging_Lumo/korvex_split_and_merge_config.json");
        if (signal == 0)
            fs::create_directories(config / "kept");
        fs::create_directories(dir.file("run"));
        fs::permissions(dir.file("run"), fs::perms::owner_all);
        fs::create_directories(dir.file("tmp"));
        // A folder of decrypted copies whose process was killed.
        const pid_t gone = ::fork();
        if (gone == 0)
            ::_exit(0);
        ::waitpid(gone, nullptr, 0);
        const fs::path stale = dir.file("tmp") / ("korvex-" + std::to_string(gone) + "-Q1w2E3");
        fs::create_directories(stale / "1");
        writeFile(stale / "1/secret.pdf", "%PDF-1.7\n");

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), QString::fromStdString(dir.path().string()));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString(dir.file(".config").string()));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(dir.file("run").string()));
        env.insert(QStringLiteral("TMPDIR"), QString::fromStdString(dir.file("tmp").string()));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("KORVEX_REPORTIS_LOG"), QString::fromStdString(dir.file("reports.log").string()));
        // Notes what the notice says and leaves it open.
        const fs::path noted = dir.file("clicker.log");
        if (signal == 0) {
            env.insert(QStringLiteral("QT_PLUGIN_PATH"),
                       QString::fromStdString(Utils::wideToUtf8(Utils::getModuleDirectory()) + "testplugins"));
            env.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("korvexclicker"));
            env.insert(QStringLiteral("KORVEX_CLICKER_LOG"), QString::fromStdString(noted.string()));
        }
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(QString::fromStdString(Utils::wideToUtf8(Utils::getModuleDirectory())) + QStringLiteral("korvex-pdf"), {});
        ASSERT_TRUE(program.waitForStarted());
        ASSERT_TRUE(pumpUntil([&] { return fs::exists(dir.file("run/korvex-pdf.socket")); }));
        EXPECT_FALSE(fs::exists(stale));
        if (signal == 0) {
            ASSERT_TRUE(pumpUntil([&] { return fs::exists(noted) && readFile(noted).find('\n') != std::string::npos; }));
            EXPECT_EQ(readFile(noted), "notice: 无法读取配置文件，本次使用默认设置运行，更改不会保存。 " + config.string() + "\n");
        }

        ::kill(static_cast<pid_t>(program.processId()), signal == 0 ? SIGTERM : signal);
        ASSERT_TRUE(pumpUntil([&] { return program.state() == QProcess::NotRunning; }));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << signal;
        EXPECT_EQ(program.exitCode(), 0) << signal;
        EXPECT_FALSE(fs::exists(dir.file("reports.log"))); // an orderly end, not a crash
        if (signal == 0) {
            EXPECT_TRUE(fs::is_directory(config / "kept"));
        }
    }
}
