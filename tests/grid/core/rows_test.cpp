#include "grid_test_support.h"

#include "Engine/errors.h"
#include "grid/core/grid_update.h"

#include <gtest/gtest.h>

namespace {

class RowsTest : public ::testing::Test
{
protected:
    void SetUp() override { grid.SetHeaders({"id;id;s", "name"}); }

    void rebuild(const std::vector<std::pair<int, std::string>> &rows)
    {
        const ZIVGridUpdate update(grid);
        grid.clear();
        addIdNameRows(grid, rows);
    }

    int focusedId() const
    {
        return grid.GetFocusedRow() ? grid.GetFocusedRow()->getLong("id") : -999;
    }

    std::vector<int> selectedIds() const
    {
        TSelectedRows list;
        grid.getSelectedRows(list);
        std::vector<int> ids;
        for (const ZIVGridRow *row : list)
            ids.push_back(row->getLong("id"));
        return ids;
    }

    CountingGrid grid;
};

TEST_F(RowsTest, GetRowBounds)
{
    EXPECT_EQ(grid.getRow(ZIVGridCore::atEnd, false), nullptr);
    EXPECT_THROW(grid.getRow(ZIVGridCore::atEnd, true), ERangeError);
    addIdNameRows(grid, {{1, "a"}, {2, "b"}});
    EXPECT_EQ(grid.getRow(ZIVGridCore::atEnd)->getLong("id"), 2);
    for (int index : {-1, 2, 100}) {
        EXPECT_EQ(grid.getRow(index, false), nullptr);
        try {
            grid.getRow(index, true);
            FAIL();
        } catch (const ERangeError &error) {
            EXPECT_EQ(error.message(), "Invalid index");
        }
    }
}

TEST_F(RowsTest, SecondBlockStartsAtSlot10000)
{
    for (int i = 0; i < 10001; ++i)
        grid.addRow().setLong("id", i);
    const ZIVGridRow &last = *grid.getRow(10000);
    EXPECT_EQ(last.slot(), 10000);
    EXPECT_EQ(last.getLong("id"), 10000);
    EXPECT_EQ(grid.getRow(9999)->getLong("id"), 9999);
    EXPECT_EQ(&grid.rowAtSlot(10000), &last);
    EXPECT_EQ(grid.rowsIssued(), 10001);
}

TEST_F(RowsTest, InsertAtPosition)
{
    addIdNameRows(grid, {{1, "a"}, {2, "b"}});
    grid.addRow(1).setLong("id", 3);
    EXPECT_EQ(grid.getRow(1)->getLong("id"), 3);
    EXPECT_EQ(grid.getRow(2)->index(), 2);
    EXPECT_THROW(grid.addRow(4), ERangeError);
    EXPECT_EQ(grid.rowsIssued(), 3);
}

TEST_F(RowsTest, RemoveRowLeavesIndexesStaleUntilCorrected)
{
    addIdNameRows(grid, {{1, "a"}, {2, "b"}, {3, "c"}});
    ZIVGridRow &first = *grid.getRow(0);
    first.select();
    grid.removeRow(first, false);
    EXPECT_EQ(grid.rowNum(), 2);
    EXPECT_FALSE(first.isSelected());
    EXPECT_TRUE(first.isFocused()); // focus is not touched
    EXPECT_EQ(grid.getRow(0)->index(), 1);
    grid.correctIndexes();
    EXPECT_EQ(grid.getRow(0)->index(), 0);
}

TEST_F(RowsTest, FindByValues)
{
    addIdNameRows(grid, {{12, "Arsenal"}, {13, "Ajax"}, {12, "Ajax"}});
    EXPECT_EQ(grid.getRowByValues({"id", "12"}), grid.getRow(0));
    EXPECT_EQ(grid.getRowByValues({"id", "12", "name", "Ajax"}), grid.getRow(2));
    EXPECT_EQ(grid.getRowByValues({"name", "ajax"}), nullptr);
    EXPECT_EQ(grid.getRowByValues(std::vector<std::string>{"name", "Ajax"}), grid.getRow(1));
    try {
        grid.getRowByValues({"id", "12", "name"});
        FAIL();
    } catch (const Exception &error) {
        EXPECT_EQ(error.message(),
                  "Impair number og argument while calling ZIVGrid::getRowByValues()");
    }
    EXPECT_THROW(grid.getRowByValues({"nope", "1"}), ERangeError);
    grid.getColumn("name", true)->setFilter("Ars");
    EXPECT_EQ(grid.getRowByValues({"id", "13"}), nullptr); // hidden rows are never found
}

TEST_F(RowsTest, SelectionOperations)
{
    addIdNameRows(grid, {{1, "a"}, {2, "b"}, {3, "c"}});
    grid.selectAllRows();
    EXPECT_EQ(focusedId(), 3);
    grid.getRow(1)->toggleSelection();
    EXPECT_EQ(selectedIds(), (std::vector<int>{1, 3}));
    EXPECT_EQ(focusedId(), 3);

    ZIVGridCore target;
    target.SetHeaders({"name", "id"});
    grid.moveSelectedRows(target);
    EXPECT_EQ(shownNames(target), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(target.getRow(1)->getLong("id"), 3);
    EXPECT_EQ(shownNames(grid), (std::vector<std::string>{"b"}));
    EXPECT_EQ(grid.getRow(0)->index(), 0);
    EXPECT_TRUE(grid.GetSelectedRows().empty());

    EXPECT_EQ(grid.focusRowById(2), grid.getRow(0));
    EXPECT_EQ(grid.focusRowById(9), nullptr);
    EXPECT_EQ(focusedId(), 2);
}

TEST_F(RowsTest, RebuildKeepsFocusByIdOrNeighbour)
{
    const struct
    {
        int focusBefore;
        std::vector<std::pair<int, std::string>> after;
        int focusAfter;
    } cases[] = {
        {2, {{3, "c"}, {2, "b"}, {1, "a"}}, 2}, // moved, still found
        {2, {{3, "c"}, {1, "a"}}, 1},           // gone: the row above
        {1, {{3, "c"}, {2, "b"}}, 2},           // first gone: the row below
        {2, {{7, "x"}, {8, "y"}}, 7},           // all gone: the first row
    };
    for (const auto &c : cases) {
        rebuild({{1, "a"}, {2, "b"}, {3, "c"}});
        grid.GetSelectedRows().clear();
        grid.SetFocusedRow(grid.getRowByValues({"id", std::to_string(c.focusBefore)}));
        rebuild(c.after);
        EXPECT_EQ(focusedId(), c.focusAfter) << c.focusBefore;
        EXPECT_TRUE(grid.GetSelectedRows().empty());
    }
    rebuild({});
    EXPECT_EQ(grid.GetFocusedRow(), nullptr);
}

TEST_F(RowsTest, RebuildRestoresSelectionAndSelectionWinsFocus)
{
    rebuild({{1, "a"}, {2, "b"}, {3, "c"}, {4, "d"}});
    grid.getRow(3)->select();
    grid.getRow(1)->select();
    grid.SetFocusedRow(grid.getRow(0));
    rebuild({{4, "d"}, {3, "c"}, {2, "b"}, {1, "a"}});
    EXPECT_EQ(selectedIds(), (std::vector<int>{4, 2}));
    EXPECT_EQ(focusedId(), 4); // the later of the two in the old slot order
}

TEST_F(RowsTest, RebuildFindsIdsShownAsText)
{
    rebuild({{5, "a"}});
    grid.getRow(0)->select();
    grid.beginUpdate();
    grid.clear();
    grid.addRow().setString("id", "05");
    grid.addRow().setString("id", "5");
    grid.endUpdate();
    EXPECT_EQ(grid.GetFocusedRow(), grid.getRow(1));
    EXPECT_TRUE(grid.getRow(1)->isSelected());
}

TEST_F(RowsTest, GridWithoutIdRestoresNothing)
{
    CountingGrid plain;
    plain.SetHeaders({"name"});
    plain.addRow().setString("name", "a");
    plain.getRow(0)->select();
    plain.beginUpdate();
    plain.clear();
    plain.addRow().setString("name", "a");
    plain.endUpdate();
    EXPECT_EQ(plain.GetFocusedRow(), nullptr);
    EXPECT_TRUE(plain.GetSelectedRows().empty());
}

TEST_F(RowsTest, FailedBeginUpdateDoesNotSuspendTheGridNorLeaveOldIds)
{
    rebuild({{1, "a"}, {2, "b"}});
    grid.getRow(1)->select();
    rebuild({{1, "a"}, {2, "b"}}); // this bracket saved id 2
    grid.GetSelectedRows().clear();
    grid.addRow().setString("name", "no id");
    grid.getRow(2)->select();
    try {
        const ZIVGridUpdate update(grid);
        FAIL();
    } catch (const EInvalidPointer &error) {
        EXPECT_EQ(error.message(), "This cell is empty");
    }
    EXPECT_TRUE(grid.updatesEnabled());
    // A later end of an update must not bring back what an earlier bracket saved.
    grid.GetSelectedRows().clear();
    grid.SetFocusedRow(nullptr);
    grid.endUpdate();
    EXPECT_TRUE(selectedIds().empty());
    EXPECT_NE(focusedId(), 2);
}

TEST_F(RowsTest, TheUpdateGuardEndsTheUpdateWhenAnErrorLeavesTheRebuild)
{
    rebuild({{1, "a"}, {2, "b"}});
    grid.getRow(1)->select();
    grid.refreshes = 0;
    try {
        const ZIVGridUpdate update(grid);
        grid.clear();
        addIdNameRows(grid, {{2, "b"}, {3, "c"}});
        throw ERangeError("half way");
    } catch (const ERangeError &) {
    }
    EXPECT_TRUE(grid.updatesEnabled());
    EXPECT_GE(grid.refreshes, 1);
    EXPECT_EQ(selectedIds(), (std::vector<int>{2}));
    EXPECT_EQ(focusedId(), 2);
}

TEST_F(RowsTest, RefreshesOnlyOutsideTheBracket)
{
    grid.refreshes = 0;
    grid.beginUpdate();
    addIdNameRows(grid, {{1, "a"}, {2, "b"}});
    EXPECT_EQ(grid.refreshes, 0);
    grid.endUpdate();
    EXPECT_GE(grid.refreshes, 1);
    EXPECT_EQ(grid.viewRowCount(), 3);
    grid.clear();
    EXPECT_EQ(grid.viewRowCount(), 2);
    EXPECT_EQ(grid.viewColumnCount(), 1);
}

} // namespace
