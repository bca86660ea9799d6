// A split setting that cannot be run stops the start, keeps the rows editable, and a start
// after the correction runs every row.

#include "MainWindowFixture.h"

#include "gui/filelist/FileListWidget.h"
#include "gui/filelist/FileRowWidget.h"
#include "gui/mainwnd/FileListController.h"
#include "support/PdfFactory.h"

#include <QLineEdit>

namespace {

class SplitRetry : public MainWindowFixture {
protected:
    QLineEdit* piecesSize(int row)
    {
        return window->fileLists().list(13)->rows()[row]->findChild<QLineEdit*>(QStringLiteral("pagespacingedit"));
    }
    QString status(int row)
    {
        return window->fileLists().list(13)->rows()[row]->findChild<QLabel*>(QStringLiteral("promoptlbl"))->text();
    }
    int state() { return window->paneSwitcher().zoneState(13); }
};

} // namespace

TEST_F(SplitRetry, AnEmptyOrZeroSizeKeepsTheZoneEditableUntilCorrected)
{
    user->setLanguage(Glossary::ENGLSH);
    open();
    PdfFactory::write(dir.file("a.pdf"), 6);
    PdfFactory::write(dir.file("b.pdf"), 4);
    window->dropFiles({QString::fromStdString(dir.file("a.pdf").string()),
                       QString::fromStdString(dir.file("b.pdf").string())});
    ASSERT_TRUE(pumpUntil([&] { return state() == PaneSwitcher::Ready; }));

    for (const QString& wrong : {QString(), QStringLiteral("0")}) {
        piecesSize(0)->setText(wrong);
        piecesSize(1)->setText(QStringLiteral("2"));
        window->onClick(QStringLiteral("convertbtn"));
        pump();
        EXPECT_EQ(state(), PaneSwitcher::Ready) << wrong.toStdString();
        EXPECT_TRUE(status(0).startsWith(QStringLiteral("Please Correct Your"))) << status(0).toStdString();
        EXPECT_TRUE(piecesSize(0)->isEnabled());
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "out/b")); // no row ran
    }

    piecesSize(0)->setText(QStringLiteral("3"));
    window->onClick(QStringLiteral("convertbtn"));
    ASSERT_TRUE(pumpUntil([&] { return state() == PaneSwitcher::Finished; }));
    EXPECT_EQ(PdfFactory::pageCount(dir.path() / "out/a/a_4_6.pdf"), 3);
    EXPECT_EQ(PdfFactory::pageCount(dir.path() / "out/b/b_3_4.pdf"), 2);
}
