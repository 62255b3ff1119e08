#include "players/player_list_view.h"

#include <cmath>
#include <iterator>

static_assert(std::tuple_size_v<PlayerListRatings::Positions> ==
              std::tuple_size_v<std::remove_cvref_t<decltype(ratedPositions())>>);

namespace {

// Which views show a column: one letter per view ("all", "keeper", "central_defender",
// "wingback", "inner_midfielder", "winger", "forward"), S shows and H hides.
struct ViewRule
{
    const char *column;
    const char *views;
};

const ViewRule viewRules[] = {
    {"stamina", "SHHHSSH"},
    {"scoring", "SHHHHHS"},
    {"playmaking", "SHSSSSS"},
    {"defending", "SHSSSSH"},
    {"passing", "SHSSSSS"},
    {"winger", "SHHSHSH"},
    {"setpieces", "SSSSSSS"},
    {"goaltending", "SSHHHHH"},
    {"speciality", "SHSSSSS"},
    {"GK", "SSHHHHH"},
    {"pos_keeper", "SSHHHHH"},
    {"pos_central_defender", "SHSHHHH"},
    {"pos_inner_midfielder", "SHHHSHH"},
    {"pos_wingback", "SHHSHHH"},
    {"pos_winger", "SHHHHSH"},
    {"pos_forward", "SHHHHHS"},
    {"pos_central_defender_towards_wing", "SHSHHHH"},
    {"pos_central_defender_offensive", "SHSHHHH"},
    {"pos_wingback_defensive", "SHHSHHH"},
    {"pos_wingback_towards_middle", "SHHSHHH"},
    {"pos_wingback_offensive", "SHHSHHH"},
    {"pos_inner_midfielder_defensive", "SHHHSHH"},
    {"pos_inner_midfielder_towards_wing", "SHHHSHH"},
    {"pos_inner_midfielder_offensive", "SHHHSHH"},
    {"pos_winger_defensive", "SHHHHSH"},
    {"pos_winger_towards_middle", "SHHHHSH"},
    {"pos_winger_offensive", "SHHHHSH"},
    {"pos_forward_defensive", "SHHHHHS"},
};

const ColumnBackground backgrounds[] = {
    {"form", listSkyBlue},  {"stamina", listSkyBlue}, {"defending", listCream},
    {"passing", listCream}, {"winger", listCream},    {"playmaking", listCream},
    {"scoring", listCream}, {"setpieces", listCream}, {"goaltending", listCream},
};

CellLook thresholdLook(double value, double yellowAbove, double greenAbove)
{
    return {value > yellowAbove, value > greenAbove};
}

} // namespace

CellLook levelLook(double level)
{
    return thresholdLook(level, 6, 5);
}

CellLook keeperEstimateLook(double estimate)
{
    return thresholdLook(estimate, 7, 6);
}

RowLook rowLook(const Player &player)
{
    const bool injured = player.injury >= 0;
    return {player.marked && !injured, injured};
}

TraitLooks traitLooks(const Player &player)
{
    TraitLooks looks;
    if (player.gentleness == 2)
        looks.gentleness = listLightGreen;
    if (player.leadership == 7)
        looks.leadership = listRed;
    return looks;
}

std::span<const ColumnBackground> columnBackgrounds()
{
    return backgrounds;
}

const std::array<const char *, viewCount> &viewNames()
{
    static const std::array<const char *, viewCount> names = {
        "all", "keeper", "central_defender", "wingback", "inner_midfielder", "winger", "forward"};
    return names;
}

std::vector<ColumnVisibility> viewColumns(int view)
{
    std::vector<ColumnVisibility> columns;
    if (view < 0 || view >= viewCount)
        return columns;
    columns.reserve(std::size(viewRules));
    for (const ViewRule &rule : viewRules)
        columns.push_back({rule.column, rule.views[view] == 'S'});
    return columns;
}

std::int8_t levelOverride(int barPosition)
{
    return barPosition != 0 ? std::int8_t(barPosition) : std::int8_t(-1);
}

kstring levelOverrideHint(int barPosition)
{
    return barPosition != 0 ? levelWord(std::int8_t(barPosition)) : kstring("Actual value");
}

// The table has rows for forms 1..8 only; any other player gets no estimate, not a number
// made of nothing.
std::optional<double> keeperEstimate(const Player &player, const Keeper &keeper)
{
    if (player.form < 1 || player.form > 8)
        return std::nullopt;
    const double estimate =
        keeper.estimateGoaltending(PlayerAbilityValue(player.form & 0xFF), player.value);
    if (std::isnan(estimate))
        return std::nullopt;
    return estimate;
}

PlayerListRatings listRatings(const Player &player, std::int8_t staminaOverride,
                              std::int8_t formOverride, const Keeper &keeper)
{
    PlayerListRatings ratings;
    const auto &pairs = ratedPositions();
    for (std::size_t i = 0; i < pairs.size(); ++i)
        ratings.positions[i] =
            player.positionRating(pairs[i].position, staminaOverride, formOverride);
    ratings.keeper = keeperEstimate(player, keeper);
    return ratings;
}
