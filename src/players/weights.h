#pragma once

#include "players/player.h"

#include <array>
#include <cstdint>
#include <map>

enum Position : std::uint8_t {
    pos_keeper = 0,
    pos_central_defender = 1,
    pos_wingback = 2,
    pos_inner_midfielder = 3,
    pos_winger = 4,
    pos_forward = 5
};

enum Behaviour : std::uint8_t {
    beh_normal = 0,
    beh_offensive = 1,
    beh_defensive = 2,
    beh_towards_middle = 3,
    beh_towards_wing = 4
};

// A position played with a behaviour; as a key it orders by position, then behaviour.
struct BehaviouredPosition
{
    std::int8_t position;
    std::int8_t behaviour;

    auto operator<=>(const BehaviouredPosition &) const = default;
};

// Percent per ability; an ability without an entry weighs 0.
using AbilityWeights = std::map<Ability, std::int32_t>;
using PositionAbilityWeights = std::map<BehaviouredPosition, AbilityWeights>;

// The game's fixed table of how much each ability counts at each position and behaviour.
class Weights
{
public:
    Weights();

    // The pair's weights; a pair the table lacks gets an empty entry.
    AbilityWeights &weightsFor(BehaviouredPosition position);

    PositionAbilityWeights weights;
};

// The one table of the program, made on first use and kept to the end.
Weights &sharedWeights();

// A rated pair with the player list's column and caption for it.
struct RatedPosition
{
    BehaviouredPosition position;
    const char *column;
    const char *caption;
};

// The 18 pairs of the table, in the table's order.
const std::array<RatedPosition, 18> &ratedPositions();
