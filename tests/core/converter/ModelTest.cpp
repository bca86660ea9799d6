// The converter model, the factories, and the pure rules: page texts, split plans, output
// names, qpdf argument vectors, query readings.

#include "RecordingCallback.h"
#include "core/app/Glossary.h"
#include "core/converter/ConverterFactory.h"
#include "core/converter/File.h"
#include "core/converter/InputElement.h"
#include "core/converter/OutputNameClaims.h"
#include "core/converter/PageRanges.h"
#include "core/converter/PdfHandleConverter.h"
#include "core/converter/PdfHandleParameter.h"
#include "core/converter/PdfOperations.h"
#include "core/converter/QpdfArguments.h"
#include "core/converter/RowEntry.h"
#include "core/converter/SplitPlan.h"
#include "core/tasks/SavedOutputPath.h"
#include "core/user/AbstractUser.h"
#include "support/OfflineUser.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <climits>

using namespace Converter;

namespace {

class LanguageGuard {
public:
    explicit LanguageGuard(int language) { Glossary::setCurrentLanguage(language); }
    ~LanguageGuard() { Glossary::setCurrentLanguage(m_saved); }

private:
    int m_saved = Glossary::currentLanguage();
};

std::vector<SplitPiece> piecesOf(int mode, int size, std::vector<int> points, int toPage)
{
    return SplitPlan(mode, size, std::move(points), toPage).pieces();
}

} // namespace

TEST(ConverterModel, FactoriesServeTheFivePdfZonesOnly)
{
    for (int zone = 0; zone <= 20; ++zone) {
        const bool pdf = zone >= 9 && zone <= 13;
        auto converter = createConverter(zone);
        auto parameter = createParameter(zone);
        EXPECT_EQ(converter != nullptr, pdf) << zone;
        EXPECT_EQ(parameter != nullptr, pdf) << zone;
        if (!pdf)
            continue;
        EXPECT_EQ(converter->kind(), 4);
        auto pdfParameter = std::dynamic_pointer_cast<PdfHandleParameter>(parameter);
        ASSERT_TRUE(pdfParameter);
        EXPECT_EQ(pdfParameter->type(), zone - 9);
        EXPECT_EQ(pdfParameter->targetExtension(), L"pdf");
    }
    const std::vector<std::pair<int, int>> kinds = {{0, 0}, {1, 3}, {2, 5}, {7, 5}, {8, 6}, {9, 4},
                                                    {13, 4}, {14, 2}, {17, 1}, {19, 2}, {-1, 2}};
    for (auto [zone, kind] : kinds)
        EXPECT_EQ(ConverterFactory::kindOfZone(zone), kind) << zone;
}

TEST(ConverterModel, InputElementTakesTheWholeDocumentOnlyOnceItsPagesAreKnown)
{
    InputElement element(L"/in/a.pdf", 3, 7);
    element.setPath(L"/in/b.pdf");
    EXPECT_EQ(element.path(), L"/in/b.pdf");
    EXPECT_EQ(element.fromPage(), 3);
    EXPECT_EQ(element.toPage(), 7);
    element.setPageCount(12);
    element.setPath(L"/in/c.pdf");
    EXPECT_EQ(element.fromPage(), 1);
    EXPECT_EQ(element.toPage(), 12);

    const RowEntry row(L"/in/a.pdf", 13);
    EXPECT_EQ(row.pageCount, -1);
    EXPECT_EQ(row.fromPage, -1);
    EXPECT_EQ(row.toPage, -1);
    EXPECT_FALSE(row.inspected);
    EXPECT_TRUE(row.pending);
    EXPECT_TRUE(row.splitPoints.empty());
}

TEST(ConverterModel, AJobOfTheWrongShapeStillFinishesExactlyOnce)
{
    auto callback = std::make_shared<RecordingCallback>();
    PdfHandleConverter().run(std::make_shared<File>(L"/in/a.pdf"), L"/out/a.pdf", createParameter(10), callback);
    ASSERT_EQ(callback->errors.size(), 1u);
    EXPECT_EQ(callback->errors[0].code, 201);
    EXPECT_EQ(callback->errors[0].message, L"/in/a.pdf");
    EXPECT_EQ(callback->finished, 1);
    EXPECT_FALSE(callback->ok);
}

