// Splits through the converter against the real qpdf: piece names, pages, progress, and the
// one-run and one-run-per-piece ways giving the same pieces.

#include "RecordingCallback.h"
#include "core/common/Utils.h"
#include "core/converter/ConverterFactory.h"
#include "core/converter/InputElement.h"
#include "core/converter/PageToolRunner.h"
#include "core/converter/PdfOperations.h"
#include "core/converter/PdfSplitter.h"
#include "support/HostilePdf.h"
#include "support/PdfFactory.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

using namespace Converter;
namespace fs = std::filesystem;

namespace {

class Splits : public testing::Test {
protected:
    std::shared_ptr<RecordingCallback> split(const fs::path& input, int toPage, int pageCount, int mode,
                                             int size, std::vector<int> points, const fs::path& folder)
    {
        auto element = std::make_shared<InputElement>(Utils::fromFsPath(input), 1, toPage);
        element->setPageCount(pageCount);
        element->setSplitMode(mode);
        element->setPagesPerPiece(size);
        element->setSplitPoints(std::move(points));
        auto callback = std::make_shared<RecordingCallback>();
        createConverter(13)->run(element, Utils::fromFsPath(folder), createParameter(13), callback);
        return callback;
    }

    // Every entry of the folder, hidden ones included, with the pages of each file.
    std::map<std::string, std::vector<int>> contents(const fs::path& folder) const
    {
        std::map<std::string, std::vector<int>> result;
        for (const auto& entry : fs::directory_iterator(folder))
            result[entry.path().filename().string()] = PdfFactory::pageNumbers(entry.path());
        return result;
    }

    static std::vector<int> range(int first, int last) { return PdfFactory::pageRange(first, last); }

    static constexpr int kEvery = InputElement::kSplitEvery;
    static constexpr int kPoints = InputElement::kSplitAtPoints;
    TempDir dir;
};

} // namespace

TEST_F(Splits, EveryNPagesInOneRunAndPerPieceGiveTheSamePieces)
{
    PdfFactory::write(dir.file("report.pdf"), 100);
    EXPECT_TRUE(PdfSplitter::canSplitInOneRun([] {
        InputElement e(L"x", 1, 100);
        e.setPageCount(100);
        e.setPagesPerPiece(30);
        return e;
    }()));

    // One run (page count known), into a folder that does not exist yet.
    const fs::path fast = dir.file("out/deep/report");
    auto callback = split(dir.file("report.pdf"), 100, 100, kEvery, 30, {}, fast);
    EXPECT_TRUE(callback->ok);
    EXPECT_TRUE(callback->errors.empty());
    EXPECT_EQ(callback->finished, 1);
    EXPECT_EQ(callback->outputPath, Utils::fromFsPath(fast));
    EXPECT_EQ(callback->progress,
              (std::vector<ProgressCall>{{4, 0, 0}, {4, 30, 100}, {4, 60, 100}, {4, 90, 100}, {4, 100, 100}}));
    const std::map<std::string, std::vector<int>> expected = {{"report_1_30.pdf", range(1, 30)},
                                                              {"report_31_60.pdf", range(31, 60)},
                                                              {"report_61_90.pdf", range(61, 90)},
                                                              {"report_91_100.pdf", range(91, 100)}};
    EXPECT_EQ(contents(fast), expected);

    // One run per piece (page count unknown) writes the same.
    const fs::path slow = dir.file("slow");
    callback = split(dir.file("report.pdf"), 100, -1, kEvery, 30, {}, slow);
    EXPECT_TRUE(callback->ok);
    EXPECT_EQ(callback->progress,
              (std::vector<ProgressCall>{{4, 0, 0}, {4, 30, 100}, {4, 60, 100}, {4, 90, 100}, {4, 100, 100}}));
    EXPECT_EQ(contents(slow), expected);

    // A last page before the document's end; a stale piece of an earlier run is replaced.
    fs::create_directories(dir.file("part"));
    writeFile(dir.file("part/report_9_10.pdf"), "stale");
    callback = split(dir.file("report.pdf"), 10, 100, kEvery, 4, {}, dir.file("part"));
    EXPECT_TRUE(callback->ok);
    EXPECT_EQ(contents(dir.file("part")), (std::map<std::string, std::vector<int>>{
                                              {"report_1_4.pdf", range(1, 4)},
                                              {"report_5_8.pdf", range(5, 8)},
                                              {"report_9_10.pdf", range(9, 10)}}));
}

