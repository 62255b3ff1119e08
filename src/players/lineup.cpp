#include "players/lineup.h"

#include "Engine/errors.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <limits>
#include <optional>
#include <utility>

namespace {

constexpr int outfieldPlayers = 10;
constexpr int lineupSize = 11;

struct CountRange
{
    int low;
    int high;
    const char *what;
};

constexpr std::array<CountRange, 6> countRanges{{{1, 1, "keeper"},
                                                 {1, 3, "central defenders"},
                                                 {0, 2, "wing backs"},
                                                 {1, 3, "inner midfielders"},
                                                 {0, 2, "wingers"},
                                                 {0, 3, "forwards"}}};

std::string digits(const FormationCounts &c)
{
    return std::to_string(c[pos_central_defender] + c[pos_wingback]) + "-" +
           std::to_string(c[pos_inner_midfielder] + c[pos_winger]) + "-" +
           std::to_string(c[pos_forward]);
}

// Ratings are whole hundredths (integer weights times levels, plus half steps of form), so a
// rating scaled by 100 and rounded is exact and sums of them can be compared without tolerance.
std::int64_t hundredths(double rating)
{
    return std::llround(rating * 100.0);
}

// A score of an assignment, compared lexicographically: the total in hundredths first, then two
// parts of the id order that breaks ties. Adding componentwise keeps that order (the group
// Z^3 ordered lexicographically), so the assignment algorithm runs on it unchanged.
struct Score
{
    std::int64_t value = 0;
    std::int64_t tieHigh = 0;
    std::int64_t tieLow = 0;

