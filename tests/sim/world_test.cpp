#include "sim/schedule.h"
#include "sim/training.h"
#include "sim/world.h"

#include <gtest/gtest.h>

#include <QSet>

#include <algorithm>
#include <map>
#include <set>

using namespace sim;

namespace {

QString fingerprint(const std::vector<Player> &squad)
{
    QString text;
    for (const Player &p : squad) {
        text += QStringLiteral("%1 %2 %3 %4 %5 %6 %7")
                    .arg(p.id)
                    .arg(p.name)
                    .arg(p.age)
                    .arg(p.form)
                    .arg(p.skillIndex)
                    .arg(p.salary)
                    .arg(p.injuryWeeks);
        for (int level : p.skills)
            text += ' ' + QString::number(level);
    }
    return text;
}

QString fingerprint(const World &world)
{
    QString text;
    for (const Team &team : world.teams())
        text += QStringLiteral("%1 %2 %3;").arg(team.id).arg(team.name).arg(team.league) +
                fingerprint(team.players);
    return text;
}

} // namespace

TEST(World, SameSeedSameWorldOtherSeedOtherWorld)
{
    EXPECT_EQ(fingerprint(World(7)), fingerprint(World(7)));
    EXPECT_NE(fingerprint(World(7)), fingerprint(World(8)));
}

TEST(World, FourLeaguesOfEightTeamsWithFullSquads)
{
    const World world(1);
    ASSERT_EQ(world.leagues().size(), 4u);
    ASSERT_EQ(world.teams().size(), 32u);
    QSet<int> teamIds, playerIds;
    bool accented = false;
    for (const Team &team : world.teams()) {
        teamIds.insert(team.id);
        accented = accented || team.name.toLatin1() != team.name.toUtf8();
        EXPECT_GE(team.players.size(), 16u) << team.name.toStdString();
        EXPECT_LE(team.players.size(), 18u) << team.name.toStdString();
        int keepers = 0;
        for (const Player &p : team.players) {
            playerIds.insert(p.id);
            keepers += p.role == Role::Keeper;
            EXPECT_TRUE(p.form >= 1 && p.form <= 8);
            EXPECT_GT(p.skillIndex, 0);
            for (int level : p.skills)
                EXPECT_TRUE(level >= 1 && level <= 20);
        }
        EXPECT_GE(keepers, 1);
    }
    EXPECT_EQ(teamIds.size(), 32);
    int players = 0;
    for (const Team &team : world.teams())
        players += int(team.players.size());
    EXPECT_EQ(playerIds.size(), players);
    EXPECT_TRUE(accented);
}

TEST(World, AccountsManageTheirTeams)
{
    const World world(3);
    const Account *demo = world.account("DEMO", "demo");
    ASSERT_NE(demo, nullptr);
    EXPECT_EQ(demo->userId, 123456);
    EXPECT_EQ(world.teams()[demo->teamIndex].managerUserId, 123456);
    EXPECT_EQ(world.account("demo", "DEMO"), nullptr); // the code keeps its case
    EXPECT_NE(world.account(QStringLiteral("josé"), QStringLiteral("olé")), nullptr);
}

TEST(Schedule, EveryPairMeetsTwicePerSeasonOnceAtEachGround)
{
    const World world(1);
    for (int league = 0; league < 4; ++league) {
        std::map<std::pair<int, int>, int> meetings; // (home, away) -> count
        std::set<double> kickoffs;
        for (const Fixture &f : schedule::leagueSeason(world, league, 2)) {
            ++meetings[{f.home, f.away}];
            EXPECT_NE(f.home, f.away);
            kickoffs.insert(f.kickoff);
        }
        EXPECT_EQ(meetings.size(), 56u); // 8 * 7 ordered pairs
        for (const auto &[pair, count] : meetings)
            EXPECT_EQ(count, 1);
        EXPECT_EQ(kickoffs.size(), 56u);
    }
}