TEST_F(Splits, SplitPointsStopOnceTheLastPageIsPassed)
{
    PdfFactory::write(dir.file("report.pdf"), 100);
    auto callback = split(dir.file("report.pdf"), 30, 100, kPoints, 1, {20, 50}, dir.file("pts"));
    EXPECT_TRUE(callback->ok);
    EXPECT_EQ(callback->progress, (std::vector<ProgressCall>{{4, 0, 0}, {4, 20, 100}, {4, 30, 100}}));
    EXPECT_EQ(contents(dir.file("pts")), (std::map<std::string, std::vector<int>>{
                                             {"report_1_20.pdf", range(1, 20)},
                                             {"report_21_30.pdf", range(21, 30)}}));
}

TEST_F(Splits, NamesWithPercentSignsAreTakenLiterally)
{
    PdfFactory::write(dir.file("50%d off.pdf"), 4);
    const fs::path folder = dir.file("x%d/50%d off");
    EXPECT_TRUE(split(dir.file("50%d off.pdf"), 4, 4, kEvery, 2, {}, folder)->ok);
    EXPECT_EQ(contents(folder), (std::map<std::string, std::vector<int>>{{"50%d off_1_2.pdf", range(1, 2)},
                                                                         {"50%d off_3_4.pdf", range(3, 4)}}));
}

TEST_F(Splits, FailuresStopAndKeepOnlyFinishedPieces)
{
    PdfFactory::write(dir.file("ten.pdf"), 10);

    // A pieces size below 1 is refused before anything is touched.
    auto callback = split(dir.file("ten.pdf"), 10, 10, kEvery, 0, {}, dir.file("zero"));
    EXPECT_FALSE(callback->ok);
    EXPECT_EQ(callback->finished, 1);
    ASSERT_EQ(callback->errors.size(), 1u);
    EXPECT_EQ(callback->errors[0].reason, FailureReason::InvalidParameters);
    EXPECT_FALSE(fs::exists(dir.file("zero")));

    // Per piece: the second piece runs past the end, so the split stops there.
    callback = split(dir.file("ten.pdf"), 20, -1, kPoints, 1, {3}, dir.file("past"));
    EXPECT_FALSE(callback->ok);
    EXPECT_EQ(callback->errors.size(), 1u);
    EXPECT_EQ(callback->progress, (std::vector<ProgressCall>{{4, 0, 0}, {4, 3, 20}, {4, 20, 20}}));
    EXPECT_EQ(contents(dir.file("past")), (std::map<std::string, std::vector<int>>{{"ten_1_3.pdf", range(1, 3)}}));

    // In one run: an input qpdf cannot read leaves neither pieces nor its work folder.
    writeFile(dir.file("fake.pdf"), "not a pdf");
    fs::create_directories(dir.file("fakeout"));
    writeFile(dir.file("fakeout/fake_1_5.pdf"), "stale");
    callback = split(dir.file("fake.pdf"), 10, 10, kEvery, 5, {}, dir.file("fakeout"));
    EXPECT_FALSE(callback->ok);
    ASSERT_EQ(callback->errors.size(), 1u);
    EXPECT_EQ(callback->errors[0].reason, FailureReason::NotAPdf);
    EXPECT_TRUE(!fs::exists(dir.file("fakeout")) || fs::is_empty(dir.file("fakeout")));

    // An output folder that cannot be made.
    writeFile(dir.file("blocker"), "x");
    callback = split(dir.file("ten.pdf"), 10, 10, kEvery, 5, {}, dir.file("blocker/sub"));
    EXPECT_FALSE(callback->ok);
    EXPECT_EQ(callback->errors[0].reason, FailureReason::CannotCreateOutput);
}

