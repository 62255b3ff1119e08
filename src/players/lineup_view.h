#pragma once

#include "players/lineup.h"

#include <map>
#include <set>
#include <string>
#include <vector>

// What the Lineup page shows beside the solver's answer, as plain values: where each place
// stands on the pitch, the words for positions and behaviours, the bench, and the user's pins
// kept in a form that survives a change of formation.

// A place on the pitch in fractions of it: x from the left touchline, y from the opponents'
// goal line, so the keeper stands at the bottom.
struct PitchSpot
{
    double x;
    double y;
};

// One spot per place of formationSlots(counts), in that order. Each line puts its central
// players in the middle and its wing backs or wingers at the touchlines, the first on the left.
std::vector<PitchSpot> pitchSpots(const FormationCounts &counts);

// The smallest distance across between two spots of one line (1 for lines of one).
double narrowestGap(const std::vector<PitchSpot> &spots);

// "keeper", "central defender", ... by `Position`.
const char *positionWord(Position position);
// The position and behaviour's caption in the player list ("DTW"); "" for a pair the table lacks.
const char *behaviourCaption(Position position, Behaviour behaviour);

// The best player left at each position, keeper to forward: not on the pitch, not injured, not
// left out, not already on the bench; the higher rating first, the lower id on equal ratings.
// A position with nobody left gets no entry.
std::vector<LineupSlot> substitutes(const TPlayers &players, const Lineup &lineup,
                                    const LineupRequest &request);

// Who can be put in a place of a position: every available player (not injured, not left out)
// with his best behaviour and rating there, the best first, the lower id on equal ratings.
std::vector<LineupSlot> candidatesAt(const TPlayers &players, Position position,
                                     const LineupRequest &request);

// Where the user pinned a player: the ordinal-th place of a position (counted from the left of
// its line), or any place of it (ordinal -1).
struct PinnedPlace
{
    Position position;
    int ordinal = -1;
};

// The user's choices for the Lineup page, independent of the formation shown.
class LineupChoices
{
public:
    void pin(std::int32_t id, PinnedPlace place);
    void unpin(std::int32_t id);
    void leaveOut(std::int32_t id);
    void takeBack(std::int32_t id);
    void clear();

    bool pinned(std::int32_t id) const { return pins_.count(id) != 0; }
    const std::set<std::int32_t> &leftOut() const { return excluded_; }
    bool empty() const { return pins_.empty() && excluded_.empty(); }

    // The solver's request for a formation (none: any formation, so pins keep the position
    // only). A pin whose position the formation lacks is not in the request; its player's id
    // is added to `dropped`.
    // A pin of a player who is no longer in the squad or is injured is dropped the same way.
    LineupRequest request(const TPlayers &players, const FormationCounts *counts,
                          std::int8_t staminaOverride, std::int8_t formOverride,
                          std::vector<std::int32_t> *dropped) const;

private:
    std::map<std::int32_t, PinnedPlace> pins_;
    std::set<std::int32_t> excluded_;
};

// The place's index in formationSlots(counts) of the ordinal-th place of its position; -1 when
// the formation has no such place.
int slotIndex(const FormationCounts &counts, PinnedPlace place);
// The reverse: which place of its position a slot index is.
PinnedPlace placeOfSlot(const FormationCounts &counts, int slot);

// "Total 104.35: the sum of the eleven players' contribution ratings, not a match prediction."
// and, with empty places, what they are for.
std::string lineupTotalText(const Lineup &lineup, int availablePlayers);