TEST(PageTexts, NumbersAreReadLikeTheStandardConversionAndOverflowIsRefused)
{
    int value = 0;
    EXPECT_EQ(readNumber(L"  12abc", value), PageTextStatus::Ok);
    EXPECT_EQ(value, 12);
    EXPECT_EQ(readNumber(L"-3", value), PageTextStatus::Ok);
    EXPECT_EQ(value, -3);
    EXPECT_EQ(readNumber(L"2147483647", value), PageTextStatus::Ok);
    EXPECT_EQ(value, INT_MAX);
    EXPECT_EQ(readNumber(L"2147483648", value), PageTextStatus::OutOfRange);
    EXPECT_EQ(readNumber(L"99999999999999999999999", value), PageTextStatus::OutOfRange);
    EXPECT_EQ(readNumber(L"", value), PageTextStatus::NoNumber);
    EXPECT_EQ(readNumber(L"x1", value), PageTextStatus::NoNumber);

    int from = 0, to = 0;
    EXPECT_EQ(readPageRange(L"3", L"7", from, to), PageTextStatus::Ok);
    EXPECT_EQ(pageRangeText(from, to), L"3-7");
    EXPECT_EQ(readPageRange(L"3", L"seven", from, to), PageTextStatus::Ok);
    EXPECT_EQ(pageRangeText(from, to), L"1-1000");
    from = to = 5;
    EXPECT_EQ(readPageRange(L"1", L"3000000000", from, to), PageTextStatus::OutOfRange);
    EXPECT_EQ(from, 5); // untouched when refused

    std::vector<int> points{99};
    EXPECT_EQ(readSplitPoints(L"5,10,15", points), PageTextStatus::Ok);
    EXPECT_EQ(points, (std::vector<int>{5, 10, 15}));
    EXPECT_EQ(readSplitPoints(L"5, 10,", points), PageTextStatus::Ok);
    EXPECT_EQ(points, (std::vector<int>{5, 10}));
    EXPECT_EQ(readSplitPoints(L"5,,10", points), PageTextStatus::Ok);
    EXPECT_TRUE(points.empty());
    EXPECT_EQ(readSplitPoints(L"5,x,10", points), PageTextStatus::Ok);
    EXPECT_TRUE(points.empty());
    EXPECT_EQ(readSplitPoints(L"5,4294967296", points), PageTextStatus::OutOfRange);

    int size = 0;
    EXPECT_EQ(readPiecesSize(L"30", size), PageTextStatus::Ok);
    EXPECT_EQ(size, 30);
    EXPECT_EQ(readPiecesSize(L"0", size), PageTextStatus::BelowOne);
    EXPECT_EQ(readPiecesSize(L"-4", size), PageTextStatus::BelowOne);
    EXPECT_EQ(readPiecesSize(L"", size), PageTextStatus::NoNumber);
}

