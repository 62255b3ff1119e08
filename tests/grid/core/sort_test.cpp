#include "grid_test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <stdexcept>

namespace {

using Key = std::pair<std::string, bool>;

class SortTest : public ::testing::Test
{
protected:
    void SetUp() override { grid.SetHeaders({"id;id;s", "name", "A", "B"}); }

    ZIVGridColumn &column(const std::string &name) { return *grid.getColumn(name, true); }

    std::vector<Key> keys() const
    {
        std::vector<Key> result;
        for (const SorterElement &key : grid.sorter().keys())
            result.emplace_back(key.column->name(), key.ascending);
        return result;
    }

    CountingGrid grid;
};

TEST_F(SortTest, HeaderClicksBuildKeys)
{
    // 'a' = click A, 'b' = click B, 'B' = Shift-click B.
    const struct
    {
        std::string clicks;
        std::vector<Key> expected;
    } cases[] = {
        {"a", {{"A", true}}},
        {"aa", {{"A", false}}},
        {"aB", {{"A", true}, {"B", true}}},
        {"aBB", {{"A", true}, {"B", false}}},
        {"aBa", {{"A", true}}},
        {"aBb", {{"B", true}}},
    };
    for (const auto &c : cases) {
        grid.sorter().clear();
        for (char click : c.clicks)
            grid.headerClick(column(std::string(1, static_cast<char>(std::toupper(click)))),
                             std::isupper(click) != 0);
        EXPECT_EQ(keys(), c.expected) << c.clicks;
    }
}

TEST_F(SortTest, HeaderClickWithSortDefinition)
{
    ZIVGridColumn &name = column("name");
    name.sortDefinition().addSortColumn(column("A"), false);
    name.sortDefinition().addSortColumn(column("B"), true);
    grid.headerClick(name, false);
    EXPECT_EQ(keys(), (std::vector<Key>{{"A", false}, {"B", true}}));
    EXPECT_EQ(grid.sorter().predefinedColumn(), &name);
    EXPECT_EQ(grid.sorter().sortInfo(name).position, 0);
    EXPECT_FALSE(grid.sorter().sortInfo(name).ascending);
    EXPECT_EQ(grid.sorter().sortInfo(column("B")).position, 2);
    EXPECT_EQ(grid.sorter().sortInfo(column("id")).position, -1);

    grid.headerClick(name, false); // same columns: every key flips
    EXPECT_EQ(keys(), (std::vector<Key>{{"A", true}, {"B", false}}));

    grid.menuSortRemoveThisColumn(column("A"));
    grid.menuSortRemoveThisColumn(column("B"));
    EXPECT_EQ(grid.sorter().sortInfo(name).position, -1);
}

TEST_F(SortTest, SortByColumnSetsKeysWithoutSorting)
{
    addIdNameRows(grid, {{1, "b"}, {2, "a"}});
    grid.SortByColumn(column("name"));
    EXPECT_EQ(keys(), (std::vector<Key>{{"name", true}}));
    EXPECT_EQ(shownNames(grid), (std::vector<std::string>{"b", "a"}));
    grid.sortNow();
    EXPECT_EQ(shownNames(grid), (std::vector<std::string>{"a", "b"}));
}

TEST_F(SortTest, TextOrderEmptyFirstAndStable)
{
    for (const char *name : {"b", "B", "", "a", "B"}) {
        ZIVGridRow &row = grid.addRow();
        if (*name)
            row.setString("name", name);
    }
    for (int i = 0; i < grid.rowNum(); ++i) {
        grid.getRow(i)->setInt("A", i);
        grid.getRow(i)->setLong("id", i);
    }
    grid.headerClick(column("name"), false);
    EXPECT_EQ(shownNames(grid), (std::vector<std::string>{"", "B", "B", "a", "b"}));
    EXPECT_EQ(grid.getRow(1)->cell("A").getInt(), 1);
    EXPECT_EQ(grid.getRow(2)->cell("A").getInt(), 4);
    for (int i = 0; i < grid.rowNum(); ++i)
        EXPECT_EQ(grid.getRow(i)->index(), i);
    grid.headerClick(column("name"), false);
    EXPECT_EQ(shownNames(grid), (std::vector<std::string>{"b", "a", "B", "B", ""}));
    EXPECT_EQ(grid.getRow(2)->cell("A").getInt(), 1); // ties keep their order
}

TEST_F(SortTest, EqualKeysKeepOrderBothWays)
{
    for (int i = 1; i <= 5; ++i) {
        ZIVGridRow &row = grid.addRow();
        row.setLong("id", i);
        row.setInt("A", 7);
    }
    for (bool ascending : {true, false}) {
        grid.sorter().sortBy(column("A"), ascending);
        grid.sortNow();
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(grid.getRow(i)->getLong("id"), i + 1);
    }
}

TEST_F(SortTest, MultipleKeys)
{
    const int values[][2] = {{2, 1}, {1, 5}, {2, 0}, {1, 6}};
    for (const auto &v : values) {
        ZIVGridRow &row = grid.addRow();
        row.setInt("A", v[0]);
        row.setInt("B", v[1]);
    }
    grid.sorter().addSortColumn(column("A"), true);
    grid.sorter().addSortColumn(column("B"), false);
    grid.sortNow();
    std::vector<std::pair<int, int>> order;
    for (const ZIVGridRow *row : grid.rows())
        order.emplace_back(row->cell("A").getInt(), row->cell("B").getInt());
    EXPECT_EQ(order, (std::vector<std::pair<int, int>>{{1, 6}, {1, 5}, {2, 1}, {2, 0}}));
}

TEST_F(SortTest, NotSortedDoesNothing)
{
    addIdNameRows(grid, {{1, "b"}, {2, "a"}});
    grid.getRow(1)->select();
    grid.removeRow(*grid.getRow(0), false);
    grid.SetSorted(false);
    grid.refreshes = 0;
    grid.headerClick(column("name"), false);
    grid.sorter().sortBy(column("name"), true);
    grid.sortNow();
    EXPECT_EQ(grid.refreshes, 0);
    EXPECT_EQ(grid.getRow(0)->index(), 1); // not even the indexes are corrected
}

TEST_F(SortTest, MenuClearKeepsOrder)
{
    addIdNameRows(grid, {{1, "b"}, {2, "a"}});
    grid.headerClick(column("name"), false);
    grid.menuSortClear();
    EXPECT_TRUE(keys().empty());
    grid.sortNow();
    EXPECT_EQ(shownNames(grid), (std::vector<std::string>{"a", "b"}));
    grid.menuSortAddThisColumn(column("id"));
    EXPECT_EQ(shownNames(grid), (std::vector<std::string>{"b", "a"}));
}

TEST_F(SortTest, CompareEvents)
{
    addIdNameRows(grid, {{1, "x"}, {2, "yy"}, {3, "zzz"}});
    // Longest name first, whatever the keys.
    grid.OnCompare = [](ZIVGridCore &, ZIVGridRow &a, ZIVGridRow &b, bool &greater) {
        EXPECT_TRUE(greater);
        greater = a.getString("name").size() > b.getString("name").size();
    };
    grid.sortNow();
    EXPECT_EQ(shownNames(grid), (std::vector<std::string>{"zzz", "yy", "x"}));

    grid.OnCompare = nullptr;
    // Column event: row1 ranks above row2 when its id is smaller.
    grid.OnCompareByColumn = [](ZIVGridCore &, ZIVGridRow &row1, ZIVGridRow &row2,
                                ZIVGridColumn &col, bool &greater) {
        greater = row1.cell(col).getLong() < row2.cell(col).getLong();
    };
    grid.sorter().sortBy(column("id"), true);
    grid.sortNow();
    EXPECT_EQ(shownNames(grid), (std::vector<std::string>{"zzz", "yy", "x"}));
    grid.sorter().invert();
    grid.sortNow();
    EXPECT_EQ(shownNames(grid), (std::vector<std::string>{"x", "yy", "zzz"}));
}

TEST_F(SortTest, FailingComparisonLosesNoRow)
{
    addIdNameRows(grid, {{3, "c"}, {1, "a"}, {2, "b"}, {5, "e"}, {4, "d"}});
    int calls = 0;
    grid.OnCompare = [&](ZIVGridCore &, ZIVGridRow &a, ZIVGridRow &b, bool &greater) {
        if (++calls == 4)
            throw std::runtime_error("handler failed");
        greater = a.getLong("id") < b.getLong("id");
    };
    EXPECT_THROW(grid.sortNow(), std::runtime_error);
    EXPECT_EQ(shownNames(grid), (std::vector<std::string>{"c", "a", "b", "e", "d"}));
}

TEST_F(SortTest, RebuildingColumnsDropsKeys)
{
    grid.headerClick(column("name"), false);
    grid.SetHeaders({"name"});
    EXPECT_TRUE(keys().empty());
    grid.addRow().setString("name", "a");
    grid.sortNow(); // would touch the old column otherwise
    EXPECT_EQ(grid.rowNum(), 1);
}

} // namespace

