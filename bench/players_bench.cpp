// The player list's refresh (every column, 18 ratings and the keeper estimate per player, with
// and without the track bars' overrides) beside a bare refill of the same grid with the same
// values and styles computed beforehand.
#include "bench_regime.h"
#include "grid/core/grid_update.h"
#include "grid/widget/ziv_grid.h"
#include "players/keeper.h"
#include "players/player.h"
#include "players/team.h"
#include "players/weights.h"
#include "ui/error_display.h"
#include "ui/player_list_frame.h"

#include <QSlider>

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
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

// What a refresh writes into one row, worked out beforehand.
struct PrecomputedRow
{
    const Player *player;
    std::array<double, 18> ratings;
    double keeper;
};

void colour(ZIVGridCell &cell, double level, double yellowAbove, double greenAbove)
{
    cell.setBrushSource(srcColumn);
    if (level > yellowAbove) {
        cell.setBrushSource(srcOwn);
        cell.brush().color = 0x00FFFF;
    }
    if (level > greenAbove) {
        cell.font();
        cell.setFontSource(srcOwn);
        cell.font().color = 0x008000;
        cell.font().style |= fsBold;
    }
}

// The same cells and styles as a refresh, from values already at hand.
void refill(ZIVGrid &grid, const std::vector<PrecomputedRow> &rows)
{
    const ZIVGridUpdate update(grid);
    grid.clear();
    const auto column = [&](const char *name) -> ZIVGridColumn & {
        return *grid.getColumn(name, true);
    };
    ZIVGridColumn &id = column("id"), &marked = column("marked"), &name = column("name"),
                  &age = column("age"), &value = column("value"), &wage = column("wage"),
                  &bid = column("bid"), &bidder = column("bidder"), &deadline = column("deadline"),
                  &injury = column("injury"), &gentleness = column("gentleness"),
                  &aggressivity = column("aggressivity"), &honesty = column("honesty"),
                  &experience = column("experience"), &leadership = column("leadership"),
                  &speciality = column("speciality"), &keeper = column("GK");
    static const char *const levelNames[] = {"form",    "stamina",   "defending",
                                             "passing", "winger",    "playmaking",
                                             "scoring", "setpieces", "goaltending"};
    std::array<ZIVGridColumn *, 9> levels{};
    for (std::size_t i = 0; i < levels.size(); ++i)
        levels[i] = &column(levelNames[i]);
    std::array<ZIVGridColumn *, 18> ratings{};
    for (std::size_t i = 0; i < ratings.size(); ++i)
        ratings[i] = &column(ratedPositions()[i].column);
    static const std::array<const char *, 6> words = {"",         "technical",     "quick",
                                                      "powerful", "unpredictable", "head"};
    for (const PrecomputedRow &pre : rows) {
        const Player &p = *pre.player;
        ZIVGridRow &row = grid.addRow(ZIVGrid::atEnd);
        row.cell(id).setLong(p.id);
        if (p.marked) {
            row.font();
            row.setFontSource(srcOwn);
            row.font().color = 0xFF0000;
            row.cell(marked).setString("x");
        }
        row.cell(name).setString(p.name);
        row.cell(age).setInt(p.age);
        row.cell(value).setInt(p.value);
        row.cell(wage).setInt(p.wage);
        row.cell(bid).setInt(p.bid);
        row.cell(bidder).setString(p.bidder);
        row.cell(deadline).setDate(p.deadline);
        if (p.injury >= 0) {
            row.cell(injury).setInt(p.injury);
            row.font();
            row.setFontSource(srcOwn);
            row.font().style |= fsItalic;
            row.font().color = 0x0000FF;
        }
        row.cell(gentleness).setInt(p.gentleness);
        row.cell(aggressivity).setInt(p.aggressivity);
        row.cell(honesty).setInt(p.honesty);
        row.cell(experience).setInt(p.experience);
        row.cell(leadership).setInt(p.leadership);
        row.cell(speciality).setString(words[std::size_t(p.speciality)]);
        const std::int32_t levelValues[] = {p.form,    p.stamina,   p.defending,
                                            p.passing, p.winger,    p.playmaking,
                                            p.scoring, p.setpieces, p.goaltending};
        for (std::size_t i = 0; i < levels.size(); ++i) {
            ZIVGridCell &cell = row.cell(*levels[i]);
            cell.setInt(levelValues[i]);
            colour(cell, levelValues[i], 6, 5);
        }
        for (std::size_t i = 0; i < ratings.size(); ++i) {
            ZIVGridCell &cell = row.cell(*ratings[i]);
            cell.setDouble(pre.ratings[i]);
            colour(cell, pre.ratings[i], 6, 5);
        }
        ZIVGridCell &estimate = row.cell(keeper);
        estimate.setDouble(pre.keeper);
        colour(estimate, pre.keeper, 7, 6);
    }
    grid.filterAndSort();
}

void BM_BareRefill(benchmark::State &state)
{
    Squad &squad = squadOf(int(state.range(0)));
    TframeListPlayers &frame = frameFor(squad);
    const bool overrides = state.range(1) != 0;
    std::vector<PrecomputedRow> rows;
    for (const auto &[id, player] : squad.team.players) {
        PrecomputedRow row{player, {}, 0};
        for (std::size_t i = 0; i < 18; ++i)
            row.ratings[i] = player->positionRating(ratedPositions()[i].position,
                                                    std::int8_t(overrides ? 4 : -1),
                                                    std::int8_t(overrides ? 8 : -1));
        row.keeper =
            sharedKeeper().estimateGoaltending(PlayerAbilityValue(player->form), player->value);
        rows.push_back(row);
    }
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
    keepLargeAllocations();
    if (!std::getenv("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
