// The merge zone's alternate mode with a row read last to first, and the split zone's split by
// size with its size box, run from the window on generated PDFs.

#include "MainWindowFixture.h"

#include "gui/filelist/FileListWidget.h"
#include "gui/filelist/FileRowWidget.h"
#include "gui/mainwnd/FileListController.h"
#include "support/PdfFactory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace fs = std::filesystem;

class PageModesZone : public MainWindowFixture {
protected:
    QList<ListRowWidget*> addToZone(int zone, const std::vector<fs::path>& files)
    {
        window->paneSwitcher().switchTo(1, zone - 9);
        pump();
        QStringList paths;
        for (const auto& file : files)
            paths << QString::fromStdString(file.string());
        window->dropFiles(paths);
        EXPECT_TRUE(pumpUntil([&] { return window->paneSwitcher().zoneState(zone) == PaneSwitcher::Ready; }));
        return window->fileLists().list(zone)->rows();
    }
    bool run(int zone)
    {
        window->onClick(QStringLiteral("convertbtn"));
        return pumpUntil([&] { return window->paneSwitcher().zoneState(zone) == PaneSwitcher::Finished; });
    }
    static QString status(QWidget* row) { return row->findChild<QLabel*>(QStringLiteral("promoptlbl"))->text(); }
};

TEST_F(PageModesZone, AlternateMergePutsReversedBacksBetweenTheFronts)
{
    PdfFactory::write(dir.file("fronts.pdf"), 5);
    PdfFactory::write(dir.file("ten.pdf"), 10);
    ASSERT_EQ(std::system((PdfFactory::qpdf() + " " + dir.file("ten.pdf").string() + " --pages . 6-10 -- " +
                           dir.file("backs.pdf").string()).c_str()),
              0);
    open();
    const auto rows = addToZone(12, {dir.file("fronts.pdf"), dir.file("backs.pdf")});
    ASSERT_EQ(rows.size(), 2);
    auto* mode = child<QComboBox>("mergemodecombo");
    ASSERT_NE(mode, nullptr);
    EXPECT_FALSE(mode->isHidden());
    EXPECT_EQ(mode->currentIndex(), 0) << "in order unless chosen";
    EXPECT_EQ(mode->itemText(0), QString::fromUtf8("顺序合并"));
    EXPECT_EQ(mode->itemText(1), QString::fromUtf8("交替合并"));
    auto* reverse = rows[1]->findChild<QCheckBox*>(QStringLiteral("reversecheck"));
    ASSERT_NE(reverse, nullptr);
    EXPECT_EQ(reverse->text(), QString::fromUtf8("倒序"));
    EXPECT_FALSE(reverse->isChecked());

    mode->setCurrentIndex(1);
    reverse->setChecked(true);
    ASSERT_TRUE(run(12));
    EXPECT_EQ(PdfFactory::pageNumbers(dir.path() / "out" / "fronts_合并.pdf"), (std::vector<int>{1, 10, 2, 9, 3, 8, 4, 7, 5, 6}));

    // The texts follow the language.
    window->onClick(QStringLiteral("switchlanbtn"));
    pump();
    EXPECT_EQ(mode->itemText(0), QStringLiteral("In order"));
    EXPECT_EQ(mode->itemText(1), QStringLiteral("Alternate pages"));
    EXPECT_EQ(reverse->text(), QStringLiteral("Reverse"));
}

TEST_F(PageModesZone, SplitBySizeKeepsPiecesUnderTheSizeAndNotesAPageOverIt)
{
    // Page 4 is one no 2 KB piece can hold.
    PdfFactory::writeWithHeavyPage(dir.file("scan.pdf"), 10, 4, 2000);
    open();
    const auto rows = addToZone(13, {dir.file("scan.pdf")});
    ASSERT_EQ(rows.size(), 1);
    auto* mode = rows[0]->findChild<QComboBox*>(QStringLiteral("splitcombo"));
    ASSERT_EQ(mode->count(), 4);
    EXPECT_EQ(mode->itemText(3), QString::fromUtf8("按大小拆分"));
    auto* size = rows[0]->findChild<QLineEdit*>(QStringLiteral("piecesizeedit"));
    ASSERT_NE(size, nullptr);
    EXPECT_FALSE(size->isVisibleTo(rows[0]));
    mode->setCurrentIndex(3);
    EXPECT_TRUE(size->isVisibleTo(rows[0]));
    EXPECT_TRUE(rows[0]->findChild<QWidget*>(QStringLiteral("pagespacinghor"))->isHidden());

    // Refused with the row's note, and nothing starts.
    size->setText(QStringLiteral("0"));
    window->onClick(QStringLiteral("convertbtn"));
    pump();
    EXPECT_EQ(window->paneSwitcher().zoneState(13), PaneSwitcher::Ready);
    EXPECT_EQ(status(rows[0]), QString::fromUtf8("大小：0.001 到 1000000 MB"));
    EXPECT_FALSE(fs::exists(dir.path() / "out" / "scan"));

    // A piece of an earlier split, over the size, that this run does not write: never named.
    const fs::path stale = dir.path() / "out" / "scan" / "scan_2_2.pdf";
    fs::create_directories(stale.parent_path());
    PdfFactory::writeWithHeavyPage(stale, 1, 1, 6000);
    const auto staleSize = fs::file_size(stale);

    size->setText(QStringLiteral("0.002"));
    ASSERT_TRUE(run(13));
    ASSERT_EQ(fs::file_size(stale), staleSize) << "this run wrote page 2 alone";
    int pages = 0;
    for (const auto& entry : fs::directory_iterator(dir.path() / "out" / "scan")) {
        if (entry.path() == stale)
            continue;
        pages += PdfFactory::pageCount(entry.path());
        if (entry.path().filename() != "scan_4_4.pdf") {
            EXPECT_LE(entry.file_size(), 2000u) << entry.path().filename();
        }
    }
    EXPECT_EQ(pages, 10);
    EXPECT_TRUE(fs::exists(dir.path() / "out" / "scan" / "scan_4_4.pdf"));
    EXPECT_TRUE(status(rows[0]).contains(QString::fromUtf8("第4页单页已超过大小"))) << status(rows[0]).toStdString();
    EXPECT_FALSE(status(rows[0]).contains(QString::fromUtf8("第2页"))) << status(rows[0]).toStdString();
}
