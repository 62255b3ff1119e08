#include "grid/core/grid_update.h"
#include "grid_fixture.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>

namespace {

TEST_F(GridTest, ConstructionDefaults)
{
    RecordingGrid fresh;
    EXPECT_TRUE(fresh.GetSorted());
    EXPECT_EQ(fresh.DefaultRowHeight(), 14);
    EXPECT_EQ(fresh.GetSelectionColor(), clHighlight);
    EXPECT_EQ(fresh.GetCellColor(), clWhite);
    EXPECT_EQ(fresh.rowCount(), 2);
    EXPECT_EQ(fresh.colCount(), 0);
    EXPECT_FALSE(fresh.FitColumnToGrid());
    EXPECT_EQ(fresh.headerMenu(), nullptr);
    EXPECT_EQ(grid.colCount(), 2); // the system-hidden id is not shown
}

TEST_F(GridTest, HeaderClicksSortAndShiftClickAddsAKey)
{
    fill({{"b", 1}, {"a", 2}, {"b", 0}, {"a", 1}});
    click(0, 0);
    EXPECT_EQ(names(), (std::vector<std::string>{"a", "a", "b", "b"}));
    click(0, 0);
    EXPECT_EQ(names(), (std::vector<std::string>{"b", "b", "a", "a"}));
    click(0, 0);
    click(1, 0, Qt::ShiftModifier);
    ASSERT_EQ(grid.sorter().keys().size(), 2u);
    std::vector<int> goals;
    for (const ZIVGridRow *row : grid.rows())
        goals.push_back(row->cell("goals").getInt());
    EXPECT_EQ(goals, (std::vector<int>{1, 2, 0, 1}));
    click(1, 0, Qt::ControlModifier); // flips the second key
    EXPECT_FALSE(grid.sorter().keys()[1].ascending);
}

TEST_F(GridTest, PressNearAHeaderBorderNeitherSortsNorOpensTheMenu)
{
    grid.Loaded();
    fill({{"b", 1}, {"a", 2}});
    const QRect first = grid.cellRect(0, 0);
    for (int offset : {-4, -1, 0, 2, 5}) {
        const QPoint nearBorder(first.right() + 1 + offset, first.center().y());
        clickAt(nearBorder);
        clickAt(nearBorder, Qt::RightButton);
        EXPECT_TRUE(grid.sorter().keys().empty()) << offset;
        EXPECT_FALSE(grid.headerMenu()->isVisible()) << offset;
    }
    clickAt(QPoint(first.right() - 6, first.center().y()));
    EXPECT_EQ(grid.sorter().keys().size(), 1u);
}

TEST_F(GridTest, RightClickOnTheHeaderOpensTheMenuOnlyOnceLoaded)
{
    click(1, 0, Qt::NoModifier, Qt::RightButton);
    EXPECT_EQ(grid.headerMenu(), nullptr);
    EXPECT_EQ(grid.menuColumn(), grid.visibleColumns()[1]);

    grid.Loaded();
    QMenu *menu = grid.headerMenu();
    ASSERT_NE(menu, nullptr);
    QStringList captions;
    for (QAction *item : menu->actions())
        captions << (item->isSeparator() ? "-" : item->text());
    EXPECT_EQ(captions,
              (QStringList{"Filter - Edit", "-", "Sort - Clear", "Sort - Add this column",
                           "Sort - Remove this column", "-", "Clear filter", "Hide column",
                           "Columns", "-", "Fit all columns", "Copy as CSV", "Export to CSV…"}));
    click(0, 0, Qt::NoModifier, Qt::RightButton);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(grid.menuColumn(), grid.visibleColumns()[0]);
    menu->close();
}

TEST_F(GridTest, SortedOffIgnoresHeaderClicks)
{
    grid.Loaded();
    grid.SetSorted(false);
    fill({{"b", 1}, {"a", 2}});
    click(0, 0);
    click(0, 0, Qt::NoModifier, Qt::RightButton);
    EXPECT_EQ(names(), (std::vector<std::string>{"b", "a"}));
    EXPECT_FALSE(grid.headerMenu()->isVisible());
}

TEST_F(GridTest, PressesOutsideTheCellsChangeNothing)
{
    fill({{"b", 1}, {"a", 2}});
    click(0, 2);
    const QRect last = grid.cellRect(1, 0);
    clickAt(QPoint(last.right() + 20, last.center().y())); // header beyond the last column
    EXPECT_TRUE(grid.sorter().keys().empty());
    clickAt(QPoint(10, grid.cellRect(0, 2).bottom() + 30)); // below the last row
    EXPECT_TRUE(grid.errors.empty());
    EXPECT_EQ(focusedIndex(), 1);
    EXPECT_EQ(selection(), (std::vector<int>{1}));
}

TEST_F(GridTest, MouseSelectionRules)
{
    fillNumbered(10);
    QSignalSpy clicks(&grid, &ZIVGrid::OnClick);
    click(0, 4); // display index 3
    EXPECT_EQ(selection(), (std::vector<int>{3}));
    click(0, 8, Qt::ShiftModifier);
    EXPECT_EQ(selection(), (std::vector<int>{3, 4, 5, 6, 7}));
    EXPECT_EQ(focusedIndex(), 7);

    click(0, 6, Qt::ControlModifier); // deselects, still focuses
    EXPECT_EQ(selection(), (std::vector<int>{3, 4, 6, 7}));
    EXPECT_EQ(focusedIndex(), 5);

    click(0, 5, Qt::NoModifier, Qt::RightButton); // on a selected row: kept
    EXPECT_EQ(selection(), (std::vector<int>{3, 4, 6, 7}));
    EXPECT_EQ(focusedIndex(), 4);
    click(0, 3, Qt::NoModifier, Qt::RightButton); // on an unselected row: replaced
    EXPECT_EQ(selection(), (std::vector<int>{2}));

    click(0, 10);
    EXPECT_EQ(selection(), (std::vector<int>{9}));
    EXPECT_EQ(clicks.count(), 4); // the left presses on rows
}

TEST_F(GridTest, ShiftClickWithoutFocusStartsAtTheClickedRow)
{
    fillNumbered(5);
    grid.SetFocusedRow(nullptr);
    click(0, 3, Qt::ShiftModifier);
    EXPECT_EQ(selection(), (std::vector<int>{2}));
    EXPECT_EQ(focusedIndex(), 2);
}

TEST_F(GridTest, DoubleClickReportsDataRowsOnly)
{
    fillNumbered(3);
    QSignalSpy doubles(&grid, &ZIVGrid::OnDblClick);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, centre(0, 0));
    EXPECT_EQ(doubles.count(), 0);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, centre(0, 2));
    EXPECT_EQ(doubles.count(), 1);
}

