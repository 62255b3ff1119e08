#include "players/player_list_view.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <map>

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

const std::vector<std::string> headerLines = {"id",
                                              "marked",
                                              "bidder;bidder;s",
                                              "name",
                                              "age",
                                              "injury",
                                              "stars",
                                              "form",
                                              "stamina",
                                              "scoring",
                                              "playmaking",
                                              "defending",
                                              "passing",
                                              "winger",
                                              "setpieces",
                                              "goaltending",
                                              "speciality",
                                              "value",
                                              "wage",
                                              "bid;bid;s",
                                              "deadline",
                                              "gentleness",
                                              "aggressivity",
                                              "honesty",
                                              "experience",
                                              "leadership",
                                              "GK;GK;v",
                                              "pos_keeper;G;v",
                                              "pos_central_defender;D;v",
                                              "pos_inner_midfielder;M;v",
                                              "pos_wingback;WB;v",
                                              "pos_winger;W;v",
                                              "pos_forward;F;v",
                                              "pos_central_defender_towards_wing;DTW;v",
                                              "pos_central_defender_offensive;DO;v",
                                              "pos_wingback_defensive;WBD;v",
                                              "pos_wingback_towards_middle;WBTM;v",
                                              "pos_wingback_offensive;WBO;v",
                                              "pos_inner_midfielder_defensive;MD;v",
                                              "pos_inner_midfielder_towards_wing;MTW;v",
                                              "pos_inner_midfielder_offensive;MO;v",
                                              "pos_winger_defensive;WD;v",
                                              "pos_winger_towards_middle;WTM;v",
                                              "pos_winger_offensive;WO;v",
                                              "pos_forward_defensive;FD;v"};

// The words for the enumerations, in their value order.
const char *const positionWords[] = {"keeper",           "central defender", "wingback",
                                     "inner midfielder", "winger",           "forward"};
const char *const behaviourWords[] = {"normal", "offensive", "defensive", "towards middle",
                                      "towards wing"};
const char *const abilityWords[] = {"stamina", "goaltending", "defending", "playmaking",
                                    "scoring", "winger",      "passing"};

std::string skillText(const char *skill)
{
    return std::string(skill) + " skill, from 1 (" + std::string(levelWord(1)) + ") to 20 (" +
           std::string(levelWord(20)) + ")";
}

std::string specialityText()
{
    std::string words;
    for (std::int8_t code = 1; !specialityWord(code).empty(); ++code)
        words += (words.empty() ? "" : ", ") + std::string(specialityWord(code));
    return "speciality: " + words + "; ? when unknown";
}

std::string ratingText(const RatedPosition &rated)
{
    std::string text = std::string("rating as ") + positionWords[rated.position.position] + ", " +
                       behaviourWords[rated.position.behaviour] + ": ";
    bool first = true;
    for (const auto &[ability, percent] : sharedWeights().weightsFor(rated.position)) {
        text += (first ? "" : ", ") + std::to_string(percent) + " % " + abilityWords[ability];
        first = false;
    }
    return text + "; each form level above 6 adds 0.5, each below takes 0.5 off. The Stamina "
                  "and Form bars try other levels";
}

