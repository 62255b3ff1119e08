// The exact lineup (Hungarian assignment) for one formation and over every formation, beside an
// exhaustive search over player subsets for a squad of 13 and a greedy pick for 40; and how far
// greedy falls short of the exact lineup over 1000 squads. The players come from the simulator's
// world generator, so their skills have the shapes of real squads (keepers, defenders, ...).
#include "bench_regime.h"
#include "players/lineup.h"
#include "sim/world.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

struct Squad
{
    std::vector<std::unique_ptr<Player>> owned;
    TPlayers players;
};

Player fromSim(const sim::Player &s)
{
    Player p(s.id);
    std::int8_t *levels[] = {&p.stamina,     &p.playmaking, &p.winger,    &p.scoring,
                             &p.goaltending, &p.passing,    &p.defending, &p.setpieces};
    for (int skill = 0; skill < sim::skillCount; ++skill)
        *levels[skill] = std::int8_t(s.skills[std::size_t(skill)]);
    p.form = s.form;
    p.injury = s.injuryWeeks;
    return p;
}

// `count` squads of `size` players each, cut in order from the players of seeded worlds.
const std::vector<Squad> &squads(int size, int count)
{
    static std::map<std::pair<int, int>, std::vector<Squad>> made;
    std::vector<Squad> &list = made[{size, count}];
    for (quint32 seed = 1; int(list.size()) < count; ++seed) {
        const sim::World world(seed);
        Squad squad;
        for (const sim::Team &team : world.teams())
            for (const sim::Player &player : team.players) {
                squad.owned.push_back(std::make_unique<Player>(fromSim(player)));
                squad.players[player.id] = squad.owned.back().get();
                if (int(squad.owned.size()) == size && int(list.size()) < count)
                    list.push_back(std::exchange(squad, {}));
            }
    }
    return list;
}

const TPlayers &squadOf(int size)
{
    return squads(size, 1).front().players;
}

// Each fit player's value at each position, as the solver sees it.
std::vector<PositionValues> fitPlayersValues(const TPlayers &players)
{
    std::vector<PositionValues> values;
    for (const auto &[id, p] : players)
        if (p->injury < 0)
            values.push_back(positionValues(*p, -1, -1));
    return values;
}

// Best rating first, one sector after the other: keeper, defence, midfield, attack.
double greedyTotal(const TPlayers &players, const FormationCounts &counts)
{
    std::vector<PositionValues> free = fitPlayersValues(players);
    const std::vector<std::vector<Position>> sectors{{pos_keeper},
                                                     {pos_central_defender, pos_wingback},
                                                     {pos_inner_midfielder, pos_winger},
                                                     {pos_forward}};
    FormationCounts left = counts;
    double total = 0;
    for (const auto &sector : sectors) {
        for (;;) {
            double best = -1e9;
            std::size_t bestPlayer = free.size();
            Position bestPosition = pos_keeper;
            for (std::size_t i = 0; i < free.size(); ++i)
                for (Position position : sector)
                    if (left[position] > 0 && free[i][position].rating > best) {
                        best = free[i][position].rating;
                        bestPlayer = i;
                        bestPosition = position;
                    }
            if (bestPlayer == free.size())
                break;
            total += best;
            --left[bestPosition];
            free.erase(free.begin() + std::ptrdiff_t(bestPlayer));
        }
    }
    return total;
}

// Every assignment of distinct players to the slots, slot by slot over the sets of players
// used.
double exhaustiveTotal(const TPlayers &players, const FormationCounts &counts)
{
    const std::vector<PositionValues> value = fitPlayersValues(players);
    const std::vector<Position> positions = formationSlots(counts);
    const std::size_t n = value.size();
    std::vector<double> layer(std::size_t(1) << n, -1e9);
    layer[0] = 0;
    for (std::size_t s = 0; s < positions.size(); ++s) {
        std::vector<double> next(layer.size(), -1e9);
        for (std::size_t mask = 0; mask < layer.size(); ++mask) {
            if (n - std::size_t(std::popcount(mask)) < positions.size() - s)
                next[mask] = std::max(next[mask], layer[mask]);
            for (std::size_t p = 0; p < n; ++p)
                if (!(mask >> p & 1))
                    next[mask | std::size_t(1) << p] =
                        std::max(next[mask | std::size_t(1) << p],
                                 layer[mask] + value[p][positions[s]].rating);
        }
        layer = std::move(next);
    }
    return *std::max_element(layer.begin(), layer.end());
}

