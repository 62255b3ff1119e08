#include "Engine/errors.h"
#include "players/countries.h"
#include "players/keeper.h"
#include "players/player.h"
#include "players/player_list_view.h"
#include "players/players_document.h"
#include "players/weights.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <optional>
#include <set>
#include <string>

namespace {

BehaviouredPosition at(Position position, Behaviour behaviour)
{
    return {std::int8_t(position), std::int8_t(behaviour)};
}

TEST(LevelWords, CoverTheScaleAndCallEverythingElseInvalid)
{
    // clang-format off
    const struct
    {
        int level;
        const char *word;
    } cases[] = {{-1, "?"},           {0, "invalid"},      {1, "disastrous"},  {2, "wretched"},
                 {3, "poor"},         {4, "weak"},         {5, "inadequate"},  {6, "passable"},
                 {7, "solid"},        {8, "excellent"},    {9, "formidable"},  {10, "outstanding"},
                 {11, "brilliant"},   {12, "magnificent"}, {13, "worldclass"}, {14, "supernatural"},
                 {15, "titanic"},     {16, "extraterrestrial"}, {17, "mythical"}, {18, "magical"},
                 {19, "utopian"},     {20, "divine"},      {21, "invalid"},    {-2, "invalid"},
                 {127, "invalid"},    {-128, "invalid"}};
    // clang-format on
    for (const auto &c : cases)
        EXPECT_EQ(levelWord(std::int8_t(c.level)), c.word) << c.level;
}

TEST(SpecialityWords, NameTheFiveCodes)
{
    const struct
    {
        int code;
        const char *word;
    } cases[] = {{-1, "?"},    {0, ""},         {1, "technical"},
                 {2, "quick"}, {3, "powerful"}, {4, "unpredictable"},
                 {5, "head"},  {6, ""},         {-2, ""}};
    for (const auto &c : cases)
        EXPECT_EQ(specialityWord(std::int8_t(c.code)), c.word) << c.code;
}

TEST(PlayerRecord, StartsUnknownWhereTheGameHasNoValueYet)
{
    const Player p(42);
    EXPECT_EQ(p.id, 42);
    EXPECT_EQ(p.form, -1);
    EXPECT_EQ(p.injury, -1);
    EXPECT_EQ(p.stars, -1.0);
    EXPECT_EQ(p.age, 0);
    EXPECT_EQ(p.value, 0);
    EXPECT_EQ(p.bid, 0);
    EXPECT_FALSE(p.marked);
    for (std::int8_t level :
         {p.stamina, p.playmaking, p.winger, p.scoring, p.goaltending, p.passing, p.defending,
          p.setpieces, p.speciality, p.gentleness, p.aggressivity, p.honesty})
        EXPECT_EQ(level, -1);
    EXPECT_EQ(levelWord(p.goaltending), "?");
    EXPECT_EQ(specialityWord(p.speciality), "?");
}

TEST(WeightsTable, HoldsEighteenPairsOfSixtyOneWeightsEachAddingToAHundred)
{
    Weights &weights = sharedWeights();
    EXPECT_EQ(&weights, &sharedWeights());
    ASSERT_EQ(weights.weights.size(), 18u);
    std::size_t count = 0;
    for (const auto &[pair, abilities] : weights.weights) {
        int sum = 0;
        for (const auto &[ability, percent] : abilities)
            sum += percent;
        EXPECT_EQ(sum, 100) << int(pair.position) << "/" << int(pair.behaviour);
        count += abilities.size();
    }
    EXPECT_EQ(count, 61u);
    // The list's pairs are exactly the table's.
    std::set<BehaviouredPosition> listed;
    for (const RatedPosition &rated : ratedPositions())
        listed.insert(rated.position);
    EXPECT_EQ(listed.size(), 18u);
    for (const auto &[pair, abilities] : weights.weights)
        EXPECT_TRUE(listed.count(pair));
    EXPECT_LT(at(pos_keeper, beh_towards_wing), at(pos_central_defender, beh_normal));
}

Player defender()
{
    Player p(1);
    p.stamina = 6;
    p.defending = 10;
    p.form = 7;
    return p;
}

TEST(PositionRating, FollowsTheWeightsAndTheForm)
{
    const Player d = defender();
    Player keeper(2);
    keeper.goaltending = 12;
    const Player unknown(3);
    Player formSix = defender();
    formSix.form = 6;
    const struct
    {
        const char *what;
        const Player &player;
        BehaviouredPosition pair;
        int stamina, form;
        double expected;
    } cases[] = {
        {"worked example", d, at(pos_central_defender, beh_normal), -1, -1, 10.1},
        {"stamina override", d, at(pos_central_defender, beh_normal), 8, -1, 10.3},
        {"form override", d, at(pos_central_defender, beh_normal), -1, 4, 8.6},
        {"form 8 adds one", d, at(pos_central_defender, beh_normal), -1, 8, 10.6},
        {"form 1 takes 2.5", d, at(pos_central_defender, beh_normal), -1, 1, 7.1},
        {"override 0 counts", d, at(pos_central_defender, beh_normal), 0, -1, 9.0 + 0.5},
        {"keeper, unknown form", keeper, at(pos_keeper, beh_normal), -1, -1, 12.0},
        {"keeper, form override 6", keeper, at(pos_keeper, beh_normal), -1, 6, 12.0},
        {"pair without weights", d, at(pos_keeper, beh_offensive), -1, -1, 0.5},
        {"pair without weights, form 3", d, at(pos_keeper, beh_offensive), -1, 3, -1.5},
        {"all unknown", unknown, at(pos_winger, beh_towards_middle), -1, -1, -1.0},
        {"all unknown, forward", unknown, at(pos_forward, beh_defensive), -1, -1, -1.0},
        {"form six is neutral", formSix, at(pos_central_defender, beh_offensive), -1, -1,
         0.01 * (20 * 6 + 50 * 10 + 30 * -1)},
        {"stamina override only", formSix, at(pos_inner_midfielder, beh_normal), 2, -1,
         0.01 * (30 * 2 + 10 * 10 + 50 * -1 + 10 * -1)},
    };
    for (const auto &c : cases)
        EXPECT_NEAR(c.player.positionRating(c.pair, std::int8_t(c.stamina), std::int8_t(c.form)),
                    c.expected, 1e-12)
            << c.what;
    // Unrounded: the products are summed as integers and scaled once.
    EXPECT_EQ(d.positionRating(at(pos_central_defender, beh_normal), -1, -1), 960 * 0.01 + 0.5);
    EXPECT_EQ(keeper.positionRating(at(pos_keeper, beh_normal), -1, -1), 12.0);
}

TEST(PositionRating, EveryUnknownPlayerRatesMinusOneEverywhere)
{
    const Player unknown(9);
    for (const RatedPosition &rated : ratedPositions())
        EXPECT_NEAR(unknown.positionRating(rated.position, -1, -1), -1.0, 1e-12) << rated.column;
}

// The printed table in hundredths, rows of skill index 0..21000, columns form 1..8.
const int printed[22][8] = {
    {0, 0, 0, 0, 0, 0, 0, 0},
    {631, 606, 585, 568, 553, 539, 528, 517},
    {752, 720, 695, 673, 655, 639, 625, 612},
    {834, 799, 770, 746, 725, 707, 691, 677},
    {899, 861, 829, 803, 780, 761, 743, 728},
    {953, 912, 879, 851, 827, 805, 787, 770},
    {1000, 957, 922, 892, 867, 844, 825, 807},
    {1042, 997, 960, 929, 902, 879, 858, 840},
    {1080, 1033, 994, 962, 934, 910, 889, 870},
    {1114, 1066, 1026, 992, 964, 939, 916, 897},
    {1146, 1096, 1055, 1020, 991, 965, 942, 922},
    {1176, 1124, 1082, 1047, 1016, 990, 966, 945},
    {1204, 1151, 1108, 1071, 1040, 1013, 988, 967},
    {1230, 1176, 1132, 1094, 1062, 1034, 1010, 988},
    {1255, 1200, 1154, 1116, 1083, 1055, 1030, 1007},
    {1279, 1222, 1176, 1137, 1104, 1075, 1049, 1026},
    {1301, 1244, 1100, 1157, 1123, 1093, 1067, 1044},
    {1323, 1264, 1197, 1176, 1141, 1111, 1084, 1061},
    {1344, 1284, 1235, 1194, 1159, 1128, 1101, 1077},
    {1364, 1203, 1253, 1212, 1176, 1145, 1117, 1092},
    {1383, 1321, 1271, 1229, 1192, 1161, 1133, 1108},
    {1401, 1339, 1288, 1245, 1208, 1176, 1148, 1122},
};

// The points whose double lies just below the printed value: one hundredth less.
const std::set<std::pair<int, int>> cutLower = {{1, 5000}, {2, 5000}, {3, 4000}, {3, 5000},
                                                {4, 4000}, {4, 7000}, {4, 8000}, {4, 10000},
                                                {6, 7000}, {8, 8000}, {8, 11000}};

// An estimate is a whole number of hundredths, as floor(x) * 0.01 makes it.
void expectHundredths(double estimate, long hundredths, const std::string &what)
{
    EXPECT_EQ(estimate, double(hundredths) * 0.01) << what;
}

TEST(KeeperEstimate, GivesEveryPointItsValueCutToHundredths)
{
    const Keeper &keeper = sharedKeeper();
    EXPECT_EQ(keeper.id, -1);
    ASSERT_EQ(keeper.matrix.size(), 8u);
    int lower = 0;
    for (int form = 1; form <= 8; ++form) {
        ASSERT_EQ(keeper.matrix.at(PlayerAbilityValue(form)).size(), 22u);
        for (int point = 0; point < 22; ++point) {
            const int tsi = point * 1000;
            const bool cut = cutLower.count({form, tsi}) != 0;
            lower += cut;
            expectHundredths(keeper.estimateGoaltending(PlayerAbilityValue(form), tsi),
                             printed[point][form - 1] - (cut ? 1 : 0),
                             "form " + std::to_string(form) + " at " + std::to_string(tsi));
        }
    }
    EXPECT_EQ(lower, 11);
}

TEST(KeeperEstimate, InterpolatesAndGrowsThroughTheOriginAboveTheTable)
{
    const Keeper &keeper = sharedKeeper();
    const struct
    {
        int form, tsi;
        long hundredths;
    } cases[] = {
        {1, 1500, 691},   {1, 21000, 1401}, {1, 25000, 1667}, {8, 0, 0},        {6, 10500, 977},
        {4, 4000, 802},   {4, 4500, 827},   {2, 18500, 1243}, {2, 19500, 1262}, {3, 16500, 1148},
        {1, 42000, 2802}, {8, 1, 0},        {5, 999, 552},    {7, 20999, 1147},
    };
    for (const auto &c : cases)
        expectHundredths(keeper.estimateGoaltending(PlayerAbilityValue(c.form), c.tsi),
                         c.hundredths,
                         "form " + std::to_string(c.form) + " at " + std::to_string(c.tsi));
    // Better form, lower estimate.
    EXPECT_GT(keeper.estimateGoaltending(1, 9000), keeper.estimateGoaltending(8, 9000));
}

TEST(KeeperEstimate, HasNoNumberWithoutARowOrForANegativeIndex)
{
    const Keeper &keeper = sharedKeeper();
    for (int form : {0, 9, 255})
        EXPECT_TRUE(std::isnan(keeper.estimateGoaltending(PlayerAbilityValue(form), 5000))) << form;
    EXPECT_TRUE(std::isnan(keeper.estimateGoaltending(4, -1)));
}

TEST(Countries, MapIdentifierNamesToNumbersExactly)
{
    TCountryIds ids;
    fillCountryIds(ids);
    ASSERT_EQ(ids.size(), 76u);
    const struct
    {
        const char *name;
        int number; // 0: not in the table
    } cases[] = {
        {"ci_Sverige", 1},  {"ci_England", 2}, {"ci_Deutschland", 3}, {"ci_Cyprus", 89},
        {"ci_Frroyar", 76}, {"ci_USA", 8},     {"ci_Al_Maghrib", 77}, {"ci_Espana", 36},
        {"ci_Faroyar", 0},  {"ci_Froyar", 0},  {"ci_Foroyar", 0},     {"ci_usa", 0},
        {"ci_Usa", 0},      {"Sverige", 0},    {"ci_Sverige ", 0},
    };
    for (const auto &c : cases) {
        const auto found = ids.find(c.name);
        if (c.number == 0)
            EXPECT_EQ(found, ids.end()) << c.name;
        else if (found == ids.end())
            ADD_FAILURE() << c.name << " is missing";
        else
            EXPECT_EQ(int(found->second), c.number) << c.name;
    }
    // The numbers 1..89 without the game's gaps.
    std::set<int> numbers;
    for (const auto &entry : ids)
        numbers.insert(entry.second);
    EXPECT_EQ(numbers.size(), 76u);
    for (int gap : {10, 13, 40, 41, 42, 43, 48, 49, 65, 78, 82, 86, 87})
        EXPECT_FALSE(numbers.count(gap)) << gap;
}

TEST(Countries, KeepTheNativeNamesInUtf8)
{
    std::string espana, foroyar;
    for (const Country &country : countries()) {
        if (country.id == ci_Espana)
            espana = country.nativeName;
        if (country.id == ci_Frroyar)
            foroyar = country.nativeName;
    }
    EXPECT_EQ(espana, "Espa\xC3\xB1"
                      "a");
    EXPECT_EQ(foroyar, "F\xC3\xB8royar");
    EXPECT_EQ(countries().front().id, ci_Al_Maghrib);
    EXPECT_EQ(countries().back().id, ci_Vietnam);
}

const char *const goodDocument = R"(<?xml version="1.0" encoding="utf-8"?>
<StrikoraData>
  <FileName>players.xml</FileName>
  <UserID>123456</UserID>
  <FetchedDate>2024-05-06 07:08:09</FetchedDate>
  <Team>
    <TeamID>4101</TeamID>
    <TeamName>FC Zürich Nord</TeamName>
    <PlayerList>
      <Player>
        <PlayerID>77</PlayerID><PlayerName>Åke Ström</PlayerName><Position>Keeper</Position>
        <Age>23</Age><PlayerForm>6</PlayerForm><TSI>4200</TSI>
        <StaminaSkill>5</StaminaSkill><PlaymakerSkill>2</PlaymakerSkill>
        <WingerSkill>1</WingerSkill><ScorerSkill>1</ScorerSkill><KeeperSkill>11</KeeperSkill>
        <PassingSkill>3</PassingSkill><DefenderSkill>4</DefenderSkill>
        <SetPiecesSkill>7</SetPiecesSkill><Specialty>0</Specialty><Agreeability>2</Agreeability>
        <Aggressiveness>3</Aggressiveness><Honesty>4</Honesty><Experience>5</Experience>
        <Leadership>6</Leadership><Salary>12500</Salary><InjuryLevel>-1</InjuryLevel>
      </Player>
      <Player><PlayerID>12</PlayerID><PlayerName>Partly Known</PlayerName><Age>30</Age></Player>
    </PlayerList>
  </Team>
</StrikoraData>)";

