#include "sim_test_helpers.h"

#include "players/players_document.h"
#include "players/squad_history.h"
#include "service/service_paths.h"
#include "sim/schedule.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>

using namespace simtest;

namespace {

// Downloads at the start, just before a training week is over and once it is: the program's
// reader and history hold exactly the values the simulator gave the squad at each.
TEST(TrainingWeek, ShowsInThePlayersDocumentAWeekLater)
{
    const sim::World world(5);
    sim::SimClock clock(0);
    sim::Routes routes(world, clock, 60);
    const QByteArray cookie =
        sessionCookie(routes.handle(get(servicePaths::login("demo", "demo"))));
    SquadHistoryBuilder builder;
    for (int minutes : {0, 59, 1}) {
        clock.advance(minutes);
        const QByteArray body = routes.handle(get(servicePaths::players(), cookie)).body;
        builder.add(
            readPlayersDocument(std::string_view(body.constData(), std::size_t(body.size()))));
    }
    const SquadHistory history = builder.finish().begin()->second;
    const int team = world.accounts().front().teamIndex;
    const std::vector<sim::Player> &before = routes.training().squad(team, 0);
    const std::vector<sim::Player> &after = routes.training().squad(team, 1);
    const auto valuesOf = [](const sim::Player &p) {
        PlayerValues values{{p.age, p.form, p.injuryWeeks, p.skillIndex, p.salary}};
        std::copy(p.skills.begin(), p.skills.end(), values.fields.begin() + 5);
        return values;
    };
    ASSERT_EQ(history.downloads.size(), 3u);
    for (auto [download, squad] : {std::pair(0, &before), {1, &before}, {2, &after}})
        for (const sim::Player &player : *squad) {
            const PlayerValues *read =
                history.players.at(player.id).at(history.downloads[download]);
            EXPECT_TRUE(read && *read == valuesOf(player)) << player.id << " at " << download;
        }
    // The week changed someone; as many left as joined, since a squad keeps its size.
    const SquadComparison comparison = compareWithNewest(history, history.downloads[1]);
    std::size_t changed = 0, joined = 0;
    for (const auto &[id, player] : comparison.players) {
        changed += player.changed();
        joined += player.joined;
    }
    EXPECT_GT(changed, 0u);
    EXPECT_EQ(comparison.left.size(), joined);
}

} // namespace
