#include "grid_test_support.h"

#include "Engine/errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

namespace {

class CellTest : public ::testing::Test
{
protected:
    void SetUp() override { grid.SetHeaders({"a", "b"}); }

    ZIVGridCell &fresh()
    {
        ZIVGridRow &row = grid.addRow();
        return row.cell("a");
    }

    CountingGrid grid;
};

using Fill = std::function<void(ZIVGridCell &)>;

const Fill empty = [](ZIVGridCell &) {};
Fill intOf(int v)
{
    return [v](ZIVGridCell &c) { c.setInt(v); };
}
Fill longOf(int v)
{
    return [v](ZIVGridCell &c) { c.setLong(v); };
}
Fill doubleOf(double v)
{
    return [v](ZIVGridCell &c) { c.setDouble(v); };
}
Fill textOf(std::string v)
{
    return [v](ZIVGridCell &c) { c.setString(v); };
}
Fill dateOf(double v)
{
    return [v](ZIVGridCell &c) { c.setDate(v); };
}

TEST_F(CellTest, TextForms)
{
    const struct
    {
        Fill fill;
        std::string text;
    } cases[] = {
        {empty, ""},
        {intOf(-42), "-42"},
        {longOf(2147483647), "2147483647"},
        {doubleOf(3.0), "3"},
        {doubleOf(2.5), "2.5"},
        {doubleOf(0.1), "0.1"},
        {doubleOf(1e20), "1E20"},
        {textOf("Malmö FF"), "Malmö FF"},
        {textOf("a text much longer than fifteen bytes"), "a text much longer than fifteen bytes"},
        {dateOf(0.5), "12:00:00"},
        {dateOf(45366.0), "2024-03-15"},
        {dateOf(45366.25), "2024-03-15 06:00:00"},
        {dateOf(-693593.0), "00:00:00"}, // 0001-01-01, before 1.0: the time of day alone
        {dateOf(2958465.5), "9999-12-31 12:00:00"},
        {dateOf(2958465.9999999999), "(date out of range)"}, // rounds into the year 10000
        {dateOf(-693593.5), "(date out of range)"},
        {dateOf(1e300), "(date out of range)"},
        {dateOf(-1e300), "(date out of range)"},
        {dateOf(std::numeric_limits<double>::quiet_NaN()), "(date out of range)"},
        {dateOf(std::numeric_limits<double>::infinity()), "(date out of range)"},
        {dateOf(-std::numeric_limits<double>::infinity()), "(date out of range)"},
    };
    for (const auto &c : cases) {
        ZIVGridCell &cell = fresh();
        c.fill(cell);
        EXPECT_EQ(cell.asString(), c.text);
    }
}

TEST_F(CellTest, GetterErrors)
{
    using Getter = std::function<void(const ZIVGridCell &)>;
    const Getter getString = [](const ZIVGridCell &c) { c.getString(); };
    const Getter getInt = [](const ZIVGridCell &c) { c.getInt(); };
    const Getter getLong = [](const ZIVGridCell &c) { c.getLong(); };
    const Getter getDouble = [](const ZIVGridCell &c) { c.getDouble(); };
    const Getter getDate = [](const ZIVGridCell &c) { c.getDate(); };
    const struct
    {
        Fill fill;
        Getter get;
        bool castError;
        std::string message;
    } cases[] = {
        {empty, getLong, false, "This cell is empty"},
        {empty, getString, false, "This cell is empty"},
        {intOf(1), getString, true, "This cell is not a StringCell"},
        {longOf(1), getInt, true, "This cell is not an IntCell"},
        {intOf(1), getLong, true, "This cell is not a LongCell"},
        {textOf("1"), getDouble, true, "This cell is not a DoubleCell"},
        {doubleOf(1), getDate, true, "This cell is not a DateCell"},
    };
    for (const auto &c : cases) {
        ZIVGridCell &cell = fresh();
        c.fill(cell);
        try {
            c.get(cell);
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const EInvalidCast &error) {
            EXPECT_TRUE(c.castError);
            EXPECT_EQ(error.message(), c.message);
        } catch (const EInvalidPointer &error) {
            EXPECT_FALSE(c.castError);
            EXPECT_EQ(error.message(), c.message);
        }
    }
}

TEST_F(CellTest, GettersReturnValues)
{
    ZIVGridRow &row = grid.addRow();
    EXPECT_EQ(row.setString("a", "Ajax").getString(), "Ajax");
    EXPECT_EQ(row.setLong("b", -9).getLong(), -9);
    EXPECT_EQ(row.setInt("b", 4).getInt(), 4);
    EXPECT_EQ(row.setDouble("b", 1.25).getDouble(), 1.25);
    EXPECT_EQ(row.setDate("b", 3.5).getDate(), 3.5);
}

TEST_F(CellTest, SetterRefreshesOnlyWhileUpdatesRun)
{
    ZIVGridCell &cell = fresh();
    grid.refreshes = 0;
    cell.setInt(1);
    EXPECT_EQ(grid.refreshes, 1);
    grid.beginUpdate();
    cell.setInt(2);
    EXPECT_EQ(grid.refreshes, 1);
}

TEST_F(CellTest, Ordering)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct
    {
        Fill a, b;
        bool lessOrEqual, less;
    } cases[] = {
        {intOf(7), longOf(3), true, true}, // kinds by number, whatever the values
        {longOf(1), intOf(5), false, false},
        {textOf("a"), dateOf(0), true, true},
        {empty, empty, true, false},
        {empty, intOf(0), true, true},
        {empty, textOf(""), true, true},
        {dateOf(1), empty, false, false},
        {textOf("B"), textOf("a"), true, true}, // byte order: 0x42 before 0x61
        {textOf("a"), textOf("b"), true, true},
        {textOf("ab"), textOf("abc"), true, true},
        {textOf("Zebra"), textOf("apple"), true, true},
        {textOf("é"), textOf("z"), false, false}, // UTF-8 bytes are above ASCII
        {intOf(-3), intOf(2), true, true},
        {intOf(2), intOf(2), true, false},
        {doubleOf(2.5), doubleOf(-1), false, false},
        {doubleOf(nan), doubleOf(1), true, false},
        {dateOf(2), dateOf(1.5), false, false},
    };
    for (const auto &c : cases) {
        ZIVGridCell &a = fresh();
        ZIVGridCell &b = fresh();
        c.a(a);
        c.b(b);
        EXPECT_EQ(a.lessOrEqual(b), c.lessOrEqual) << a.asString() << " <= " << b.asString();
        EXPECT_EQ(a.less(b), c.less) << a.asString() << " < " << b.asString();
        EXPECT_EQ(b.greater(a), c.less);
    }
}

