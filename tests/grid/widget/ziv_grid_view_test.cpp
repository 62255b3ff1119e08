#include "../core/grid_test_support.h"
#include "grid_fixture.h"

#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QToolTip>

namespace {

class GridViewTest : public GridTest
{
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        // Exact client widths: no scroll bar takes a share.
        grid.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        grid.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }

    void resizeViewport(int width)
    {
        grid.resize(width, 300);
        QCoreApplication::processEvents();
        ASSERT_EQ(grid.viewport()->width(), width);
    }

    std::vector<int> widths() const { return {grid.colWidth(0), grid.colWidth(1)}; }
    std::vector<int> sizes() const
    {
        return {grid.visibleColumns()[0]->size(), grid.visibleColumns()[1]->size()};
    }

    QImage render()
    {
        QImage image(grid.viewport()->size(), QImage::Format_RGB32);
        image.fill(Qt::black);
        grid.viewport()->render(&image);
        return image;
    }
};

TEST_F(GridViewTest, SmartResizeGrowsRememberedWidthsButNeverShrinksThem)
{
    grid.setColWidth(0, 100);
    grid.setColWidth(1, 200);
    ASSERT_EQ(sizes(), (std::vector<int>{100, 200}));
    resizeViewport(600);
    EXPECT_EQ(widths(), (std::vector<int>{199, 399})); // scaled by 599 / 300
    EXPECT_EQ(sizes(), (std::vector<int>{100, 200}));
    resizeViewport(200);
    EXPECT_EQ(widths(), (std::vector<int>{100, 200}));
}

TEST_F(GridViewTest, FitToGridShareTheWidthWithAMinimumOf15)
{
    grid.setColWidth(0, 2);
    grid.setColWidth(1, 298);
    grid.SetFitColumnToGrid(true);
    resizeViewport(301);
    EXPECT_EQ(widths(), (std::vector<int>{15, 298}));
    EXPECT_EQ(sizes(), (std::vector<int>{2, 298})); // a resize leaves remembered sizes alone
    QTest::keyClick(&grid, Qt::Key_F11);            // outside a resize they follow
    EXPECT_EQ(sizes(), widths());
}

TEST_F(GridViewTest, FitToDataMeasuresEveryCellWithAMinimumOf10)
{
    QTest::keyClick(&grid, Qt::Key_F11, Qt::ShiftModifier); // no cells at all
    EXPECT_EQ(widths(), (std::vector<int>{10, 10}));
    fill({{"a rather long club name", 1}});
    QTest::keyClick(&grid, Qt::Key_F11, Qt::ShiftModifier);
    QtCanvas measure(nullptr, grid.palette());
    measure.font = grid.Font();
    EXPECT_EQ(grid.colWidth(0), measure.textWidth("a rather long club name") + 7);
    EXPECT_EQ(grid.colWidth(1), std::max(10, measure.textWidth("1") + 7));
    EXPECT_EQ(sizes(), widths());
}

TEST_F(GridViewTest, DraggingAHeaderBorderResizesTheColumn)
{
    resizeViewport(300);
    const QRect first = grid.cellRect(0, 0);
    const QPoint border(first.right() + 1, first.center().y());
    QTest::mousePress(grid.viewport(), Qt::LeftButton, Qt::NoModifier, border);
    QMouseEvent move(QEvent::MouseMove, QPointF(border - QPoint(30, 0)),
                     grid.viewport()->mapToGlobal(QPointF(border - QPoint(30, 0))), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(grid.viewport(), &move);
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, Qt::NoModifier, border - QPoint(30, 0));
    EXPECT_EQ(grid.colWidth(0), first.width() - 30);
    EXPECT_EQ(grid.visibleColumns()[0]->size(), first.width() - 30);
    EXPECT_TRUE(grid.sorter().keys().empty());
}

TEST_F(GridViewTest, AColumnShownAgainKeepsItsWidth)
{
    grid.setColWidth(0, 40);
    grid.setColWidth(1, 90);
    ZIVGridColumn &name = *grid.getColumn("name", true);
    name.setVisibility(ZIVGridColumn::hidden);
    ASSERT_EQ(grid.colCount(), 1);
    EXPECT_EQ(grid.colWidth(0), 90);
    name.setVisibility(ZIVGridColumn::visible);
    EXPECT_EQ(widths(), (std::vector<int>{40, 90}));
}