namespace {

using CellFill = std::function<void(ZIVGridCell &)>;

// The order of the cells' own comparisons, applied row by row.
std::vector<int> expectedOrder(ZIVGridCore &grid, ZIVGridColumn &column, bool ascending)
{
    std::vector<ZIVGridRow *> rows(grid.rows().begin(), grid.rows().end());
    std::stable_sort(rows.begin(), rows.end(), [&](ZIVGridRow *a, ZIVGridRow *b) {
        const ZIVGridCell &x = a->cell(column), &y = b->cell(column);
        return x.less(y) ? ascending : x.greater(y) ? !ascending : false;
    });
    std::vector<int> ids;
    for (ZIVGridRow *row : rows)
        ids.push_back(row->getLong("id"));
    return ids;
}

TEST_F(SortTest, GatheredSortAgreesWithCellComparisons)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const auto ints = [](std::vector<int> v) {
        std::vector<CellFill> fills;
        for (int x : v)
            fills.push_back([x](ZIVGridCell &c) { c.setInt(x); });
        return fills;
    };
    const auto doubles = [](std::vector<double> v) {
        std::vector<CellFill> fills;
        for (double x : v)
            fills.push_back([x](ZIVGridCell &c) { c.setDouble(x); });
        return fills;
    };
    const CellFill none = [](ZIVGridCell &) {};
    const CellFill long1 = [](ZIVGridCell &c) { c.setLong(1); };
    const CellFill longNeg = [](ZIVGridCell &c) { c.setLong(-5); };
    const CellFill text = [](ZIVGridCell &c) { c.setString("x"); };
    const CellFill date = [](ZIVGridCell &c) { c.setDate(2.0); };
    std::vector<std::vector<CellFill>> columns = {
        ints({5, -3, 2147483647, -2147483647 - 1, 0, 5}),
        doubles({2.5, -0.0, 0.0, -inf, inf, -1e300, 1e-300, 2.5}),
        doubles({1.0, nan, -1.0, nan, 0.5}),
    };
    std::vector<CellFill> mixed = ints({7, 3, -9});
    mixed.insert(mixed.end(), {long1, none, longNeg, none, text, date});
    columns.push_back(mixed);
    // Built whole: inserting into a vector of std::function draws a false -Warray-bounds from
    // GCC 12 at -O3.
    columns.push_back({doubles({3})[0], none, doubles({-2})[0]});

    for (std::size_t c = 0; c < columns.size(); ++c) {
        grid.clear();
        int id = 0;
        for (const CellFill &fill : columns[c]) {
            ZIVGridRow &row = grid.addRow();
            row.setLong("id", ++id);
            fill(row.cell("A"));
        }
        for (bool ascending : {true, false}) {
            const std::vector<int> expected = expectedOrder(grid, column("A"), ascending);
            grid.sorter().clear();
            grid.sorter().addSortColumn(column("A"), ascending);
            grid.sortNow();
            std::vector<int> ids;
            for (const ZIVGridRow *row : grid.rows())
                ids.push_back(row->getLong("id"));
            EXPECT_EQ(ids, expected) << "column set " << c << (ascending ? " up" : " down");
        }
    }
}

} // namespace
