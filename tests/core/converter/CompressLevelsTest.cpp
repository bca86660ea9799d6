// The compression levels on generated documents of images: what each level does to each kind
// of image, what it keeps (outline, links, names), its progress, never-larger outputs, the
// process slot, and damaged or hostile images.

#include "ImagePdf.h"
#include "OutlineProbe.h"
#include "RecordingCallback.h"
#include "SlotEnding.h"
#include "core/common/Utils.h"
#include "core/converter/ChildProcess.h"
#include "core/converter/CompressToolRunner.h"
#include "core/converter/ConverterFactory.h"
#include "core/converter/InputElement.h"
#include "core/converter/PdfHandleParameter.h"
#include "core/converter/PdfOperations.h"
#include "core/converter/ProcessSlot.h"
#include "core/converter/QpdfArguments.h"
#include "support/PdfFactory.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Converter;
using ImagePdf::Image;
using ImagePdf::Kind;
namespace fs = std::filesystem;

namespace {

std::wstring w(const fs::path& p)
{
    return Utils::fromFsPath(p);
}

bool qpdfChecks(const fs::path& file)
{
    const auto run = ChildProcess::run(PdfFactory::qpdf(), {"--check", file.string()}, nullptr, {});
    return run.started && run.exitCode == 0;
}

// Pixels an image drawn at `points` needs at `ppi`.
int pixels(double points, int ppi)
{
    return static_cast<int>(std::ceil(points / 72.0 * ppi));
}

// One of each kind, over six pages.
std::vector<Image> everyKind()
{
    return {
        {"rgb", Kind::Rgb, 1500, 1000, 1, {{300, 200}}},
        {"gray", Kind::Gray, 1200, 1200, 2, {{200, 200}}},
        {"masked", Kind::RgbWithSoftMask, 1000, 1000, 2, {{200, 200}}},
        {"indexed", Kind::Indexed, 800, 800, 3, {{100, 100}}},
        {"bilevel", Kind::Bilevel, 1600, 1600, 3, {{100, 100}}},
        {"twice", Kind::Rgb, 1200, 1200, 4, {{100, 100}, {300, 300}}},
        {"formed", Kind::Rgb, 1200, 1200, 5, {{400, 400}}, true, 0.5},
        {"smalljpeg", Kind::Jpeg, 100, 100, 6, {{300, 300}}},
    };
}

class CompressLevels : public testing::Test {
protected:
    void SetUp() override { ImagePdf::write(dir.file("images.pdf"), everyKind(), 6); }

    bool compress(CompressionLevel level, const fs::path& in, const fs::path& out, ConvertError* error = nullptr,
                  std::vector<std::pair<int, int>>* progress = nullptr)
    {
        return compressPdf(w(in), w(out), level, [&](int done, int count) {
            if (progress)
                progress->emplace_back(done, count);
        }, nullptr, error);
    }

    TempDir dir;
};

} // namespace

TEST_F(CompressLevels, EveryLevelWritesACheckedSmallerFileWithItsOutlineLinksAndNames)
{
    const fs::path in = dir.file("images.pdf");
    for (CompressionLevel level : {CompressionLevel::Standard, CompressionLevel::Lossless, CompressionLevel::Balanced,
                                   CompressionLevel::Strong}) {
        SCOPED_TRACE(compressionLevelName(level));
        const fs::path out = dir.file(std::string(compressionLevelName(level)) + ".pdf");
        ConvertError error;
        ASSERT_TRUE(compress(level, in, out, &error)) << Utils::wideToUtf8(error.detail);
        EXPECT_TRUE(qpdfChecks(out));
        EXPECT_EQ(outlineOf(out), outlineOf(in));
        EXPECT_EQ(outlineOf(out), "One@1, Two@2");
        EXPECT_EQ(ImagePdf::linkTargetsOf(out), std::vector<int>{2});
        EXPECT_EQ(PdfFactory::pageCount(out), 6);
        if (level != CompressionLevel::Standard) {
            EXPECT_LT(fs::file_size(out), fs::file_size(in));
        }
    }
}

