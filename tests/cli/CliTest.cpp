// korvex-pdf-cli from the outside: exit codes, output names, messages, and what is left on disk.

#include "CliRun.h"
#include "core/converter/ChildProcess.h"
#include "support/PdfFactory.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <optional>

namespace fs = std::filesystem;
using Converter::ChildProcess;

namespace {

class Cli : public testing::Test {
protected:
    void SetUp() override
    {
        PdfFactory::write(dir.file("twelve.pdf"), 12);
        PdfFactory::write(dir.file("five.pdf"), 5);
    }

    CliRun cli(std::vector<std::string> args, std::optional<std::string> input = std::nullopt)
    {
        ChildProcess::Options options;
        options.input = std::move(input);
        return runProgram(KORVEX_CLI_PATH, args, dir.path(), options);
    }

    std::string p(const std::string& name) const { return dir.file(name).string(); }

    std::vector<std::string> filesIn(const std::string& folder) const
    {
        return namesIn(dir.file(folder));
    }

    TempDir dir;
};

} // namespace

TEST_F(Cli, UsageErrorsExitWithTwo)
{
    const std::vector<std::vector<std::string>> wrong = {
        {},
        {"shred", "twelve.pdf"},
        {"compress"},
        {"extract", "twelve.pdf"},
        {"extract", "twelve.pdf", "five.pdf", "--pages", "1-2"},
        {"extract", "twelve.pdf", "--pages", "3"},
        {"extract", "twelve.pdf", "--pages", "1-99999999999"},
        {"compress", "twelve.pdf", "--pages", "1-2"},
        {"split", "twelve.pdf"},
        {"split", "twelve.pdf", "--every", "2", "--at", "5"},
        {"split", "twelve.pdf", "--every", "0"},
        {"split", "twelve.pdf", "--every", "2147483648"},
        {"split", "twelve.pdf", "--at", "5,,6"},
        {"merge", "twelve.pdf:1-x"},
        {"compress", "twelve.pdf", "--lang", "fr"},
        {"compress", "twelve.pdf", "--out"},
        {"compress", "twelve.pdf", "--colour"},
        {"compress", "twelve.pdf", "--level", "max"},
        {"compress", "twelve.pdf", "--level"},
        {"split", "twelve.pdf", "--every", "2", "--level", "strong"},
        {"decrypt", "twelve.pdf", "--password-file", "no-such-file"},
    };
    for (const auto& args : wrong) {
        const CliRun run = cli(args);
        EXPECT_EQ(run.exitCode, 2) << testing::PrintToString(args);
        EXPECT_EQ(run.err.rfind("korvex-pdf-cli: ", 0), 0u) << testing::PrintToString(args);
    }
    EXPECT_EQ(filesIn("."), (std::vector<std::string>{"five.pdf", "twelve.pdf"}));
    EXPECT_EQ(cli({"--help"}).exitCode, 0);
}

