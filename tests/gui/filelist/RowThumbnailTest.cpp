// The page picture at the front of a row, drawn by the real korvex-render: it follows the first
// page of the range, a damaged file gives the grey placeholder, and a removed row ends its child.

#include "RowTestSupport.h"

#include "gui/GuiWait.h"
#include "gui/filelist/FileRowWidget.h"
#include "gui/filelist/RowThumbnail.h"
#include "gui/filelist/ThumbnailQueue.h"
#include "support/HostilePdf.h"
#include "support/PdfFactory.h"
#include "support/TempDir.h"

#include <QLineEdit>
#include <QPixmap>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

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

// Renderer children of this test process alive now (zombies too: they still count until waited).
int renderersRunning()
{
    int count = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
        std::ifstream in(entry.path() / "stat");
        std::string stat;
        if (!std::getline(in, stat))
            continue;
        const std::size_t open = stat.find('('), close = stat.rfind(')');
        if (open == std::string::npos || close == std::string::npos || close + 4 >= stat.size())
            continue;
        const std::string name = stat.substr(open + 1, close - open - 1);
        // After ") S ": the parent's id.
        const long parent = std::strtol(stat.c_str() + close + 4, nullptr, 10);
        if (name == "korvex-render" && parent == ::getpid())
            ++count;
    }
    return count;
}

} // namespace

TEST(RowThumbnail, ManyRowsTakeTurnsAndAllGetTheirPicture)
{
    TempDir dir;
    constexpr int kRows = 12;
    std::vector<std::unique_ptr<FileRowWidget>> rows;
    for (int i = 0; i < kRows; ++i) {
        // Pages slow enough to draw that the children overlap when nothing holds them back.
        const std::filesystem::path pdf = dir.file("slow" + std::to_string(i) + ".pdf");
        HostilePdf::writeSlowPages(pdf, 1, 5);
        rows.push_back(std::make_unique<FileRowWidget>(FileRowWidget::WithPage));
        rows.back()->setPageRange(1, 1);
    }
    for (int i = 0; i < kRows; ++i)
        rows[i]->setPageSource(qpath(dir.file("slow" + std::to_string(i) + ".pdf")));

    int most = 0;
    int drawn = 0;
    const bool done = GuiWait::until(
        [&] {
            most = std::max(most, renderersRunning());
            drawn = 0;
            for (const auto& row : rows)
                drawn += settled(row->thumbnail()) ? 1 : 0;
            return drawn == kRows;
        },
        120000);
    ASSERT_TRUE(done) << drawn << " of " << kRows << " rows got a picture";
    EXPECT_LE(most, ThumbnailQueue::kRunning);
    EXPECT_GE(most, 1) << "no renderer was ever seen: the test saw nothing";
    for (const auto& row : rows)
        EXPECT_EQ(state(row->thumbnail()), QStringLiteral("image"));
}

TEST(RowThumbnail, ARowRemovedWhileWaitingOrDrawingLeavesTheQueue)
{
    TempDir dir;
    HostilePdf::writeSlowPages(dir.file("endless.pdf"), 1, 8);
    PdfFactory::write(dir.file("plain.pdf"), 2);
    // Rows whose pages never finish hold every turn, and one more waits behind them.
    std::vector<std::unique_ptr<FileRowWidget>> rows;
    for (int i = 0; i <= ThumbnailQueue::kRunning; ++i) {
        rows.push_back(std::make_unique<FileRowWidget>(FileRowWidget::WithPage));
        rows.back()->setPageRange(1, 1);
        rows.back()->setPageSource(qpath(dir.file("endless.pdf")));
    }
    ASSERT_TRUE(GuiWait::until([&] { return ThumbnailQueue::shared().running() == ThumbnailQueue::kRunning; }));
    EXPECT_EQ(ThumbnailQueue::shared().waiting(), 1);
    rows.pop_back();
    EXPECT_EQ(ThumbnailQueue::shared().waiting(), 0);

    // Removing the drawing rows frees their turns for a row added after them.
    FileRowWidget late(FileRowWidget::WithPage);
    late.setPageRange(1, 1);
    late.setPageSource(qpath(dir.file("plain.pdf")));
    EXPECT_EQ(state(late.thumbnail()), QStringLiteral("waiting"));
    rows.clear();
    ASSERT_TRUE(GuiWait::until([&] { return settled(late.thumbnail()); }));
    EXPECT_EQ(state(late.thumbnail()), QStringLiteral("image"));
    EXPECT_TRUE(GuiWait::until([&] { return renderersRunning() == 0; }));
}

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