const Formation &named(const benchmark::State &state)
{
    return namedFormations()[std::size_t(state.range(0))];
}

void BM_ExactLineup40(benchmark::State &state)
{
    const TPlayers &players = squadOf(40);
    state.SetLabel(named(state).name);
    for (auto _ : state)
        benchmark::DoNotOptimize(bestLineup(players, named(state)).total);
}

void BM_ExactBestFormation40(benchmark::State &state)
{
    const TPlayers &players = squadOf(40);
    state.SetLabel(bestFormationLineup(players).formation.name + " of " +
                   std::to_string(allFormations().size()));
    for (auto _ : state)
        benchmark::DoNotOptimize(bestFormationLineup(players).total);
}

void BM_GreedyLineup40(benchmark::State &state)
{
    const TPlayers &players = squadOf(40);
    state.SetLabel(named(state).name);
    for (auto _ : state)
        benchmark::DoNotOptimize(greedyTotal(players, named(state).counts));
}

void BM_ExactLineup13(benchmark::State &state)
{
    const TPlayers &players = squadOf(13);
    for (auto _ : state)
        benchmark::DoNotOptimize(bestLineup(players, namedFormations()[4]).total);
}

void BM_ExhaustiveLineup13(benchmark::State &state)
{
    const TPlayers &players = squadOf(13);
    const double exact = bestLineup(players, namedFormations()[4]).total;
    if (std::abs(exhaustiveTotal(players, namedFormations()[4].counts) - exact) > 1e-9)
        state.SkipWithError("the exhaustive search disagrees with the exact lineup");
    for (auto _ : state)
        benchmark::DoNotOptimize(exhaustiveTotal(players, namedFormations()[4].counts));
}

// Over 1000 squads of 40 and every named formation: how often greedy is short of the exact
// lineup, and by how much (rating points over the eleven).
void BM_GreedyShortfall1000(benchmark::State &state)
{
    const std::vector<Squad> &list = squads(40, 1000);
    int cases = 0, short_ = 0;
    double shortSum = 0, shortMax = 0, exactSum = 0;
    for (auto _ : state) {
        cases = short_ = 0;
        shortSum = shortMax = exactSum = 0;
        for (const Squad &squad : list)
            for (const Formation &f : namedFormations()) {
                const double exact = bestLineup(squad.players, f).total;
                const double gap = exact - greedyTotal(squad.players, f.counts);
                if (gap < -1e-9)
                    state.SkipWithError("greedy beat the exact lineup");
                ++cases;
                exactSum += exact;
                if (gap > 1e-9) {
                    ++short_;
                    shortSum += gap;
                    shortMax = std::max(shortMax, gap);
                }
            }
    }
    state.counters["cases"] = cases;
    state.counters["short_pct"] = 100.0 * short_ / cases;
    state.counters["mean_gap_when_short"] = short_ ? shortSum / short_ : 0;
    state.counters["max_gap"] = shortMax;
    state.counters["mean_gap_pct_of_total"] = 100.0 * shortSum / exactSum;
}

} // namespace

BENCHMARK(BM_ExactLineup40)
    ->DenseRange(0, 8)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_GreedyLineup40)
    ->DenseRange(0, 8)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ExactBestFormation40)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ExactLineup13)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ExhaustiveLineup13)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_GreedyShortfall1000)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char **argv)
{
    keepLargeAllocations();
    squads(40, 1000); // the worlds are made before any timing starts
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