TEST_F(CompressLevels, BalancedAndStrongDownsampleToTheLargestDrawnSizeAndLeaveTheRestAlone)
{
    const fs::path in = dir.file("images.pdf");
    const auto before = ImagePdf::imagesOf(in);
    for (const auto& [level, ppi] : {std::pair{CompressionLevel::Balanced, 150}, std::pair{CompressionLevel::Strong, 96}}) {
        SCOPED_TRACE(ppi);
        const fs::path out = dir.file("ppi" + std::to_string(ppi) + ".pdf");
        ASSERT_TRUE(compress(level, in, out));
        const auto after = ImagePdf::imagesOf(out);
        ASSERT_EQ(after.size(), before.size());

        EXPECT_EQ(after.at("rgb").filter, "/DCTDecode");
        EXPECT_NEAR(after.at("rgb").width, pixels(300, ppi), 1);
        EXPECT_NEAR(after.at("rgb").height, pixels(200, ppi), 1);
        EXPECT_EQ(after.at("gray").filter, "/DCTDecode");
        EXPECT_NEAR(after.at("gray").width, pixels(200, ppi), 1);
        // The mask follows its image, and stays flate gray.
        EXPECT_EQ(after.at("masked").filter, "/DCTDecode");
        EXPECT_NEAR(after.at("masked").width, pixels(200, ppi), 1);
        EXPECT_EQ(after.at("masked").maskWidth, after.at("masked").width);
        EXPECT_EQ(after.at("masked").maskHeight, after.at("masked").height);
        EXPECT_EQ(after.at("masked").maskFilter, "/FlateDecode");
        // Drawn at 100 and at 300 points: the larger decides.
        EXPECT_NEAR(after.at("twice").width, pixels(300, ppi), 1);
        // 400 points inside a form scaled by one half.
        EXPECT_NEAR(after.at("formed").width, pixels(200, ppi), 1);

        // Indexed and 1-bit images, and a JPEG below the resolution, are kept as they were.
        for (const char* kept : {"indexed", "bilevel", "smalljpeg"}) {
            EXPECT_EQ(after.at(kept).width, before.at(kept).width) << kept;
            EXPECT_EQ(after.at(kept).filter, before.at(kept).filter) << kept;
        }
    }
}

TEST_F(CompressLevels, LosslessKeepsEveryImageAndStoresIdenticalOnesOnce)
{
    ImagePdf::write(dir.file("twins.pdf"), {{"twin", Kind::Rgb, 400, 300, 1, {{100, 100}}, false, 1, false, 0, 0, true}}, 1);
    ASSERT_EQ(ImagePdf::copiesOf(dir.file("twins.pdf"), "twin"), 2);
    ASSERT_TRUE(compress(CompressionLevel::Lossless, dir.file("twins.pdf"), dir.file("once.pdf")));
    EXPECT_EQ(ImagePdf::copiesOf(dir.file("once.pdf"), "twin"), 1);
    EXPECT_TRUE(qpdfChecks(dir.file("once.pdf")));

    ASSERT_TRUE(compress(CompressionLevel::Lossless, dir.file("images.pdf"), dir.file("lossless.pdf")));
    const auto before = ImagePdf::imagesOf(dir.file("images.pdf"));
    const auto after = ImagePdf::imagesOf(dir.file("lossless.pdf"));
    for (const auto& [name, image] : before) {
        EXPECT_EQ(after.at(name).width, image.width) << name;
        EXPECT_EQ(after.at(name).height, image.height) << name;
    }
}

TEST_F(CompressLevels, StandardRunsTheSpecifiedQpdfCommandLine)
{
    EXPECT_EQ(QpdfArguments::compress(L"in.pdf", L"out.pdf"),
              (std::vector<std::wstring>{L"--stream-data=compress", L"in.pdf", L"out.pdf"}));
    // And the job's output is what that command line writes.
    ASSERT_TRUE(compress(CompressionLevel::Standard, dir.file("images.pdf"), dir.file("standard.pdf")));
    const auto raw = ChildProcess::run(PdfFactory::qpdf(), {"--stream-data=compress", dir.file("images.pdf").string(),
                                                            dir.file("raw.pdf").string()}, nullptr, {});
    ASSERT_EQ(raw.exitCode, 0);
    EXPECT_EQ(fs::file_size(dir.file("standard.pdf")), fs::file_size(dir.file("raw.pdf")));
}

