#include "sim/match_engine.h"
#include "sim/schedule.h"
#include "sim/world.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <map>
#include <set>

using namespace sim;

namespace {

// How the program colours the second player of an event: as a teammate exactly for these.
bool objectIsTeammate(int key)
{
    return (key >= 91 && key <= 95) || key % 10 == 8 || key == 105 || key == 108 || key == 116 ||
           key == 205 || key == 237;
}

struct Where
{
    const Team *team = nullptr;
    const Player *player = nullptr;
};

std::map<int, Where> playerIndex(const World &world)
{
    std::map<int, Where> index;
    for (const Team &team : world.teams()) {
        for (const Player &player : team.players)
            index[player.id] = {&team, &player};
    }
    return index;
}

// Matches of several rounds of every league: a few hundred different games.
std::vector<Fixture> manyFixtures(const World &world)
{
    std::vector<Fixture> fixtures;
    for (int round = 0; round < 28; ++round) {
        for (int league = 0; league < 4; ++league) {
            for (int slot = 0; slot < 4; ++slot)
                fixtures.push_back(schedule::fixture(world, round, league, slot));
        }
    }
    return fixtures;
}

// The player links of a text, as the program reads them: number -> name.
std::map<int, QString> playerLinks(const QString &text)
{
    static const QRegularExpression link(
        QStringLiteral("<a href=\"playerDetails\\.asp\\?playerID=(\\d+)\">([^<]*)</a>"));
    std::map<int, QString> links;
    for (auto it = link.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        links[m.captured(1).toInt()] = m.captured(2);
    }
    return links;
}

class MatchEngine : public ::testing::Test
{
protected:
    World world{5};
    std::map<int, Where> players = playerIndex(world);
};

} // namespace

TEST_F(MatchEngine, SameMatchSameCourse)
{
    const Fixture f = schedule::fixture(world, 3, 2, 1);
    const MatchReport a = playMatch(world, f), b = playMatch(world, f);
    ASSERT_EQ(a.events.size(), b.events.size());
    for (std::size_t i = 0; i < a.events.size(); ++i) {
        EXPECT_EQ(a.events[i].key, b.events[i].key);
        EXPECT_EQ(a.events[i].text, b.events[i].text);
    }
}

TEST_F(MatchEngine, PlayersOfEveryEventFitTheEvent)
{
    for (const Fixture &f : manyFixtures(world)) {
        const int homeId = world.teams()[f.home].id, awayId = world.teams()[f.away].id;
        for (const MatchEvent &e : playMatch(world, f).events) {
            SCOPED_TRACE(e.key.toStdString() + " " + e.text.toStdString());
            const auto links = playerLinks(e.text);
            if (e.category == Category::Info) {
                EXPECT_TRUE(links.empty());
                continue;
            }
            ASSERT_TRUE(players.count(e.subjectPlayerId));
            EXPECT_EQ(players[e.subjectPlayerId].team->id, e.subjectTeamId);
            EXPECT_TRUE(e.subjectTeamId == homeId || e.subjectTeamId == awayId);
            EXPECT_EQ(links.at(e.subjectPlayerId), players[e.subjectPlayerId].player->name);
            if (e.objectPlayerId == 0) {
                EXPECT_EQ(links.size(), 1u);
                continue;
            }
            ASSERT_EQ(links.size(), 2u);
            EXPECT_EQ(links.at(e.objectPlayerId), players[e.objectPlayerId].player->name);
            const bool sameTeam = players[e.objectPlayerId].team->id == e.subjectTeamId;
            EXPECT_EQ(sameTeam, objectIsTeammate(e.keyNumber));
        }
    }
}

TEST_F(MatchEngine, EventsRunInOrderAndGoalsAddUp)
{
    int goals = 0, matches = 0;
    for (const Fixture &f : manyFixtures(world)) {
        const MatchReport report = playMatch(world, f);
        int home = 0, away = 0;
        for (std::size_t i = 0; i < report.events.size(); ++i) {
            const MatchEvent &e = report.events[i];
            EXPECT_EQ(e.index, int(i) + 1);
            if (i > 0) {
                EXPECT_LE(report.events[i - 1].minute, e.minute);
            }
            const bool goal = (e.keyNumber >= 100 && e.keyNumber < 200) || e.keyNumber == 56;
            EXPECT_EQ(goal, e.homeGoal + e.awayGoal == 1) << e.key.toStdString();
            home += e.homeGoal;
            away += e.awayGoal;
            if (goal) {
                EXPECT_EQ(e.homeGoal == 1, e.subjectTeamId == world.teams()[f.home].id);
            }
        }
        EXPECT_EQ(report.finalScore().home, home);
        EXPECT_EQ(report.finalScore().away, away);
        EXPECT_EQ(report.events.front().keyNumber, 11);
        goals += home + away;
        ++matches;
    }
    const double perMatch = double(goals) / matches;
    EXPECT_GT(perMatch, 1.5);
    EXPECT_LT(perMatch, 4.0);
}

TEST_F(MatchEngine, VisibleEventsArePlayedMinutes)
{
    const MatchReport report = playMatch(world, schedule::fixture(world, 1, 0, 0));
    EXPECT_EQ(report.visibleCount(0), 1); // the kick-off
    EXPECT_EQ(report.visibleCount(90), int(report.events.size()));
    const int half = report.visibleCount(45);
    EXPECT_EQ(report.events[half - 1].keyNumber, 12);
    const Score score = report.scoreAfter(half);
    EXPECT_TRUE(report.events[half - 1].text.contains(
        QStringLiteral("%1 - %2").arg(score.home).arg(score.away)));
}

TEST_F(MatchEngine, EveryKindOfEventHappensSomewhere)
{
    std::set<int> seen;
    bool suffixed = false;
    for (int seed : {5, 6, 7}) {
        const World other(seed);
        for (const Fixture &f : manyFixtures(other)) {
            for (const MatchEvent &e : playMatch(other, f).events) {
                seen.insert(e.keyNumber);
                suffixed = suffixed || e.key.contains('_');
            }
        }
    }
    for (int key : {41,  42,  56,  58,  59,  90,  91,  92,  93,  94,  95,  101, 105,
                    106, 108, 115, 116, 119, 136, 138, 141, 201, 205, 208, 217, 237,
                    241, 301, 302, 303, 304, 305, 510, 511, 512, 513, 514})
        EXPECT_TRUE(seen.count(key)) << key;
    EXPECT_TRUE(suffixed);
}
