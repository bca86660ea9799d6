// The Compress zone's level box: each row's level reaches the job, and a finished row shows
// the sizes before and after with the change.

#include "MainWindowFixture.h"

#include "gui/filelist/FileListWidget.h"
#include "gui/filelist/FileRowWidget.h"
#include "gui/mainwnd/FileListController.h"
#include "support/PdfFactory.h"

#include <QComboBox>
#include <QLabel>

#include <fstream>
#include <iterator>

class CompressZone : public MainWindowFixture {};

TEST_F(CompressZone, RowsOfferTheLevelsAndShowWhatTheJobDid)
{
    PdfFactory::write(dir.file("报告.pdf"), 30);
    PdfFactory::write(dir.file("plain.pdf"), 3);
    open();
    const auto rows = dropOnZone(WorkingZone::Compress, {"报告.pdf", "plain.pdf"});
    ASSERT_EQ(rows.size(), 2);
    auto* level = rows[0]->findChild<QComboBox*>(QStringLiteral("compresscombo"));
    ASSERT_NE(level, nullptr);
    EXPECT_FALSE(level->isHidden());
    EXPECT_TRUE(rows[0]->findChild<QComboBox*>(QStringLiteral("splitcombo"))->isHidden());
    EXPECT_TRUE(rows[0]->findChild<QWidget*>(QStringLiteral("pagespacinghor"))->isHidden());
    // Standard first; the fixture's interface is Chinese.
    EXPECT_EQ(level->currentIndex(), 0);
    ASSERT_EQ(level->count(), 4);
    EXPECT_EQ(level->itemText(0), QString::fromUtf8("标准"));
    EXPECT_EQ(level->itemText(1), QString::fromUtf8("无损"));
    EXPECT_EQ(level->itemText(2), QString::fromUtf8("均衡"));
    EXPECT_EQ(level->itemText(3), QString::fromUtf8("强力"));
    level->setCurrentIndex(1);

    window->onClick(QStringLiteral("convertbtn"));
    ASSERT_TRUE(pumpUntil([&] { return window->paneSwitcher().zoneState(WorkingZone::Compress) == PaneSwitcher::Finished; }));
    const auto out = dir.path() / "out";
    const auto lossless = out / "报告_压缩.pdf";
    const auto standard = out / "plain_压缩.pdf";
    ASSERT_EQ(PdfFactory::pageCount(lossless), 30);
    ASSERT_EQ(PdfFactory::pageCount(standard), 3);
    // The lossless level writes object streams, which qpdf's stream compression never does.
    const auto text = [](const std::filesystem::path& f) {
        std::ifstream in(f, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    EXPECT_NE(text(lossless).find("/ObjStm"), std::string::npos);
    EXPECT_EQ(text(standard).find("/ObjStm"), std::string::npos);
    for (QWidget* row : rows) {
        auto* status = row->findChild<QLabel*>(QStringLiteral("promoptlbl"));
        EXPECT_FALSE(status->isHidden());
        // "12.3 KB → 4.5 KB（−63%）"
        EXPECT_TRUE(status->text().contains(QString::fromUtf8(" KB \u2192 "))) << status->text().toStdString();
        EXPECT_TRUE(status->text().contains(QString::fromUtf8("（"))) << status->text().toStdString();
        EXPECT_FALSE(row->findChild<QWidget*>(QStringLiteral("resultHor"))->isHidden());
    }
    EXPECT_TRUE(rows[0]->findChild<QLabel*>(QStringLiteral("promoptlbl"))->text().contains(QString::fromUtf8("\u2212")));
}