TEST_F(Cli, JobsPrintTheirOutputsNamedAfterTheirInputs)
{
    fs::create_directories(dir.file("other"));
    PdfFactory::write(dir.file("other/twelve.pdf"), 2);

    CliRun run = cli({"compress", "twelve.pdf", "other/twelve.pdf", "--out", "out"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    // Same title twice in one run: the second output does not overwrite the first.
    EXPECT_EQ(run.out, p("out/twelve_Compress.pdf") + "\n" + p("out/twelve_Compress (2).pdf") + "\n");
    EXPECT_EQ(PdfFactory::pageCount(dir.file("out/twelve_Compress.pdf")), 12);
    EXPECT_EQ(PdfFactory::pageCount(dir.file("out/twelve_Compress (2).pdf")), 2);
    EXPECT_NE(run.err.find("twelve.pdf: Compressing PDF"), std::string::npos);

    run = cli({"extract", "twelve.pdf", "--pages", "3-7", "--out", "out", "--lang", "zh"});
    EXPECT_EQ(run.out, p("out/twelve_抽取.pdf") + "\n");
    EXPECT_EQ(PdfFactory::pageNumbers(dir.file("out/twelve_抽取.pdf")), (std::vector<int>{3, 4, 5, 6, 7}));
    EXPECT_NE(run.err.find("正在抽取"), std::string::npos);

    run = cli({"merge", "five.pdf:4-5", "twelve.pdf:1-1", "five.pdf", "--out=out"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, p("out/five_Merged.pdf") + "\n");
    EXPECT_EQ(PdfFactory::pageNumbers(dir.file("out/five_Merged.pdf")), (std::vector<int>{4, 5, 1, 1, 2, 3, 4, 5}));

    // Without --out, outputs land in the current folder.
    run = cli({"split", "twelve.pdf", "--every", "5"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, p("twelve") + "\n");
    EXPECT_EQ(filesIn("twelve"), (std::vector<std::string>{"twelve_11_12.pdf", "twelve_1_5.pdf", "twelve_6_10.pdf"}));
    EXPECT_NE(run.err.find("twelve.pdf: Spliting PDF\ntwelve.pdf: Splitting Page 5 / 12\n"
                           "twelve.pdf: Splitting Page 10 / 12\ntwelve.pdf: Splitting Page 12 / 12\n"),
              std::string::npos)
        << run.err;

    run = cli({"split", "twelve.pdf", "--at", "4,20", "--out", "pts"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(filesIn("pts/twelve"), (std::vector<std::string>{"twelve_1_4.pdf", "twelve_5_12.pdf"}));

    PdfFactory::write(dir.file("damaged.pdf"), 3, {.damagedXref = true});
    run = cli({"info", "twelve.pdf", "damaged.pdf"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "twelve.pdf: 12 pages, not encrypted\n"
                       "damaged.pdf: 3 pages, not encrypted, damaged (qpdf repairs it when reading)\n");
}

TEST_F(Cli, PasswordsComeFromAFileOrStandardInput)
{
    ASSERT_TRUE(PdfFactory::encrypt(dir.file("five.pdf"), dir.file("secret.pdf"), "two words"));
    ASSERT_TRUE(PdfFactory::encrypt(dir.file("twelve.pdf"), dir.file("owner-only.pdf"), ""));

    CliRun run = cli({"info", "secret.pdf", "owner-only.pdf"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "secret.pdf: ? pages, encrypted, a password is needed to open it\n"
                       "owner-only.pdf: 12 pages, encrypted\n");

    run = cli({"decrypt", "secret.pdf", "--out", "d"}, std::string("wrong\n"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("Password Protected"), std::string::npos) << run.err;

    run = cli({"decrypt", "secret.pdf", "--password-file", "-", "--out", "d"}, std::string("wrong\n"));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("secret.pdf: Fail To Conversion. Reason: Password Error"), std::string::npos) << run.err;
    EXPECT_TRUE(filesIn("d").empty());

    run = cli({"decrypt", "secret.pdf", "--password-file", "-", "--out", "d"}, std::string("two words\n"));
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_FALSE(PdfFactory::isEncrypted(dir.file("d/secret_Decrypt.pdf")));

    writeFile(dir.file("pw.txt"), "two words\r\n");
    run = cli({"decrypt", "secret.pdf", "owner-only.pdf", "--password-file", "pw.txt", "--out", "e"});
    EXPECT_EQ(run.exitCode, 1); // the owner-only file does not take this password as its user password
    EXPECT_EQ(PdfFactory::pageCount(dir.file("e/secret_Decrypt.pdf")), 5);

    run = cli({"decrypt", "owner-only.pdf", "--out", "e"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(PdfFactory::pageNumbers(dir.file("e/owner-only_Decrypt.pdf")).size(), 12u);
}

TEST_F(Cli, FailuresExitWithOneSayWhyAndLeaveNothingBehind)
{
    writeFile(dir.file("notes.pdf"), "plain text\n");
    CliRun run = cli({"compress", "notes.pdf", "missing.pdf", "twelve.pdf", "--out", "out"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("notes.pdf: Fail To Conversion. Reason: Unsupport Format"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("missing.pdf: Fail To Conversion. Reason: Unable To Open Infile"), std::string::npos);
    // The good file of the same run is still done.
    EXPECT_EQ(run.out, p("out/twelve_Compress.pdf") + "\n");
    EXPECT_EQ(filesIn("out"), (std::vector<std::string>{"twelve_Compress.pdf"}));

    run = cli({"info", "twelve.pdf", "notes.pdf"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("notes.pdf: Fail To Get Page. Reason: Unsupport Format"), std::string::npos) << run.err;

    run = cli({"split", "notes.pdf", "--every", "1", "--out", "out"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(filesIn("out"), (std::vector<std::string>{"twelve_Compress.pdf"}));

    run = cli({"merge", "twelve.pdf", "notes.pdf", "--out", "out", "--lang", "zh"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("转换失败"), std::string::npos) << run.err;
    EXPECT_EQ(filesIn("out"), (std::vector<std::string>{"twelve_Compress.pdf"}));

    // An output folder that cannot be made: a file stands in its way.
    run = cli({"extract", "twelve.pdf", "--pages", "1-2", "--out", "twelve.pdf/sub"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("Unable To Create Outfile"), std::string::npos) << run.err;
    run = cli({"split", "twelve.pdf", "--every", "3", "--out", "twelve.pdf/sub"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("Unable To Create Outfile"), std::string::npos) << run.err;

    // Pages past the end: qpdf refuses and no file appears.
    run = cli({"extract", "twelve.pdf", "--pages", "10-40", "--out", "out"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(filesIn("out"), (std::vector<std::string>{"twelve_Compress.pdf"}));
}
