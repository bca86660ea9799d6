// The page picker over a real row and the real renderer: picking a range with clicks, Shift and
// the keyboard, split points in the gaps, bookmark starts, labels, only the pages on screen
// drawn and few held, and damaged or endless files that leave the picker answering.

#include "RowTestSupport.h"

#include "core/common/Utils.h"
#include "gui/GuiWait.h"
#include "gui/filelist/FileRowWidget.h"
#include "gui/filelist/RowThumbnail.h"
#include "gui/picker/PageGridDelegate.h"
#include "gui/picker/PageGridModel.h"
#include "gui/picker/PagePickerDialog.h"
#include "support/BookmarkedPdf.h"
#include "support/HostilePdf.h"
#include "support/PdfFactory.h"
#include "support/TempDir.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>

namespace {

int state(PageGridModel* model, int page)
{
    return model->data(model->index(page - 1), PageGridModel::StateRole).toInt();
}

class PagePicker : public testing::Test {
protected:
    // A row of that form over the file, as the window leaves it once the pages are counted.
    FileRowWidget& rowFor(FileRowWidget::Template form, const std::filesystem::path& pdf, int pages)
    {
        m_row = std::make_unique<FileRowWidget>(form);
        m_row->fill(Utils::utf8ToWide(pdf.string()), 1000);
        m_row->setPageRange(1, pages);
        m_row->setPageSource(QString::fromStdString(pdf.string()));
        return *m_row;
    }
    PagePickerDialog& open(int pages)
    {
        m_picker = std::make_unique<PagePickerDialog>(*m_row, pages);
        m_picker->resize(700, 520);
        m_picker->show();
        return *m_picker;
    }
    QPoint centreOf(int page) { return grid()->visualRect(model()->index(page - 1)).center(); }
    QPoint gapAfter(int page)
    {
        return PageGridDelegate::gapOf(grid()->visualRect(model()->index(page - 1))).center();
    }
    void click(const QPoint& at, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, modifiers, at);
    }
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(grid(), static_cast<Qt::Key>(key), modifiers);
    }
    bool firstScreenSettled(int count)
    {
        for (int page = 1; page <= count; ++page) {
            if (state(model(), page) == PageGridModel::Waiting)
                return false;
        }
        return true;
    }
    QListView* grid() { return m_picker->grid(); }
    PageGridModel* model() { return m_picker->model(); }
    QString picked() { return m_picker->findChild<QLabel*>(QStringLiteral("pickedlbl"))->text(); }

    TempDir dir;
    GlossaryLanguage english{Glossary::ENGLSH};
    std::unique_ptr<FileRowWidget> m_row;
    std::unique_ptr<PagePickerDialog> m_picker;
};

} // namespace

TEST_F(PagePicker, ClickShiftClickAndShiftArrowSetTheRangeThatOkWrites)
{
    PdfFactory::write(dir.file("thirty.pdf"), 30);
    FileRowWidget& row = rowFor(FileRowWidget::WithPage, dir.file("thirty.pdf"), 30);
    row.setPageRange(2, 9);
    PagePickerDialog& picker = open(30);
    EXPECT_EQ(picker.mode(), PagePickerDialog::Range);
    EXPECT_EQ(model()->rangeFrom(), 2);
    EXPECT_EQ(model()->rangeTo(), 9);
    ASSERT_TRUE(GuiWait::until([&] { return state(model(), 1) == PageGridModel::Drawn; }));

    click(centreOf(5));
    EXPECT_EQ(picked(), QStringLiteral("Pages 5 to 5"));
    click(centreOf(12), Qt::ShiftModifier);
    EXPECT_EQ(model()->rangeFrom(), 5);
    EXPECT_EQ(model()->rangeTo(), 12);
    EXPECT_TRUE(model()->data(model()->index(7), PageGridModel::PickedRole).toBool());
    EXPECT_FALSE(model()->data(model()->index(12), PageGridModel::PickedRole).toBool());
    // Shift+click before the first page picked turns the range round.
    click(centreOf(3), Qt::ShiftModifier);
    EXPECT_EQ(model()->rangeFrom(), 3);
    EXPECT_EQ(model()->rangeTo(), 5);
    // Keyboard: the current page is 3, the range still starts at 5; Shift+Right moves its other end.
    key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(model()->rangeFrom(), 4);
    EXPECT_EQ(model()->rangeTo(), 5);
    // Without Shift the range starts again at the page moved to.
    key(Qt::Key_Right);
    EXPECT_EQ(model()->rangeFrom(), 5);
    EXPECT_EQ(model()->rangeTo(), 5);
    key(Qt::Key_Right, Qt::ShiftModifier);
    key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(picked(), QStringLiteral("Pages 5 to 7"));
    EXPECT_EQ(part<QLineEdit>(&row, "pagefromlbl")->text(), QStringLiteral("2")) << "written before OK";

    key(Qt::Key_Return);
    EXPECT_EQ(picker.result(), QDialog::Accepted);
    EXPECT_EQ(part<QLineEdit>(&row, "pagefromlbl")->text(), QStringLiteral("5"));
    EXPECT_EQ(part<QLineEdit>(&row, "pagetolbl")->text(), QStringLiteral("7"));
    EXPECT_EQ(row.thumbnail()->shownPage(), 5);
}

