#include "grid_test_support.h"

#include "Engine/errors.h"

#include <gtest/gtest.h>

namespace {

struct Declared
{
    std::string name, caption;
    ZIVGridColumn::TVisibility visibility;
};

std::vector<std::string> visibleNames(const ZIVGridCore &grid)
{
    std::vector<std::string> names;
    for (const ZIVGridColumn *column : grid.visibleColumns())
        names.push_back(column->name());
    return names;
}

TEST(HeaderLines, DeclareColumns)
{
    const struct
    {
        std::string line;
        Declared expected;
    } cases[] = {
        {"id", {"id", "id", ZIVGridColumn::visible}},
        {"id;id;s", {"id", "id", ZIVGridColumn::systemHidden}},
        {"home goals;goals;v", {"home goals", "goals", ZIVGridColumn::visible}},
        {"pos_central_defender;D;v", {"pos_central_defender", "D", ZIVGridColumn::visible}},
        {"name;name;s", {"name", "name", ZIVGridColumn::systemHidden}},
        {"team;Team;h", {"team", "Team", ZIVGridColumn::hidden}},
        {"home team", {"home team", "home team", ZIVGridColumn::visible}},
        {"goals;;vxyz", {"goals", "goals", ZIVGridColumn::visible}},
        // One ';' only: empty caption, flag read right after it.
        {"name;summary", {"name", "name", ZIVGridColumn::systemHidden}},
    };
    for (const auto &c : cases) {
        ZIVGridCore grid;
        grid.SetHeaders({c.line});
        ASSERT_EQ(grid.columns().size(), 1u) << c.line;
        const ZIVGridColumn *column = grid.getColumn(c.expected.name, false);
        ASSERT_NE(column, nullptr) << c.line;
        EXPECT_EQ(column->caption(), c.expected.caption) << c.line;
        EXPECT_EQ(column->visibility(), c.expected.visibility) << c.line;
        EXPECT_EQ(grid.visibleColumns().size(),
                  c.expected.visibility == ZIVGridColumn::visible ? 1u : 0u);
    }
}

TEST(HeaderLines, FailingLineLeavesErrorColumnThenLaterLines)
{
    CountingGrid grid;
    grid.SetHeadersString("frameLive1");
    grid.SetHeaders({"id;id;s", "home;Home;", "away", "score;Score;v"});
    EXPECT_EQ(visibleNames(grid), (std::vector<std::string>{"error", "away", "score"}));
    EXPECT_EQ(grid.getColumn("id", false), nullptr);
    const std::string caption = grid.getColumn("error", true)->caption();
    EXPECT_EQ(caption.rfind("Error ", 0), 0u) << caption;
    EXPECT_GT(caption.size(), 6u);
}

TEST(HeaderLines, DuplicateNameIsRefused)
{
    ZIVGridCore grid;
    grid.SetHeaders({"a", "a;A;h", "b"});
    EXPECT_EQ(visibleNames(grid), (std::vector<std::string>{"error", "b"}));
}

TEST(HeaderLines, HeadersStringRebuildsFromSameLines)
{
    ZIVGridCore grid;
    grid.SetHeaders({"id;id;s", "name"});
    grid.getColumn("name", true)->setVisibility(ZIVGridColumn::hidden);
    grid.SetHeadersString("frmSelectBase");
    EXPECT_EQ(visibleNames(grid), (std::vector<std::string>{"name"}));
    EXPECT_EQ(grid.GetHeadersString(), "frmSelectBase");
    EXPECT_NE(grid.getColumn("id", true), nullptr);
}

TEST(Columns, UnknownNameMessage)
{
    ZIVGridCore grid;
    grid.SetHeadersString("frameLive1");
    grid.SetHeaders({"id"});
    EXPECT_EQ(grid.getColumn("ID", false), nullptr);
    try {
        grid.getColumn("home goal", true);
        FAIL();
    } catch (const ERangeError &error) {
        EXPECT_EQ(error.message(), " No such column :  frameLive1.home goal");
    }
}

TEST(Columns, ShowAndHideKeepDeclarationOrder)
{
    CountingGrid grid;
    grid.SetHeaders({"a", "b", "c", "d;D;h"});
    ZIVGridColumn &b = *grid.getColumn("b", true);
    b.setVisibility(ZIVGridColumn::hidden);
    EXPECT_EQ(visibleNames(grid), (std::vector<std::string>{"a", "c"}));
    grid.getColumn("d", true)->setVisibility(ZIVGridColumn::visible);
    b.setVisibility(ZIVGridColumn::visible);
    EXPECT_EQ(visibleNames(grid), (std::vector<std::string>{"a", "b", "c", "d"}));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(grid.visibleColumns()[i]->visibleIndex(), i);

    grid.refreshes = 0;
    grid.showColumn(b);
    EXPECT_EQ(grid.refreshes, 0);
}

TEST(Columns, ColumnAddedToFilledGridReachesEveryRow)
{
    ZIVGridCore grid;
    grid.SetHeaders({"a"});
    grid.setExtent(3);
    for (int i = 0; i < 5; ++i)
        grid.addRow().setInt("a", i);
    grid.addColumn("late", "", ZIVGridColumn::visible);
    for (const ZIVGridRow *row : grid.rows())
        EXPECT_TRUE(row->cell("late").isEmpty());
    grid.getRow(4)->setString("late", "x");
    EXPECT_EQ(grid.getRow(4)->getString("late"), "x");
    grid.addRow().setString("late", "y");
    EXPECT_EQ(grid.getColumn("late", true)->cellAtRow(5).asString(), "y");
}

TEST(Columns, DataWidthCoversAllCells)
{
    ZIVGridCore grid;
    RecordingCanvas canvas;
    grid.setCanvas(&canvas);
    grid.SetHeaders({"name"});
    ZIVGridColumn &name = *grid.getColumn("name", true);
    EXPECT_EQ(name.dataWidth(), 0);
    grid.addRow().setString("name", "Ajax");
    grid.addRow().setString("name", "Barcelona");
    EXPECT_EQ(name.dataWidth(), 9 * 6 + 7);
    name.setFilter("Aj");
    EXPECT_EQ(grid.rowNum(), 1);
    EXPECT_EQ(name.dataWidth(), 9 * 6 + 7); // hidden rows count too
}

} // namespace
