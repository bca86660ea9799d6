// The real program, started twice and then made to fault.

#include "core/common/Utils.h"
#include "gui/GuiWait.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

namespace {

QString program()
{
    return QString::fromStdString(Utils::wideToUtf8(Utils::getModuleDirectory())) + QStringLiteral("korvex-pdf");
}

QProcessEnvironment environmentIn(const TempDir& dir)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), QString::fromStdString(dir.path().string()));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString((dir.path() / ".config").string()));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString((dir.path() / "run").string()));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("KORVEX_DEBUG"), QStringLiteral("1"));
    env.insert(QStringLiteral("KORVEX_REPORTIS_LOG"), QString::fromStdString((dir.path() / "reports.log").string()));
    return env;
}

// Waits for a condition of the other process; the limit only ends a test that would hang (a
// loaded machine, or a sanitizer build, may need minutes to start the program).
bool waitFor(const std::function<bool()>& done, int ms = 180000)
{
    return GuiWait::until(done, ms);
}

} // namespace

TEST(Program, ASecondStartRaisesTheFirstAndAFaultEndsInTheReporter)
{
    TempDir dir;
    std::filesystem::create_directories(dir.path() / "run");
    std::filesystem::permissions(dir.path() / "run", std::filesystem::perms::owner_all);
    QProcess first;
    first.setProcessEnvironment(environmentIn(dir));
    first.start(program(), {});
    ASSERT_TRUE(first.waitForStarted());
    const auto socket = dir.path() / "run" / "korvex-pdf.socket";
    ASSERT_TRUE(waitFor([&] { return std::filesystem::exists(socket); }));
    const auto config = dir.path() / "Documents/PDF_Splitting_And_merging_Lumo/korvex_split_and_merge_config.json";
    EXPECT_EQ(readFile(config), "{\"m_language\":\"Glossary::Language::CHINESE\"}\n");

    QProcess second;
    second.setProcessEnvironment(environmentIn(dir));
    second.start(program(), {});
    ASSERT_TRUE(second.waitForFinished(20000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    QByteArray firstErr;
    EXPECT_TRUE(waitFor([&] {
        firstErr += first.readAllStandardError();
        return firstErr.contains("brought to the front by a second start");
    }));
    EXPECT_EQ(first.state(), QProcess::Running);

    const qint64 pid = first.processId();
    ::kill(static_cast<pid_t>(pid), SIGSEGV);
    ASSERT_TRUE(first.waitForFinished(20000));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(first.exitCode(), 1);
    const std::string report = readFile(dir.path() / "reports.log");
    EXPECT_NE(report.find("-pid " + std::to_string(pid)), std::string::npos) << report;
    EXPECT_NE(report.find("-n PDF_Splitting_And_merging_Lumo"), std::string::npos);
}