// Explanations of the columns that are not ratings; each starts with the caption.
const std::map<std::string_view, std::string> &fixedExplanations()
{
    static const std::map<std::string_view, std::string> texts = {
        {"id", "id: the player's number in the game"},
        {"marked", "marked: x for a player you have marked"},
        {"bidder", "bidder: who made the current bid"},
        {"name", "name: the player's name"},
        {"age", "age: in years"},
        {"injury", "injury: how he is injured, as the game counts it; empty when he is fit"},
        {"stars", "stars: his star rating"},
        {"form", "form: form level from 1 to 8; 6 is neutral, each level above or below moves "
                 "every rating by 0.5"},
        {"stamina", "stamina: " + skillText("stamina")},
        {"scoring", "scoring: " + skillText("scoring")},
        {"playmaking", "playmaking: " + skillText("playmaking")},
        {"defending", "defending: " + skillText("defending")},
        {"passing", "passing: " + skillText("passing")},
        {"winger", "winger: " + skillText("winger (wing play)")},
        {"setpieces", "setpieces: " + skillText("set pieces")},
        {"goaltending", "goaltending: " + skillText("goaltending (Keeper below)")},
        {"speciality", specialityText()},
        {"value", "value: his skill index (TSI)"},
        {"wage", "wage: what he is paid"},
        {"bid", "bid: the current bid on him"},
        {"deadline", "deadline: when the bidding on him ends; empty when there is none"},
        {"gentleness", "gentleness: personality trait, how agreeable he is (the game's number)"},
        {"aggressivity",
         "aggressivity: personality trait, how aggressive he is (the game's number)"},
        {"honesty", "honesty: personality trait, how honest he is (the game's number)"},
        {"experience", "experience: his experience level"},
        {"leadership", "leadership: his leadership level"},
        {"GK", "GK: the goaltending level his skill index and form would mean if he played in "
               "goal"},
    };
    return texts;
}

std::string thresholdText(int levels, int keeper)
{
    return "a skill, form or rating above " + std::to_string(levels) + "; GK above " +
           std::to_string(keeper);
}

std::string columnList(ListColour colour)
{
    std::string names;
    for (const ColumnBackground &own : backgrounds)
        if (own.colour == colour)
            names += (names.empty() ? "" : ", ") + std::string(own.column);
    return names;
}

} // namespace

CellLook levelLook(double level)
{
    return thresholdLook(level, levelYellowAbove, levelGreenAbove);
}

CellLook keeperEstimateLook(double estimate)
{
    return thresholdLook(estimate, keeperYellowAbove, keeperGreenAbove);
}

std::vector<LegendEntry> colourLegend()
{
    constexpr ListColour black{0, 0, 0};
    const std::string gentleness = std::to_string(gentlenessMarked);
    const std::string leadership = std::to_string(leadershipMarked);
    return {
        {"7", black, listYellow, false, false,
         "yellow: " + thresholdText(levelYellowAbove, keeperYellowAbove)},
        {"6", listGreen, std::nullopt, true, false,
         "green and bold: " + thresholdText(levelGreenAbove, keeperGreenAbove)},
        {"name", listRed, std::nullopt, false, true, "red italic row: an injured player"},
        {"name", listBlue, std::nullopt, false, false, "blue row: a marked player"},
        {gentleness, black, listLightGreen, false, false,
         "light green: gentleness of " + gentleness},
        {leadership, black, listRed, false, false, "red: leadership of " + leadership},
        {"5", black, listSkyBlue, false, false, "sky blue column: " + columnList(listSkyBlue)},
        {"5", black, listCream, false, false, "cream column: " + columnList(listCream)},
    };
}

const std::vector<std::string> &playerListHeaders()
{
    return headerLines;
}

std::string columnExplanation(std::string_view column)
{
    const auto &fixed = fixedExplanations();
    if (const auto found = fixed.find(column); found != fixed.end())
        return found->second;
    const auto &pairs = ratedPositions();
    const auto rated = std::find_if(pairs.begin(), pairs.end(),
                                    [&](const RatedPosition &p) { return p.column == column; });
    return rated == pairs.end() ? std::string() : rated->caption + (": " + ratingText(*rated));
}

std::optional<std::string> shownPlayersLine(bool filtered, std::size_t shown, std::size_t total)
{
    if (!filtered)
        return std::nullopt;
    return std::to_string(shown) + " of " + std::to_string(total) + " players shown";
}

RowLook rowLook(const Player &player)
{
    const bool injured = player.injury >= 0;
    return {player.marked && !injured, injured};
}

TraitLooks traitLooks(const Player &player)
{
    TraitLooks looks;
    if (player.gentleness == gentlenessMarked)
        looks.gentleness = listLightGreen;
    if (player.leadership == leadershipMarked)
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
