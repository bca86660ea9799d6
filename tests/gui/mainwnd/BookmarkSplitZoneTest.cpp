// Split by bookmarks from the Split zone: pieces named after the bookmarks, and a file without
// bookmarks that says so in its row.

#include "MainWindowFixture.h"

#include "gui/filelist/FileListWidget.h"
#include "gui/filelist/FileRowWidget.h"
#include "gui/mainwnd/FileListController.h"
#include "support/BookmarkedPdf.h"
#include "support/PdfFactory.h"

#include <QComboBox>
#include <QSpinBox>

using BookmarkedPdf::Mark;
using BookmarkedPdf::Target;

class BookmarkSplitZone : public MainWindowFixture {};

TEST_F(BookmarkSplitZone, WritesOneFilePerChapterAndNamesAFileWithoutBookmarks)
{
    BookmarkedPdf::write(dir.file("手册.pdf"), 12,
                         {{"第一章 总论", 1, Target::NameTree, {{"1.1", 2, Target::Page, {}}}},
                          {"Chapter 2: Use", 7, Target::Page, {}}});
    PdfFactory::write(dir.file("plain.pdf"), 4);
    open();
    const auto rows = dropOnZone(WorkingZone::Split, {"手册.pdf", "plain.pdf"});
    ASSERT_EQ(rows.size(), 2);
    for (QWidget* row : rows) {
        row->findChild<QComboBox*>(QStringLiteral("splitcombo"))->setCurrentIndex(2);
        row->findChild<QSpinBox*>(QStringLiteral("bookmarklevelspin"))->setValue(1);
    }
    window->onClick(QStringLiteral("convertbtn"));
    ASSERT_TRUE(pumpUntil([&] { return window->paneSwitcher().zoneState(WorkingZone::Split) == PaneSwitcher::Finished; }));

    const auto out = dir.path() / "out";
    EXPECT_EQ(PdfFactory::pageCount(out / "手册" / "第一章 总论_1_1_6.pdf"), 6);
    EXPECT_EQ(PdfFactory::pageCount(out / "手册" / "Chapter 2_ Use_2_7_12.pdf"), 6);
    EXPECT_EQ(rows[0]->property("Converted").toString(), QStringLiteral("true"));
    // The fixture's interface is Chinese.
    EXPECT_EQ(rows[1]->findChild<QLabel*>(QStringLiteral("promoptlbl"))->text(), QString::fromUtf8("此文件没有书签"));
    EXPECT_FALSE(std::filesystem::exists(out / "plain"));
}
