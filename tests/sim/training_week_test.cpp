#include "sim_test_helpers.h"

#include "players/players_document.h"
#include "players/squad_history.h"
#include "service/service_paths.h"
#include "sim/routes.h"
#include "sim/schedule.h"
#include "sim/training.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string_view>

using simtest::get;
using simtest::sessionCookie;

namespace {

// Two downloads a training week apart: the program's reader and comparison find exactly what
// the simulator changed in the squad, and nothing before the week is over.
TEST(TrainingWeek, ShowsInThePlayersDocumentAWeekLater)
{
    const sim::World world(5);
    sim::SimClock clock(0);
    sim::Routes routes(world, clock, 60);
    const QByteArray cookie =
        sessionCookie(routes.handle(get(servicePaths::login("demo", "demo"))));
    const auto download = [&] {
        const QByteArray body = routes.handle(get(servicePaths::players(), cookie)).body;
        return readPlayersDocument(std::string_view(body.constData(), std::size_t(body.size())));
    };
    SquadHistoryBuilder builder;
    builder.add(download());
    clock.advance(59);
    const PlayersDocument almost = download();
    clock.advance(1);
    builder.add(download());
    const SquadHistory history = builder.finish().begin()->second;
    const int team = world.accounts().front().teamIndex;
    const std::vector<sim::Player> &before = routes.training().squad(team, 0);
    const std::vector<sim::Player> &after = routes.training().squad(team, 1);
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(almost.players[i]->form, before[i].form);

    const SquadComparison comparison =
        compareSquad(history, history.downloads[0], history.newest());
    std::set<int> changed, left;
    for (const auto &[id, player] : comparison.players)
        if (player.changed())
            changed.insert(id);
    for (const LeftPlayer &gone : comparison.left)
        left.insert(gone.id);
    std::set<int> expectedChanged, expectedLeft;
    for (const sim::Player &now : after) {
        const auto was = std::find_if(before.begin(), before.end(),
                                      [&](const sim::Player &p) { return p.id == now.id; });
        if (was == before.end()) {
            expectedChanged.insert(now.id);
            continue;
        }
        const bool differs = was->form != now.form || was->skillIndex != now.skillIndex ||
                             was->salary != now.salary || was->injuryWeeks != now.injuryWeeks ||
                             was->age != now.age || was->skills != now.skills;
        if (differs)
            expectedChanged.insert(now.id);
        const PlayerChanges &found = *comparison.of(now.id);
        for (const ValueChange &change : found.changes)
            if (change.field == HistoryField::playmaking) {
                EXPECT_EQ(change.was, was->skills[sim::Playmaking]);
                EXPECT_EQ(change.now, now.skills[sim::Playmaking]);
            }
    }
    for (const sim::Player &was : before)
        if (std::none_of(after.begin(), after.end(),
                         [&](const sim::Player &p) { return p.id == was.id; }))
            expectedLeft.insert(was.id);
    EXPECT_FALSE(expectedChanged.empty());
    EXPECT_EQ(changed, expectedChanged);
    EXPECT_EQ(left, expectedLeft);
}

} // namespace