TEST_F(PagePicker, CancelAndEscapeChangeNothing)
{
    PdfFactory::write(dir.file("ten.pdf"), 10);
    {
        FileRowWidget& row = rowFor(FileRowWidget::WithPage, dir.file("ten.pdf"), 10);
        PagePickerDialog& picker = open(10);
        click(centreOf(4));
        click(centreOf(7), Qt::ShiftModifier);
        key(Qt::Key_Escape);
        EXPECT_EQ(picker.result(), QDialog::Rejected);
        EXPECT_FALSE(picker.isVisible());
        EXPECT_EQ(part<QLineEdit>(&row, "pagefromlbl")->text(), QStringLiteral("1"));
        EXPECT_EQ(part<QLineEdit>(&row, "pagetolbl")->text(), QStringLiteral("10"));
    }
    FileRowWidget& row = rowFor(FileRowWidget::Split, dir.file("ten.pdf"), 10);
    part<QLineEdit>(&row, "pagespacingedit")->setText(QStringLiteral("3"));
    PagePickerDialog& picker = open(10);
    EXPECT_EQ(picker.mode(), PagePickerDialog::SplitPoints);
    click(gapAfter(2));
    click(gapAfter(5));
    EXPECT_EQ(model()->splitPoints(), (std::vector<int>{2, 5}));
    picker.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->click();
    EXPECT_EQ(picker.result(), QDialog::Rejected);
    EXPECT_EQ(part<QComboBox>(&row, "splitcombo")->currentIndex(), 0);
    EXPECT_EQ(part<QLineEdit>(&row, "freespacingedit")->text(), QString());
    EXPECT_EQ(part<QLineEdit>(&row, "pagespacingedit")->text(), QStringLiteral("3"));
}

TEST_F(PagePicker, GapClicksAndSpaceSetSplitPointsThatOkWritesAsTheRowsMode)
{
    PdfFactory::write(dir.file("twelve.pdf"), 12);
    FileRowWidget& row = rowFor(FileRowWidget::Split, dir.file("twelve.pdf"), 12);
    part<QLineEdit>(&row, "freespacingedit")->setText(QStringLiteral("9"));
    PagePickerDialog& picker = open(12);
    EXPECT_EQ(model()->splitPoints(), (std::vector<int>{9}));
    EXPECT_EQ(picked(), QStringLiteral("Split after pages: 9"));

    // A click on the page itself only makes it current; the gap after it sets the point.
    click(centreOf(4));
    EXPECT_EQ(model()->splitPoints(), (std::vector<int>{9}));
    click(gapAfter(4));
    click(gapAfter(2));
    click(gapAfter(9)); // clears it
    EXPECT_EQ(model()->splitPoints(), (std::vector<int>{2, 4}));
    click(centreOf(2));
    key(Qt::Key_Right);
    key(Qt::Key_Space);
    EXPECT_EQ(model()->splitPoints(), (std::vector<int>{2, 3, 4}));
    // Nothing is split after the last page.
    click(gapAfter(12));
    EXPECT_EQ(model()->splitPoints(), (std::vector<int>{2, 3, 4}));
    EXPECT_EQ(picked(), QStringLiteral("Split after pages: 2,3,4"));

    key(Qt::Key_Enter);
    EXPECT_EQ(picker.result(), QDialog::Accepted);
    EXPECT_EQ(part<QComboBox>(&row, "splitcombo")->currentIndex(), 1);
    EXPECT_EQ(part<QLineEdit>(&row, "freespacingedit")->text(), QStringLiteral("2,3,4"));
    EXPECT_EQ(row.splitPoints(), (std::vector<int>{2, 3, 4}));
}

TEST_F(PagePicker, MarksWhereTheLevelsBookmarksStartAndShowsPageLabels)
{
    BookmarkedPdf::write(dir.file("book.pdf"), 12,
                         {{"One", 1, BookmarkedPdf::Target::Page, {{"1.1", 3, BookmarkedPdf::Target::Page, {}}}},
                          {"Two", 7, BookmarkedPdf::Target::NameTree, {{"2.1", 9, BookmarkedPdf::Target::Page, {}}}}});
    FileRowWidget& row = rowFor(FileRowWidget::Split, dir.file("book.pdf"), 12);
    part<QComboBox>(&row, "splitcombo")->setCurrentIndex(2);
    part<QSpinBox>(&row, "bookmarklevelspin")->setValue(2);
    open(12);
    const auto starts = [&] {
        std::vector<int> pages;
        for (int page = 1; page <= 12; ++page)
            if (model()->data(model()->index(page - 1), PageGridModel::BookmarkStartRole).toBool())
                pages.push_back(page);
        return pages;
    };
    ASSERT_TRUE(GuiWait::until([&] { return !starts().empty(); }));
    EXPECT_EQ(starts(), (std::vector<int>{3, 9}));
    EXPECT_TRUE(m_picker->findChild<QLabel*>(QStringLiteral("pickerhintlbl"))->text().contains(
        QStringLiteral("bookmark of level 2")));
    // Leaving without a change keeps the row splitting at bookmarks.
    m_picker->accept();
    EXPECT_EQ(part<QComboBox>(&row, "splitcombo")->currentIndex(), 2);

    std::vector<std::string> objects = PdfFactory::documentObjects(4);
    objects[0] = "<< /Type /Catalog /Pages 2 0 R /PageLabels << /Nums [0 << /S /r >> 2 << /S /D >>] >> >>";
    PdfFactory::writeObjects(dir.file("labelled.pdf"), objects);
    rowFor(FileRowWidget::WithPage, dir.file("labelled.pdf"), 4);
    open(4);
    const auto label = [&](int page) { return model()->data(model()->index(page - 1), PageGridModel::LabelRole).toString(); };
    ASSERT_TRUE(GuiWait::until([&] { return !label(1).isEmpty(); }));
    EXPECT_EQ(label(2), QStringLiteral("ii"));
    EXPECT_EQ(label(3), QStringLiteral("1"));
}

