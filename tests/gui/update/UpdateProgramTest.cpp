// The real desktop program, installed into a folder of its own that points it at the stand-in
// service: the offer at start is accepted (by a plugin standing in for the user), the updater is
// downloaded, checked and started, and the program ends in order with exit code 0; the updater
// can still run itself again once the program and its private folder have gone.

#include "ApiClient.h"
#include "core/common/Utils.h"
#include "gui/GuiWait.h"
#include "support/ServiceProcess.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <vector>

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
    return GuiWait::until(done, ms);
}

// An installation of its own with the service offering the given updater; run() starts the
// program, which accepts the offer, and waits until it has ended.
class UpdateRun {
public:
    explicit UpdateRun(const fs::path& updater)
        : service(dir.path() / "service.db", {"--updater", updater.string()}), api(service)
    {
        offered = api.post("/control/update?version=9.0.0.0&msg=Version%209%20is%20out").json["success"].asBool();
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
    }

    void run()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), qt(dir.path() / "home"));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), qt(dir.path() / "home/.config"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), qt(dir.path() / "run"));
        env.insert(QStringLiteral("TMPDIR"), qt(tmp()));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QT_PLUGIN_PATH"), qt(binFolder() / "testplugins"));
        env.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("korvexclicker"));
        env.insert(QStringLiteral("KORVEX_CLICKER_LOG"), qt(dir.path() / "clicker.log"));
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
    }

    fs::path tmp() const { return dir.path() / "tmp"; }
    // What the stand-in updater noted, once it has ended its line.
    std::string updaterNote() const
    {
        const fs::path note = dir.path() / "home/Documents/PDF_Splitting_And_merging_Lumo/updater.log";
        waitFor([&] { return fs::exists(note) && readFile(note).find('\n') != std::string::npos; });
        return fs::exists(note) ? readFile(note) : std::string();
    }
    // The folders the run left in the temporary folder.
    std::vector<std::string> leftInTmp() const
    {
        return namesIn(tmp());
    }

    TempDir dir;
    ServiceProcess service;
    ApiClient api;
    bool offered = false;
    const fs::path install = dir.path() / "install";
    QProcess program;
};

} // namespace

TEST(UpdateProgram, AcceptingTheOfferStartsTheUpdaterAndTheProgramEndsInOrderWithExitCodeZero)
{
    UpdateRun update(binFolder() / "korvex_updater");
    ASSERT_TRUE(update.offered);
    update.run();

    // The updater outlives the program and notes the folder it was given.
    EXPECT_EQ(update.updaterNote(), "korvex_updater would update \"" + update.install.string() + "/\"\n");

    // The orderly end: the private folder of the run is gone; only the updater's own folder is
    // left, and the configuration is in place.
    const auto left = update.leftInTmp();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].rfind("korvex-updater-", 0), 0u) << left[0];
    EXPECT_TRUE(fs::exists(update.dir.path() / "home/Documents/PDF_Splitting_And_merging_Lumo/korvex_split_and_merge_config.json"));
}

TEST(UpdateProgram, TheUpdaterCanRunItselfAgainAfterTheProgramHasGone)
{
    // Like a real updater, it waits until the program has ended (its private folder of the run
    // is gone) before it touches the program's folder, and goes on from its own file then, as a
    // script's interpreter or an updater that starts itself again does. Not $PPID: a detached
    // child may already belong to init, which never ends.
    TempDir scripts;
    const fs::path updater = scripts.file("korvex_updater");
    writeFile(updater, "#!/bin/sh\n"
                       "if [ \"$1\" != --after ]; then\n"
                       "  n=0\n"
                       "  while ls -d \"$TMPDIR\"/korvex-[0-9]* >/dev/null 2>&1 && [ $n -lt 1200 ]; do\n"
                       "    sleep 0.05; n=$((n+1))\n"
                       "  done\n"
                       "  exec /bin/sh \"$0\" --after \"$@\"\n"
                       "fi\n"
                       "shift\n"
                       "exec \"" + (binFolder() / "korvex_updater").string() + "\" \"$@\"\n");
    UpdateRun update(updater);
    ASSERT_TRUE(update.offered);
    update.run();
    EXPECT_EQ(update.updaterNote(), "korvex_updater would update \"" + update.install.string() + "/\"\n");
    for (const std::string& name : update.leftInTmp())
        EXPECT_EQ(name.rfind("korvex-updater-", 0), 0u) << "the private folder went at the end: " << name;
}
