// The real desktop program, installed into a folder of its own that points it at the stand-in
// service: the offer at start is accepted (by a plugin standing in for the user), the updater is
// downloaded, checked and started, and the program ends in order with exit code 0.

#include "ApiClient.h"
#include "common/Utils.h"
#include "support/ServiceProcess.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace fs = std::filesystem;

namespace {

fs::path binFolder()
{
    return Utils::wideToUtf8(Utils::getModuleDirectory());
}

QString qt(const fs::path& path)
{
    return QString::fromStdString(path.string());
}

bool waitFor(const std::function<bool()>& done, int ms = 60000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return done();
}

} // namespace

TEST(UpdateProgram, AcceptingTheOfferStartsTheUpdaterAndTheProgramEndsInOrderWithExitCodeZero)
{
    TempDir dir;
    ServiceProcess service(dir.path() / "service.db", {"--updater", (binFolder() / "korvex_updater").string()});
    ApiClient api(service);
    ASSERT_TRUE(api.post("/control/update?version=9.0.0.0&msg=Version%209%20is%20out").json["success"].asBool());

    // An installation of its own: the program, its updater and the settings naming the service.
    const fs::path install = dir.path() / "install";
    fs::create_directories(install);
    for (const char* program : {"korvex-pdf", "korvex_updater"}) {
        fs::copy_file(binFolder() / program, install / program);
        fs::permissions(install / program, fs::perms::owner_all);
    }
    writeFile(install / "install.json", "{\"ServiceBase\":\"" + service.baseUrl() + "\"}");
    for (const char* folder : {"home", "run", "tmp"}) {
        fs::create_directories(dir.path() / folder);
        fs::permissions(dir.path() / folder, fs::perms::owner_all);
    }

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), qt(dir.path() / "home"));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), qt(dir.path() / "home/.config"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), qt(dir.path() / "run"));
    env.insert(QStringLiteral("TMPDIR"), qt(dir.path() / "tmp"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_PLUGIN_PATH"), qt(binFolder() / "testplugins"));
    env.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("korvexclicker"));
    env.insert(QStringLiteral("KORVEX_CLICKER_LOG"), qt(dir.path() / "clicker.log"));
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(qt(install / "korvex-pdf"), {});
    ASSERT_TRUE(program.waitForStarted());
    const bool ended = waitFor([&] { return program.state() == QProcess::NotRunning; }, 120000);
    if (!ended) {
        program.kill();
        program.waitForFinished();
    }
    ASSERT_TRUE(ended) << program.readAllStandardError().toStdString();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);

    const std::string seen = fs::exists(dir.path() / "clicker.log") ? readFile(dir.path() / "clicker.log") : "";
    EXPECT_NE(seen.find("box: Version 9 is out\n"), std::string::npos) << seen;

    // The updater outlives the program and notes the folder it was given.
    const fs::path note = dir.path() / "home/Documents/PDF_Splitting_And_merging_Lumo/updater.log";
    ASSERT_TRUE(waitFor([&] { return fs::exists(note) && readFile(note).find('\n') != std::string::npos; }));
    EXPECT_EQ(readFile(note), "korvex_updater would update \"" + install.string() + "/\"\n");

    // The orderly end: the private folder of the run (with the downloaded updater) is gone and
    // the configuration is in place.
    EXPECT_TRUE(fs::is_empty(dir.path() / "tmp"));
    EXPECT_TRUE(fs::exists(dir.path() / "home/Documents/PDF_Splitting_And_merging_Lumo/korvex_split_and_merge_config.json"));
}
