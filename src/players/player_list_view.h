#pragma once

#include "players/keeper.h"
#include "players/player.h"
#include "players/weights.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// What the player list decides about its cells, rows and columns, as plain values; the frame
// turns them into the grid's fonts, brushes and column visibilities.

// A colour by its red, green and blue components.
struct ListColour
{
    std::uint8_t red, green, blue;

    bool operator==(const ListColour &) const = default;
};

inline constexpr ListColour listYellow{255, 255, 0};
inline constexpr ListColour listGreen{0, 128, 0};
inline constexpr ListColour listBlue{0, 0, 255};
inline constexpr ListColour listRed{255, 0, 0};
inline constexpr ListColour listLightGreen{50, 255, 50};
inline constexpr ListColour listSkyBlue{166, 202, 240};
inline constexpr ListColour listCream{255, 251, 240};

// A level, rating or estimate cell: the column's background unless yellow, the row's font
// unless green and bold.
struct CellLook
{
    bool yellowBackground = false;
    bool greenBold = false;

    bool operator==(const CellLook &) const = default;
};

// Where the colouring starts; the legend quotes the same numbers.
inline constexpr int levelYellowAbove = 6, levelGreenAbove = 5;
inline constexpr int keeperYellowAbove = 7, keeperGreenAbove = 6;
inline constexpr int gentlenessMarked = 2, leadershipMarked = 7;

// Skill levels, form and ratings: above 6 a yellow background, above 5 green and bold.
CellLook levelLook(double level);
// The keeper estimate, one step higher: above 7 yellow, above 6 green and bold.
CellLook keeperEstimateLook(double estimate);

// A row's own font: blue for a marked player, red and italic for an injured one, marked or
// not. Neither: the row keeps the grid's font.
struct RowLook
{
    bool blueText = false;
    bool redItalic = false;

    bool operator==(const RowLook &) const = default;
};

RowLook rowLook(const Player &player);

// The trait cells' own backgrounds; none keeps the grid's.
struct TraitLooks
{
    std::optional<ListColour> gentleness;
    std::optional<ListColour> leadership;

    bool operator==(const TraitLooks &) const = default;
};

TraitLooks traitLooks(const Player &player);

// One line of the colour legend: a sample drawn in the look, and what the look means.
struct LegendEntry
{
    std::string sample;
    ListColour text;
    std::optional<ListColour> background;
    bool bold = false;
    bool italic = false;
    std::string meaning;
};

// Every look the list gives a cell or row, with the thresholds the colouring uses.
std::vector<LegendEntry> colourLegend();

// The list's header lines, in column order.
const std::vector<std::string> &playerListHeaders();
// What a column holds, in words, for its header's tooltip: "caption: explanation"; empty for
// a name that is not a column of the list.
std::string columnExplanation(std::string_view column);

// The line beside a filtered list, "12 of 25 players shown"; none while no filter is on.
std::optional<std::string> shownPlayersLine(bool filtered, std::size_t shown, std::size_t total);

// A column with a background of its own, set once when the list is made.
struct ColumnBackground
{
    const char *column;
    ListColour colour;
};

// Form and stamina sky blue, the seven other skills cream.
std::span<const ColumnBackground> columnBackgrounds();

// "all", then one view per position in `Position` order.
inline constexpr int viewCount = 7;
const std::array<const char *, viewCount> &viewNames();

struct ColumnVisibility
{
    const char *column;
    bool shown;
};

// The columns the view switches and whether it shows each; nothing for an index that names no
// view. A column not listed here is never touched by a view.
std::vector<ColumnVisibility> viewColumns(int view);

// A track bar at 0 stands for the player's own level (-1), any other position for itself.
std::int8_t levelOverride(int barPosition);
// The bar's hint: the level's word, or "Actual value" at 0.
kstring levelOverrideHint(int barPosition);

// What "GK" shows: the table's estimate at the player's own form and skill index; none for a
// form outside the table's 1..8, or when the table has no number.
std::optional<double> keeperEstimate(const Player &player, const Keeper &keeper);

// What a refresh computes for one player beyond his record: a rating for each pair of
// `ratedPositions()`, in that order, at the given overrides, and the keeper estimate.
struct PlayerListRatings
{
    using Positions = std::array<double, 18>;

    Positions positions{};
    std::optional<double> keeper;
};

PlayerListRatings listRatings(const Player &player, std::int8_t staminaOverride,
                              std::int8_t formOverride, const Keeper &keeper);