TEST(PlayersDocument, MapsEveryFieldItHasAndLeavesTheRestUnknown)
{
    const PlayersDocument doc = readPlayersDocument(goodDocument);
    EXPECT_EQ(doc.teamId, 4101);
    EXPECT_EQ(doc.teamName, "FC Z\xC3\xBCrich Nord");
    EXPECT_EQ(doc.fetchedDate, encodeDateTime({2024, 5, 6, 7, 8, 9, 0}));
    ASSERT_EQ(doc.players.size(), 2u);
    const Player &p = *doc.players[0];
    EXPECT_EQ(p.id, 77);
    EXPECT_EQ(p.name, "\xC3\x85ke Str\xC3\xB6m");
    EXPECT_EQ(p.age, 23);
    EXPECT_EQ(p.form, 6);
    EXPECT_EQ(p.value, 4200);
    EXPECT_EQ(p.wage, 12500);
    EXPECT_EQ(p.injury, -1);
    EXPECT_EQ(p.experience, 5);
    EXPECT_EQ(p.leadership, 6);
    const std::int8_t skills[] = {p.stamina,     p.playmaking, p.winger,    p.scoring,
                                  p.goaltending, p.passing,    p.defending, p.setpieces};
    const std::int8_t expected[] = {5, 2, 1, 1, 11, 3, 4, 7};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(skills[i], expected[i]) << i;
    EXPECT_EQ(p.speciality, 0);
    EXPECT_EQ(p.gentleness, 2);
    EXPECT_EQ(p.aggressivity, 3);
    EXPECT_EQ(p.honesty, 4);
    EXPECT_EQ(p.stars, -1.0);
    EXPECT_EQ(p.bid, -1);
    EXPECT_TRUE(p.bidder.empty());

    const Player &partial = *doc.players[1];
    EXPECT_EQ(partial.age, 30);
    for (std::int32_t unknown : {partial.form, partial.value, partial.wage, partial.experience,
                                 partial.leadership, partial.injury})
        EXPECT_EQ(unknown, -1);
    EXPECT_EQ(partial.goaltending, -1);
}

