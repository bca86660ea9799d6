// A crashing program's report travels through the real reporter to the stand-in service; when
// the service is down it waits in the configuration folder until the reporter runs again.

#include "CrashInstallation.h"
#include "support/ServiceProcess.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <httplib.h>
#include <json/json.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <thread>

namespace fs = std::filesystem;

namespace {

Json::Value crashReports(const ServiceProcess& service)
{
    httplib::Client client(service.host(), service.port());
    const auto res = client.Get("/control/crash-reports");
    Json::Value root;
    if (!res)
        return root;
    Json::CharReaderBuilder builder;
    const std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    reader->parse(res->body.data(), res->body.data() + res->body.size(), &root, nullptr);
    return root["result"];
}

// Waits (generously) until the service holds the given number of reports.
Json::Value waitForReports(const ServiceProcess& service, unsigned count)
{
    Json::Value reports;
    for (int i = 0; i < 1200; ++i) {
        reports = crashReports(service);
        if (reports.isArray() && reports.size() >= count)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return reports;
}

// The background sender removes each kept report once the service has it.
bool waitUntilNothingIsKept(const CrashInstallation& installation)
{
    for (int i = 0; i < 1200 && !installation.keptReports().empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return installation.keptReports().empty();
}

void expectReportOf(const Json::Value& report, pid_t pid)
{
    const Json::Value& fields = report["fields"];
    EXPECT_EQ(fields["pid"].asString(), std::to_string(pid));
    EXPECT_EQ(fields["n"].asString(), "PDF_Splitting_And_merging_Lumo");
    EXPECT_EQ(fields["soft_type"].asString(), "12");
    EXPECT_EQ(fields["packagename"].asString(), "Lumo%20Test");
    EXPECT_EQ(fields["version"].asString(), fields["v"].asString());
    EXPECT_FALSE(fields["tid"].asString().empty());
    EXPECT_EQ(fields["xcp"].asString().size(), 16u);
    EXPECT_FALSE(fields["time"].asString().empty());
    EXPECT_EQ(report["attachment_name"].asString(), "process.txt");
    EXPECT_NE(report["attachment"].asString().find("Name:\tkorvex-crash-pr"), std::string::npos)
        << report["attachment"].asString();
}

// A crash while the service is down: the report is kept. The service then comes back on
// another port and the installation is told so.
pid_t crashWhileTheServiceIsDown(ServiceProcess& service, CrashInstallation& installation, const char* how)
{
    installation.useService(service.baseUrl());
    service.stop();
    const auto [pid, code] = installation.run("korvex-crash-probe", {how});
    EXPECT_EQ(code, 1);
    const auto kept = installation.keptReports();
    EXPECT_EQ(kept.size(), 1u) << readFile(installation.log());
    for (const auto& path : kept)
        EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
    service.start();
    installation.useService(service.baseUrl());
    return pid;
}

} // namespace

TEST(CrashReportDelivery, ACrashEndsWithTheReportInTheServiceStore)
{
    ServiceProcess service;
    CrashInstallation installation;
    installation.useService(service.baseUrl());
    const auto [pid, code] = installation.run("korvex-crash-probe", {"segv"});
    EXPECT_EQ(code, 1);
    // The crashed program waited for the reporter, so the report is there already.
    const Json::Value reports = crashReports(service);
    ASSERT_TRUE(reports.isArray());
    ASSERT_EQ(reports.size(), 1u) << readFile(installation.log());
    expectReportOf(reports[0], pid);
    EXPECT_TRUE(installation.keptReports().empty());
}

TEST(CrashReportDelivery, AReportThatCannotBeSentIsKeptAndSentAtTheNextRun)
{
    ServiceProcess service;
    CrashInstallation installation;
    const pid_t firstPid = crashWhileTheServiceIsDown(service, installation, "abort");

    // The next crash sends its own report at once and then, in the background, the kept one.
    const auto [secondPid, secondCode] = installation.run("korvex-crash-probe", {"segv"});
    EXPECT_EQ(secondCode, 1);
    const Json::Value reports = waitForReports(service, 2);
    ASSERT_EQ(reports.size(), 2u) << readFile(installation.log());
    expectReportOf(reports[0], secondPid);
    expectReportOf(reports[1], firstPid);
    EXPECT_TRUE(waitUntilNothingIsKept(installation));
}

TEST(CrashReportDelivery, TheProgramStartSendsKeptReportsInTheBackground)
{
    ServiceProcess service;
    CrashInstallation installation;
    const pid_t pid = crashWhileTheServiceIsDown(service, installation, "thread");

    EXPECT_EQ(installation.run("korvex-crash-probe", {"resend"}).second, 0);
    const Json::Value reports = waitForReports(service, 1);
    ASSERT_EQ(reports.size(), 1u) << readFile(installation.log());
    expectReportOf(reports[0], pid);
    EXPECT_TRUE(waitUntilNothingIsKept(installation));
}

TEST(CrashReportDelivery, RefusedOrBrokenKeptReportsAreDroppedNotResentForever)
{
    ServiceProcess service;
    CrashInstallation installation;
    installation.useService(service.baseUrl());
    fs::create_directories(installation.configFolder());
    // A report the service refuses (not this product), one that is not a report at all, and
    // one nested too deep to read.
    writeFile(installation.configFolder() / "crash-report-000000000001-1.json",
              "{\"fields\":{\"soft_type\":\"99\",\"n\":\"x\"}}\n");
    writeFile(installation.configFolder() / "crash-report-000000000002-1.json", "{broken");
    writeFile(installation.configFolder() / "crash-report-000000000003-1.json",
              std::string(5000, '[') + std::string(5000, ']'));
    writeFile(installation.configFolder() / "crash-report-000000000004-1.json",
              "{\"fields\":{\"soft_type\":\"12\",\"n\":\"kept\"},\"attachment_name\":\"a.txt\",\"attachment\":\"hello\"}");

    EXPECT_EQ(installation.run("reportis", {}).second, 0);
    const Json::Value reports = crashReports(service);
    ASSERT_EQ(reports.size(), 1u) << readFile(installation.log());
    EXPECT_EQ(reports[0]["fields"]["n"].asString(), "kept");
    EXPECT_EQ(reports[0]["attachment"].asString(), "hello");
    EXPECT_TRUE(installation.keptReports().empty());
}

TEST(CrashReportDelivery, KeepingStopsAtTheLimitAndDropsTheOldest)
{
    CrashInstallation installation; // its service is not there: every report is kept
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(installation.run("reportis", {"-n", "app", "-pid", std::to_string(1000 + i), "-p", "\"soft_type:12,\""}).second, 0);
    const auto kept = installation.keptReports();
    EXPECT_EQ(kept.size(), 16u);
    std::string oldest = kept.front().string();
    for (const auto& path : kept)
        oldest = std::min(oldest, path.string());
    EXPECT_NE(readFile(oldest).find("\"pid\":\"1002\""), std::string::npos) << readFile(oldest);
}