TEST_F(CellTest, CloneCopiesValueNotStyle)
{
    ZIVGridCell &source = fresh();
    ZIVGridCell &target = fresh();
    source.setString("Ísland");
    target.setBrushSource(srcOwn);
    target.brush().color = 0x00123456;
    source.cloneTo(target);
    EXPECT_EQ(target.kind(), ZIVGridCell::StringCell);
    EXPECT_EQ(target.getString(), "Ísland");
    EXPECT_EQ(target.brushSource(), srcOwn);
    EXPECT_EQ(target.brush().color, 0x00123456u);

    ZIVGridCell &blank = fresh();
    blank.cloneTo(target);
    EXPECT_TRUE(target.isEmpty());
}

TEST_F(CellTest, TextSurvivesReassignmentFromItself)
{
    ZIVGridCell &cell = fresh();
    cell.setString("a text that is stored on the heap");
    cell.setString(std::string(cell.textView().substr(2)));
    EXPECT_EQ(cell.asString(), "text that is stored on the heap");
    cell.setString("short");
    EXPECT_EQ(cell.asString(), "short");
    cell.setInt(3);
    EXPECT_EQ(cell.asString(), "3");
}

TEST_F(CellTest, StyleFollowsRowColumnOrOwn)
{
    grid.Font().color = 0x00000001;
    ZIVGridRow &row = grid.addRow();
    ZIVGridCell &cell = row.cell("a");
    EXPECT_EQ(cell.font().color, 0x00000001u); // cell -> row -> grid
    EXPECT_EQ(cell.brush().color, clWhite);

    row.setFontSource(srcOwn);
    row.font().color = 0x00000002;
    EXPECT_EQ(cell.font().color, 0x00000002u);

    ZIVGridColumn &column = cell.column();
    column.setBrushSource(srcOwn);
    column.brush().color = 0x000000AA;
    cell.setBrushSource(srcColumn);
    EXPECT_EQ(cell.brush().color, 0x000000AAu);

    cell.setFontSource(srcOwn);
    cell.font().color = 0x00000003;
    row.font().color = 0x00000004;
    EXPECT_EQ(cell.font().color, 0x00000003u);
}

} // namespace
