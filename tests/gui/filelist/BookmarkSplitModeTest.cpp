// The split row's third mode: split by bookmarks with a level box, in both languages.

#include "core/converter/InputElement.h"
#include "core/converter/RowEntry.h"
#include "gui/filelist/FileRowWidget.h"

#include "RowTestSupport.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QSpinBox>
#include <QTranslator>

#include <gtest/gtest.h>

TEST(BookmarkSplitMode, ShowsOnlyTheLevelBoxAndIsReadWithItsLevel)
{
    FileRowWidget row(FileRowWidget::Split);
    EXPECT_FALSE(shown(&row, "bookmarklevelhor"));
    auto* combo = part<QComboBox>(&row, "splitcombo");
    combo->setCurrentIndex(2);
    EXPECT_EQ(combo->currentText(), "By bookmarks");
    EXPECT_TRUE(shown(&row, "bookmarklevelhor"));
    EXPECT_FALSE(shown(&row, "pagespacinghor"));
    EXPECT_FALSE(shown(&row, "freepageselecthor"));

    auto* level = part<QSpinBox>(&row, "bookmarklevelspin");
    EXPECT_EQ(level->value(), 1);
    EXPECT_EQ(level->minimum(), 1);
    level->setValue(2);
    RowEntry entry(L"/tmp/book.pdf", 13);
    QString problem;
    ASSERT_TRUE(row.readInto(entry, 13, &problem));
    EXPECT_EQ(entry.splitMode, Converter::InputElement::kSplitByBookmarks);
    EXPECT_EQ(entry.bookmarkLevel, 2);

    // Back to split points: the level box goes, the points box comes.
    combo->setCurrentIndex(1);
    EXPECT_FALSE(shown(&row, "bookmarklevelhor"));
    EXPECT_TRUE(shown(&row, "freepageselecthor"));
    ASSERT_TRUE(row.readInto(entry, 13, &problem));
    EXPECT_EQ(entry.splitMode, 0);
}

TEST(BookmarkSplitMode, FollowsTheLanguage)
{
    FileRowWidget row(FileRowWidget::Split);
    QTranslator chinese;
    ASSERT_TRUE(chinese.load(":/i18n/filelist_zh_CN.qm"));
    QCoreApplication::installTranslator(&chinese);
    QCoreApplication::processEvents();
    EXPECT_EQ(part<QComboBox>(&row, "splitcombo")->itemText(2), QString::fromUtf8("按书签拆分"));
    EXPECT_EQ(part<QLabel>(&row, "bookmarklevellbl")->text().trimmed(), QString::fromUtf8("书签级别"));
    QCoreApplication::removeTranslator(&chinese);
    QCoreApplication::processEvents();
    EXPECT_EQ(part<QComboBox>(&row, "splitcombo")->itemText(2), "By bookmarks");
    EXPECT_EQ(part<QLabel>(&row, "bookmarklevellbl")->text(), "Bookmark level");
}
