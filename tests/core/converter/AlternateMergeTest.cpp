// Merges that take one page of each input in turn, as a duplex scan needs (fronts, then the
// backs last to first), through the converter and the real korvex-pages, and the same order
// from qpdf --collate, the command line the engine falls back on.

#include "OutlineProbe.h"
#include "RecordingCallback.h"
#include "core/common/Utils.h"
#include "core/converter/ConverterFactory.h"
#include "core/converter/InputElement.h"
#include "core/converter/PdfHandleParameter.h"
#include "core/converter/QpdfArguments.h"
#include "core/converter/QpdfRunner.h"
#include "support/PdfFactory.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace Converter;
namespace fs = std::filesystem;

namespace {

class AlternateMerge : public testing::Test {
protected:
    void SetUp() override
    {
        PdfFactory::write(dir.file("fronts.pdf"), 5);
        // The backs are pages 6-10 of a ten-page file, so their text tells them from the fronts.
        PdfFactory::write(dir.file("ten.pdf"), 10);
        ASSERT_EQ(std::system((PdfFactory::qpdf() + " " + dir.file("ten.pdf").string() + " --pages . 6-10 -- " +
                               dir.file("backs.pdf").string()).c_str()),
                  0);
    }

    std::shared_ptr<RecordingCallback> merge(PdfHandleParameter::MergeList list, bool alternate, const fs::path& output)
    {
        auto parameter = std::dynamic_pointer_cast<PdfHandleParameter>(createParameter(12));
        parameter->setMergeList(std::move(list));
        parameter->setAlternate(alternate);
        auto callback = std::make_shared<RecordingCallback>();
        createConverter(12)->run(std::make_shared<InputElement>(in("fronts.pdf"), 1, 5), Utils::fromFsPath(output),
                                 parameter, callback);
        return callback;
    }

    std::wstring in(const std::string& name) const { return dir.wide(name); }

    TempDir dir;
};

TEST_F(AlternateMerge, FrontsAndReversedBacksComeOutInReadingOrder)
{
    const fs::path output = dir.file("duplex.pdf");
    const auto callback = merge({{in("fronts.pdf"), L"1-5"}, {in("backs.pdf"), L"5-1"}}, true, output);
    ASSERT_TRUE(callback->ok) << (callback->errors.empty() ? "" : Utils::wideToUtf8(callback->errors[0].detail));
    // F1 B5 F2 B4 F3 B3 F4 B2 F5 B1.
    EXPECT_EQ(PdfFactory::pageNumbers(output), (std::vector<int>{1, 10, 2, 9, 3, 8, 4, 7, 5, 6}));
    // Each file's bookmark leads to the first of its pages in the result.
    EXPECT_EQ(outlineOf(output), "fronts@1, backs@2");

    // qpdf's collate gives the same order.
    const fs::path collated = dir.file("collated.pdf");
    const auto run = QpdfRunner::run(
        QpdfArguments::merge({{in("fronts.pdf"), L"1-5"}, {in("backs.pdf"), L"5-1"}}, Utils::fromFsPath(collated), true),
        nullptr);
    ASSERT_TRUE(QpdfRunner::isSuccessCode(run.exitCode));
    EXPECT_EQ(PdfFactory::pageNumbers(collated), PdfFactory::pageNumbers(output));
}

TEST_F(AlternateMerge, RangesAreKeptAndTheLongerInputGoesOnAlone)
{
    const fs::path output = dir.file("uneven.pdf");
    ASSERT_TRUE(merge({{in("fronts.pdf"), L"2-3"}, {in("ten.pdf"), L"5-10"}, {in("backs.pdf"), L"2-1"}}, true, output)->ok);
    EXPECT_EQ(PdfFactory::pageNumbers(output), (std::vector<int>{2, 5, 7, 3, 6, 6, 7, 8, 9, 10}));

    // In order, as before: each input whole, a reversed range last to first.
    const fs::path ordered = dir.file("ordered.pdf");
    ASSERT_TRUE(merge({{in("fronts.pdf"), L"2-3"}, {in("backs.pdf"), L"2-1"}}, false, ordered)->ok);
    EXPECT_EQ(PdfFactory::pageNumbers(ordered), (std::vector<int>{2, 3, 7, 6}));
}

} // namespace
