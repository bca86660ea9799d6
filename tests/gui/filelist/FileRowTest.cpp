// File rows of both templates: their parts, the split settings, reading them into a RowEntry,
// and what a run's result shows.

#include "core/converter/RowEntry.h"
#include "gui/common/RichText.h"
#include "gui/filelist/FileRowWidget.h"

#include "RowTestSupport.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTranslator>

#include <gtest/gtest.h>

namespace {

// A split row whose range boxes and split boxes hold the given texts.
struct SplitRow {
    FileRowWidget row{FileRowWidget::Split};
    void set(const char* name, const QString& text) { part<QLineEdit>(&row, name)->setText(text); }
    void mode(int index) { part<QComboBox>(&row, "splitcombo")->setCurrentIndex(index); }
};

RowEntry read(FileRowWidget& row, int zone)
{
    RowEntry entry(L"/tmp/in.pdf", zone);
    QString problem;
    EXPECT_TRUE(row.readInto(entry, zone, &problem)) << problem.toStdString();
    return entry;
}

} // namespace

TEST(FileRow, TemplatesCarryTheirNamedParts)
{
    FileRowWidget withPage(FileRowWidget::WithPage);
    FileRowWidget split(FileRowWidget::Split);
    EXPECT_LT(withPage.rowId(), split.rowId());
    EXPECT_NE(withPage.rowId(), 0u);
    EXPECT_EQ(withPage.height(), 56);
    EXPECT_EQ(split.height(), 90);

    for (FileRowWidget* row : {&withPage, &split}) {
        for (const char* name : {"filenamelbl", "filesizecol", "fromfmt_ctrl", "tofmt_ctrl",
                                 "promoptlbl", "resultCtrl"})
            EXPECT_NE(part<QLabel>(row, name), nullptr) << name;
        for (const char* name : {"pagefromlbl", "pagetolbl"})
            EXPECT_NE(part<QLineEdit>(row, name), nullptr) << name;
        for (const char* name : {"itemopenfilebtn", "itemrmfilebtn"})
            EXPECT_NE(part<QAbstractButton>(row, name), nullptr) << name;
        for (const char* name : {"resultHor", "pageRangeLout", "promoptLout", "fileopenrow"})
            EXPECT_NE(part(row, name), nullptr) << name;
        auto* progress = part<QProgressBar>(row, "processingprog");
        ASSERT_NE(progress, nullptr);
        EXPECT_EQ(progress->minimum(), 0);
        EXPECT_EQ(progress->maximum(), 100);
        for (const char* name : {"filesizecol", "processingprog", "resultHor", "fileopenrow"})
            EXPECT_FALSE(shown(row, name)) << name;
        EXPECT_EQ(row->property("Converted").toString(), "false");
    }

    EXPECT_TRUE(part(&withPage, "pageRangeLout")->isEnabled());
    EXPECT_EQ(part(&withPage, "splitcombo"), nullptr);

    // The split row's range column is fixed; its bar starts in the every-N mode with N = 1.
    EXPECT_FALSE(part(&split, "pageRangeLout")->isEnabled());
    auto* combo = part<QComboBox>(&split, "splitcombo");
    ASSERT_NE(combo, nullptr);
    // Max pages, split points, by bookmarks, by size.
    EXPECT_EQ(combo->count(), 4);
    EXPECT_EQ(combo->currentIndex(), 0);
    EXPECT_FALSE(shown(&split, "piecesizehor"));
    EXPECT_EQ(part<QLineEdit>(&split, "pagespacingedit")->text(), "1");
    EXPECT_TRUE(shown(&split, "pagespacinghor"));
    EXPECT_FALSE(shown(&split, "freepageselecthor"));
    auto* points = part<QLineEdit>(&split, "freespacingedit");
    EXPECT_EQ(points->width(), 250);
    EXPECT_EQ(points->placeholderText(), "Format: 5,10,15");
}

TEST(FileRow, SplitComboSwitchesOnlyItsOwnRow)
{
    FileRowWidget first(FileRowWidget::Split);
    FileRowWidget second(FileRowWidget::Split);
    part<QComboBox>(&first, "splitcombo")->setCurrentIndex(1);
    EXPECT_TRUE(shown(&first, "freepageselecthor"));
    EXPECT_FALSE(shown(&first, "pagespacinghor"));
    EXPECT_FALSE(shown(&second, "freepageselecthor"));
    EXPECT_TRUE(shown(&second, "pagespacinghor"));

    part<QComboBox>(&first, "splitcombo")->setCurrentIndex(0);
    EXPECT_FALSE(shown(&first, "freepageselecthor"));
    EXPECT_TRUE(shown(&first, "pagespacinghor"));
}

