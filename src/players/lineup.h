#pragma once

#include "players/team.h"
#include "players/weights.h"

#include <array>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

// How many players stand at each position, indexed by `Position`: always one keeper and ten
// outfield players, 1-3 central defenders, 0-2 wing backs, 1-3 inner midfielders, 0-2 wingers
// and 0-3 forwards.
using FormationCounts = std::array<int, 6>;

struct Formation
{
    // "4-4-2" for a named formation, "any 4-4-2 (3+1, 3+1, 2)" for the other splits.
    std::string name;
    FormationCounts counts;

    bool operator==(const Formation &) const = default;
};

// The usual formations, by name. The digits count defenders (central defenders + wing backs),
// midfielders (inner midfielders + wingers) and forwards:
//   5-5-0  3+2, 3+2, 0     4-5-1  2+2, 3+2, 1     3-5-2  3+0, 3+2, 2
//   5-4-1  3+2, 2+2, 1     4-4-2  2+2, 2+2, 2     3-4-3  3+0, 2+2, 3
//   5-3-2  3+2, 3+0, 2     4-3-3  2+2, 3+0, 3     2-5-3  2+0, 3+2, 3
const std::vector<Formation> &namedFormations();
// Every split the ranges allow: the named ones first, in the order above, then the others in
// ascending order of their counts (central defenders first). "Best formation" walks this order.
const std::vector<Formation> &allFormations();
// Throws ERangeError, saying which count is wrong, unless the counts make a formation.
void checkFormation(const FormationCounts &counts);

// A player's best behaviour at a position, and its rating there.
struct PositionValue
{
    Behaviour behaviour = beh_normal;
    double rating = 0.0;
    std::int64_t hundredths = 0; // the rating as a whole number of hundredths, compared exactly
};
using PositionValues = std::array<PositionValue, 6>;

// His value at each position (by `Position`): the best rating over the position's behaviours at
// the given overrides (-1: his own level), the table's first behaviour on equal ratings.
PositionValues positionValues(const Player &player, std::int8_t staminaOverride,
                              std::int8_t formOverride);

// The formation's eleven slots: the keeper first, then each position's slots in position order.
std::vector<Position> formationSlots(const FormationCounts &counts);

// Keeps a player in one slot of the lineup, or at one of a position's slots.
struct LineupPin
{
    static LineupPin toSlot(int slot) { return {true, slot, pos_keeper}; }
    static LineupPin toPosition(Position position) { return {false, -1, position}; }

    bool bySlot;
    int slot;          // when bySlot: an index into the formation's slots
    Position position; // when not bySlot
};

struct LineupRequest
{
    // As the player list's track bars give them; -1 leaves each player's own value.
    std::int8_t staminaOverride = -1;
    std::int8_t formOverride = -1;
    std::set<std::int32_t> excluded;
    std::map<std::int32_t, LineupPin> pins;
};

struct LineupSlot
{
    Position position;
    Behaviour behaviour = beh_normal; // the player's best behaviour here
    const Player *player = nullptr;   // nullptr: the slot stays empty
    double value = 0.0;               // the player's rating with that behaviour; 0 when empty
};

struct Lineup
{
    Formation formation;
    std::vector<LineupSlot> places; // in the order of formationSlots (not "slots": a Qt keyword)
    double total = 0.0;             // the sum of the slots' values
    int emptySlots = 0;             // slots left empty for want of available players

    bool complete() const { return emptySlots == 0; }
};

// Whether the player may stand in a lineup: not injured (injury -1) and not left out.
bool availableFor(const Player &player, const LineupRequest &request);

// The lineup with the highest total for this formation, exactly. Injured players (injury 0 or
// more) and excluded players are left out; pinned players stand where they are pinned. A player's
// value in a slot is his best rating over the position's behaviours, the first in the table's
// order on equal ratings.
//
// Equal totals go to the lineup whose player ids, read in slot order, are smallest
// lexicographically (an empty slot counts as after every id). This is exact, not a tolerance:
// ratings are whole hundredths, so totals are compared as integers and the id order is a second,
// lower-ranking integer score of the same assignment.
//
// Throws ERangeError for a formation outside the ranges, and for a pin that cannot hold: to an
// unknown, injured or excluded player, to a slot out of range or already pinned, or to a position
// with no free slot left. Throws EInvalidPointer for a null player.
Lineup bestLineup(const TPlayers &players, const Formation &formation,
                  const LineupRequest &request = {});

// The best lineup over allFormations(); equal totals keep the formation that comes first. A
// formation where the pins cannot hold is skipped; when none can, throws ERangeError.
Lineup bestFormationLineup(const TPlayers &players, const LineupRequest &request = {});
