// Splits by written size through the converter and the real korvex-pages, on a file whose
// pages differ in size by two orders of magnitude: every piece is at most the limit on disk,
// no piece could have taken its next page, and a page over the limit stands alone.

#include "ImagePdf.h"
#include "RecordingCallback.h"
#include "core/common/Utils.h"
#include "core/converter/ConverterFactory.h"
#include "core/converter/InputElement.h"
#include "core/converter/PageToolRunner.h"
#include "core/converter/PieceSize.h"
#include "support/PdfFactory.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>

using namespace Converter;
namespace fs = std::filesystem;

namespace {

constexpr int kPages = 14;

class SplitBySize : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(PageToolRunner::available());
        // Big images on pages 2, 6 and 7, a huge one on page 10, text only elsewhere.
        std::vector<ImagePdf::Image> images = {
            {"medium2", ImagePdf::Kind::Rgb, 220, 220, 2, {{100, 100}}},
            {"medium6", ImagePdf::Kind::Rgb, 160, 160, 6, {{100, 100}}},
            {"small7", ImagePdf::Kind::Gray, 120, 120, 7, {{50, 50}}},
            {"huge10", ImagePdf::Kind::Rgb, 520, 520, 10, {{200, 200}}},
            {"small13", ImagePdf::Kind::Gray, 90, 90, 13, {{50, 50}}},
        };
        ImagePdf::write(input, images, kPages);
    }

    // The size of pages first..last written as one piece by korvex-pages, the writer of the split.
    std::uintmax_t writtenSize(int first, int last)
    {
        const fs::path folder = dir.file("probe");
        fs::remove_all(folder);
        fs::create_directories(folder);
        ChildProcess::Options options;
        options.input = std::to_string(first) + "-" + std::to_string(last) + "\n";
        const auto run = PageToolRunner::run({L"split", Utils::fromFsPath(input), Utils::fromFsPath(folder), L"--pieces"},
                                             nullptr, options);
        EXPECT_EQ(run.exitCode, 0);
        return fs::file_size(folder / "1.pdf");
    }

    std::shared_ptr<RecordingCallback> split(std::uintmax_t limit, int from = 1, int to = kPages)
    {
        auto element = std::make_shared<InputElement>(Utils::fromFsPath(input), from, to);
        element->setPageCount(kPages);
        element->setSplitMode(InputElement::kSplitBySize);
        element->setPieceBytes(limit);
        auto callback = std::make_shared<RecordingCallback>();
        createConverter(13)->run(element, Utils::fromFsPath(out), createParameter(13), callback);
        return callback;
    }

    // first page -> (last page, size on disk) of each "mixed_<first>_<last>.pdf" in out.
    std::map<int, std::pair<int, std::uintmax_t>> pieces() const
    {
        std::map<int, std::pair<int, std::uintmax_t>> result;
        static const std::regex name(R"(mixed_(\d+)_(\d+)\.pdf)");
        for (const auto& entry : fs::directory_iterator(out)) {
            std::smatch m;
            const std::string file = entry.path().filename().string();
            EXPECT_TRUE(std::regex_match(file, m, name)) << file;
            if (!m.empty())
                result[std::stoi(m[1])] = {std::stoi(m[2]), entry.file_size()};
        }
        return result;
    }

    TempDir dir;
    fs::path input = dir.file("mixed.pdf");
    fs::path out = dir.file("out");
};

TEST_F(SplitBySize, PiecesFitTheLimitAndNoneCouldTakeItsNextPage)
{
    const std::uintmax_t huge = writtenSize(10, 10);
    const std::uintmax_t medium = writtenSize(2, 2);
    ASSERT_GT(huge, 4 * medium) << "the generated pages are not different enough";
    // Room for a medium page and some small ones, never for the huge page.
    for (const std::uintmax_t limit : {huge - 1, medium + medium / 3, medium * 2}) {
        SCOPED_TRACE("limit " + std::to_string(limit));
        fs::remove_all(out);
        const auto callback = split(limit);
        ASSERT_TRUE(callback->ok) << (callback->errors.empty() ? "" : Utils::wideToUtf8(callback->errors[0].detail));
        const auto written = pieces();
        ASSERT_FALSE(written.empty());
        int next = 1;
        std::vector<int> alone;
        for (const auto& [first, piece] : written) {
            const auto& [last, size] = piece;
            EXPECT_EQ(first, next) << "pages missing or doubled before piece " << first;
            EXPECT_EQ(PdfFactory::pageCount(out / ("mixed_" + std::to_string(first) + "_" + std::to_string(last) + ".pdf")),
                      last - first + 1);
            if (size > limit) {
                EXPECT_EQ(first, last) << "only a single page may be over the limit";
                alone.push_back(first);
            }
            // Greedy: one page more would not have fitted (so no fewer pieces in page order).
            if (last < kPages && size <= limit) {
                EXPECT_GT(writtenSize(first, last + 1), limit) << "piece " << first << "-" << last << " could take a page more";
            }
            next = last + 1;
        }
        EXPECT_EQ(next, kPages + 1);
        EXPECT_EQ(alone, std::vector<int>{10});
        EXPECT_EQ(callback->oversize, std::vector<std::vector<int>>{alone}) << "the pages korvex-pages wrote alone over the size";
    }
}