TEST_F(PagePicker, DrawsOnlyThePagesOnScreenAndHoldsFewImages)
{
    PdfFactory::write(dir.file("long.pdf"), 3000);
    rowFor(FileRowWidget::WithPage, dir.file("long.pdf"), 3000);
    open(3000);
    ASSERT_TRUE(GuiWait::until([&] { return state(model(), 1) == PageGridModel::Drawn; }));
    const int onScreen = grid()->viewport()->height() / grid()->visualRect(model()->index(0)).height() + 2;
    const int perLine = grid()->viewport()->width() / grid()->visualRect(model()->index(0)).width();
    ASSERT_TRUE(GuiWait::until([&] { return firstScreenSettled(perLine); }));
    EXPECT_EQ(state(model(), 1500), PageGridModel::Waiting);
    EXPECT_EQ(state(model(), 3000), PageGridModel::Waiting);
    EXPECT_LE(model()->heldImages(), onScreen * perLine);

    // Screen after screen to the end: the last page is drawn, and no more than the bound held.
    QScrollBar* bar = grid()->verticalScrollBar();
    for (int step = 1; step <= 12; ++step) {
        bar->setValue(bar->maximum() * step / 12);
        const QModelIndex shown = grid()->indexAt(QPoint(2, 2));
        ASSERT_TRUE(shown.isValid());
        ASSERT_TRUE(GuiWait::until([&] { return state(model(), shown.row() + 1) != PageGridModel::Waiting; }));
        EXPECT_LE(model()->heldImages(), PageGridModel::kMostImages);
    }
    ASSERT_TRUE(GuiWait::until([&] { return state(model(), 3000) == PageGridModel::Drawn; }));
    EXPECT_GT(model()->heldImages(), 0);
    EXPECT_LE(model()->heldImages(), PageGridModel::kMostImages);
    EXPECT_EQ(state(model(), 1400), PageGridModel::Waiting) << "no screen showed it";
}

TEST_F(PagePicker, DamagedFilesShowPlaceholdersAndThePickerKeepsAnswering)
{
    HostilePdf::writeTruncated(dir.file("truncated.pdf"), 3);
    HostilePdf::writePageTreeLoop(dir.file("looping.pdf"));
    for (const char* name : {"truncated.pdf", "looping.pdf"}) {
        SCOPED_TRACE(name);
        // As many pages as the file's tree claims.
        rowFor(FileRowWidget::WithPage, dir.file(name), 3);
        PagePickerDialog& picker = open(3);
        ASSERT_TRUE(GuiWait::until([&] { return firstScreenSettled(3); }));
        EXPECT_EQ(state(model(), 3), PageGridModel::Placeholder);
        if (std::string(name) == "truncated.pdf") {
            EXPECT_EQ(state(model(), 1), PageGridModel::Placeholder);
        }
        click(centreOf(2));
        click(centreOf(3), Qt::ShiftModifier);
        EXPECT_EQ(picked(), QStringLiteral("Pages 2 to 3"));
        key(Qt::Key_Return);
        EXPECT_EQ(picker.result(), QDialog::Accepted);
    }

    // A page that takes the child far longer than anyone waits: the picker answers at once,
    // and closing it ends the child.
    HostilePdf::writeSlowPages(dir.file("slow.pdf"), 4, 8);
    FileRowWidget& row = rowFor(FileRowWidget::WithPage, dir.file("slow.pdf"), 4);
    open(4);
    qint64 child = 0;
    ASSERT_TRUE(GuiWait::until([&] { return (child = model()->childPid()) != 0; }));
    click(centreOf(2));
    click(centreOf(4), Qt::ShiftModifier);
    EXPECT_EQ(picked(), QStringLiteral("Pages 2 to 4"));
    EXPECT_EQ(state(model(), 1), PageGridModel::Waiting);
    key(Qt::Key_Return);
    EXPECT_EQ(part<QLineEdit>(&row, "pagefromlbl")->text(), QStringLiteral("2"));
    m_picker.reset();
    EXPECT_NE(::kill(static_cast<pid_t>(child), 0), 0) << "the renderer outlived the picker";
}