TEST_F(GridViewTest, PaintsMarksSelectionAndFocusFrame)
{
    resizeViewport(400);
    grid.setSelectionColor(clMaroon);
    fill({{"Arsenal", 3}, {"Ajax", 1}});
    ZIVGridRow &empty = grid.addRow(); // its cells stay empty
    empty.setLong("id", 9);
    grid.getColumn("name", true)->setFilter("*");
    grid.getColumn("goals", true)->setFilter("![2]");
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, centre(1, 0));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, centre(1, 1));
    ASSERT_EQ(grid.rows()[0], &empty);

    const QImage image = render();
    const QRect nameHeader = grid.cellRect(0, 0);
    const QRect goalsHeader = grid.cellRect(1, 0);
    EXPECT_NE(image.pixelColor(nameHeader.topLeft() + QPoint(1, 1)), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(goalsHeader.topLeft() + QPoint(1, 1)), QColor(Qt::red));
    // The ascending arrow: a vertical stroke 5 pixels left of the right edge.
    const int arrowX = goalsHeader.left() + goalsHeader.width() - 5;
    EXPECT_EQ(image.pixelColor(arrowX, goalsHeader.top() + 6), QColor(Qt::black));
    EXPECT_NE(image.pixelColor(nameHeader.left() + nameHeader.width() - 5, nameHeader.top() + 6),
              QColor(Qt::black));

    const QRect selected = grid.cellRect(0, 1);
    EXPECT_EQ(image.pixelColor(selected.center()), QColor(128, 0, 0));
    const QColor frame = grid.palette().color(QPalette::Button);
    EXPECT_EQ(image.pixelColor(selected.left() + 20, selected.top()), frame);
    EXPECT_EQ(image.pixelColor(grid.viewport()->width() - 1, selected.center().y()), frame);
    const QRect plain = grid.cellRect(0, 2);
    EXPECT_EQ(image.pixelColor(plain.right() - 1, plain.center().y()), QColor(Qt::white));
}

TEST_F(GridViewTest, PaintingCostsOnlyTheRowsInView)
{
    int painted = 0;
    struct CountingGrid : RecordingGrid
    {
        int *count = nullptr;
        void DrawDataCell(TCanvas &canvas, int col, int row, const TRect &rect) override
        {
            ++*count;
            RecordingGrid::DrawDataCell(canvas, col, row, rect);
        }
    } counting;
    counting.count = &painted;
    counting.SetHeaders({"name"});
    counting.beginUpdate();
    for (int i = 0; i < 1000; ++i)
        counting.addRow().setInt("name", i);
    counting.endUpdate();
    counting.resize(200, 10 * 15 + 15);
    counting.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&counting));
    painted = 0;
    QImage image(counting.viewport()->size(), QImage::Format_RGB32);
    counting.viewport()->render(&image);
    EXPECT_GT(painted, 0);
    EXPECT_LE(painted, counting.visibleRowCount() + 1);
}

TEST_F(GridViewTest, DoubleClickOnAHeaderBorderFitsTheHeaderAndTheRowsInView)
{
    fill({{"Ajax", 1}, {"a club name far longer than any other", 2}});
    grid.getColumn("goals", true)->setFilter("1");
    for (int col : {0, 1})
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {},
                           grid.cellRect(col, 0).topRight() + QPoint(1, 5));
    QtCanvas measure(nullptr, grid.palette());
    measure.font = grid.Font();
    EXPECT_GE(grid.colWidth(0), measure.textWidth("Ajax") + 7);
    EXPECT_LT(grid.colWidth(0), measure.textWidth("a club name far longer than any other") + 7);
    measure.font.style = fsBold; // "goals" is wider than its cells' "1"
    EXPECT_GE(grid.colWidth(1), measure.textWidth("goals") + 5 + 7);
}

TEST_F(GridViewTest, HeaderTooltipSaysTheColumnsHint)
{
    grid.getColumn("goals", true)->setHint("goals scored at home");
    fill({{"Ajax", 1}});
    for (const auto &[col, row, shown] : {std::tuple{1, 0, true}, {0, 0, false}, {1, 1, false}}) {
        QHelpEvent help(QEvent::ToolTip, centre(col, row),
                        grid.viewport()->mapToGlobal(centre(col, row)));
        QCoreApplication::sendEvent(grid.viewport(), &help);
        EXPECT_EQ(help.isAccepted(), shown) << col << row; // ignored: no tooltip
    }
    EXPECT_EQ(QToolTip::text(), "goals scored at home");
    for (QWidget *tip : QApplication::topLevelWidgets())
        if (tip->inherits("QTipLabel"))
            saveScreenshot(*tip, "grid_header_tooltip.png");
}

// Five columns, "a" 60 pixels wide and red, the others 100, in a view 250 wide.
class FrozenTest : public GridViewTest
{
protected:
    void SetUp() override
    {
        GridViewTest::SetUp();
        grid.SetHeaders({"a", "b", "c", "d", "e"});
        grid.getColumn("a", true)->setBrushSource(srcOwn);
        grid.getColumn("a", true)->brush().color = clRed;
        for (int i = 0; i < 3; ++i) {
            ZIVGridRow &row = grid.addRow();
            for (const char *name : {"a", "b", "c", "d", "e"})
                row.setString(name, name + std::to_string(i)).setBrushSource(srcColumn);
        }
        for (int col = 0; col < 5; ++col)
            grid.setColWidth(col, col == 0 ? 60 : 100);
        resizeViewport(250);
    }
};