TEST_F(CompressLevels, NoLevelBeyondStandardWritesAFileLargerThanItsInput)
{
    // Text only, and already written by the lossless level: nothing left to gain.
    PdfFactory::write(dir.file("text.pdf"), 3);
    ASSERT_TRUE(compress(CompressionLevel::Lossless, dir.file("images.pdf"), dir.file("done.pdf")));
    for (const char* name : {"text.pdf", "done.pdf"}) {
        for (CompressionLevel level : {CompressionLevel::Lossless, CompressionLevel::Balanced, CompressionLevel::Strong}) {
            const fs::path out = dir.file(std::string("again-") + compressionLevelName(level) + "-" + name);
            ASSERT_TRUE(compress(level, dir.file(name), out)) << name;
            EXPECT_LE(fs::file_size(out), fs::file_size(dir.file(name))) << name << compressionLevelName(level);
            EXPECT_TRUE(qpdfChecks(out));
        }
    }
}

TEST_F(CompressLevels, ThePagesDoneReachTheRowAsTheyAreDone)
{
    auto element = std::make_shared<InputElement>(w(dir.file("images.pdf")), 1, 6);
    element->setCompressionLevel(CompressionLevel::Balanced);
    auto callback = std::make_shared<RecordingCallback>();
    createConverter(10)->run(element, w(dir.file("row.pdf")), createParameter(10), callback);
    ASSERT_TRUE(callback->ok);
    std::vector<ProgressCall> expected = {{PdfHandleParameter::Compress, 0, 0}};
    for (int page = 1; page <= 6; ++page)
        expected.push_back({PdfHandleParameter::Compress, page, 6});
    EXPECT_EQ(callback->progress, expected);

    int done = 0, count = 0;
    EXPECT_TRUE(CompressToolRunner::readPageLine("page\t3\t30", done, count));
    EXPECT_EQ(done, 3);
    EXPECT_EQ(count, 30);
    for (const char* odd : {"page\t31\t30", "page\t0\t30", "page\t3", "page\tx\t30", "kept\tlevel", "page\t3\t30\t"})
        EXPECT_FALSE(CompressToolRunner::readPageLine(odd, done, count)) << odd;
}

TEST_F(CompressLevels, TheProcessSlotEndsTheRunAndNothingIsWritten)
{
    // Many large images: far from done when the slot ends it.
    std::vector<Image> many;
    for (int page = 1; page <= 12; ++page)
        many.push_back({"p" + std::to_string(page), Kind::Rgb, 1200, 1200, page, {{400, 400}}});
    ImagePdf::write(dir.file("many.pdf"), many, 12);
    // The folder exists before the run starts: a run that finds none fails at once, before any child.
    fs::create_directories(dir.file("out"));
    ProcessSlot slot;
    bool ok = true;
    ConvertError error;
    ASSERT_TRUE(runAndEndItsChild(slot, [&] {
        ok = compressPdf(w(dir.file("many.pdf")), w(dir.file("out/many.pdf")), CompressionLevel::Strong, {}, &slot, &error);
    }));
    EXPECT_FALSE(ok);
    EXPECT_NE(error.detail.find(L"signal"), std::wstring::npos) << Utils::wideToUtf8(error.detail);
    EXPECT_TRUE(fs::is_empty(dir.file("out")));
}

TEST_F(CompressLevels, DamagedAndHostileImagesStayAsTheyWere)
{
    ImagePdf::write(dir.file("bad.pdf"),
                    {{"cut", Kind::Rgb, 1200, 1200, 1, {{100, 100}}, false, 1, true},
                     {"huge", Kind::Gray, 64, 64, 1, {{100, 100}}, false, 1, false, 100000, 100000},
                     {"good", Kind::Rgb, 1200, 1200, 2, {{100, 100}}}},
                    2);
    for (CompressionLevel level : {CompressionLevel::Lossless, CompressionLevel::Balanced, CompressionLevel::Strong}) {
        SCOPED_TRACE(compressionLevelName(level));
        const fs::path out = dir.file(std::string("bad-") + compressionLevelName(level) + ".pdf");
        ConvertError error;
        // A failure with its reason would do too; a success must leave both images as they were.
        if (!compress(level, dir.file("bad.pdf"), out, &error)) {
            EXPECT_FALSE(error.detail.empty());
            continue;
        }
        const auto after = ImagePdf::imagesOf(out);
        EXPECT_EQ(after.at("cut").width, 1200);
        EXPECT_EQ(after.at("cut").filter, "/FlateDecode");
        EXPECT_EQ(after.at("huge").width, 100000);
        if (level != CompressionLevel::Lossless) {
            EXPECT_EQ(after.at("good").filter, "/DCTDecode"); // the rest of the file is still done
        }
    }
}
