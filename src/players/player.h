#pragma once

#include "Engine/datetime.h"
#include "Engine/kstring.h"

#include <cstdint>

struct BehaviouredPosition;

// What is known of one footballer. Levels, traits and form use -1 for unknown.
class Player
{
public:
    explicit Player(std::int32_t id);

    // The contribution rating at a position and behaviour, unrounded. An override of 0 or more
    // stands in for the player's own stamina or form; -1 leaves the player's own value.
    double positionRating(BehaviouredPosition position, std::int8_t staminaOverride,
                          std::int8_t formOverride) const;

    std::int32_t id;
    kstring name;
    std::int32_t age = 0;
    std::int32_t form = -1;
    std::int32_t injury = -1; // -1: not injured
    std::int32_t value = 0;   // the skill index (TSI)
    std::int32_t wage = 0;
    std::int32_t experience = 0;
    std::int32_t leadership = 0;
    std::int8_t speciality = -1;
    std::int8_t gentleness = -1;
    std::int8_t aggressivity = -1;
    std::int8_t honesty = -1;
    // The eight skill levels stand together in this order; the abilities panel relies on it.
    std::int8_t stamina = -1;
    std::int8_t playmaking = -1;
    std::int8_t winger = -1;
    std::int8_t scoring = -1;
    std::int8_t goaltending = -1;
    std::int8_t passing = -1;
    std::int8_t defending = -1;
    std::int8_t setpieces = -1;
    double stars = -1.0; // not above -1: unknown
    std::int32_t bid = 0;
    kstring bidder;
    TDateTime deadline = 0.0;
    bool marked = false;
};

// The skills that carry weight in a rating; set pieces carry none.
enum Ability : std::uint8_t {
    ab_stamina = 0,
    ab_goaltending = 1,
    ab_defending = 2,
    ab_playmaking = 3,
    ab_scoring = 4,
    ab_winger = 5,
    ab_passing = 6
};

// The game's word for a level 1..20; "?" for -1, "invalid" for anything else.
kstring levelWord(std::int8_t level);
// The word for a speciality code 1..5; "?" for -1, empty for none or an unknown code.
kstring specialityWord(std::int8_t code);