TEST_F(FrozenTest, FrozenColumnsStayInPlaceOnTopOfTheScrolledOnes)
{
    // Scrolled by 150: where "a" starts, the columns at x = 50 and 110, the one seen at 50.
    for (const auto &[frozen, leftOfA, at50, at110, seen] :
         {std::tuple{0, -150, 2, 2, "c"}, {1, 0, 0, 2, "a"}}) {
        grid.setFrozenColumns(frozen);
        grid.horizontalScrollBar()->setValue(150);
        EXPECT_EQ(grid.cellRect(0, 0).left(), leftOfA);
        EXPECT_EQ(std::pair(grid.columnAt(50), grid.columnAt(110)), std::pair(at50, at110));
        RecordingCanvas canvas;
        grid.paintCells(canvas, grid.viewport()->rect());
        std::string last; // the header text painted last over x = 50
        for (const RecordingCanvas::Text &text : canvas.texts)
            if (text.y == 1 && text.clip.left <= 50 && 50 < text.clip.right)
                last = text.text;
        EXPECT_EQ(last, seen);
        EXPECT_EQ(render().pixelColor(50, grid.cellRect(0, 1).center().y()) == QColor(Qt::red),
                  frozen == 1);
        click(at50, 0); // sorts by the column seen there
        EXPECT_EQ(grid.sorter().keys().at(0).column->name(), seen);
    }
}

TEST_F(FrozenTest, LeftAndRightBringTheNextColumnToTheFrozenEdge)
{
    // Scrolled after Right, Right, Right, Left, Left, Left.
    for (const auto &[frozen, expected] : {std::pair{0, std::vector{61, 162, 214, 162, 61, 0}},
                                           {1, std::vector{101, 202, 214, 202, 101, 0}}}) {
        grid.setFrozenColumns(frozen);
        std::vector<int> scrolled;
        for (Qt::Key k : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Left, Qt::Key_Left,
                          Qt::Key_Left}) {
            key(k);
            scrolled.push_back(grid.horizontalScrollBar()->value());
        }
        EXPECT_EQ(scrolled, expected) << frozen;
    }
    key(Qt::Key_Right);
    EXPECT_EQ(grid.cellRect(2, 0).left(), grid.frozenEdge()); // "c" right of the frozen "a"
    EXPECT_TRUE(saveScreenshot(grid, "grid_frozen_scrolled.png"));
    grid.setFrozenColumns(5); // wider than the view: nothing is frozen
    EXPECT_EQ(grid.frozenInView(), 0);
}

// A sample for a reviewer's eyes: two sort keys, a filter, a selection, coloured cells.
TEST_F(GridViewTest, WritesASampleScreenshot)
{
    grid.setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    grid.setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    grid.SetHeaders(
        {"id;id;s", "home team", "away team", "home goals;goals;v", "away goals;goals;v"});
    grid.setSelectionColor(clMaroon);
    ZIVGridColumn &home = *grid.getColumn("home team", true);
    home.setBrushSource(srcOwn);
    home.brush().color = 0x00FFDCDC; // light blue
    const std::vector<std::tuple<const char *, const char *, int, int>> matches = {
        {"Arsenal", "Ajax", 3, 1},      {"Barcelona", "Roma", 0, 0}, {"Arsenal", "Porto", 1, 2},
        {"Ajax", "Benfica", 2, 2},      {"Arminia", "Celtic", 4, 0}, {"Argentinos", "Lazio", 1, 1},
        {"Arsenal", "Feyenoord", 0, 3},
    };
    grid.beginUpdate();
    int id = 1;
    for (const auto &[homeTeam, awayTeam, homeGoals, awayGoals] : matches) {
        ZIVGridRow &row = grid.addRow();
        row.setLong("id", id++);
        row.setString("home team", homeTeam).setBrushSource(srcColumn);
        ZIVGridCell &away = row.setString("away team", awayTeam);
        away.setFontSource(srcOwn);
        away.font().color = clRed;
        row.setInt("home goals", homeGoals);
        row.setInt("away goals", awayGoals);
    }
    grid.endUpdate();
    grid.resize(420, 160);
    QCoreApplication::processEvents();
    click(0, 0);
    click(2, 0, Qt::ShiftModifier);
    click(2, 0, Qt::ShiftModifier); // home goals descending
    grid.getColumn("home team", true)->setFilter("ar");
    click(0, 2);
    click(0, 4, Qt::ShiftModifier);
    ASSERT_EQ(grid.rowNum(), 5);

    EXPECT_TRUE(saveScreenshot(grid, "grid_sample.png"));
}

} // namespace