TEST_F(GridTest, ArrowKeysMoveTheSelectionAndReportAfterwards)
{
    fillNumbered(5);
    click(0, 1);
    QSignalSpy clicks(&grid, &ZIVGrid::OnClick);
    QSignalSpy keys(&grid, &ZIVGrid::OnKeyDown);
    key(Qt::Key_Down);
    EXPECT_EQ(selection(), (std::vector<int>{1}));
    key(Qt::Key_Down, Qt::ShiftModifier);
    key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(selection(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(focusedIndex(), 3);
    key(Qt::Key_Up);
    EXPECT_EQ(selection(), (std::vector<int>{2}));
    EXPECT_EQ(clicks.count(), 4);
    int moves = 0; // the Shift key itself is reported too
    for (const QList<QVariant> &report : keys)
        moves += report.at(0).toInt() == Qt::Key_Down || report.at(0).toInt() == Qt::Key_Up;
    EXPECT_EQ(moves, 4);
}

TEST_F(GridTest, DownOnTheLastRowKeepsEverythingButStillReports)
{
    fillNumbered(3);
    click(0, 2);
    click(0, 3, Qt::ControlModifier);
    QSignalSpy clicks(&grid, &ZIVGrid::OnClick);
    key(Qt::Key_Down);
    EXPECT_EQ(grid.currentRow(), 3);
    EXPECT_EQ(selection(), (std::vector<int>{1, 2}));
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(GridTest, KeysMoveFromTheFocusedRowAfterASort)
{
    fill({{"c", 0}, {"a", 0}, {"b", 0}});
    click(0, 1); // "c", then sorted to the end
    click(0, 0);
    ASSERT_EQ(focusedIndex(), 2);
    key(Qt::Key_Up);
    EXPECT_EQ(grid.GetFocusedRow()->getString("name"), "b");
}

TEST_F(GridTest, HomeAndEndFocusTheirRowAndTheNextArrowGoesOnFromThere)
{
    fillNumbered(5);
    click(0, 3);
    key(Qt::Key_Home);
    EXPECT_EQ(focusedIndex(), 0);
    key(Qt::Key_Down);
    EXPECT_EQ(selection(), (std::vector<int>{1}));
    key(Qt::Key_End);
    EXPECT_EQ(selection(), (std::vector<int>{4}));
    key(Qt::Key_Up);
    EXPECT_EQ(focusedIndex(), 3);
}

TEST_F(GridTest, PageDownMovesByAPageAndScrolls)
{
    fillNumbered(100);
    click(0, 1);
    const int page = grid.visibleRowCount();
    key(Qt::Key_PageDown);
    EXPECT_EQ(focusedIndex(), page);
    key(Qt::Key_PageDown);
    EXPECT_EQ(focusedIndex(), 2 * page);
    EXPECT_GE(grid.GettopRowNumber() + page - 1, 2 * page + 1);
}

TEST_F(GridTest, CtrlNCountsTheRowsInView)
{
    fillNumbered(12);
    grid.getColumn("goals", true)->setFilter("![5-9]"); // hides 5 to 9
    key(Qt::Key_N);                                     // without Ctrl: nothing
    key(Qt::Key_N, Qt::ControlModifier);
    ASSERT_EQ(grid.messages.size(), 1u);
    EXPECT_EQ(grid.messages[0], "The number of the rows is 7");
}

TEST_F(GridTest, CtrlCCopiesTheVisibleColumnsOfAllRows)
{
    fill({{"Arsenal", 3}, {"Ajax", 1}});
    QGuiApplication::clipboard()->setText("old");
    key(Qt::Key_C);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "old");
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "name\tgoals\nArsenal\t3\nAjax\t1\n");
    EXPECT_EQ(grid.clipboardText("x"), "name\tgoals\tx\nArsenal\t3\nAjax\t1\n");
}

TEST_F(GridTest, CtrlIShowsTheFocusedRowsSystemHiddenValues)
{
    key(Qt::Key_I, Qt::ControlModifier);
    fill({{"Arsenal", 3}, {"Ajax", 1}});
    click(0, 2);
    key(Qt::Key_I, Qt::ControlModifier);
    ASSERT_EQ(grid.messages.size(), 2u);
    EXPECT_EQ(grid.messages[0], "");
    EXPECT_EQ(grid.messages[1], "id: 2\n");
}

TEST_F(GridTest, F9FlipsSmartDrawingSelection)
{
    key(Qt::Key_F9);
    EXPECT_TRUE(grid.GetSmartDrawingSelection());
    key(Qt::Key_F9);
    EXPECT_FALSE(grid.GetSmartDrawingSelection());
}

TEST_F(GridTest, TopRowNumberStaysWithinTheRows)
{
    grid.SettopRowNumber(5); // no rows: nothing
    EXPECT_EQ(grid.GettopRowNumber(), 1);
    fillNumbered(100);
    const int lastPage = 100 - grid.visibleRowCount() + 1;
    struct Case
    {
        int asked, shown;
    };
    for (const Case &c : {Case{0, 1}, Case{-3, 1}, Case{10, 10}, Case{1000, lastPage}}) {
        grid.SettopRowNumber(c.asked);
        EXPECT_EQ(grid.GettopRowNumber(), c.shown) << c.asked;
    }
    fillNumbered(3); // fewer rows than fit: the first row stays on top
    grid.SettopRowNumber(3);
    EXPECT_EQ(grid.GettopRowNumber(), 1);
}

TEST_F(GridTest, WheelScrollsOneRowPerNotch)
{
    fillNumbered(100);
    const auto wheel = [this](int delta) {
        QWheelEvent event(QPointF(50, 50), grid.viewport()->mapToGlobal(QPointF(50, 50)), QPoint(),
                          QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid.viewport(), &event);
    };
    wheel(-120);
    wheel(-240);
    EXPECT_EQ(grid.GettopRowNumber(), 4);
    wheel(60);
    EXPECT_EQ(grid.GettopRowNumber(), 4);
    wheel(60);
    EXPECT_EQ(grid.GettopRowNumber(), 3);
}

TEST_F(GridTest, ThumbAtTheEndShowsTheLastOfAMillionRows)
{
    fillNumbered(1000000);
    QScrollBar *bar = grid.verticalScrollBar();
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    const int lastShown = grid.GettopRowNumber() + grid.visibleRowCount() - 1;
    EXPECT_EQ(lastShown, 1000000);
    bar->setValue(bar->maximum() / 2);
    EXPECT_NEAR(grid.GettopRowNumber(), 500000, grid.visibleRowCount());
}

TEST_F(GridTest, FilterEditAsksWithTheColumnCaptionAndAppliesTheAnswer)
{
    grid.Loaded();
    fill({{"Arsenal", 3}, {"Barcelona", 1}, {"Argentina", 0}});
    click(0, 0, Qt::NoModifier, Qt::RightButton);
    grid.headerMenu()->close();
    grid.answer = "ar";
    grid.headerMenu()->actions()[0]->trigger();
    ASSERT_EQ(grid.askedCaptions.size(), 1u);
    EXPECT_EQ(grid.askedCaptions[0], "Filter for name");
    EXPECT_EQ(grid.askedPrompts[0],
              "Please provide a filter for the column! \nYou can use the ? and * signs for "
              "masking and a leading ! for exclusive filters.\nIn a column of numbers you can "
              "also compare: >=7, <=7, >7, <5, =6, or 6..8 for a range.");
    EXPECT_EQ(grid.askedTexts[0], "");
    EXPECT_EQ(grid.rowNum(), 2);

    grid.answer = "[a"; // malformed: an error box, nothing lost
    grid.headerMenu()->actions()[0]->trigger();
    EXPECT_EQ(grid.errors.size(), 1u);
    EXPECT_EQ(grid.rowNum(), 2);
    grid.answer.reset(); // cancelled
    grid.headerMenu()->actions()[0]->trigger();
    EXPECT_EQ(grid.askedTexts.back(), "ar");
    EXPECT_EQ(grid.rowNum(), 2);
}

TEST_F(GridTest, SortMenuItemsChangeTheKeys)
{
    grid.Loaded();
    fill({{"b", 1}, {"a", 2}});
    click(1, 0, Qt::NoModifier, Qt::RightButton);
    grid.headerMenu()->close();
    const QList<QAction *> items = grid.headerMenu()->actions();
    items[3]->trigger(); // add this column
    EXPECT_EQ(names(), (std::vector<std::string>{"b", "a"}));
    ASSERT_EQ(grid.sorter().keys().size(), 1u);
    items[4]->trigger(); // remove it
    EXPECT_TRUE(grid.sorter().keys().empty());
    items[3]->trigger();
    items[2]->trigger(); // clear
    EXPECT_TRUE(grid.sorter().keys().empty());
}

TEST_F(GridTest, ViewItemsOfTheHeaderMenuWork)
{
    grid.Loaded();
    fill({{"Arsenal", 3}, {"Ajax", 1}, {"Benfica", 2}});
    QSignalSpy filterChanges(&grid, &ZIVGrid::filtersChanged);
    const auto item = [&](const char *caption) { return grid.headerMenuItem(caption); };
    const auto openOn = [&](int col, bool look = false) {
        click(col, 0, Qt::NoModifier, Qt::RightButton);
        EXPECT_TRUE(!look || saveScreenshot(*grid.headerMenu(), "grid_header_menu.png"));
        grid.headerMenu()->close();
    };
    openOn(0);
    EXPECT_FALSE(item("Clear filter")->isVisible());
    grid.getColumn("name", true)->setFilter("a");
    openOn(0, true);
    item("Clear filter")->trigger();
    EXPECT_EQ(std::pair(grid.rowNum(), int(filterChanges.count())), std::pair(3, 2));
    item("Copy as CSV")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              "name,goals\r\nArsenal,3\r\nAjax,1\r\nBenfica,2\r\n");
    QMenu *columns = item("Columns")->menu(); // the system-hidden id is not offered
    ASSERT_EQ(columns->actions().size(), 2);
    item("Hide column")->trigger();
    openOn(0); // on "goals", the last one shown: it stays
    EXPECT_FALSE(item("Hide column")->isEnabled() || columns->actions()[1]->isEnabled());
    EXPECT_FALSE(columns->actions()[0]->isChecked());
    columns->actions()[0]->trigger(); // shows "name" again, in its place
    EXPECT_EQ(grid.visibleColumns()[0]->name(), "name");
    grid.setColWidth(0, 3);
    item("Fit all columns")->trigger();
    EXPECT_GT(grid.colWidth(0), grid.fontMetrics().horizontalAdvance("Benfica"));
}