// A row whose page count came from a page tree that lies (/Count 2^31 - 1 over one page): the
// count is checked against the page tree, and a split of such a row fails with a reason
// instead of building a plan of 2^31 pieces. The split runs in a child under 512 MB, so a
// regression fails there instead of eating the machine's memory.
[[noreturn]] void splitLyingRowUnderLimit(const fs::path& input, const fs::path& out)
{
    // Not in sanitizer builds, whose shadow memory reserves terabytes.
    if (PageToolRunner::kMemoryLimit != 0) {
        const struct rlimit limit{std::size_t(512) << 20, std::size_t(512) << 20};
        ::setrlimit(RLIMIT_AS, &limit);
    }
    for (const int mode : {InputElement::kSplitEvery, InputElement::kSplitAtPoints}) {
        auto element = std::make_shared<InputElement>(Utils::fromFsPath(input), 1, 2147483647);
        element->setPageCount(2147483647);
        element->setSplitMode(mode);
        element->setPagesPerPiece(1);
        element->setSplitPoints({1, 2, 3});
        auto callback = std::make_shared<RecordingCallback>();
        createConverter(13)->run(element, Utils::fromFsPath(out), createParameter(13), callback);
        // Points past the real page are refused by the page program, with their page.
        const std::wstring reason = mode == InputElement::kSplitEvery ? L"more pieces than the file" : L"page 2";
        if (callback->ok || callback->errors.size() != 1 ||
            callback->errors.front().detail.find(reason) == std::wstring::npos)
            std::_Exit(1);
    }
    std::_Exit(0);
}

TEST_F(Splits, APageCountTheFileCannotHoldNeverBecomesAPlan)
{
    HostilePdf::writeStatedPageCount(dir.file("lie.pdf"), 1, 2147483647LL);
    EXPECT_EQ(countPages(Utils::fromFsPath(dir.file("lie.pdf")), nullptr), 1);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(splitLyingRowUnderLimit(dir.file("lie.pdf"), dir.file("out")), testing::ExitedWithCode(0), "");
    EXPECT_FALSE(fs::exists(dir.file("out")));
}

// Whatever a job throws (here: memory running out while a piece is reported) ends as the
// row's failure, with its one onFinished; nothing leaves the worker thread.
TEST_F(Splits, AnExceptionInAJobBecomesItsFailure)
{
    class Exhausted : public RecordingCallback {
    public:
        void onProgress(int type, int current, int total) override
        {
            RecordingCallback::onProgress(type, current, total);
            if (current > 0)
                throw std::bad_alloc();
        }
    };
    PdfFactory::write(dir.file("four.pdf"), 4);
    auto element = std::make_shared<InputElement>(Utils::fromFsPath(dir.file("four.pdf")), 1, 4);
    element->setPageCount(4);
    element->setSplitMode(InputElement::kSplitEvery);
    element->setPagesPerPiece(2);
    auto callback = std::make_shared<Exhausted>();
    createConverter(13)->run(element, Utils::fromFsPath(dir.file("out")), createParameter(13), callback);
    EXPECT_FALSE(callback->ok);
    EXPECT_EQ(callback->finished, 1);
    ASSERT_EQ(callback->errors.size(), 1u);
    EXPECT_EQ(callback->errors.front().detail, L"not enough memory for this job");
    std::error_code ec;
    for (const auto& entry : fs::recursive_directory_iterator(dir.file("out"), ec))
        EXPECT_NE(entry.path().filename().string().rfind(".korvex-", 0), 0u) << entry.path();
}