TEST(Schedule, MatchIdsNameTheirFixtures)
{
    const World world(1);
    for (int round : {0, 5, 13, 14, 200}) {
        for (int league = 0; league < 4; ++league) {
            const Fixture f = schedule::fixture(world, round, league, league % 4);
            const auto back = schedule::fixtureById(world, f.matchId);
            ASSERT_TRUE(back.has_value());
            EXPECT_EQ(back->home, f.home);
            EXPECT_EQ(back->away, f.away);
            EXPECT_EQ(back->kickoff, f.kickoff);
        }
    }
    for (int id : {0, -5, 999999, 2'000'000'000})
        EXPECT_FALSE(schedule::fixtureById(world, id).has_value()) << id;
}

TEST(Schedule, SeveralMatchesAreLiveAtAnyMoment)
{
    const World world(1);
    for (int minute = 0; minute < 3 * 24 * 60; minute += 7) {
        const auto live = schedule::ongoingMatchIds(world, minute);
        EXPECT_GE(live.size(), 6u) << minute;
        EXPECT_LE(live.size(), 16u) << minute;
    }
}

TEST(Schedule, TeamSeasonRunsFinishedThenComingInOrderOfPlay)
{
    const World world(1);
    const double now = 10; // the clock starts in the middle of a season
    for (const Team &team : world.teams()) {
        const auto season = schedule::teamSeason(world, team.index, 0);
        ASSERT_EQ(season.size(), 14u);
        int finished = 0;
        for (std::size_t i = 0; i < season.size(); ++i) {
            if (i > 0) {
                EXPECT_LT(season[i - 1].kickoff, season[i].kickoff);
            }
            if (schedule::status(season[i], now) == MatchStatus::Finished) {
                EXPECT_EQ(int(i), finished++) << "a finished match after a coming one";
            }
        }
        EXPECT_GE(finished, 4);
        EXPECT_LE(finished, 5);
    }
}

TEST(SimClock, AdvanceMovesOnlyForwardAndDatesFollow)
{
    SimClock clock(0);
    clock.advance(30);
    clock.advance(-100);
    EXPECT_DOUBLE_EQ(clock.minutes(), 30);
    EXPECT_EQ(SimClock::format(SimClock::dateAt(90.5)), QStringLiteral("2025-03-08 16:30:30"));
}

TEST(Training, TheSameSeedTrainsTheSameWeeksInAnyOrder)
{
    const World seven(7);
    const Training forward(seven, 60), backward(seven, 60);
    for (int week = 0; week <= 40; ++week)
        forward.squad(3, week);
    EXPECT_EQ(fingerprint(backward.squad(3, 40)), fingerprint(forward.squad(3, 40)));
    EXPECT_EQ(fingerprint(backward.squad(3, 0)), fingerprint(seven.teams()[3].players));
    EXPECT_NE(fingerprint(Training(World(8), 60).squad(3, 40)), fingerprint(forward.squad(3, 40)));
}

// Over a season of weeks across the whole world: the trained area rises, the young more than
// the old; squads keep their size; people come and go with ids of their own.
TEST(Training, PlayersImproveInTheirAreaAgeHealAndComeAndGo)
{
    const World world(1);
    const Training training(world, 60);
    constexpr int weeks = 32;
    int youngRises = 0, young = 0, oldRises = 0, old = 0, joined = 0, healed = 0, injured = 0;
    int players = 0;
    QSet<int> ids;
    for (const Team &team : world.teams()) {
        const Skill area = training.area(team.index);
        const std::vector<Player> &after = training.squad(team.index, weeks);
        EXPECT_EQ(after.size(), team.players.size());
        players += int(after.size());
        for (const Player &now : after) {
            ids.insert(now.id);
            const auto before = std::find_if(team.players.begin(), team.players.end(),
                                             [&](const Player &p) { return p.id == now.id; });
            if (before == team.players.end()) {
                joined += now.age <= 19 + 2; // youngsters join
                continue;
            }
            const int rises = now.skills[area] - before->skills[area];
            EXPECT_GE(rises, 0);
            (before->age <= 21 ? youngRises : oldRises) += rises;
            ++(before->age <= 21 ? young : old);
            EXPECT_EQ(now.age, before->age + 2); // a birthday every sixteen weeks
            healed += before->injuryWeeks > 0 && now.injuryWeeks == -1;
            injured += before->injuryWeeks == -1 && now.injuryWeeks >= 0;
        }
    }
    EXPECT_GT(double(youngRises) / young, 2 * double(oldRises) / old);
    EXPECT_GT(joined, 32);
    EXPECT_GT(healed, 0);
    EXPECT_GT(injured, 0);
    EXPECT_EQ(ids.size(), players);
}