    auto operator<=>(const Score &) const = default;
    Score operator+(const Score &o) const
    {
        return {value + o.value, tieHigh + o.tieHigh, tieLow + o.tieLow};
    }
    Score operator-(const Score &o) const
    {
        return {value - o.value, tieHigh - o.tieHigh, tieLow - o.tieLow};
    }
    Score operator-() const { return {-value, -tieHigh, -tieLow}; }
};

// Minimum-cost assignment of every row to a distinct column (rows <= columns), by the Hungarian
// algorithm with potentials, O(rows^2 * columns). Returns the column of each row.
template <typename CostOf> std::vector<int> assignRows(int rows, int columns, const CostOf &costOf)
{
    const Score infinite{std::numeric_limits<std::int64_t>::max(), 0, 0};
    std::vector<Score> u(std::size_t(rows) + 1), v(std::size_t(columns) + 1);
    std::vector<int> rowOf(std::size_t(columns) + 1, 0), way(std::size_t(columns) + 1, 0);
    std::vector<Score> minv(std::size_t(columns) + 1);
    std::vector<char> used(std::size_t(columns) + 1);
    for (int row = 1; row <= rows; ++row) {
        rowOf[0] = row;
        int column0 = 0;
        std::fill(minv.begin(), minv.end(), infinite);
        std::fill(used.begin(), used.end(), 0);
        do {
            used[std::size_t(column0)] = 1;
            const int row0 = rowOf[std::size_t(column0)];
            Score delta = infinite;
            int column1 = 0;
            for (int column = 1; column <= columns; ++column) {
                const auto j = std::size_t(column);
                if (used[j])
                    continue;
                const Score reduced = costOf(row0 - 1, column - 1) - u[std::size_t(row0)] - v[j];
                if (reduced < minv[j]) {
                    minv[j] = reduced;
                    way[j] = column0;
                }
                if (minv[j] < delta) {
                    delta = minv[j];
                    column1 = column;
                }
            }
            for (int column = 0; column <= columns; ++column) {
                const auto j = std::size_t(column);
                if (used[j]) {
                    u[std::size_t(rowOf[j])] = u[std::size_t(rowOf[j])] + delta;
                    v[j] = v[j] - delta;
                } else {
                    minv[j] = minv[j] - delta;
                }
            }
            column0 = column1;
        } while (rowOf[std::size_t(column0)] != 0);
        do {
            const int column1 = way[std::size_t(column0)];
            rowOf[std::size_t(column0)] = rowOf[std::size_t(column1)];
            column0 = column1;
        } while (column0 != 0);
    }
    std::vector<int> columnOf(std::size_t(rows), -1);
    for (int column = 1; column <= columns; ++column)
        if (rowOf[std::size_t(column)] != 0)
            columnOf[std::size_t(rowOf[std::size_t(column)] - 1)] = column - 1;
    return columnOf;
}

struct Candidate
{
    const Player *player;
    PositionValues at;
};

std::vector<Candidate> availablePlayers(const TPlayers &players, const LineupRequest &request)
{
    for (const auto &[id, pin] : request.pins) {
        const auto found = players.find(id);
        if (found == players.end())
            throw ERangeError("Player " + std::to_string(id) +
                              " is pinned but is not in the squad.");
        if (found->second && found->second->injury >= 0)
            throw ERangeError("Player " + std::to_string(id) +
                              " is pinned but injured, so he cannot play.");
        if (request.excluded.count(id))
            throw ERangeError("Player " + std::to_string(id) + " is both pinned and excluded.");
    }
    std::vector<Candidate> available;
    for (const auto &[id, player] : players) {
        if (!player)
            throw EInvalidPointer("The squad has no player record for id " + std::to_string(id) +
                                  ".");
        if (!availableFor(*player, request))
            continue;
        available.push_back(
            {player, positionValues(*player, request.staminaOverride, request.formOverride)});
    }
    return available;
}

// Why the pins cannot hold in this formation; empty when they can.
std::string pinProblem(const std::vector<Position> &slots, const LineupRequest &request)
{
    std::vector<std::int32_t> slotHolder(slots.size(), -1);
    std::array<int, 6> freeAt{};
    for (Position position : slots)
        ++freeAt[position];
    for (const auto &[id, pin] : request.pins) {
        if (!pin.bySlot)
            continue;
        if (pin.slot < 0 || pin.slot >= int(slots.size()))
            return "Player " + std::to_string(id) + " is pinned to slot " +
                   std::to_string(pin.slot) + ", but the slots are numbered 0 to " +
                   std::to_string(slots.size() - 1) + ".";
        std::int32_t &holder = slotHolder[std::size_t(pin.slot)];
        if (holder >= 0)
            return "Players " + std::to_string(holder) + " and " + std::to_string(id) +
                   " are both pinned to slot " + std::to_string(pin.slot) + ".";
        holder = id;
        --freeAt[slots[std::size_t(pin.slot)]];
    }
    for (const auto &[id, pin] : request.pins) {
        if (pin.bySlot)
            continue;
        if (pin.position < pos_keeper || pin.position > pos_forward)
            return "Player " + std::to_string(id) + " is pinned to an unknown position.";
        if (--freeAt[pin.position] < 0)
            return "Player " + std::to_string(id) + " is pinned to the " +
                   countRanges[pin.position].what +
                   ", but the formation has no free slot left there.";
    }
    return {};
}

struct Solved
{
    Lineup lineup;
    std::int64_t total = 0; // hundredths, without the pins' weight
};

LineupSlot filled(Position position, const Candidate &candidate)
{
    const PositionValue &best = candidate.at[position];
    return {position, best.behaviour, candidate.player, best.rating};
}

Solved solve(const std::vector<Candidate> &available, const Formation &formation,
             const std::vector<Position> &slots, const LineupRequest &request)
{
    Solved solved;
    Lineup &lineup = solved.lineup;
    lineup.formation = formation;
    for (Position position : slots)
        lineup.places.push_back({position});

    std::vector<const Candidate *> freePlayers;
    std::vector<std::optional<Position>> pinnedAt; // per free player: a position pin
    std::vector<bool> slotTaken(slots.size(), false);
    for (const Candidate &candidate : available) {
        const auto pin = request.pins.find(candidate.player->id);
        if (pin != request.pins.end() && pin->second.bySlot) {
            const auto slot = std::size_t(pin->second.slot);
            lineup.places[slot] = filled(slots[slot], candidate);
            slotTaken[slot] = true;
            continue;
        }
        freePlayers.push_back(&candidate);
        pinnedAt.push_back(pin != request.pins.end() ? std::optional(pin->second.position)
                                                     : std::nullopt);
    }
    std::vector<std::size_t> freeSlots;
    for (std::size_t slot = 0; slot < slots.size(); ++slot)
        if (!slotTaken[slot])
            freeSlots.push_back(slot);

    const auto n = std::int64_t(freePlayers.size());
    const auto m = int(freeSlots.size());
    // Each tie part holds the ranks of up to six slots as digits in base n + 1; the limit keeps
    // the potentials of the algorithm far inside 64 bits.
    if (n > 500)
        throw ERangeError("A lineup is chosen from at most 500 available players, not " +
                          std::to_string(n) + ".");
    std::array<std::int64_t, lineupSize> digitWeight{};
    for (int k = 0; k < m; ++k) {
        digitWeight[std::size_t(k)] = 1;
        for (int e = 0; e < (k < 6 ? 5 - k : 10 - k); ++e)
            digitWeight[std::size_t(k)] *= n + 1;
    }
    // Far above any difference of ratings: a pinned player always stands at his position.
    constexpr std::int64_t pinWeight = 1'000'000'000;
    const auto gain = [&](int player, int freeSlot) {
        const Candidate &candidate = *freePlayers[std::size_t(player)];
        const Position position = slots[freeSlots[std::size_t(freeSlot)]];
        Score score{candidate.at[position].hundredths, 0, 0};
        if (const auto &pinned = pinnedAt[std::size_t(player)])
            score.value += *pinned == position ? pinWeight : -pinWeight;
        // Lower ids are lower ranks and get the larger digit; an empty slot adds nothing.
        const std::int64_t tie = (n - player) * digitWeight[std::size_t(freeSlot)];
        (freeSlot < 6 ? score.tieHigh : score.tieLow) = tie;
        return score;
    };

    const auto place = [&](int player, int freeSlot) {
        const std::size_t slot = freeSlots[std::size_t(freeSlot)];
        lineup.places[slot] = filled(slots[slot], *freePlayers[std::size_t(player)]);
    };
    if (n >= m) {
        const std::vector<int> playerOf =
            assignRows(m, int(n), [&](int slot, int player) { return -gain(player, slot); });
        for (int slot = 0; slot < m; ++slot)
            place(playerOf[std::size_t(slot)], slot);
    } else {
        const std::vector<int> slotOf =
            assignRows(int(n), m, [&](int player, int slot) { return -gain(player, slot); });
        for (int player = 0; player < int(n); ++player)
            place(player, slotOf[std::size_t(player)]);
    }

    for (const LineupSlot &slot : lineup.places) {
        if (!slot.player) {
            ++lineup.emptySlots;
            continue;
        }
        solved.total += hundredths(slot.value);
    }
    lineup.total = double(solved.total) / 100.0;
    return solved;
}

} // namespace

