#include "grid_test_support.h"

#include <gtest/gtest.h>

namespace {

class PaintTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid.setCanvas(&canvas);
        grid.SetHeaders({"team", "goals"});
    }

    const TRect rect{10, 20, 110, 35};
    CountingGrid grid;
    RecordingCanvas canvas;
};

TEST_F(PaintTest, SelectedTextColour)
{
    const struct
    {
        bool smart;
        TColor font, expected;
    } cases[] = {
        {true, 0x000000FF, 0x00C0C0FF}, // pure red becomes light red
        {true, 0x00804020, 0x00FFFFE0}, // 64 is not below 64
        {true, 0xFF000000, 0x00C0C0C0}, // the top byte is dropped
        {false, 0x000000FF, clHighlightText}, {true, clWindowText, clHighlightText},
    };
    for (const auto &c : cases) {
        grid.SetSmartDrawingSelection(c.smart);
        ZIVGridCell &cell = grid.addRow().setString("team", "Ajax");
        cell.setFontSource(srcOwn);
        cell.font().color = c.font;
        canvas.texts.clear();
        canvas.fills.clear();
        cell.draw(canvas, rect, gdSelected);
        ASSERT_EQ(canvas.texts.size(), 1u);
        EXPECT_EQ(canvas.texts[0].color, c.expected) << std::hex << c.font;
        ASSERT_EQ(canvas.fills.size(), 1u);
        EXPECT_EQ(canvas.fills[0].color, grid.GetSelectionColor());
    }
}

TEST_F(PaintTest, UnselectedCellUsesItsBrushAndFont)
{
    grid.setCellColor(0x00EEEEEE);
    ZIVGridCell &cell = grid.addRow().setString("team", "Ajax");
    cell.draw(canvas, rect, gdFocused);
    ASSERT_EQ(canvas.fills.size(), 1u);
    EXPECT_EQ(canvas.fills[0].color, 0x00EEEEEEu);
    EXPECT_EQ(canvas.fills[0].rect, rect);
    EXPECT_EQ(canvas.texts[0].color, clWindowText);
}

TEST_F(PaintTest, TextPlacement)
{
    const struct
    {
        ZIVGridCell *cell;
        TRect rect;
        int x;
    } cases[] = {
        {&grid.addRow().setString("team", "Ajax"), rect, 15},
        {&grid.addRow().setInt("goals", 123), rect, 110 - 18 - 5},
        {&grid.addRow().setDouble("goals", 2.5), rect, 110 - 18 - 5},
        {&grid.addRow().setLong("goals", 123456789), {10, 20, 40, 35}, 15}, // not left of margin
    };
    for (const auto &c : cases) {
        canvas.texts.clear();
        c.cell->drawText(canvas, c.rect, 0);
        ASSERT_EQ(canvas.texts.size(), 1u);
        EXPECT_EQ(canvas.texts[0].x, c.x) << canvas.texts[0].text;
        EXPECT_EQ(canvas.texts[0].y, 21);
        EXPECT_EQ(canvas.texts[0].clip, c.rect);
    }
}

TEST_F(PaintTest, GroupShowingBlanksRepeats)
{
    grid.SetGroupShowing(true);
    grid.SetSameString("\"");
    for (const auto &[team, goals] :
         std::vector<std::pair<std::string, int>>{{"A", 1}, {"A", 2}, {"B", 2}, {"B", 2}}) {
        ZIVGridRow &row = grid.addRow();
        row.setString("team", team);
        row.setInt("goals", goals);
    }
    const std::vector<std::vector<std::string>> expected = {
        {"A", "1"}, {"\"", "2"}, {"B", "2"}, {"\"", "\""}};
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 2; ++c) {
            canvas.texts.clear();
            grid.getRow(r)->cell(*grid.visibleColumns()[c]).drawText(canvas, rect, 0);
            EXPECT_EQ(canvas.texts.at(0).text, expected[r][c]) << r << "," << c;
        }
    }
    grid.SetGroupShowing(false);
    canvas.texts.clear();
    grid.getRow(3)->cell("team").drawText(canvas, rect, 0);
    EXPECT_EQ(canvas.texts.at(0).text, "B");
}

TEST_F(PaintTest, DataWidthMeasuresValueNotSameString)
{
    grid.SetGroupShowing(true);
    grid.SetSameString("-");
    grid.addRow().setString("team", "Arsenal");
    ZIVGridCell &repeat = grid.addRow().setString("team", "Arsenal");
    EXPECT_FALSE(repeat.isTextShown());
    EXPECT_EQ(repeat.dataWidth(), 7 * 6 + 7);
}

} // namespace
