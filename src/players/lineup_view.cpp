#include "players/lineup_view.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr double keeperLine = 0.9;
constexpr double defenceLine = 0.68;
constexpr double midfieldLine = 0.43;
constexpr double forwardLine = 0.17;
constexpr double leftTouchline = 0.1;
constexpr double rightTouchline = 0.9;

// `count` players spread round the middle of a line, left to right: two stand wider apart than
// three, so the line keeps even gaps to the touchline players.
double centralX(int index, int count)
{
    const double spacing = count == 2 ? 0.3 : 0.2;
    return 0.5 + (index - (count - 1) / 2.0) * spacing;
}

// A wide position's spot: the first at the left touchline, the second at the right.
double wideX(int index)
{
    return index == 0 ? leftTouchline : rightTouchline;
}

bool better(const LineupSlot &a, const LineupSlot &b)
{
    if (a.value != b.value)
        return a.value > b.value;
    return a.player->id < b.player->id;
}

std::string twoDecimals(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

} // namespace

std::vector<PitchSpot> pitchSpots(const FormationCounts &counts)
{
    std::vector<PitchSpot> spots;
    std::array<int, 6> seen{};
    for (Position position : formationSlots(counts)) {
        const int index = seen[position]++;
        const int count = counts[position];
        switch (position) {
        case pos_keeper:
            spots.push_back({0.5, keeperLine});
            break;
        case pos_central_defender:
            spots.push_back({centralX(index, count), defenceLine});
            break;
        case pos_wingback:
            spots.push_back({wideX(index), defenceLine - 0.03});
            break;
        case pos_inner_midfielder:
            spots.push_back({centralX(index, count), midfieldLine});
            break;
        case pos_winger:
            spots.push_back({wideX(index), midfieldLine - 0.03});
            break;
        case pos_forward:
            spots.push_back({0.5 + (index - (count - 1) / 2.0) * 0.25, forwardLine});
            break;
        }
    }
    return spots;
}

double narrowestGap(const std::vector<PitchSpot> &spots)
{
    double gap = 1.0;
    for (std::size_t i = 0; i < spots.size(); ++i)
        for (std::size_t j = i + 1; j < spots.size(); ++j)
            if (std::abs(spots[i].y - spots[j].y) < 0.1)
                gap = std::min(gap, std::abs(spots[i].x - spots[j].x));
    return gap;
}

const char *positionWord(Position position)
{
    static const char *const words[] = {"keeper",           "central defender", "wing back",
                                        "inner midfielder", "winger",           "forward"};
    return position <= pos_forward ? words[position] : "";
}

const char *behaviourCaption(Position position, Behaviour behaviour)
{
    for (const RatedPosition &rated : ratedPositions())
        if (rated.position.position == position && rated.position.behaviour == behaviour)
            return rated.caption;
    return "";
}

std::vector<LineupSlot> candidatesAt(const TPlayers &players, Position position,
                                     const LineupRequest &request)
{
    std::vector<LineupSlot> candidates;
    for (const auto &[id, player] : players) {
        if (!player || !availableFor(*player, request))
            continue;
        const PositionValue best =
            positionValues(*player, request.staminaOverride, request.formOverride)[position];
        candidates.push_back({position, best.behaviour, player, best.rating});
    }
    std::sort(candidates.begin(), candidates.end(), better);
    return candidates;
}

std::vector<LineupSlot> substitutes(const TPlayers &players, const Lineup &lineup,
                                    const LineupRequest &request)
{
    std::set<std::int32_t> taken;
    for (const LineupSlot &place : lineup.places)
        if (place.player)
            taken.insert(place.player->id);
    std::vector<LineupSlot> bench;
    for (int position = pos_keeper; position <= pos_forward; ++position) {
        for (const LineupSlot &candidate : candidatesAt(players, Position(position), request)) {
            if (taken.insert(candidate.player->id).second) {
                bench.push_back(candidate);
                break;
            }
        }
    }
    return bench;
}

void LineupChoices::pin(std::int32_t id, PinnedPlace place)
{
    // One player per place: whoever was pinned there gives way.
    if (place.ordinal >= 0)
        std::erase_if(pins_, [&](const auto &entry) {
            return entry.second.position == place.position && entry.second.ordinal == place.ordinal;
        });
    pins_[id] = place;
    excluded_.erase(id);
}

void LineupChoices::unpin(std::int32_t id)
{
    pins_.erase(id);
}

void LineupChoices::leaveOut(std::int32_t id)
{
    pins_.erase(id);
    excluded_.insert(id);
}

void LineupChoices::takeBack(std::int32_t id)
{
    excluded_.erase(id);
}

void LineupChoices::clear()
{
    pins_.clear();
    excluded_.clear();
}

int slotIndex(const FormationCounts &counts, PinnedPlace place)
{
    if (place.position > pos_forward || place.ordinal < 0 ||
        place.ordinal >= counts[place.position])
        return -1;
    int index = 0;
    for (int position = pos_keeper; position < place.position; ++position)
        index += counts[std::size_t(position)];
    return index + place.ordinal;
}

PinnedPlace placeOfSlot(const FormationCounts &counts, int slot)
{
    for (int position = pos_keeper; position <= pos_forward; ++position) {
        if (slot < counts[std::size_t(position)])
            return {Position(position), slot};
        slot -= counts[std::size_t(position)];
    }
    return {pos_keeper, -1};
}

LineupRequest LineupChoices::request(const TPlayers &players, const FormationCounts *counts,
                                     std::int8_t staminaOverride, std::int8_t formOverride,
                                     std::vector<std::int32_t> *dropped) const
{
    LineupRequest request;
    request.staminaOverride = staminaOverride;
    request.formOverride = formOverride;
    // A player no longer in the squad is simply not there to leave out.
    for (std::int32_t id : excluded_)
        if (players.count(id))
            request.excluded.insert(id);
    std::array<int, 6> freeAt{};
    if (counts)
        freeAt = *counts;
    const auto drop = [&](std::int32_t id) {
        if (dropped)
            dropped->push_back(id);
    };
    std::vector<std::pair<std::int32_t, Position>> byPosition;
    for (const auto &[id, place] : pins_) {
        const auto found = players.find(id);
        if (found == players.end() || !found->second || found->second->injury >= 0) {
            drop(id);
            continue;
        }
        if (!counts) {
            request.pins.emplace(id, LineupPin::toPosition(place.position));
            continue;
        }
        const int slot = slotIndex(*counts, place);
        if (slot >= 0) {
            request.pins.emplace(id, LineupPin::toSlot(slot));
            --freeAt[place.position];
        } else {
            byPosition.emplace_back(id, place.position);
        }
    }
    // A place beyond this formation's line keeps its position while one is free there.
    for (const auto &[id, position] : byPosition) {
        if (freeAt[position] > 0) {
            request.pins.emplace(id, LineupPin::toPosition(position));
            --freeAt[position];
        } else {
            drop(id);
        }
    }
    return request;
}

std::string lineupTotalText(const Lineup &lineup, int availablePlayers)
{
    std::string text =
        "Total " + twoDecimals(lineup.total) + ": the sum of the " +
        (lineup.complete()
             ? std::string("eleven")
             : std::to_string(lineup.places.size() - std::size_t(lineup.emptySlots))) +
        " players' contribution ratings, not a match prediction.";
    if (!lineup.complete())
        text += " " + std::to_string(lineup.emptySlots) +
                (lineup.emptySlots == 1 ? " place stays" : " places stay") + " empty: only " +
                std::to_string(availablePlayers) +
                (availablePlayers == 1 ? " player is" : " players are") + " available.";
    return text;
}