bool availableFor(const Player &player, const LineupRequest &request)
{
    return player.injury < 0 && !request.excluded.count(player.id);
}

void checkFormation(const FormationCounts &counts)
{
    int outfield = 0;
    for (std::size_t position = 0; position < counts.size(); ++position) {
        const CountRange &range = countRanges[position];
        if (counts[position] < range.low || counts[position] > range.high)
            throw ERangeError("A formation has " + std::to_string(range.low) + " to " +
                              std::to_string(range.high) + " " + range.what + ", not " +
                              std::to_string(counts[position]) + ".");
        if (position != pos_keeper)
            outfield += counts[position];
    }
    if (outfield != outfieldPlayers)
        throw ERangeError("A formation has ten outfield players, not " + std::to_string(outfield) +
                          ".");
}

PositionValues positionValues(const Player &player, std::int8_t staminaOverride,
                              std::int8_t formOverride)
{
    PositionValues values;
    std::array<bool, 6> seen{};
    for (const RatedPosition &rated : ratedPositions()) {
        const auto position = std::size_t(rated.position.position);
        const double rating = player.positionRating(rated.position, staminaOverride, formOverride);
        PositionValue &best = values[position];
        // The table's first behaviour wins an equal rating.
        if (!seen[position] || hundredths(rating) > best.hundredths) {
            best = {Behaviour(rated.position.behaviour), rating, hundredths(rating)};
            seen[position] = true;
        }
    }
    return values;
}