TEST(SplitPlans, PiecesFollowThePlanRules)
{
    using P = SplitPiece;
    const int every = InputElement::kSplitEvery, points = InputElement::kSplitAtPoints;
    EXPECT_EQ(piecesOf(points, 0, {20, 50}, 100), (std::vector<P>{{1, 20}, {21, 50}, {51, 100}}));
    EXPECT_EQ(piecesOf(every, 30, {}, 100), (std::vector<P>{{1, 30}, {31, 60}, {61, 90}, {91, 100}}));
    EXPECT_EQ(piecesOf(every, 1, {}, 3), (std::vector<P>{{1, 1}, {2, 2}, {3, 3}}));
    EXPECT_EQ(piecesOf(every, 5, {}, 5), (std::vector<P>{{1, 5}}));
    EXPECT_EQ(piecesOf(points, 0, {20, 50}, 30), (std::vector<P>{{1, 20}, {21, 30}}));
    EXPECT_EQ(piecesOf(points, 0, {120}, 100), (std::vector<P>{{1, 100}}));
    EXPECT_EQ(piecesOf(points, 0, {}, 100), (std::vector<P>{{1, 100}}));
    // Points are not sorted: qpdf gets the odd range as it is.
    EXPECT_EQ(piecesOf(points, 0, {50, 20}, 100), (std::vector<P>{{1, 50}, {51, 20}, {21, 100}}));
    // Near the top of the int range nothing wraps.
    EXPECT_EQ(piecesOf(every, INT_MAX - 1, {}, INT_MAX), (std::vector<P>{{1, INT_MAX - 1}, {INT_MAX, INT_MAX}}));
    EXPECT_EQ(piecesOf(points, 0, {INT_MAX}, INT_MAX), (std::vector<P>{{1, INT_MAX}}));

    const SplitPlan endless(every, 0, {}, 100);
    EXPECT_FALSE(endless.isValid());
    EXPECT_TRUE(endless.pieces().empty());

    // A huge last page is walked piece by piece, never built as a list.
    int seen = 0;
    SplitPlan(every, 1, {}, INT_MAX).visit([&](const SplitPiece&) { return ++seen < 3; });
    EXPECT_EQ(seen, 3);
}

TEST(OutputNames, FollowTheZoneTheTitleAndTheLanguage)
{
    {
        LanguageGuard english(Glossary::ENGLSH);
        EXPECT_EQ(makeOutputPath(10, L"/docs/report.pdf", L"pdf", L"/out"), L"/out/report_Compress.pdf");
        EXPECT_EQ(makeOutputPath(10, L"/a/b.c.pdf", L"pdf", L"/o"), L"/o/b.c_Compress.pdf");
        EXPECT_EQ(makeOutputPath(9, L"/a/r.pdf", L"pdf", L"/o/"), L"/o/r_EXTRACT.pdf");
        EXPECT_EQ(makeOutputPath(11, L"/a/r.pdf", L"pdf", L"/o"), L"/o/r_Decrypt.pdf");
        EXPECT_EQ(makeOutputPath(12, L"/a/r.pdf", L"pdf", L"/o"), L"/o/r_Merged.pdf");
        EXPECT_EQ(makeOutputPath(13, L"/a/r.pdf", L"pdf", L"/o"), L"/o/r");
        EXPECT_EQ(makeOutputPath(14, L"/a/r.pdf", L"pdf", L"/o"), L"");
        EXPECT_EQ(makeOutputPath(8, L"/a/r.pdf", L"pdf", L"/o"), L"");
    }
    LanguageGuard chinese(Glossary::CHINESE);
    EXPECT_EQ(makeOutputPath(10, L"/docs/report.pdf", L"pdf", L"/out"), L"/out/report_压缩.pdf");
}

TEST(OutputNames, DefaultToTheConfiguredSaveFolder)
{
    TempDir dir;
    LanguageGuard english(Glossary::ENGLSH);
    AbstractUser* previous = AbstractUser::current();
    {
        OfflineUser user(dir.wide("config"));
        Glossary::setCurrentLanguage(Glossary::ENGLSH); // the new record chose its own
        AbstractUser::setCurrent(&user);
        user.setSavePath(dir.file("saved").string());
        EXPECT_EQ(makeOutputPath(12, L"/a/r.pdf", L"pdf"), dir.wide("saved/r_Merged.pdf"));
        AbstractUser::setCurrent(nullptr);
        EXPECT_EQ(makeOutputPath(12, L"/a/r.pdf", L"pdf"), L"");
    }
    AbstractUser::setCurrent(previous);
}

TEST(OutputNames, OneRunNeverGivesTwoOutputsTheSameName)
{
    OutputNameClaims claims;
    claims.reserve(L"/o/x_Merged.pdf"); // an input of the run
    EXPECT_EQ(claims.claim(L"/o/x_Compress.pdf"), L"/o/x_Compress.pdf");
    EXPECT_EQ(claims.claim(L"/o/x_Compress.pdf"), L"/o/x_Compress (2).pdf");
    EXPECT_EQ(claims.claim(L"/o/./x_Compress.pdf"), L"/o/./x_Compress (3).pdf");
    EXPECT_EQ(claims.claim(L"/o/x_Merged.pdf"), L"/o/x_Merged (2).pdf");
    EXPECT_EQ(claims.claim(L"/o/v1.2/x", true), L"/o/v1.2/x");
    EXPECT_EQ(claims.claim(L"/o/v1.2/x", true), L"/o/v1.2/x (2)");
}

