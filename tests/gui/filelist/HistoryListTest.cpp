// The history list: one row per output file, with its type icon, and its own signals.

#include "gui/filelist/FileListWidget.h"
#include "gui/history/HistoryListItemAdder.h"
#include "gui/history/HistoryRowWidget.h"

#include "support/PdfFactory.h"
#include "support/TempDir.h"

#include "RowTestSupport.h"

#include <QAbstractButton>
#include <QLabel>

#include <gtest/gtest.h>

namespace {

QString iconOf(ListRowWidget* row)
{
    return row->findChild<QLabel*>("history_fmt_ctrl")->property("iconResource").toString();
}

// An empty history list, with one PDF on disk (out.pdf) that it may be given.
class HistoryList : public testing::Test {
protected:
    HistoryList() { PdfFactory::write(dir.file("out.pdf"), 1); }

    TempDir dir;
    FileListWidget list{"historylst"};
    HistoryListItemAdder adder{&list};
};

} // namespace

TEST_F(HistoryList, RowsShowTheFileAndItsTypeIcon)
{
    PdfFactory::write(dir.file("merged.pdf"), 1);
    writeFile(dir.file("pack.ZIP"), "zip");
    writeFile(dir.file("notes.rtf"), "rtf");
    writeFile(dir.file("shot.gif"), "gif");
    writeFile(dir.file("table.Xlsx"), "xlsx");
    writeFile(dir.file("README"), "none");

    const auto addedIcon = [&](const std::string& name) {
        EXPECT_EQ(adder.add(dir.wide(name)), 1) << name;
        return adder.lastRow() ? iconOf(adder.lastRow()) : QString();
    };
    EXPECT_EQ(addedIcon("merged.pdf"), ":/KorvexRes/16pdf.png");
    EXPECT_EQ(addedIcon("pack.ZIP"), ":/KorvexRes/16pdf.png");
    EXPECT_EQ(addedIcon("notes.rtf"), ":/KorvexRes/16word.png");
    EXPECT_EQ(addedIcon("shot.gif"), ":/KorvexRes/16pic.png");
    EXPECT_EQ(addedIcon("table.Xlsx"), ":/KorvexRes/16xls.png");
    EXPECT_EQ(addedIcon("README"), ":/KorvexRes/16pic.png");

    auto* row = qobject_cast<HistoryRowWidget*>(list.rows().constFirst());
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->height(), 35);
    EXPECT_EQ(row->property("filePathname").toString(), QString::fromStdWString(dir.wide("merged.pdf")));
    EXPECT_EQ(row->findChild<QLabel*>("history_filenamelbl")->text(), "merged.pdf");
    EXPECT_EQ(row->findChild<QLabel*>("history_filenamelbl")->toolTip(), "merged.pdf");
}

TEST_F(HistoryList, SamePathOnceAndMissingFilesNever)
{
    EXPECT_EQ(adder.add(dir.wide("out.pdf")), 1);
    EXPECT_EQ(adder.add(dir.wide("out.pdf")), 0);
    EXPECT_EQ(adder.add(dir.wide("deleted.pdf")), -1);
    EXPECT_EQ(list.rowCount(), 1);
}

TEST_F(HistoryList, ButtonsNameTheirRow)
{
    ASSERT_EQ(adder.add(dir.wide("out.pdf")), 1);
    auto* row = qobject_cast<HistoryRowWidget*>(adder.lastRow());
    ASSERT_NE(row, nullptr);

    HistoryRowWidget* revealed = nullptr;
    HistoryRowWidget* removed = nullptr;
    QObject::connect(row, &HistoryRowWidget::revealRequested, [&](HistoryRowWidget* r) { revealed = r; });
    QObject::connect(row, &HistoryRowWidget::removeRequested, [&](HistoryRowWidget* r) {
        removed = r;
        list.removeRow(r->rowId()); // from inside the row's own signal
    });
    row->findChild<QAbstractButton*>("history_opendirbtn")->click();
    row->findChild<QAbstractButton*>("history_rmbtn")->click();
    EXPECT_EQ(revealed, row);
    EXPECT_EQ(removed, row);
    EXPECT_EQ(list.rowCount(), 0);
}