TEST(FileRow, ReadsThePageRangeWithItsFallback)
{
    FileRowWidget row(FileRowWidget::WithPage);
    const auto range = [&](const QString& from, const QString& to) {
        part<QLineEdit>(&row, "pagefromlbl")->setText(from);
        part<QLineEdit>(&row, "pagetolbl")->setText(to);
        const RowEntry entry = read(row, 9);
        return std::make_pair(entry.fromPage, entry.toPage);
    };
    EXPECT_EQ(range("3", "7"), std::make_pair(3, 7));
    EXPECT_EQ(range("  4x", "9 pages"), std::make_pair(4, 9));
    EXPECT_EQ(range("abc", "7"), std::make_pair(1, 1000));
    EXPECT_EQ(range("3", ""), std::make_pair(1, 1000));

    // Split settings belong to zone 13 only.
    RowEntry entry = read(row, 12);
    EXPECT_EQ(entry.splitMode, 1);
    EXPECT_TRUE(entry.splitPoints.empty());
}

TEST(FileRow, ReadsSplitPoints)
{
    SplitRow split;
    split.mode(1);
    const auto points = [&](const QString& text) {
        split.set("freespacingedit", text);
        const RowEntry entry = read(split.row, 13);
        EXPECT_EQ(entry.splitMode, 0);
        return entry.splitPoints;
    };
    EXPECT_EQ(points("20,50"), (std::vector<int>{20, 50}));
    EXPECT_EQ(points("5, 10"), (std::vector<int>{5, 10}));
    EXPECT_EQ(points("5,10,"), (std::vector<int>{5, 10}));
    EXPECT_TRUE(points("5,,10").empty());
    EXPECT_TRUE(points("abc").empty());
    EXPECT_TRUE(points("").empty());

    // The every-N box is not read in this mode, so its empty text is no problem.
    split.set("pagespacingedit", "");
    EXPECT_EQ(points("8"), (std::vector<int>{8}));
}

// A number too big for an int is no page anyone meant: the row says which box to correct and
// the entry is left as it was, instead of a silent 1-1000 or a split into one whole-file piece.
TEST(FileRow, NumbersBeyondTheIntRangeAreRefused)
{
    const auto refused = [](FileRowWidget& row, int zone) {
        RowEntry untouched(L"/tmp/in.pdf", zone);
        QString problem;
        EXPECT_FALSE(row.readInto(untouched, zone, &problem));
        EXPECT_EQ(untouched.fromPage, -1);
        EXPECT_TRUE(untouched.splitPoints.empty());
        return problem;
    };
    GlossaryLanguage english(Glossary::ENGLSH);
    FileRowWidget range(FileRowWidget::WithPage);
    for (const auto& [from, to] : {std::pair{"99999999999", "7"}, std::pair{"1", "2147483648"},
                                   std::pair{"-2147483649", "abc"}}) {
        part<QLineEdit>(&range, "pagefromlbl")->setText(from);
        part<QLineEdit>(&range, "pagetolbl")->setText(to);
        EXPECT_EQ(refused(range, 9), "Please Correct Your Page Range") << from << " " << to;
    }
    // The largest int is still a number; qpdf judges a range beyond the last page.
    part<QLineEdit>(&range, "pagefromlbl")->setText("1");
    part<QLineEdit>(&range, "pagetolbl")->setText("2147483647");
    EXPECT_EQ(read(range, 12).toPage, 2147483647);

    SplitRow split;
    split.set("pagefromlbl", "1");
    split.set("pagetolbl", "100");
    split.mode(1);
    for (const char* points : {"5,99999999999", "99999999999", "20,50,4294967316"}) {
        split.set("freespacingedit", points);
        EXPECT_EQ(refused(split.row, 13), "Please Correct Your Split Points") << points;
    }
    // Only the split zone reads the split settings.
    EXPECT_TRUE(read(split.row, 10).splitPoints.empty());

    GlossaryLanguage chinese(Glossary::CHINESE);
    EXPECT_EQ(refused(split.row, 13), QString::fromUtf8("请输入正确的拆分点"));
    part<QLineEdit>(&range, "pagetolbl")->setText("2147483648");
    EXPECT_EQ(refused(range, 12), QString::fromUtf8("请输入正确的页码范围"));
}

TEST(FileRow, PagesPerDocumentMustBeAPositiveNumber)
{
    SplitRow split;
    split.set("pagespacingedit", "30");
    split.set("pagefromlbl", "1");
    split.set("pagetolbl", "120");
    RowEntry entry = read(split.row, 13);
    EXPECT_EQ(entry.splitMode, 1);
    EXPECT_EQ(entry.pagesPerPiece, 30);
    EXPECT_EQ(entry.toPage, 120);

    GlossaryLanguage english(Glossary::ENGLSH);
    for (const char* bad : {"", "0", "99999999999"}) {
        split.set("pagespacingedit", QString::fromLatin1(bad));
        RowEntry untouched(L"/tmp/in.pdf", 13);
        QString problem;
        EXPECT_FALSE(split.row.readInto(untouched, 13, &problem)) << bad;
        EXPECT_EQ(problem, "Please Correct Your Pages Per Document");
        EXPECT_EQ(untouched.fromPage, -1);
    }

    GlossaryLanguage chinese(Glossary::CHINESE);
    QString problem;
    EXPECT_FALSE(split.row.readInto(entry, 13, &problem));
    EXPECT_EQ(problem, QString::fromUtf8("请输入正确的每份页数"));
}

