// The player list's refresh (every column, 18 ratings and the keeper estimate per player, with
// and without the track bars' overrides) beside a bare refill of the same grid through the same
// row writer, with the ratings and estimates computed beforehand.
#include "bench_window.h"
#include "grid/core/grid_refill.h"
#include "grid/widget/ziv_grid.h"
#include "players/keeper.h"
#include "players/player.h"
#include "players/player_list_view.h"
#include "players/team.h"
#include "ui/error_display.h"
#include "ui/player_list_frame.h"

#include <QSlider>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

struct Squad
{
    Team team{1};
    std::vector<std::unique_ptr<Player>> owned;
};

Squad &squadOf(int size)
{
    static std::map<int, std::unique_ptr<Squad>> made;
    std::unique_ptr<Squad> &squad = made[size];
    if (squad)
        return *squad;
    squad = std::make_unique<Squad>();
    std::mt19937 random{std::uint32_t(size)};
    const auto level = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    std::vector<std::unique_ptr<Player>> players;
    for (int i = 0; i < size; ++i) {
        auto p = std::make_unique<Player>(1000 + i);
        p->name = "Player number " + std::to_string(i);
        p->age = level(17, 36);
        p->form = level(1, 8);
        p->value = level(500, 25000);
        p->wage = level(300, 30000);
        p->injury = level(0, 9) == 0 ? level(0, 3) : -1;
        p->marked = level(0, 19) == 0;
        p->experience = level(0, 9);
        p->leadership = level(1, 8);
        p->speciality = std::int8_t(level(0, 5));
        p->gentleness = std::int8_t(level(0, 5));
        p->aggressivity = std::int8_t(level(0, 4));
        p->honesty = std::int8_t(level(0, 5));
        for (std::int8_t *skill : {&p->stamina, &p->playmaking, &p->winger, &p->scoring,
                                   &p->goaltending, &p->passing, &p->defending, &p->setpieces})
            *skill = std::int8_t(level(1, 14));
        players.push_back(std::move(p));
    }
    squad->team.replacePlayers(std::move(players));
    return *squad;
}

TframeListPlayers &frameFor(Squad &squad)
{
    static TframeListPlayers frame(sharedKeeper());
    frame.setTeam(&squad.team);
    return frame;
}

void BM_Refresh(benchmark::State &state)
{
    Squad &squad = squadOf(int(state.range(0)));
    TframeListPlayers &frame = frameFor(squad);
    const bool overrides = state.range(1) != 0;
    frame.trkStamina->setValue(overrides ? 4 : 0);
    frame.trkForm->setValue(overrides ? 8 : 0);
    frame.refresh(); // warm-up
    for (auto _ : state)
        frame.refresh();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// What a refresh works out for one row, done beforehand.
struct PrecomputedRow
{
    const Player *player;
    PlayerListRatings ratings;
};

// The same cells and styles as a refresh, written by the list's own row writer from ratings
// already at hand.
void refill(ZIVGrid &grid, const std::vector<PrecomputedRow> &rows)
{
    const PlayerListColumns columns(grid);
    refillGrid(grid, rows, [&](ZIVGridRow &row, const PrecomputedRow &pre) {
        writePlayerRow(row, columns, *pre.player, pre.ratings);
    });
}

void BM_BareRefill(benchmark::State &state)
{
    Squad &squad = squadOf(int(state.range(0)));
    TframeListPlayers &frame = frameFor(squad);
    const bool overrides = state.range(1) != 0;
    std::vector<PrecomputedRow> rows;
    for (const auto &[id, player] : squad.team.players)
        rows.push_back({player, listRatings(*player, std::int8_t(overrides ? 4 : -1),
                                            std::int8_t(overrides ? 8 : -1), sharedKeeper())});
    refill(*frame.lstList, rows); // warm-up
    for (auto _ : state)
        refill(*frame.lstList, rows);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void sizes(benchmark::internal::Benchmark *b)
{
    for (int players : {50, 5000})
        for (int overrides : {0, 1})
            b->Args({players, overrides});
    b->ArgNames({"players", "overrides"})->Repetitions(7)->ReportAggregatesOnly(true);
}

} // namespace

BENCHMARK(BM_BareRefill)->Apply(sizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Refresh)->Apply(sizes)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return benchWindow::runOffscreen(argc, argv);
}
