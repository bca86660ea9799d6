// The page picker from the window's rows, and runs that use what it picked: an extract and a
// merge range, split points, the pieces on disk; which zones offer it; a removed row ends the
// drawing of its picture.

#include "MainWindowFixture.h"

#include "core/tasks/RowRegistry.h"
#include "gui/filelist/FileListWidget.h"
#include "gui/filelist/FileRowWidget.h"
#include "gui/filelist/RowThumbnail.h"
#include "gui/mainwnd/FileListController.h"
#include "gui/picker/PageGridDelegate.h"
#include "gui/picker/PageGridModel.h"
#include "gui/picker/PagePickerDialog.h"
#include "support/HostilePdf.h"
#include "support/PdfFactory.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QToolButton>

#include <csignal>

namespace {

// What to do in the picker once it is open: clicks at pages (a negative page: the gap after
// it; shift: with Shift held), then OK or Cancel.
struct PickerScript {
    struct Click {
        int page;
        bool shift;
    };
    std::vector<Click> clicks;
    bool ok = true;
};

} // namespace

class PagePickerZone : public MainWindowFixture {
protected:
    QList<ListRowWidget*> rows(int zone) { return window->fileLists().list(zone)->rows(); }
    FileRowWidget* row(int zone, int i) { return dynamic_cast<FileRowWidget*>(rows(zone)[i]); }
    void addTo(int zone, const std::vector<std::string>& names, int pages)
    {
        window->paneSwitcher().switchTo(1, zone - 9);
        pump();
        QStringList paths;
        for (const std::string& name : names) {
            PdfFactory::write(dir.file(name), pages);
            paths << QString::fromStdString(dir.file(name).string());
        }
        window->dropFiles(paths);
        ASSERT_TRUE(pumpUntil([&] { return window->paneSwitcher().zoneState(zone) == PaneSwitcher::Ready; }));
    }
    bool run(int zone)
    {
        window->onClick(QStringLiteral("convertbtn"));
        return pumpUntil([&] { return window->paneSwitcher().zoneState(zone) == PaneSwitcher::Finished; });
    }
    // Opens the row's picker with its button and plays the script inside the picker's own loop.
    void pick(FileRowWidget* target, const PickerScript& script)
    {
        bool played = false;
        QTimer poll;
        poll.setInterval(20);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* picker = qobject_cast<PagePickerDialog*>(QApplication::activeModalWidget());
            if (!picker || !picker->isVisible())
                return;
            poll.stop();
            QListView* grid = picker->grid();
            for (const PickerScript::Click& click : script.clicks) {
                const QRect cell = grid->visualRect(picker->model()->index(std::abs(click.page) - 1));
                const QPoint at = click.page < 0 ? PageGridDelegate::gapOf(cell).center() : cell.center();
                QTest::mouseClick(grid->viewport(), Qt::LeftButton, click.shift ? Qt::ShiftModifier : Qt::NoModifier,
                                  at);
            }
            played = true;
            auto* buttons = picker->findChild<QDialogButtonBox*>();
            buttons->button(script.ok ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel)->click();
        });
        poll.start();
        auto* button = target->findChild<QToolButton*>(QStringLiteral("itempickpagesbtn"));
        ASSERT_TRUE(button->isVisibleTo(target));
        button->click(); // returns once the picker has closed
        EXPECT_TRUE(played);
    }
};

TEST_F(PagePickerZone, ExtractAndMergeRunOnThePickedRanges)
{
    open();
    addTo(9, {"pages.pdf"}, 10);
    pick(row(9, 0), {{{3, false}, {6, true}}});
    EXPECT_EQ(row(9, 0)->findChild<QLineEdit*>(QStringLiteral("pagefromlbl"))->text(), QStringLiteral("3"));
    ASSERT_TRUE(run(9));
    EXPECT_EQ(PdfFactory::pageNumbers(row(9, 0)->openedFilename().toStdString()), (std::vector<int>{3, 4, 5, 6}));

    addTo(12, {"a.pdf", "b.pdf"}, 5);
    pick(row(12, 0), {{{4, false}, {2, true}}});
    // Cancel leaves the second row's whole document.
    pick(row(12, 1), {{{2, false}, {3, true}}, false});
    ASSERT_TRUE(run(12));
    EXPECT_EQ(PdfFactory::pageNumbers(row(12, 0)->openedFilename().toStdString()),
              (std::vector<int>{2, 3, 4, 1, 2, 3, 4, 5}));
}