TEST(FileRow, FollowsARunToItsResult)
{
    GlossaryLanguage english(Glossary::ENGLSH);
    FileRowWidget row(FileRowWidget::WithPage);
    row.fill(L"/data/in/report 2024.pdf", 2048);
    EXPECT_EQ(row.filePathname(), "/data/in/report 2024.pdf");
    EXPECT_EQ(row.property("filePathname").toString(), row.filePathname());
    EXPECT_EQ(part<QLabel>(&row, "filenamelbl")->text(), "report 2024.pdf");
    EXPECT_EQ(part<QLabel>(&row, "filenamelbl")->toolTip(), "report 2024.pdf");
    EXPECT_EQ(part<QLabel>(&row, "filesizecol")->text(), "2.00 KB");
    EXPECT_EQ(part<QLabel>(&row, "promoptlbl")->text(),
              RichText::fromMarkup("Waiting Conversion"));
    EXPECT_EQ(part(&row, "fromfmt_ctrl")->property("iconResource").toString(),
              ":/KorvexRes/16pdf.png");

    row.setPageRange(1, 12);
    row.showRemoveButton(true);
    EXPECT_TRUE(shown(&row, "itemrmfilebtn"));
    row.showProgress();
    row.setProgress(40);
    EXPECT_TRUE(shown(&row, "processingprog"));
    EXPECT_FALSE(shown(&row, "promoptlbl"));
    EXPECT_EQ(part<QProgressBar>(&row, "processingprog")->value(), 40);

    FileRowWidget failed(FileRowWidget::Split);
    failed.fill(L"/data/in/b.pdf", 10);
    failed.showProgress();
    row.showResult(true, L"/data/out/report 2024_EXTRACT.pdf", "Success", "Fail To Conversion");
    failed.showResult(false, L"", "Success", "Fail To Conversion");

    EXPECT_TRUE(row.isConverted());
    EXPECT_EQ(row.property("Converted").toString(), "true");
    EXPECT_TRUE(shown(&row, "resultHor"));
    EXPECT_TRUE(shown(&row, "fileopenrow"));
    EXPECT_FALSE(shown(&row, "promoptlbl"));
    EXPECT_FALSE(shown(&row, "processingprog"));
    EXPECT_EQ(part(&row, "itemopenfilebtn")->property("openedFilename").toString(),
              "/data/out/report 2024_EXTRACT.pdf");

    EXPECT_EQ(failed.property("Converted").toString(), "true");
    EXPECT_TRUE(shown(&failed, "promoptlbl"));
    EXPECT_EQ(part<QLabel>(&failed, "promoptlbl")->text(), "Fail To Conversion");
    EXPECT_FALSE(shown(&failed, "resultHor"));
    EXPECT_FALSE(shown(&failed, "fileopenrow"));
    EXPECT_FALSE(shown(&failed, "processingprog"));
    EXPECT_TRUE(failed.openedFilename().isEmpty());

    int opens = 0;
    QObject::connect(&row, &FileRowWidget::openRequested, [&](FileRowWidget* r) {
        EXPECT_EQ(r, &row);
        ++opens;
    });
    part<QAbstractButton>(&row, "itemopenfilebtn")->click();
    EXPECT_EQ(opens, 1);
}

TEST(FileRow, LayoutTextsFollowTheLanguageButCodeTextsStay)
{
    FileRowWidget row(FileRowWidget::Split);
    row.fill(L"/data/in/a.pdf", 10);
    row.setStatusText("Getting Pages");
    QTranslator chinese;
    ASSERT_TRUE(chinese.load(":/i18n/filelist_zh_CN.qm"));
    QCoreApplication::installTranslator(&chinese);
    QCoreApplication::processEvents(); // the language change is posted to every window
    EXPECT_EQ(part<QLabel>(&row, "splitmodelbl")->text(), QString::fromUtf8("分割方式:"));
    EXPECT_EQ(part<QComboBox>(&row, "splitcombo")->itemText(1), QString::fromUtf8("设置拆分点"));
    EXPECT_EQ(part<QLineEdit>(&row, "freespacingedit")->placeholderText(),
              QString::fromUtf8("输入格式：5,10,15"));
    EXPECT_EQ(part<QLabel>(&row, "filenamelbl")->text(), "a.pdf");
    EXPECT_EQ(part<QLabel>(&row, "promoptlbl")->text(), "Getting Pages");
    QCoreApplication::removeTranslator(&chinese);
    QCoreApplication::processEvents();
    EXPECT_EQ(part<QLabel>(&row, "splitmodelbl")->text(), "Split by:");
}
