#pragma once

#include "players/player.h"

#include <cstdint>
#include <map>

// A level value; here the form level 1..8.
using PlayerAbilityValue = std::uint8_t;
// Estimated goaltending level by skill index, ascending.
using TSI_GoalTending = std::map<std::int32_t, double>;
// One row of estimates per form level.
using KeeperMatrix = std::map<PlayerAbilityValue, TSI_GoalTending>;

// Estimates a keeper's goaltending from his skill index and form alone, by the game's fixed
// table of 8 forms by 22 skill index points.
class Keeper : public Player
{
public:
    explicit Keeper(std::int32_t id);

    // The table's estimate cut to hundredths, interpolated between points and growing in
    // proportion to the skill index above the last one. A form without a row (unknown, 0,
    // above 8) or a negative skill index has no estimate: the result is NaN.
    double estimateGoaltending(PlayerAbilityValue form, std::int32_t skillIndex) const;

    KeeperMatrix matrix;
};

// The one table of the program, made on first use and kept to the end.
Keeper &sharedKeeper();
