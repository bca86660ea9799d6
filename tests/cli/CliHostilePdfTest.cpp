// Hostile PDFs through korvex-pages and korvex-pdf-cli, each run under a 512 MB address space
// limit and a watchdog far above any sound run: outlines that loop, a page tree that states
// 2^31 - 1 pages, bookmarks with 120 KB titles. Each must end with a correct output or a clear
// error, never eat the machine's memory or hang.

#include "CliRun.h"
#include "core/converter/ChildProcess.h"
#include "core/converter/PageToolRunner.h"
#include "support/HostilePdf.h"
#include "support/PdfFactory.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>

namespace fs = std::filesystem;
using Converter::ChildProcess;
using HostilePdf::OutlineLoop;

namespace {

// Sanitizer builds reserve terabytes of shadow memory: no address space limit there (the
// engine gives its page program none either).
constexpr std::size_t kMemoryLimit =
    Converter::PageToolRunner::kMemoryLimit == 0 ? 0 : std::size_t(512) << 20;

class CliHostilePdf : public testing::Test {
protected:
    // The program under the memory limit.
    CliRun run(const std::string& program, const std::vector<std::string>& args)
    {
        ChildProcess::Options options;
        options.memoryLimit = kMemoryLimit;
        return runProgram(program, args, dir.path(), options);
    }
    CliRun cli(const std::vector<std::string>& args) { return run(KORVEX_CLI_PATH, args); }
    CliRun pages(const std::vector<std::string>& args) { return run(KORVEX_PAGES_PATH, args); }

    std::vector<std::string> filesIn(const std::string& folder) const
    {
        return namesIn(dir.file(folder));
    }

    TempDir dir;
};

} // namespace

TEST_F(CliHostilePdf, OutlineLoopsEndTheWalkThereAndEveryJobStillWorks)
{
    for (const OutlineLoop loop : {OutlineLoop::NextToItself, OutlineLoop::FirstToItself,
                                   OutlineLoop::FirstToOutlines, OutlineLoop::FirstToCatalog}) {
        SCOPED_TRACE(static_cast<int>(loop));
        fs::remove_all(dir.file("out"));
        fs::create_directories(dir.file("raw"));
        HostilePdf::writeOutlineLoop(dir.file("loop.pdf"), loop);

        CliRun r = pages({"extract", "loop.pdf", "1-3", "raw/extract.pdf"});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(PdfFactory::pageNumbers(dir.file("raw/extract.pdf")), (std::vector<int>{1, 2, 3}));
        r = pages({"merge", "raw/merge.pdf", "loop.pdf", "2-3", "loop.pdf", "1"});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(PdfFactory::pageNumbers(dir.file("raw/merge.pdf")), (std::vector<int>{2, 3, 1}));

        r = cli({"split", "loop.pdf", "--every", "1", "--out", "out"});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(filesIn("out/loop"), (std::vector<std::string>{"loop_1_1.pdf", "loop_2_2.pdf", "loop_3_3.pdf"}));
        r = cli({"extract", "loop.pdf", "--pages", "2-3", "--out", "out"});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(PdfFactory::pageNumbers(dir.file("out/loop_EXTRACT.pdf")), (std::vector<int>{2, 3}));
        r = cli({"merge", "loop.pdf", "loop.pdf:1-1", "--out", "out"});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(PdfFactory::pageCount(dir.file("out/loop_Merged.pdf")), 4);

        // What the walk read before the loop still counts: the chapters give their pieces.
        r = cli({"split", "loop.pdf", "--bookmarks", "1", "--out", "marks"});
        if (loop == OutlineLoop::NextToItself || loop == OutlineLoop::FirstToItself) {
            EXPECT_EQ(r.exitCode, 0) << r.err;
            EXPECT_EQ(filesIn("marks/loop"), (std::vector<std::string>{"Chapter_2_2_3.pdf", "Intro_1_1_1.pdf"}));
        } else {
            EXPECT_EQ(r.exitCode, 1) << r.err; // no bookmark points at a page: said so
            EXPECT_NE(r.err.find("Bookmarks"), std::string::npos) << r.err;
        }
        fs::remove_all(dir.file("marks"));
    }
}

