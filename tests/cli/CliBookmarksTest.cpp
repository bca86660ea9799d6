// korvex-pdf-cli split --bookmarks LEVEL from the outside.

#include "core/converter/ChildProcess.h"
#include "support/BookmarkedPdf.h"
#include "support/PdfFactory.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using BookmarkedPdf::Target;

namespace {

Converter::ChildProcess::Result runCli(const TempDir& dir, const std::vector<std::string>& args)
{
    Converter::ChildProcess::Options options;
    options.captureOutput = true;
    options.workingDirectory = dir.path().string();
    return Converter::ChildProcess::run(KORVEX_CLI_PATH, args, nullptr, options);
}

} // namespace

TEST(CliBookmarks, SplitsAtTheBookmarksOfTheLevelAndRefusesBadLevels)
{
    TempDir dir;
    BookmarkedPdf::write(dir.file("guide.pdf"), 9,
                         {{"Part A", 1, Target::Page, {{"A.1", 2, Target::CatalogDests, {}}}},
                          {"Part B", 5, Target::GoToAction, {{"B.1", 6, Target::Page, {}}}}});
    auto run = runCli(dir, {"split", "guide.pdf", "--bookmarks", "2", "--out", "out"});
    EXPECT_EQ(run.exitCode, 0) << run.errorTail;
    EXPECT_EQ(run.output, dir.file("out/guide").string() + "\n");
    EXPECT_EQ(PdfFactory::pageCount(dir.file("out/guide/A.1_1_2_4.pdf")), 3);
    EXPECT_EQ(PdfFactory::pageCount(dir.file("out/guide/B.1_2_6_9.pdf")), 4);

    for (const std::vector<std::string>& wrong :
         {std::vector<std::string>{"split", "guide.pdf", "--bookmarks", "0"},
          {"split", "guide.pdf", "--bookmarks", "x"},
          {"split", "guide.pdf", "--bookmarks", "1", "--every", "2"},
          {"merge", "guide.pdf", "--bookmarks", "1"}}) {
        EXPECT_EQ(runCli(dir, wrong).exitCode, 2) << wrong[2];
    }

    // A file without bookmarks fails and says why.
    PdfFactory::write(dir.file("plain.pdf"), 3);
    run = runCli(dir, {"split", "plain.pdf", "--bookmarks", "1", "--out", "out"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errorTail.find("This File Has No Bookmarks"), std::string::npos) << run.errorTail;
    EXPECT_FALSE(fs::exists(dir.file("out/plain")));
}
