#include "CrashInstallation.h"
#include "core/common/Utils.h"
#include "core/crash/CrashReportSettings.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <sys/wait.h>

namespace {

std::string binFolder()
{
    return Utils::wideToUtf8(Utils::getModuleDirectory());
}

// Runs a command through the shell (test only) and returns its exit code.
int runProbe(const std::string& command)
{
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(CrashReport, CommandLineAndParameterTextHaveTheirFixedShape)
{
    CrashReportSettings settings;
    settings.version = "1.0.0.0";
    settings.reportAddress = "https://svc.local/senderrormsg";
    settings.processId = "12";
    settings.threadId = "34";
    settings.exceptionPointers = "00000000DEADBEEF";
    settings.parameters = {{"version", "1.0.0.0"}, {"packagename", "P%20Q"}, {"soft_type", "12"}};
    EXPECT_EQ(settings.parameterText(), "\"packagename:P%20Q,soft_type:12,version:1.0.0.0,\"");
    EXPECT_EQ(settings.buildCommandLine(),
              "-n PDF_Splitting_And_merging_Lumo -v 1.0.0.0 -u https://svc.local/senderrormsg -pid 12 -tid 34 "
              "-xcp 00000000DEADBEEF -p \"packagename:P%20Q,soft_type:12,version:1.0.0.0,\" ");
    const auto args = settings.arguments();
    ASSERT_EQ(args.size(), 14u);
    EXPECT_EQ(args.back(), "packagename:P%20Q,soft_type:12,version:1.0.0.0,");
}

TEST(CrashReport, EveryKindOfFaultStartsTheReporterAndEndsWithCodeOne)
{
    for (const std::string how : {"segv", "abort", "throw", "thread"}) {
        CrashInstallation installation;
        EXPECT_EQ(installation.run("korvex-crash-probe", {how}).second, 1) << how;
        const std::string report = readFile(installation.log());
        EXPECT_TRUE(std::regex_search(report, std::regex(
            R"(^crash report: -n PDF_Splitting_And_merging_Lumo -v \d+\.\d+\.0\.0 -u http://127\.0\.0\.1:9/senderrormsg -pid \d+ -tid \d+ -xcp [0-9A-F]{16} -p packagename:Lumo%20Test,soft_type:12,version:.*,\n)")))
            << how << ": " << report;
        // Nobody listens there: the reporter kept it.
        EXPECT_EQ(installation.keptReports().size(), 1u) << how;
    }
}

TEST(CrashReport, MissingReporterIsExplainedAndItsErrorNumberIsTheExitCode)
{
    TempDir dir;
    const auto probe = dir.path() / "korvex-crash-probe";
    std::filesystem::copy_file(binFolder() + "korvex-crash-probe", probe);
    const std::string err = (dir.path() / "stderr.txt").string();
    EXPECT_EQ(runProbe(probe.string() + " segv 2>" + err), 2); // ENOENT
    EXPECT_NE(readFile(err).find("failed with error 2: No such file or directory"), std::string::npos);
}

namespace {

// The process and thread ids a report names.
std::pair<std::string, std::string> reportedIds(const std::string& report)
{
    std::smatch match;
    if (!std::regex_search(report, match, std::regex(R"(-pid (\d+) -tid (\d+) )")))
        return {};
    return {match[1], match[2]};
}

} // namespace

TEST(CrashReport, AStackOverflowOnAWorkerThreadReachesTheReporter)
{
    CrashInstallation installation;
    const auto [pid, code] = installation.run("korvex-crash-probe", {"overflow"});
    EXPECT_EQ(code, 1);
    const std::string report = readFile(installation.log());
    const auto [reportedPid, reportedTid] = reportedIds(report);
    EXPECT_EQ(reportedPid, std::to_string(pid)) << report;
    EXPECT_NE(reportedTid, reportedPid) << "the worker faulted, not the first thread";
    EXPECT_EQ(installation.keptReports().size(), 1u);
}

TEST(CrashReport, ASecondFaultWaitsUntilTheFirstIsReported)
{
    CrashInstallation installation;
    // A reporter that says when it runs, then keeps running until the second thread has
    // faulted, with a moment to spare for a process that a second fault would end.
    const std::filesystem::path folder = installation.log().parent_path();
    const std::filesystem::path reporter = installation.programs() / "reportis";
    std::filesystem::remove(reporter);
    // It never holds the test's output open, and gives up once the crashed process is gone.
    writeFile(reporter, "#!/bin/sh\n"
                        "exec >/dev/null 2>&1\n"
                        "echo \"crash report: $*\" > \"$KORVEX_REPORTIS_LOG\"\n"
                        "dir=$(dirname \"$KORVEX_REPORTIS_LOG\")\n"
                        ": > \"$dir/reporting\"\n"
                        "while [ ! -e \"$dir/second\" ] && kill -0 $PPID; do sleep 0.01; done\n"
                        "sleep 0.2\n"
                        "echo done >> \"$KORVEX_REPORTIS_LOG\"\n");
    std::filesystem::permissions(reporter, std::filesystem::perms::owner_all);
    const auto [pid, code] = installation.run("korvex-crash-probe", {"two", folder.string()});
    EXPECT_EQ(code, 1) << "the process must end through the first report";
    EXPECT_TRUE(std::filesystem::exists(folder / "second"));
    const std::string report = readFile(installation.log());
    const auto [reportedPid, reportedTid] = reportedIds(report);
    EXPECT_EQ(reportedTid, std::to_string(pid)) << "the first thread's fault is the one reported";
    EXPECT_NE(report.find("\ndone\n"), std::string::npos) << report;
}