TEST(PlayersDocument, RefusesWhatItCannotReadAndSaysWhy)
{
    const auto with = [](const std::string &from, const std::string &to) {
        std::string text = goodDocument;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    // A squad is tens of players: 1000 are read, one more is no squad.
    const auto withPlayers = [&](int count) {
        std::string list = "<PlayerList>";
        for (int id = 1000; id < 1000 + count - 2; ++id)
            list += "<Player><PlayerID>" + std::to_string(id) + "</PlayerID></Player>";
        return with("<PlayerList>", list);
    };
    EXPECT_EQ(readPlayersDocument(withPlayers(1000)).players.size(), 1000u);
    const struct
    {
        std::string text;
        const char *reason;
    } cases[] = {
        {withPlayers(1001), "1001 players"},
        {with("<TeamName>", std::string(4 * 1024 * 1024, ' ') + "<TeamName>"), "4 MiB"},
        {"", "not well-formed"},
        {"<StrikoraData><Team>", "not well-formed"},
        {with("players.xml", "club.xml"), "club.xml"},
        {with("<TeamID>4101</TeamID>", ""), "TeamID"},
        {with("<TeamID>4101</TeamID>", "<TeamID>41x</TeamID>"), "TeamID"},
        {with("2024-05-06 07:08:09", "yesterday"), "FetchedDate"},
        {with("2024-05-06 07:08:09", "2024-13-06 07:08:09"), "FetchedDate"},
        {with("<PlayerID>12</PlayerID>", "<PlayerID>77</PlayerID>"), "listed twice"},
        {with("<PlayerID>12</PlayerID>", ""), "without PlayerID"},
    };
    for (const auto &c : cases) {
        try {
            readPlayersDocument(c.text);
            ADD_FAILURE() << "read: " << c.reason;
        } catch (const EXmlError &error) {
            EXPECT_NE(error.message().find(c.reason), std::string::npos) << error.message();
        }
    }
}

TEST(PlayerListLooks, LevelsRatingsAndTheKeeperEstimateColourByTheirThresholds)
{
    const CellLook none{}, green{false, true}, both{true, true};
    const struct
    {
        double value;
        CellLook level, keeper;
    } cases[] = {
        {-1, none, none},    {5, none, none},  {5.9, green, none}, {6, green, none},
        {6.01, both, green}, {7, both, green}, {7.01, both, both}, {14.3, both, both},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(levelLook(c.value), c.level) << c.value;
        EXPECT_EQ(keeperEstimateLook(c.value), c.keeper) << c.value;
    }
}

TEST(PlayerListLooks, MarksInjuriesAndTraitsGiveTheirOwnStyles)
{
    const std::optional<ListColour> lightGreen{listLightGreen}, red{listRed};
    const struct
    {
        bool marked;
        int injury, gentleness, leadership;
        RowLook row;
        TraitLooks traits;
    } cases[] = {
        {false, -1, -1, 0, {}, {}},
        {true, -1, 1, 6, {true, false}, {}},
        {false, 0, 2, 8, {false, true}, {lightGreen, std::nullopt}},
        {true, 3, 3, 7, {false, true}, {std::nullopt, red}},
    };
    for (const auto &c : cases) {
        Player p(1);
        p.marked = c.marked;
        p.injury = c.injury;
        p.gentleness = std::int8_t(c.gentleness);
        p.leadership = c.leadership;
        EXPECT_EQ(rowLook(p), c.row) << c.marked << " " << c.injury;
        EXPECT_EQ(traitLooks(p), c.traits) << c.gentleness << " " << c.leadership;
    }
}

TEST(PlayerListViews, EachViewShowsTheColumnsOfItsPosition)
{
    const struct
    {
        int view;
        std::set<std::string> shown;
    } cases[] = {
        {1, {"setpieces", "goaltending", "GK", "pos_keeper"}},
        {6,
         {"scoring", "playmaking", "passing", "setpieces", "speciality", "pos_forward",
          "pos_forward_defensive"}},
    };
    for (const auto &c : cases) {
        std::set<std::string> shown;
        for (const ColumnVisibility &column : viewColumns(c.view))
            if (column.shown)
                shown.insert(column.column);
        EXPECT_EQ(shown, c.shown) << viewNames()[std::size_t(c.view)];
    }
    ASSERT_EQ(viewColumns(0).size(), 28u);
    for (const ColumnVisibility &column : viewColumns(0))
        EXPECT_TRUE(column.shown) << column.column;
    for (int view : {-1, viewCount})
        EXPECT_TRUE(viewColumns(view).empty()) << view;
    EXPECT_STREQ(viewNames()[4], "inner_midfielder");
}

// Every header says in words what its column holds, beginning with its caption.
TEST(PlayerListExplanations, EveryColumnIsExplainedInWords)
{
    const struct
    {
        const char *column, *says;
    } cases[] = {
        {"pos_central_defender_towards_wing",
         "DTW: rating as central defender, towards wing: 10 % stamina, 70 % defending, 20 % "
         "winger;"},
        {"pos_keeper", "G: rating as keeper, normal: 100 % goaltending;"},
        {"GK", "GK: the goaltending level his skill index and form would mean if he played in "
               "goal"},
        {"setpieces", "set pieces skill, from 1 (disastrous) to 20 (divine)"},
        {"speciality", "technical, quick, powerful, unpredictable, head"},
    };
    for (const auto &c : cases)
        EXPECT_NE(columnExplanation(c.column).find(c.says), std::string::npos)
            << columnExplanation(c.column);
    EXPECT_EQ(columnExplanation("nonsense"), "");
    EXPECT_EQ(playerListHeaders().size(), 45u);
    for (const std::string &line : playerListHeaders()) {
        const std::size_t semi = line.find(';');
        const std::string name = line.substr(0, semi);
        const std::string caption =
            semi == std::string::npos ? name : line.substr(semi + 1, line.rfind(';') - semi - 1);
        EXPECT_EQ(columnExplanation(name).rfind(caption + ": ", 0), 0u) << line;
    }
}

TEST(PlayerListViews, TheKeeperEstimateHasNoNumberOutsideTheTablesForms)
{
    const struct
    {
        int form, value;
        std::optional<double> shown;
    } cases[] = {{-1, 5000, {}}, {0, 5000, {}},   {9, 5000, {}},  {257, 5000, {}},
                 {4, -3, {}},    {4, 4000, 8.02}, {6, 2914, 7.01}};
    for (const auto &c : cases) {
        Player p(1);
        p.form = c.form;
        p.value = c.value;
        EXPECT_EQ(keeperEstimate(p, sharedKeeper()), c.shown) << c.form << " at " << c.value;
    }
}

// An empty or missing field is unknown, as everywhere; one that holds no number of its range is
// unknown too, and counted, so the caller can say so. The rest of the squad comes through.
TEST(PlayersDocument, ReadsAValueItCannotReadAsUnknownAndCountsIt)
{
    const auto age = [](const Player &p) { return p.age; };
    const auto speciality = [](const Player &p) { return int(p.speciality); };
    const auto goaltending = [](const Player &p) { return int(p.goaltending); };
    const struct
    {
        const char *from;
        const char *to;
        std::function<int(const Player &)> field;
        int unreadable;
    } cases[] = {
        {"<Specialty>0</Specialty>", "<Specialty></Specialty>", speciality, 0},
        {"<Age>23</Age>", "<Age/>", age, 0},
        {"<Age>23</Age>", "<Age>old</Age>", age, 1},
        {"<TSI>4200</TSI>", "<TSI>many</TSI>", [](const Player &p) { return p.value; }, 1},
        {"<KeeperSkill>11</KeeperSkill>", "<KeeperSkill>300</KeeperSkill>", goaltending, 1},
        {"<Age>23</Age>", "<Age>9999999999</Age><Honesty>-</Honesty>", age, 2},
    };
    for (const auto &c : cases) {
        std::string text = goodDocument;
        text.replace(text.find(c.from), std::string(c.from).size(), c.to);
        const PlayersDocument doc = readPlayersDocument(text);
        ASSERT_EQ(doc.players.size(), 2u) << c.to;
        EXPECT_EQ(c.field(*doc.players[0]), -1) << c.to;
        EXPECT_EQ(doc.players[0]->form, 6) << c.to;
        EXPECT_EQ(doc.unreadableValues, c.unreadable) << c.to;
    }
}

} // namespace
