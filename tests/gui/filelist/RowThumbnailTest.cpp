// The page picture at the front of a row, drawn by the real korvex-render: it follows the first
// page of the range, a damaged file gives the grey placeholder, and a removed row ends its child.

#include "RowTestSupport.h"

#include "gui/GuiWait.h"
#include "gui/filelist/FileRowWidget.h"
#include "gui/filelist/RowThumbnail.h"
#include "support/HostilePdf.h"
#include "support/PdfFactory.h"
#include "support/TempDir.h"

#include <QLineEdit>
#include <QPixmap>

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <memory>

namespace {

QString state(const RowThumbnail* thumbnail)
{
    return thumbnail->property("thumbnailState").toString();
}

bool settled(const RowThumbnail* thumbnail)
{
    const QString now = state(thumbnail);
    return now == QLatin1String("image") || now == QLatin1String("placeholder");
}

QImage shown(const RowThumbnail* thumbnail)
{
    return thumbnail->pixmap().toImage();
}

QString qpath(const std::filesystem::path& path)
{
    return QString::fromStdString(path.string());
}

} // namespace

TEST(RowThumbnail, ShowsTheFirstPageOfTheRangeAndFollowsIt)
{
    TempDir dir;
    PdfFactory::write(dir.file("five.pdf"), 5);
    for (FileRowWidget::Template form : {FileRowWidget::WithPage, FileRowWidget::Split}) {
        FileRowWidget row(form);
        RowThumbnail* thumbnail = row.thumbnail();
        EXPECT_EQ(state(thumbnail), QStringLiteral("empty"));
        row.setPageRange(1, 5);
        row.setPageSource(qpath(dir.file("five.pdf")));
        ASSERT_TRUE(GuiWait::until([&] { return settled(thumbnail); }));
        EXPECT_EQ(state(thumbnail), QStringLiteral("image"));
        EXPECT_EQ(thumbnail->shownPage(), 1);
        const QImage first = shown(thumbnail);
        ASSERT_FALSE(first.isNull());
        if (form == FileRowWidget::Split)
            continue;

        part<QLineEdit>(&row, "pagefromlbl")->setText(QStringLiteral("3"));
        EXPECT_EQ(thumbnail->shownPage(), 3);
        ASSERT_TRUE(GuiWait::until([&] { return settled(thumbnail); }));
        EXPECT_EQ(state(thumbnail), QStringLiteral("image"));
        EXPECT_NE(shown(thumbnail), first) << "page 3 looks like page 1";
        // Text that is no page number leaves the picture as it is.
        part<QLineEdit>(&row, "pagefromlbl")->setText(QStringLiteral("x"));
        EXPECT_EQ(thumbnail->shownPage(), 3);
        EXPECT_EQ(state(thumbnail), QStringLiteral("image"));
    }
}

TEST(RowThumbnail, DamagedFilesGiveThePlaceholder)
{
    TempDir dir;
    HostilePdf::writeTruncated(dir.file("truncated.pdf"), 3);
    std::ofstream(dir.file("garbage.pdf"), std::ios::binary) << "%PDF-1.7\n" << std::string(4000, '\xff');
    for (const char* name : {"truncated.pdf", "garbage.pdf"}) {
        SCOPED_TRACE(name);
        FileRowWidget row(FileRowWidget::WithPage);
        row.setPageRange(3, 3);
        row.setPageSource(qpath(dir.file(name)));
        ASSERT_TRUE(GuiWait::until([&] { return settled(row.thumbnail()); }));
        EXPECT_EQ(state(row.thumbnail()), QStringLiteral("placeholder"));
        EXPECT_FALSE(row.thumbnail()->drawing());
    }
}

TEST(RowThumbnail, ARemovedRowEndsItsRenderer)
{
    TempDir dir;
    HostilePdf::writeSlowPages(dir.file("slow.pdf"), 1, 8);
    auto row = std::make_unique<FileRowWidget>(FileRowWidget::WithPage);
    row->setPageRange(1, 1);
    row->setPageSource(qpath(dir.file("slow.pdf")));
    qint64 child = 0;
    ASSERT_TRUE(GuiWait::until([&] {
        child = row->thumbnail()->childPid();
        return child != 0 || settled(row->thumbnail());
    }));
    ASSERT_NE(child, 0) << "the page was drawn before the test could see its child";
    row.reset();
    EXPECT_NE(::kill(static_cast<pid_t>(child), 0), 0) << "the renderer outlived its row";
}