const std::vector<Formation> &namedFormations()
{
    // clang-format off
    static const std::vector<Formation> named{
        {"5-5-0", {1, 3, 2, 3, 2, 0}},
        {"5-4-1", {1, 3, 2, 2, 2, 1}},
        {"5-3-2", {1, 3, 2, 3, 0, 2}},
        {"4-5-1", {1, 2, 2, 3, 2, 1}},
        {"4-4-2", {1, 2, 2, 2, 2, 2}},
        {"4-3-3", {1, 2, 2, 3, 0, 3}},
        {"3-5-2", {1, 3, 0, 3, 2, 2}},
        {"3-4-3", {1, 3, 0, 2, 2, 3}},
        {"2-5-3", {1, 2, 0, 3, 2, 3}},
    };
    // clang-format on
    return named;
}

const std::vector<Formation> &allFormations()
{
    static const std::vector<Formation> all = [] {
        std::vector<Formation> made = namedFormations();
        FormationCounts c{1, 0, 0, 0, 0, 0};
        for (c[1] = countRanges[1].low; c[1] <= countRanges[1].high; ++c[1])
            for (c[2] = countRanges[2].low; c[2] <= countRanges[2].high; ++c[2])
                for (c[3] = countRanges[3].low; c[3] <= countRanges[3].high; ++c[3])
                    for (c[4] = countRanges[4].low; c[4] <= countRanges[4].high; ++c[4]) {
                        c[5] = outfieldPlayers - c[1] - c[2] - c[3] - c[4];
                        if (c[5] < countRanges[5].low || c[5] > countRanges[5].high)
                            continue;
                        const bool isNamed =
                            std::any_of(made.begin(), made.end(),
                                        [&](const Formation &f) { return f.counts == c; });
                        if (isNamed)
                            continue;
                        made.push_back({"any " + digits(c) + " (" + std::to_string(c[1]) + "+" +
                                            std::to_string(c[2]) + ", " + std::to_string(c[3]) +
                                            "+" + std::to_string(c[4]) + ", " +
                                            std::to_string(c[5]) + ")",
                                        c});
                    }
        return made;
    }();
    return all;
}

std::vector<Position> formationSlots(const FormationCounts &counts)
{
    checkFormation(counts);
    std::vector<Position> slots;
    for (std::size_t position = 0; position < counts.size(); ++position)
        slots.insert(slots.end(), std::size_t(counts[position]), Position(position));
    return slots;
}

Lineup bestLineup(const TPlayers &players, const Formation &formation, const LineupRequest &request)
{
    const std::vector<Position> slots = formationSlots(formation.counts);
    const std::vector<Candidate> available = availablePlayers(players, request);
    if (const std::string problem = pinProblem(slots, request); !problem.empty())
        throw ERangeError(problem);
    return solve(available, formation, slots, request).lineup;
}

Lineup bestFormationLineup(const TPlayers &players, const LineupRequest &request)
{
    const std::vector<Candidate> available = availablePlayers(players, request);
    std::optional<Solved> best;
    std::string firstProblem;
    for (const Formation &formation : allFormations()) {
        const std::vector<Position> slots = formationSlots(formation.counts);
        if (const std::string problem = pinProblem(slots, request); !problem.empty()) {
            if (firstProblem.empty())
                firstProblem = problem;
            continue;
        }
        Solved solved = solve(available, formation, slots, request);
        if (!best || solved.total > best->total)
            best = std::move(solved);
    }
    if (!best)
        throw ERangeError("No formation can hold the pins: " + firstProblem);
    return best->lineup;
}
