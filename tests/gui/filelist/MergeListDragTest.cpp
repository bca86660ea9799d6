// Reordering the merge list with the mouse: the drop asks the callback, then moves the row.

#include "gui/filelist/CDragCallBack.h"
#include "gui/filelist/CGifButton.h"
#include "gui/filelist/CMyListUI.h"
#include "gui/filelist/FileRowWidget.h"

#include "RowTestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

// Answers like the main window's registry would, and remembers what it was asked.
class RecordingCallBack : public CDragCallBack {
public:
    bool accept = true;
    std::vector<std::pair<RowId, int>> moves;
    int ends = 0;

    bool moveRow(RowId row, int newIndex) override
    {
        moves.emplace_back(row, newIndex);
        return accept;
    }
    void endMove() override { ++ends; }
};

class MergeListDrag : public testing::Test {
protected:
    void SetUp() override
    {
        list.resize(900, 400);
        list.setDragCallBack(&callback);
        for (int i = 0; i < 4; ++i) {
            auto* row = new FileRowWidget(FileRowWidget::WithPage);
            row->fill(L"/data/in/part" + std::to_wstring(i) + L".pdf", 1000);
            ASSERT_TRUE(list.addRow(row));
            ids.push_back(row->rowId());
        }
        list.show();
        QApplication::processEvents();
    }

    QWidget* rows() const { return list.widget(); }
    QPoint centreOf(int index) const { return list.rows().at(index)->geometry().center(); }
    QList<RowId> order() const
    {
        QList<RowId> result;
        for (ListRowWidget* row : list.rows())
            result.append(row->rowId());
        return result;
    }

    // Press on a row's file name, move in steps, release where given (all as the user would).
    void drag(int fromIndex, const QPoint& dropPoint)
    {
        auto* name = list.rows().at(fromIndex)->findChild<QLabel*>("filenamelbl");
        QTest::mousePress(name, Qt::LeftButton, {}, QPoint(5, 5));
        const QPoint start = name->mapTo(rows(), QPoint(5, 5));
        QTest::mouseMove(rows(), start + QPoint(0, 20));
        QTest::mouseMove(rows(), dropPoint);
        QTest::mouseRelease(rows(), Qt::LeftButton, {}, dropPoint);
    }

    CMyListUI list{"pdfmerge_lst"};
    RecordingCallBack callback;
    std::vector<RowId> ids;
};

} // namespace

TEST_F(MergeListDrag, DropOnARowMovesTheDraggedRowToItsIndex)
{
    drag(0, centreOf(2));
    ASSERT_EQ(callback.moves.size(), 1u);
    EXPECT_EQ(callback.moves[0], std::make_pair(ids[0], 2));
    EXPECT_EQ(callback.ends, 1);
    EXPECT_EQ(order(), (QList<RowId>{ids[1], ids[2], ids[0], ids[3]}));
    QApplication::processEvents();
    EXPECT_GT(list.row(ids[0])->y(), list.row(ids[2])->y());
    EXPECT_LT(list.row(ids[0])->y(), list.row(ids[3])->y());

    drag(3, centreOf(0));
    EXPECT_EQ(callback.moves.back(), std::make_pair(ids[3], 0));
    EXPECT_EQ(order(), (QList<RowId>{ids[3], ids[1], ids[2], ids[0]}));
    EXPECT_EQ(callback.ends, 2);
}

TEST_F(MergeListDrag, RefusedOrMisplacedDropsChangeNothing)
{
    const QList<RowId> before = order();
    callback.accept = false;
    drag(1, centreOf(3));
    EXPECT_EQ(callback.moves.size(), 1u);
    EXPECT_EQ(callback.ends, 1);
    EXPECT_EQ(order(), before);

    // Below the last row, and onto itself: the callback is not asked, the drag still ends.
    callback.accept = true;
    const QRect last = list.rows().constLast()->geometry();
    drag(0, QPoint(last.center().x(), last.bottom() + 40));
    drag(2, centreOf(2) + QPoint(0, 10));
    EXPECT_EQ(callback.moves.size(), 1u);
    EXPECT_EQ(callback.ends, 3);
    EXPECT_EQ(order(), before);

    // A click without moving is no drag at all.
    QTest::mouseClick(rows(), Qt::LeftButton, {}, centreOf(1));
    EXPECT_EQ(callback.ends, 3);
}

TEST(GifButton, ClicksOnLeftReleaseInside)
{
    CGifButton button("addfilebtn", ":/KorvexRes/missing.gif");
    button.resize(80, 40);
    EXPECT_EQ(button.objectName(), "addfilebtn");
    EXPECT_FALSE(button.isAnimated());
    QSignalSpy clicks(&button, &CGifButton::clicked);
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::mouseClick(&button, Qt::RightButton);
    QTest::mousePress(&button, Qt::LeftButton);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(200, 200));
    EXPECT_EQ(clicks.count(), 1);
}