TEST_F(CliHostilePdf, APageCountTheFileCannotHoldIsCheckedAgainstItsPageTree)
{
    HostilePdf::writeStatedPageCount(dir.file("lie.pdf"), 1, 2147483647LL);
    ASSERT_LT(fs::file_size(dir.file("lie.pdf")), 1000u);

    CliRun r = pages({"count", "lie.pdf"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "1\n");
    // What the engine asks first: the claim as it stands, which it then checks.
    r = pages({"count", "--stated", "lie.pdf"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "2147483647\n");

    r = cli({"info", "lie.pdf"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("lie.pdf: 1 pages"), std::string::npos) << r.out;

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"split", "lie.pdf", "--every", "1", "--out", "out"},
          {"split", "lie.pdf", "--at", "1,2,3", "--out", "out"}}) {
        fs::remove_all(dir.file("out"));
        r = cli(args);
        EXPECT_EQ(r.signal, 0) << testing::PrintToString(args);
        EXPECT_EQ(r.exitCode, 0) << testing::PrintToString(args) << r.err;
        EXPECT_EQ(filesIn("out/lie"), std::vector<std::string>{"lie_1_1.pdf"});
    }
}

TEST_F(CliHostilePdf, LongBookmarkTitlesGiveShortNamesWithoutDelay)
{
    HostilePdf::writeLongTitles(dir.file("long.pdf"), 100, 120 * 1024);
    const CliRun r = cli({"split", "long.pdf", "--bookmarks", "1", "--out", "out"});
    EXPECT_EQ(r.signal, 0) << "killed: it ran for minutes";
    EXPECT_EQ(r.exitCode, 0) << r.err;
    const std::vector<std::string> names = filesIn("out/long");
    ASSERT_EQ(names.size(), 100u);
    const std::string title(180, 'T');
    for (int n = 1; n <= 100; ++n) {
        const std::string name = title + "_" + std::to_string(n) + "_" + std::to_string(n) + "_" + std::to_string(n) + ".pdf";
        EXPECT_TRUE(fs::exists(dir.file("out/long/" + name))) << n;
    }
}

// qpdf reads an object it has no memory for as null and only warns: page 2 of this file, with
// six million empty arrays in its dictionary, came out blank in a split that ended "with
// warnings". Every run that reads it must fail, and leave nothing.
TEST_F(CliHostilePdf, APageTooLargeForTheMemoryLimitFailsTheRunInsteadOfComingOutBlank)
{
    if (kMemoryLimit == 0)
        GTEST_SKIP() << "no memory limit in sanitizer builds";
    std::vector<std::string> objects = PdfFactory::documentObjects(3);
    std::string arrays = " /Junk [";
    for (int i = 0; i < 6 << 20; ++i)
        arrays += "[]";
    objects[5].insert(2, arrays + "]");
    PdfFactory::writeObjects(dir.file("huge.pdf"), objects);

    ChildProcess::Options options;
    options.memoryLimit = kMemoryLimit;
    options.input = "1-3\n";
    fs::create_directory(dir.file("pieces"));
    CliRun r = runProgram(KORVEX_PAGES_PATH, {"split", "huge.pdf", "pieces", "--pieces"}, dir.path(), options);
    EXPECT_EQ(r.signal, 0);
    EXPECT_EQ(r.exitCode, 2) << r.err;
    EXPECT_NE(r.err.find("korvex-pages: out of memory"), std::string::npos) << r.err;

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"split", "huge.pdf", "--every", "1", "--out", "out"},
          {"extract", "huge.pdf", "--pages", "1-3", "--out", "out"}}) {
        r = cli(args);
        EXPECT_EQ(r.signal, 0) << testing::PrintToString(args);
        EXPECT_NE(r.exitCode, 0) << testing::PrintToString(args);
        EXPECT_NE((r.out + r.err).find("out of memory"), std::string::npos) << r.out << r.err;
    }
    EXPECT_TRUE(fs::is_empty(dir.file("out"))) << testing::PrintToString(namesIn(dir.file("out")));
}
