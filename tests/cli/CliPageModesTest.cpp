// korvex-pdf-cli's split by size and alternate merge, from the outside.

#include "core/converter/ChildProcess.h"
#include "support/PdfFactory.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <regex>

namespace fs = std::filesystem;
using Converter::ChildProcess;

namespace {

class CliPageModes : public testing::Test {
protected:
    void SetUp() override
    {
        PdfFactory::write(dir.file("fronts.pdf"), 5);
        // Page 4 is one no 1 KB piece can hold.
        PdfFactory::writeWithHeavyPage(dir.file("ten.pdf"), 10, 4, 2000);
    }

    ChildProcess::Result cli(const std::vector<std::string>& args)
    {
        ChildProcess::Options options;
        options.captureOutput = true;
        options.workingDirectory = dir.path().string();
        return ChildProcess::run(KORVEX_CLI_PATH, args, nullptr, options);
    }

    TempDir dir;
};

TEST_F(CliPageModes, SplitBySizeWritesPiecesWithinTheSizeAndNamesPagesOverIt)
{
    // Other pages take well under 1 KB alone, and a few of them fit into 2 KB.
    const auto run = cli({"split", "ten.pdf", "--size", "0.002", "--out", "out"});
    ASSERT_EQ(run.exitCode, 0) << run.errorTail;
    int pages = 0, pieces = 0;
    static const std::regex name(R"(ten_(\d+)_(\d+)\.pdf)");
    for (const auto& entry : fs::directory_iterator(dir.file("out/ten"))) {
        std::smatch m;
        const std::string file = entry.path().filename().string();
        ASSERT_TRUE(std::regex_match(file, m, name)) << file;
        const int first = std::stoi(m[1]), last = std::stoi(m[2]);
        if (file != "ten_4_4.pdf") {
            EXPECT_LE(entry.file_size(), 2000u) << file;
        }
        EXPECT_EQ(PdfFactory::pageCount(entry.path()), last - first + 1);
        pages += last - first + 1;
        ++pieces;
    }
    EXPECT_EQ(pages, 10);
    EXPECT_TRUE(fs::exists(dir.file("out/ten/ten_4_4.pdf")));
    EXPECT_NE(run.errorTail.find("Page 4 alone is over the size"), std::string::npos) << run.errorTail;
    EXPECT_GT(pieces, 3);
    EXPECT_LT(pieces, 10);

    // At 1 KB a page can be over the limit alone: it is a piece of its own, named on standard
    // error, and no other piece is.
    const auto tight = cli({"split", "ten.pdf", "--size", "0.001", "--out", "tight"});
    ASSERT_EQ(tight.exitCode, 0) << tight.errorTail;
    int over = 0;
    for (const auto& entry : fs::directory_iterator(dir.file("tight/ten"))) {
        std::smatch m;
        const std::string file = entry.path().filename().string();
        ASSERT_TRUE(std::regex_match(file, m, name)) << file;
        const bool noted = tight.errorTail.find("Page " + m[1].str() + " alone is over the size") != std::string::npos;
        if (entry.file_size() > 1000u) {
            ++over;
            EXPECT_EQ(m[1], m[2]) << file;
        }
        EXPECT_EQ(noted, entry.file_size() > 1000u) << file;
    }
    EXPECT_EQ(over, 1);
}

TEST_F(CliPageModes, SplitBySizeNamesOnlyPagesItWroteItselfOverTheSize)
{
    // A piece of some earlier split, over the size, under a name this split could give.
    fs::create_directories(dir.file("out/ten"));
    const fs::path stale = dir.file("out/ten/ten_2_2.pdf");
    PdfFactory::writeWithHeavyPage(stale, 1, 1, 6000);
    const auto staleSize = fs::file_size(stale);
    ASSERT_GT(staleSize, 2000u);

    const auto run = cli({"split", "ten.pdf", "--size", "0.002", "--out", "out"});
    ASSERT_EQ(run.exitCode, 0) << run.errorTail;
    ASSERT_EQ(fs::file_size(stale), staleSize) << "this split wrote page 2 alone; the stale piece proves nothing";
    EXPECT_NE(run.errorTail.find("Page 4 alone is over the size"), std::string::npos) << run.errorTail;
    EXPECT_EQ(run.errorTail.find("Page 2 alone"), std::string::npos) << run.errorTail;
}

TEST_F(CliPageModes, AlternateMergeTakesAPageOfEachFileInTurnReversedWhereMarked)
{
    const auto run = cli({"merge", "--alternate", "fronts.pdf", "ten.pdf:6-10:r", "--out", "out"});
    ASSERT_EQ(run.exitCode, 0) << run.errorTail;
    EXPECT_EQ(PdfFactory::pageNumbers(dir.file("out/fronts_Merged.pdf")), (std::vector<int>{1, 10, 2, 9, 3, 8, 4, 7, 5, 6}));

    // A whole file marked, in order: its pages last to first after the others.
    const auto ordered = cli({"merge", "fronts.pdf:2-3", "fronts.pdf:r", "--out", "ordered"});
    ASSERT_EQ(ordered.exitCode, 0) << ordered.errorTail;
    EXPECT_EQ(PdfFactory::pageNumbers(dir.file("ordered/fronts_Merged.pdf")), (std::vector<int>{2, 3, 5, 4, 3, 2, 1}));
}

TEST_F(CliPageModes, SizesAndModesThatCannotRunAreUsageErrors)
{
    const std::vector<std::vector<std::string>> wrong = {
        {"split", "ten.pdf", "--size", "0"},
        {"split", "ten.pdf", "--size", "-3"},
        {"split", "ten.pdf", "--size", "ten"},
        {"split", "ten.pdf", "--size", "2000000"},
        {"split", "ten.pdf", "--size"},
        {"split", "ten.pdf", "--size", "5", "--every", "2"},
        {"merge", "fronts.pdf", "ten.pdf", "--size", "5"},
        {"split", "ten.pdf", "--every", "2", "--alternate"},
    };
    for (const auto& args : wrong) {
        const auto run = cli(args);
        EXPECT_EQ(run.exitCode, 2) << args.back();
        EXPECT_FALSE(fs::exists(dir.file("ten")));
    }
}

} // namespace
