// Adding files to a zone's list and keeping the list: duplicates, missing files, a full list,
// and a long list.

#include "gui/filelist/ListAdding.h"
#include "core/common/Diagnostics.h"
#include "core/common/Utils.h"
#include "gui/filelist/FileListWidget.h"

#include "support/PdfFactory.h"
#include "support/TempDir.h"

#include "RowTestSupport.h"

#include <QCoreApplication>
#include <QLabel>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

QString q(const std::wstring& text)
{
    return QString::fromStdWString(text);
}

} // namespace

TEST(ListAdding, AddsNewFilesOnlyOnce)
{
    TempDir dir;
    PdfFactory::write(dir.file("a.pdf"), 2);
    PdfFactory::write(dir.file("b.pdf"), 3);
    FileListWidget list("pdfsplit_lst");
    EXPECT_EQ(list.objectName(), "pdfsplit_lst");
    ListAdding adder(&list, FileRowWidget::Split);

    ASSERT_EQ(adder.add(dir.wide("a.pdf")), 1);
    adder.fill(13);
    auto* first = qobject_cast<FileRowWidget*>(adder.lastRow());
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->rowTemplate(), FileRowWidget::Split);
    EXPECT_EQ(first->filePathname(), q(dir.wide("a.pdf")));
    EXPECT_EQ(first->findChild<QLabel*>("filenamelbl")->text(), "a.pdf");
    EXPECT_EQ(first->findChild<QLabel*>("filesizecol")->text(),
              q(Utils::formatFileSize(static_cast<double>(Utils::getFileSize(dir.wide("a.pdf"))))));

    EXPECT_EQ(adder.add(dir.wide("a.pdf")), 0);
    EXPECT_EQ(adder.lastRow(), nullptr);
    // The comparison is exact: another spelling of the path is another row.
    EXPECT_EQ(adder.add(dir.wide("b.pdf")), 1);
    EXPECT_EQ(list.rowCount(), 2);
    EXPECT_EQ(list.indexOf(adder.lastRow()->rowId()), 1);
    EXPECT_EQ(list.findByPath(q(dir.wide("a.pdf"))), first);
    EXPECT_EQ(list.findByPath(q(dir.wide("A.pdf"))), nullptr);
}

TEST(ListAdding, MissingFileIsReportedAndNotListed)
{
    TempDir dir;
    FileListWidget list("pdfmerge_lst");
    ListAdding adder(&list, FileRowWidget::WithPage);
    const std::wstring gone = dir.wide("gone.pdf");
    EXPECT_EQ(adder.add(gone), -1);
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(Diagnostics::instance().lastReport(),
              "GetFileBytessize||" + Utils::wideToUtf8(gone) + "||Window\\ListAdding||99");
}

TEST(ListAdding, FullListRefusesTheRow)
{
    TempDir dir;
    PdfFactory::write(dir.file("a.pdf"), 1);
    PdfFactory::write(dir.file("b.pdf"), 1);
    FileListWidget list("pdfextractpage_lst");
    list.setMaximumRows(1);
    ListAdding adder(&list, FileRowWidget::WithPage);
    EXPECT_EQ(adder.add(dir.wide("a.pdf")), 1);
    EXPECT_EQ(adder.add(dir.wide("b.pdf")), 2);
    EXPECT_EQ(adder.lastRow(), nullptr);
    adder.fill(9); // nothing to fill
    EXPECT_EQ(list.rowCount(), 1);
}

TEST(FileList, KeepsFiveHundredRowsInOrder)
{
    TempDir dir;
    PdfFactory::write(dir.file("source.pdf"), 1);
    FileListWidget list("pdfmerge_lst");
    list.resize(900, 600);
    list.show();
    ListAdding adder(&list, FileRowWidget::WithPage);
    QList<RowId> ids;
    for (int i = 0; i < 500; ++i) {
        const std::string name = "file" + std::to_string(i) + ".pdf";
        std::filesystem::create_hard_link(dir.file("source.pdf"), dir.file(name));
        ASSERT_EQ(adder.add(dir.wide(name)), 1) << name;
        adder.fill(12);
        ids.append(adder.lastRow()->rowId());
    }
    QCoreApplication::processEvents();
    ASSERT_EQ(list.rowCount(), 500);
    EXPECT_EQ(list.indexOf(ids[499]), 499);
    EXPECT_EQ(list.findByPath(q(dir.wide("file250.pdf")))->rowId(), ids[250]);
    EXPECT_LT(list.row(ids[10])->y(), list.row(ids[11])->y());

    list.removeRow(ids[0]);
    EXPECT_EQ(list.row(ids[0]), nullptr);
    EXPECT_EQ(list.indexOf(ids[1]), 0);
    EXPECT_EQ(list.rows().constFirst()->rowId(), ids[1]);
    EXPECT_EQ(adder.add(dir.wide("file0.pdf")), 1); // its path is free again
    EXPECT_EQ(list.indexOf(adder.lastRow()->rowId()), 499);

    ASSERT_TRUE(list.moveRow(ids[499], 0));
    EXPECT_EQ(list.indexOf(ids[499]), 0);
    EXPECT_EQ(list.indexOf(ids[1]), 1);

    list.clear();
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(list.row(ids[5]), nullptr);
    EXPECT_EQ(list.findByPath(q(dir.wide("file5.pdf"))), nullptr);
}
