#pragma once

#include "grid/core/grid_core.h"

#include <string>
#include <vector>

// A grid that counts its refreshes.
class CountingGrid : public ZIVGridCore
{
public:
    void Change() override
    {
        if (updatesEnabled())
            ++refreshes;
    }
    int refreshes = 0;
};

// Records what is painted; every byte of text is 6 pixels wide.
class RecordingCanvas : public TCanvas
{
public:
    struct Text
    {
        TRect clip;
        int x, y;
        std::string text;
        TColor color;
    };
    struct Fill
    {
        TRect rect;
        TColor color;
    };

    void fillRect(const TRect &rect) override { fills.push_back({rect, brush.color}); }
    void frameRect(const TRect &rect) override { frames.push_back({rect, brush.color}); }
    void textRect(const TRect &clip, int x, int y, std::string_view text) override
    {
        texts.push_back({clip, x, y, std::string(text), font.color});
    }
    int textWidth(std::string_view text) override { return 6 * static_cast<int>(text.size()); }
    void moveTo(int, int) override {}
    void lineTo(int, int) override {}

    std::vector<Text> texts;
    std::vector<Fill> fills;
    std::vector<Fill> frames;
};

// Rows of (id, name) appended in order.
inline void addIdNameRows(ZIVGridCore &grid, const std::vector<std::pair<int, std::string>> &rows)
{
    for (const auto &[id, name] : rows) {
        ZIVGridRow &row = grid.addRow();
        row.setLong("id", id);
        row.setString("name", name);
    }
}

// The "name" texts of the rows in view, in display order.
inline std::vector<std::string> shownNames(const ZIVGridCore &grid)
{
    std::vector<std::string> names;
    for (const ZIVGridRow *row : grid.rows())
        names.push_back(row->cell("name").asString());
    return names;
}