TEST_F(SplitBySize, PiecesOfAnEarlierSplitInTheFolderAreNeverNamedOverTheSize)
{
    // An earlier split of every page leaves the huge page 10 alone in the folder.
    auto element = std::make_shared<InputElement>(Utils::fromFsPath(input), 1, kPages);
    element->setPageCount(kPages);
    element->setSplitMode(InputElement::kSplitEvery);
    element->setPagesPerPiece(1);
    auto every = std::make_shared<RecordingCallback>();
    createConverter(13)->run(element, Utils::fromFsPath(out), createParameter(13), every);
    ASSERT_TRUE(every->ok);
    EXPECT_TRUE(every->oversize.empty()) << "only a split by size has a size to be over";
    const fs::path stale = out / "mixed_10_10.pdf";
    ASSERT_TRUE(fs::exists(stale));

    // Pages 1-9 by a size that page 2 alone is over, and the old page 10 too.
    const std::uintmax_t limit = writtenSize(2, 2) - 1;
    std::vector<int> over;
    for (int page = 1; page <= 9; ++page)
        if (writtenSize(page, page) > limit)
            over.push_back(page);
    ASSERT_TRUE(fs::file_size(stale) > limit);
    const auto callback = split(limit, 1, 9);
    ASSERT_TRUE(callback->ok);
    EXPECT_TRUE(fs::exists(stale)) << "a piece outside the row's pages is not this run's to remove";
    EXPECT_EQ(callback->oversize, std::vector<std::vector<int>>{over});
    EXPECT_EQ(over.front(), 2);

    // Nothing over the size: the callback is not told of any page.
    EXPECT_TRUE(split(100u * InputElement::kBytesPerMb, 1, 9)->oversize.empty());
}

TEST_F(SplitBySize, EverythingUnderTheLimitIsOnePieceAndTheRowsPagesAreKept)
{
    auto callback = split(100u * InputElement::kBytesPerMb);
    ASSERT_TRUE(callback->ok);
    EXPECT_EQ(pieces().size(), 1u);
    EXPECT_TRUE(fs::exists(out / "mixed_1_14.pdf"));

    fs::remove_all(out);
    callback = split(100u * InputElement::kBytesPerMb, 3, 8);
    ASSERT_TRUE(callback->ok);
    EXPECT_TRUE(fs::exists(out / "mixed_3_8.pdf"));
    EXPECT_EQ(pieces().size(), 1u);
}

TEST_F(SplitBySize, NoSizeIsRefusedBeforeAnythingIsWritten)
{
    const auto callback = split(0);
    EXPECT_FALSE(callback->ok);
    ASSERT_EQ(callback->errors.size(), 1u);
    EXPECT_EQ(callback->errors[0].reason, FailureReason::InvalidParameters);
    EXPECT_FALSE(fs::exists(out));
}

TEST(PieceMegabytes, ReadsDecimalMegabytesAndRefusesWhatCannotBeAPieceSize)
{
    std::uintmax_t bytes = 0;
    EXPECT_EQ(readPieceMegabytes(L"10", bytes), PieceSizeStatus::Ok);
    EXPECT_EQ(bytes, 10000000u);
    EXPECT_EQ(readPieceMegabytes(L" 2.5 ", bytes), PieceSizeStatus::Ok);
    EXPECT_EQ(bytes, 2500000u);
    EXPECT_EQ(readPieceMegabytes(L".75", bytes), PieceSizeStatus::Ok);
    EXPECT_EQ(bytes, 750000u);
    EXPECT_EQ(readPieceMegabytes(L"0.001", bytes), PieceSizeStatus::Ok);
    EXPECT_EQ(bytes, 1000u);
    EXPECT_EQ(readPieceMegabytes(L"1000000", bytes), PieceSizeStatus::Ok);
    EXPECT_EQ(bytes, 1000000u * InputElement::kBytesPerMb);

    bytes = 7;
    for (const wchar_t* text : {L"", L" ", L".", L"-1", L"1e3", L"abc", L"1.2.3", L"5 MB", L"0.0000001"})
        EXPECT_EQ(readPieceMegabytes(text, bytes), PieceSizeStatus::NoNumber) << Utils::wideToUtf8(text);
    EXPECT_EQ(readPieceMegabytes(L"0", bytes), PieceSizeStatus::BelowMinimum);
    EXPECT_EQ(readPieceMegabytes(L"0.0009", bytes), PieceSizeStatus::BelowMinimum);
    EXPECT_EQ(readPieceMegabytes(L"1000000.5", bytes), PieceSizeStatus::AboveMaximum);
    EXPECT_EQ(readPieceMegabytes(L"99999999999999999999999999", bytes), PieceSizeStatus::AboveMaximum);
    EXPECT_EQ(bytes, 7u) << "a refused text leaves the size alone";
    EXPECT_EQ(readPieceMegabytes(L"0000000000000000000012", bytes), PieceSizeStatus::Ok);
    EXPECT_EQ(bytes, 12000000u);
}

} // namespace
