#include "players/weights.h"

#include <initializer_list>
#include <iterator>
#include <utility>

namespace {

struct WeightRow
{
    Position position;
    Behaviour behaviour;
    const char *column;
    const char *caption;
    std::initializer_list<std::pair<Ability, std::int32_t>> weights;
};

// Every pair's weights add up to 100.
// clang-format off
const WeightRow weightTable[] = {
    {pos_keeper, beh_normal, "pos_keeper", "G", {{ab_goaltending, 100}}},
    {pos_central_defender, beh_normal, "pos_central_defender", "D", {{ab_stamina, 10}, {ab_defending, 90}}},
    {pos_central_defender, beh_towards_wing, "pos_central_defender_towards_wing", "DTW", {{ab_stamina, 10}, {ab_defending, 70}, {ab_winger, 20}}},
    {pos_central_defender, beh_offensive, "pos_central_defender_offensive", "DO", {{ab_stamina, 20}, {ab_defending, 50}, {ab_playmaking, 30}}},
    {pos_wingback, beh_normal, "pos_wingback", "WB", {{ab_stamina, 10}, {ab_defending, 60}, {ab_winger, 30}}},
    {pos_wingback, beh_defensive, "pos_wingback_defensive", "WBD", {{ab_stamina, 10}, {ab_defending, 70}, {ab_winger, 20}}},
    {pos_wingback, beh_towards_middle, "pos_wingback_towards_middle", "WBTM", {{ab_stamina, 10}, {ab_defending, 75}, {ab_winger, 15}}},
    {pos_wingback, beh_offensive, "pos_wingback_offensive", "WBO", {{ab_stamina, 10}, {ab_defending, 50}, {ab_winger, 40}}},
    {pos_inner_midfielder, beh_normal, "pos_inner_midfielder", "M",
     {{ab_stamina, 30}, {ab_defending, 10}, {ab_playmaking, 50}, {ab_passing, 10}}},
    {pos_inner_midfielder, beh_defensive, "pos_inner_midfielder_defensive", "MD",
     {{ab_stamina, 25}, {ab_defending, 20}, {ab_playmaking, 50}, {ab_passing, 5}}},
    {pos_inner_midfielder, beh_towards_wing, "pos_inner_midfielder_towards_wing", "MTW",
     {{ab_stamina, 20}, {ab_defending, 10}, {ab_playmaking, 50}, {ab_winger, 20}}},
    {pos_inner_midfielder, beh_offensive, "pos_inner_midfielder_offensive", "MO",
     {{ab_stamina, 25}, {ab_defending, 10}, {ab_playmaking, 50}, {ab_passing, 15}}},
    {pos_winger, beh_normal, "pos_winger", "W",
     {{ab_stamina, 10}, {ab_defending, 10}, {ab_playmaking, 20}, {ab_winger, 50}, {ab_passing, 10}}},
    {pos_winger, beh_defensive, "pos_winger_defensive", "WD",
     {{ab_stamina, 10}, {ab_defending, 30}, {ab_playmaking, 20}, {ab_winger, 40}}},
    {pos_winger, beh_towards_middle, "pos_winger_towards_middle", "WTM",
     {{ab_stamina, 20}, {ab_defending, 10}, {ab_playmaking, 40}, {ab_winger, 20}, {ab_passing, 10}}},
    {pos_winger, beh_offensive, "pos_winger_offensive", "WO",
     {{ab_stamina, 10}, {ab_playmaking, 30}, {ab_winger, 50}, {ab_passing, 10}}},
    {pos_forward, beh_normal, "pos_forward", "F", {{ab_stamina, 10}, {ab_scoring, 70}, {ab_passing, 20}}},
    {pos_forward, beh_defensive, "pos_forward_defensive", "FD", {{ab_stamina, 20}, {ab_playmaking, 30}, {ab_scoring, 50}}},
};
// clang-format on

BehaviouredPosition pair(Position position, Behaviour behaviour)
{
    return {std::int8_t(position), std::int8_t(behaviour)};
}

} // namespace

Weights::Weights()
{
    for (const WeightRow &row : weightTable) {
        AbilityWeights &entry = weights[pair(row.position, row.behaviour)];
        for (const auto &[ability, percent] : row.weights)
            entry[ability] = percent;
    }
}

AbilityWeights &Weights::weightsFor(BehaviouredPosition position)
{
    return weights[position];
}

Weights &sharedWeights()
{
    static Weights table;
    return table;
}

const std::array<RatedPosition, 18> &ratedPositions()
{
    static const std::array<RatedPosition, 18> pairs = [] {
        std::array<RatedPosition, 18> made{};
        static_assert(std::size(weightTable) == made.size());
        for (std::size_t i = 0; i < made.size(); ++i) {
            const WeightRow &row = weightTable[i];
            made[i] = {pair(row.position, row.behaviour), row.column, row.caption};
        }
        return made;
    }();
    return pairs;
}