TEST(QpdfCommandLines, FollowTheOperationsPieceForPiece)
{
    using V = std::vector<std::wstring>;
    EXPECT_EQ(QpdfArguments::compress(L"/i/a b.pdf", L"/o/x.pdf"), (V{L"--stream-data=compress", L"/i/a b.pdf", L"/o/x.pdf"}));
    EXPECT_EQ(QpdfArguments::extract(L"/i/a.pdf", L"3-7", L"/o/x.pdf"),
              (V{L"/i/a.pdf", L"--pages", L"/i/a.pdf", L"3-7", L"--", L"/o/x.pdf"}));
    EXPECT_EQ(QpdfArguments::merge({{L"/i/a.pdf", L"1-3"}, {L"/i/\"q\".pdf", L"2-2"}}, L"/o/m.pdf"),
              (V{L"/i/a.pdf", L"--pages", L"/i/a.pdf", L"1-3", L"/i/\"q\".pdf", L"2-2", L"--", L"/o/m.pdf"}));
    EXPECT_EQ(QpdfArguments::decrypt(L"/i/a.pdf", L"/o/d.pdf", false), (V{L"--decrypt", L"/i/a.pdf", L"/o/d.pdf"}));
    EXPECT_EQ(QpdfArguments::decrypt(L"/i/a.pdf", L"/o/d.pdf", true),
              (V{L"--password-file=-", L"--decrypt", L"/i/a.pdf", L"/o/d.pdf"}));
    EXPECT_EQ(QpdfArguments::pageCount(L"/i/a.pdf"), (V{L"--show-npages", L"/i/a.pdf"}));
    EXPECT_EQ(QpdfArguments::encryption(L"/i/a.pdf"), (V{L"--show-encryption", L"/i/a.pdf"}));
    // Relative names that qpdf would take for an option or an argument file.
    EXPECT_EQ(QpdfArguments::pageCount(L"-x.pdf"), (V{L"--show-npages", L"./-x.pdf"}));
    EXPECT_EQ(QpdfArguments::pageCount(L"@x.pdf"), (V{L"--show-npages", L"./@x.pdf"}));
    EXPECT_EQ(QpdfArguments::splitEvery(L"/i/a.pdf", 10, 100, 100, L"%d.pdf"),
              (V{L"--verbose", L"--split-pages=10", L"/i/a.pdf", L"%d.pdf"}));
    EXPECT_EQ(QpdfArguments::splitEvery(L"/i/a.pdf", 10, 50, 100, L"%d.pdf"),
              (V{L"--verbose", L"--split-pages=10", L"/i/a.pdf", L"--pages", L"/i/a.pdf", L"1-50", L"--", L"%d.pdf"}));
}

TEST(QueryReadings, FollowTheTextRules)
{
    EXPECT_FALSE(looksEncrypted("File is not encrypted\n"));
    EXPECT_TRUE(looksEncrypted("WARNING: x.pdf: file is damaged\nFile is not encrypted\nqpdf: operation succeeded with warnings\n"));
    EXPECT_TRUE(looksEncrypted(""));
    EXPECT_TRUE(looksEncrypted("R = 6\nP = -4\n"));
    EXPECT_TRUE(looksEncrypted("File is Not Encrypted")); // the search is case-sensitive

    EXPECT_EQ(parsePageCount("12\n"), 12);
    EXPECT_EQ(parsePageCount("  7 pages"), 7);
    EXPECT_EQ(parsePageCount("qpdf: x.pdf: invalid password\n"), -1);
    EXPECT_EQ(parsePageCount("99999999999\n"), -1);
    EXPECT_EQ(parsePageCount(""), -1);
}