TEST_F(PagePickerZone, SplitRunsAtThePickedPoints)
{
    open();
    addTo(13, {"scan.pdf"}, 10);
    pick(row(13, 0), {{{-4, false}, {-7, false}, {-2, false}, {-2, false}}});
    EXPECT_EQ(row(13, 0)->findChild<QLineEdit*>(QStringLiteral("freespacingedit"))->text(), QStringLiteral("4,7"));
    ASSERT_TRUE(run(13));
    const auto folder = dir.path() / "out" / "scan";
    EXPECT_EQ(PdfFactory::pageNumbers(folder / "scan_1_4.pdf"), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(PdfFactory::pageNumbers(folder / "scan_5_7.pdf"), (std::vector<int>{5, 6, 7}));
    EXPECT_EQ(PdfFactory::pageNumbers(folder / "scan_8_10.pdf"), (std::vector<int>{8, 9, 10}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 3);
}

TEST_F(PagePickerZone, OnlyRowsThatChoosePagesOfferThePickerAndEveryRowHasItsPicture)
{
    open();
    for (int zone : {9, 10, 11, 12, 13}) {
        SCOPED_TRACE(zone);
        addTo(zone, {"z" + std::to_string(zone) + ".pdf"}, 2);
        FileRowWidget* target = row(zone, 0);
        EXPECT_EQ(target->findChild<QToolButton*>(QStringLiteral("itempickpagesbtn"))->isVisibleTo(target),
                  zone == 9 || zone == 12 || zone == 13);
        EXPECT_TRUE(pumpUntil([&] { return target->thumbnail()->property("thumbnailState") == QStringLiteral("image"); }));
    }
}

TEST_F(PagePickerZone, ARemovedRowEndsTheDrawingOfItsPicture)
{
    open();
    window->paneSwitcher().switchTo(1, 0);
    pump();
    HostilePdf::writeSlowPages(dir.file("slow.pdf"), 2, 8);
    window->dropFiles({QString::fromStdString(dir.file("slow.pdf").string())});
    ASSERT_TRUE(pumpUntil([&] { return window->paneSwitcher().zoneState(9) == PaneSwitcher::Ready; }));
    FileRowWidget* target = row(9, 0);
    qint64 child = 0;
    ASSERT_TRUE(pumpUntil([&] { return (child = target->thumbnail()->childPid()) != 0; }));
    target->findChild<QToolButton*>(QStringLiteral("itemrmfilebtn"))->click();
    pump();
    EXPECT_EQ(rows(9).size(), 0);
    EXPECT_NE(::kill(static_cast<pid_t>(child), 0), 0) << "the renderer outlived its row";
}

TEST_F(PagePickerZone, APasswordProtectedFileIsDrawnFromItsDecryptedCopy)
{
    open();
    PdfFactory::write(dir.file("src.pdf"), 3);
    ASSERT_TRUE(PdfFactory::encrypt(dir.file("src.pdf"), dir.file("secret.pdf"), "open sesame"));
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box || box->property("answered").toBool())
            return;
        box->setProperty("answered", true);
        box->findChild<QLineEdit*>(QStringLiteral("passwordEdit"))->setText(QStringLiteral("open sesame"));
        box->findChild<QAbstractButton*>(QStringLiteral("okbtn"))->click();
    });
    poll.start();
    window->dropFiles({QString::fromStdString(dir.file("secret.pdf").string())});
    ASSERT_TRUE(pumpUntil([&] { return window->paneSwitcher().zoneState(13) == PaneSwitcher::Ready; }));
    poll.stop();
    FileRowWidget* target = row(13, 0);
    const auto entry = window->registry()->copy(target->rowId());
    ASSERT_TRUE(entry);
    EXPECT_EQ(target->pageSource().toStdWString(), entry->path);
    EXPECT_NE(entry->path, entry->originalPath);
    ASSERT_TRUE(pumpUntil([&] { return target->thumbnail()->property("thumbnailState") != QStringLiteral("waiting"); }));
    EXPECT_EQ(target->thumbnail()->property("thumbnailState"), QStringLiteral("image"));
    pick(target, {{{-1, false}}});
    EXPECT_EQ(target->findChild<QLineEdit*>(QStringLiteral("freespacingedit"))->text(), QStringLiteral("1"));
}
