#include "CrashReportArguments.h"
#include "core/crash/KeptCrashReports.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

TEST(ReportisArguments, TheCrashCommandLineBecomesTheReportFields)
{
    const auto parsed = CrashReportArguments::parse(
        {"-n", "App", "-v", "1.0.0.0", "-u", "http://127.0.0.1:1/senderrormsg", "-pid", "42", "-tid", "43",
         "-xcp", "00000000DEADBEEF", "-p", "\"packagename:P%20Q,soft_type:12,version:1.0.0.0,\"", "-zz", "ignored"});
    EXPECT_TRUE(parsed.hasReport());
    EXPECT_EQ(parsed.address(), "http://127.0.0.1:1/senderrormsg");
    EXPECT_EQ(parsed.processId(), 42);
    EXPECT_EQ(parsed.threadId(), 43);
    const std::map<std::string, std::string> expected = {
        {"n", "App"}, {"v", "1.0.0.0"}, {"pid", "42"}, {"tid", "43"}, {"xcp", "00000000DEADBEEF"},
        {"packagename", "P%20Q"}, {"soft_type", "12"}, {"version", "1.0.0.0"}};
    EXPECT_EQ(parsed.report().fields, expected);

    // No report on the command line (the resend run), a dangling option, odd parameter lists.
    EXPECT_FALSE(CrashReportArguments::parse({}).hasReport());
    EXPECT_FALSE(CrashReportArguments::parse({"-pid"}).hasReport());
    EXPECT_EQ(CrashReportArguments::parse({"-pid", "-5"}).processId(), 0);
    EXPECT_EQ(CrashReportArguments::parse({"-pid", "12x"}).processId(), 0);
    std::map<std::string, std::string> fields;
    CrashReportArguments::addParameters(":x,,a,b:1:2,\"", fields);
    EXPECT_EQ(fields, (std::map<std::string, std::string>{{"b", "1:2"}}));
}

TEST(ReportisArguments, ValuesAreCutAndMadeValidText)
{
    EXPECT_EQ(CrashReportArguments::cleanText("a\x01\xff" "b\t\n\xc3\xa9", 100), "a??b\t\n\xc3\xa9");
    EXPECT_EQ(CrashReportArguments::cleanText("\xed\xa0\x80\xc0\xaf", 100), "?????"); // surrogate, overlong
    EXPECT_EQ(CrashReportArguments::cleanText("ab\xe4\xb8\xad", 4), "ab"); // never half a character
    const auto parsed = CrashReportArguments::parse({"-n", std::string(5000, 'x')});
    EXPECT_EQ(parsed.report().fields.at("n").size(), CrashReportArguments::kMaxValueLength);
}

TEST(KeptCrashReports, AKeptReportReadsBackAsItWasWritten)
{
    TempDir dir;
    const KeptCrashReports kept((dir.path() / "config/").string());
    EXPECT_TRUE(kept.empty()); // the folder does not exist yet
    KeptCrashReports::Report report;
    report.fields = {{"n", "App"}, {"text", "\xe4\xb8\xad \"quoted\"\n"}};
    report.attachmentName = "process.txt";
    report.attachment = "Name:\tprobe\n";
    const std::string path = kept.keep(report);
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(kept.list(), std::vector<std::string>{path});
    KeptCrashReports::Report loaded;
    ASSERT_TRUE(KeptCrashReports::load(path, loaded));
    EXPECT_EQ(loaded.fields, report.fields);
    EXPECT_EQ(loaded.attachmentName, report.attachmentName);
    EXPECT_EQ(loaded.attachment, report.attachment);

    for (const char* bad : {"", "[]", "{}", "{\"fields\":{}}", "{\"fields\":{\"a\":1}}",
                            "{\"fields\":{\"a\":\"b\"},\"attachment\":[]}"})
        EXPECT_FALSE(KeptCrashReports::fromText(bad, loaded)) << bad;
    EXPECT_FALSE(KeptCrashReports::fromText(std::string(3000, '[') + std::string(3000, ']'), loaded));
}