TEST_F(GridTest, ExportToCsvWritesTheWholeFileOrSaysWhy)
{
    grid.Loaded();
    fill({{"Åsa, \"the\" club", 3}});
    QTemporaryDir folder;
    const QString good = folder.filePath("out.csv"), bad = folder.filePath("missing/out.csv");
    for (const QString &path : {good, bad, QString()}) { // the last one cancelled
        grid.saveAnswer = path;
        grid.headerMenuItem("Export to CSV…")->trigger();
    }
    ASSERT_EQ(grid.errors.size(), 1u);
    EXPECT_TRUE(grid.errors[0].contains(bad));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList("out.csv")); // nothing else
    QFile file(good);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(),
              QByteArray("\xEF\xBB\xBFname,goals\r\n\"Åsa, \"\"the\"\" club\",3\r\n"));
}

TEST_F(GridTest, AddColumnMenuListsSortableColumnsByCaptionAndSurvivesARebuild)
{
    grid.SetHeaders({"id;id;s", "z;Zebra;v", "b;apple;h", "a;Bee;v"});
    grid.Loaded();
    grid.createAddColumnMenu();
    const QList<QAction *> items = grid.headerMenu()->actions();
    QMenu *submenu = grid.headerMenuItem("Sort - Add column ...")->menu();
    ASSERT_NE(submenu, nullptr);
    EXPECT_EQ(items.indexOf(submenu->menuAction()),
              items.indexOf(grid.headerMenuItem("Sort - Remove this column")) + 1);
    QStringList captions;
    for (QAction *item : submenu->actions())
        captions << item->text();
    EXPECT_EQ(captions, (QStringList{"Bee", "Zebra", "apple"}));

    submenu->actions()[1]->trigger();
    ASSERT_EQ(grid.sorter().keys().size(), 1u);
    EXPECT_EQ(grid.sorter().keys()[0].column->name(), "z");

    grid.SetHeaders({"other"}); // the items now name columns that are gone
    submenu->actions()[1]->trigger();
    EXPECT_TRUE(grid.sorter().keys().empty());
    EXPECT_TRUE(grid.errors.empty());
}

TEST_F(GridTest, ErrorsOfAHandlerReachTheErrorBox)
{
    grid.SetHeaders({"id;id;s", "name"});
    {
        const ZIVGridUpdate update(grid);
        grid.addRow().setInt("id", 1); // not a long: the update bracket cannot read it
        grid.addRow().setLong("id", 2);
    }
    click(0, 1);
    click(0, 2, Qt::ShiftModifier);
    ASSERT_EQ(grid.errors.size(), 1u);
    EXPECT_EQ(grid.errors[0], "This cell is not a LongCell");
    EXPECT_TRUE(grid.ZIVGridCore::updatesEnabled()); // the grid does not stay frozen
}

TEST_F(GridTest, ClickHandlersSeeTheClickedRowFocused)
{
    fillNumbered(4);
    std::vector<int> seen;
    QObject::connect(&grid, &ZIVGrid::OnClick, [&] { seen.push_back(focusedIndex()); });
    click(0, 3);
    key(Qt::Key_Down);
    EXPECT_EQ(seen, (std::vector<int>{2, 3}));
}

} // namespace
