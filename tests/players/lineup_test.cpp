#include "Engine/errors.h"
#include "players/lineup.h"
#include "players/lineup_view.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <memory>
#include <random>
#include <set>
#include <tuple>

namespace {

struct Squad
{
    std::vector<std::unique_ptr<Player>> owned; // in the order made, not by id
    TPlayers players;
    Player &add(std::int32_t id)
    {
        owned.push_back(std::make_unique<Player>(id));
        return *(players[id] = owned.back().get());
    }
};

Squad randomSquad(unsigned seed, int size)
{
    std::mt19937 rng(seed);
    Squad squad;
    for (int i = 0; i < size; ++i) {
        Player &p = squad.add(int(rng() % 900) * 10 + i);
        for (auto *level : {&p.stamina, &p.playmaking, &p.winger, &p.scoring, &p.goaltending,
                            &p.passing, &p.defending})
            *level = std::int8_t(1 + rng() % 18);
        p.form = int(rng() % 9) - 1;
    }
    return squad;
}

double valueAt(const Player &p, Position position, const LineupRequest &r)
{
    double best = -1e9;
    for (const RatedPosition &rated : ratedPositions())
        if (rated.position.position == position)
            best =
                std::max(best, p.positionRating(rated.position, r.staminaOverride, r.formOverride));
    return best;
}

// The best total over every assignment of distinct players to the slots, slot by slot over the
// sets of players used so far; a slot stays empty only when too few players remain for it.
double exhaustiveTotal(const Squad &squad, const FormationCounts &counts, const LineupRequest &r)
{
    std::vector<const Player *> ps;
    for (const auto &[id, p] : squad.players)
        if (p->injury < 0 && !r.excluded.count(id))
            ps.push_back(p);
    const std::vector<Position> slots = formationSlots(counts);
    const std::size_t n = ps.size();
    std::vector<std::array<double, 6>> value(n);
    for (std::size_t p = 0; p < n; ++p)
        for (int position = 0; position < 6; ++position)
            value[p][std::size_t(position)] = valueAt(*ps[p], Position(position), r);
    const auto allowed = [&](std::size_t p, std::size_t s) {
        for (const auto &[id, pin] : r.pins)
            if (id == ps[p]->id ? !(pin.bySlot ? pin.slot == int(s) : pin.position == slots[s])
                                : pin.bySlot && pin.slot == int(s))
                return false;
        return true;
    };
    std::size_t pinned = 0;
    for (std::size_t p = 0; p < n; ++p)
        pinned |= r.pins.count(ps[p]->id) << p;
    std::vector<double> layer(std::size_t(1) << n, -1e9);
    layer[0] = 0;
    for (std::size_t s = 0; s < slots.size(); ++s) {
        std::vector<double> next(layer.size(), -1e9);
        for (std::size_t mask = 0; mask < layer.size(); ++mask) {
            if (n - std::size_t(std::popcount(mask)) < slots.size() - s)
                next[mask] = std::max(next[mask], layer[mask]);
            for (std::size_t p = 0; p < n; ++p)
                if (!(mask >> p & 1) && allowed(p, s))
                    next[mask | 1u << p] =
                        std::max(next[mask | 1u << p], layer[mask] + value[p][slots[s]]);
        }
        layer = std::move(next);
    }
    double best = -1e9;
    for (std::size_t mask = 0; mask < layer.size(); ++mask)
        if (std::size_t(std::popcount(mask)) == std::min(n, slots.size()) &&
            (mask & pinned) == pinned)
            best = std::max(best, layer[mask]);
    return best;
}

void expectSound(const Lineup &l, const Squad &squad, const LineupRequest &r)
{
    ASSERT_NEAR(l.total, exhaustiveTotal(squad, l.formation.counts, r), 1e-9) << l.formation.name;
    double sum = 0;
    for (const LineupSlot &s : l.places) {
        EXPECT_TRUE(!s.player || (s.player->injury < 0 && !r.excluded.count(s.player->id)));
        if (s.player) {
            EXPECT_EQ(s.value, valueAt(*s.player, s.position, r));
            EXPECT_EQ(s.value,
                      s.player->positionRating({std::int8_t(s.position), std::int8_t(s.behaviour)},
                                               r.staminaOverride, r.formOverride));
        }
        sum += s.value;
    }
    EXPECT_NEAR(sum, l.total, 1e-9);
    for (const auto &[id, pin] : r.pins) {
        const auto at = std::find_if(l.places.begin(), l.places.end(),
                                     [&](auto &s) { return s.player && s.player->id == id; });
        ASSERT_NE(at, l.places.end()) << id;
        EXPECT_TRUE(pin.bySlot ? at - l.places.begin() == pin.slot : at->position == pin.position);
    }
}

TEST(LineupFormations, AreEveryValidSplitOnceNamedFirst)
{
    const auto &all = allFormations();
    for (int code = 0; code < 1024; ++code) {
        const FormationCounts c{1,         code % 4, code / 4 % 4, code / 16 % 4, code / 64 % 4,
                                code / 256};
        const bool valid =
            c[2] <= 2 && c[4] <= 2 && c[1] && c[3] && c[1] + c[2] + c[3] + c[4] + c[5] == 10;
        const auto found =
            std::find_if(all.begin(), all.end(), [&](auto &f) { return f.counts == c; });
        ASSERT_EQ(found != all.end(), valid) << code;
        EXPECT_EQ(std::count(all.begin(), all.end(), valid ? *found : Formation{}), valid);
        if (valid) {
            EXPECT_EQ(found->name.find(std::to_string(c[1] + c[2]) + "-" +
                                       std::to_string(c[3] + c[4]) + "-" + std::to_string(c[5])),
                      std::size_t(found - all.begin()) < namedFormations().size() ? 0 : 4);
        } else {
            EXPECT_THROW(checkFormation(c), ERangeError);
        }
    }
    EXPECT_TRUE(std::equal(namedFormations().begin(), namedFormations().end(), all.begin()));
    EXPECT_THROW(checkFormation({2, 2, 2, 2, 1, 2}), ERangeError); // two keepers
}

TEST(LineupSolver, EqualsExhaustiveSearchWithPinsExclusionsAndInjuries)
{
    using P = LineupPin;
    const struct
    {
        int size, stamina, form;
        std::vector<int> excluded, injured;          // indexes into the squad
        std::vector<std::pair<int, LineupPin>> pins; // the same
    } cases[] = {
        // clang-format off
        {12, -1, -1, {}, {}, {}},
        {13, 5, 2, {0, 1}, {2}, {}},
        {13, -1, -1, {}, {}, {{0, P::toSlot(10)}, {1, P::toSlot(0)}}},
        {13, -1, 8, {3}, {4}, {{5, P::toPosition(pos_winger)}, {6, P::toSlot(1)}}},
        {12, 8, -1, {}, {}, {{7, P::toPosition(pos_forward)}, {8, P::toPosition(pos_keeper)}}},
        {13, -1, -1, {0, 1, 2}, {3}, {{5, P::toSlot(4)}, {6, P::toPosition(pos_winger)}}},
        {8, -1, -1, {}, {}, {{2, P::toSlot(3)}}},
        // clang-format on
    };
    for (unsigned seed : {1u, 2u, 3u}) {
        for (const auto &c : cases) {
            Squad squad = randomSquad(seed, c.size);
            LineupRequest request{std::int8_t(c.stamina), std::int8_t(c.form), {}, {}};
            for (int i : c.excluded)
                request.excluded.insert(squad.owned[std::size_t(i)]->id);
            for (int i : c.injured)
                squad.owned[std::size_t(i)]->injury = int(seed % 2);
            for (const auto &[i, pin] : c.pins)
                request.pins[squad.owned[std::size_t(i)]->id] = pin;
            const int available = c.size - int(c.excluded.size() + c.injured.size());
            double best = -1e9;
            for (const Formation &f : allFormations()) {
                if (f.name.starts_with("any") && seed > 1)
                    continue; // every formation on one squad, the named ones on all
                if (exhaustiveTotal(squad, f.counts, request) < -1e8) { // the pins cannot hold
                    EXPECT_THROW(bestLineup(squad.players, f, request), ERangeError);
                    continue;
                }
                const Lineup l = bestLineup(squad.players, f, request);
                expectSound(l, squad, request);
                EXPECT_EQ(l.emptySlots, std::max(0, 11 - available));
                best = std::max(best, l.total);
            }
            if (seed == 1) {
                EXPECT_EQ(bestFormationLineup(squad.players, request).total, best);
            }
        }
    }
}

TEST(LineupSolver, PicksEachPositionsBestBehaviour)
{
    const struct
    {
        Position position;
        std::int8_t Player::*skill;
        Behaviour expected;
    } cases[] = {
        // clang-format off
        {pos_keeper, &Player::goaltending, beh_normal}, {pos_central_defender, &Player::defending, beh_normal},
        {pos_central_defender, &Player::playmaking, beh_offensive}, {pos_central_defender, &Player::winger, beh_towards_wing},
        {pos_wingback, &Player::winger, beh_offensive}, {pos_wingback, &Player::defending, beh_towards_middle},
        {pos_inner_midfielder, &Player::passing, beh_offensive}, {pos_inner_midfielder, &Player::winger, beh_towards_wing},
        {pos_winger, &Player::defending, beh_defensive}, {pos_forward, &Player::playmaking, beh_defensive},
        // set pieces count nowhere: every behaviour rates the same, and the table's first wins
        {pos_winger, &Player::setpieces, beh_normal}, {pos_central_defender, &Player::setpieces, beh_normal}};
    // clang-format on
    for (const auto &c : cases) {
        Squad squad;
        for (int id = 1; id <= 11; ++id) {
            Player &p = squad.add(id);
            p.stamina = p.playmaking = p.winger = p.scoring = p.goaltending = p.passing =
                p.defending = 1;
        }
        (*squad.owned[5]).*c.skill = 20;
        const LineupRequest pinned{-1, -1, {}, {{6, LineupPin::toPosition(c.position)}}};
        for (const LineupSlot &slot :
             bestLineup(squad.players, namedFormations()[4], pinned).places)
            EXPECT_TRUE(slot.player->id != 6 || slot.behaviour == c.expected) << int(c.position);
    }
}

TEST(LineupSolver, RefusesPinsThatCannotHold)
{
    Squad squad = randomSquad(5, 13);
    const std::int32_t a = squad.owned[0]->id, b = squad.owned[1]->id, c = squad.owned[2]->id;
    squad.owned[3]->injury = 0;
    using P = LineupPin;
    // clang-format off
    const std::map<std::int32_t, LineupPin> cases[] = {
        {{a, P::toSlot(11)}}, {{a, P::toSlot(-1)}}, {{a, P::toSlot(3)}, {b, P::toSlot(3)}},
        {{a, P::toPosition(pos_keeper)}, {b, P::toSlot(0)}}, {{a, P::toPosition(pos_forward)}},
        {{squad.owned[3]->id, P::toSlot(2)}}, {{4, P::toSlot(2)}}, {{c, P::toSlot(2)}}};
    // clang-format on
    for (const auto &pins : cases) // in 5-5-0, with c excluded
        EXPECT_THROW(bestLineup(squad.players, namedFormations()[0], {-1, -1, {c}, pins}),
                     ERangeError);
    const LineupRequest twoKeepers{
        -1, -1, {}, {{a, P::toPosition(pos_keeper)}, {b, P::toPosition(pos_keeper)}}};
    EXPECT_THROW(bestFormationLineup(squad.players, twoKeepers), ERangeError);
    squad.players[a] = nullptr;
    EXPECT_THROW(bestLineup(squad.players, namedFormations()[0]), EInvalidPointer);
}

TEST(LineupSolver, BreaksTiesByLowerIdsInSlotOrderAndTheFirstFormation)
{
    for (int size : {13, 9}) {
        Squad squad;
        for (int i = 0; i < size; ++i)
            squad.add((i * 7) % size * 3 + 5).form = 6; // every skill unknown: all rate -1
        for (const Formation *f : {&namedFormations()[4], &allFormations().front()}) {
            const Lineup l = f == &allFormations().front() ? bestFormationLineup(squad.players)
                                                           : bestLineup(squad.players, *f);
            EXPECT_EQ(l.formation, *f);
            auto id = squad.players.begin();
            for (const LineupSlot &slot : l.places)
                EXPECT_EQ(slot.player, id == squad.players.end() ? nullptr : (id++)->second);
            EXPECT_EQ(l.emptySlots, std::max(0, 11 - size));
            EXPECT_EQ(l.complete(), size >= 11);
        }
    }
}

TEST(LineupChoices, CarryPinsAcrossFormationsAndDropWhatCannotHold)
{
    Squad squad = randomSquad(9, 16);
    const auto id = [&](int i) { return squad.owned[std::size_t(i)]->id; };
    squad.owned[5]->injury = 2;
    LineupChoices choices;
    choices.pin(id(0), {pos_wingback, 1});
    choices.pin(id(1), {pos_central_defender, 2});
    choices.pin(id(2), {pos_central_defender, 0});
    choices.pin(id(3), {pos_central_defender, 2}); // takes the place from id(1)
    choices.pin(id(4), {pos_forward, -1});
    choices.pin(id(5), {pos_keeper, 0}); // injured since
    choices.leaveOut(id(6));
    choices.pin(id(7), {pos_winger, 0});
    choices.leaveOut(id(7)); // leaving out unpins
    using P = LineupPin;
    const struct
    {
        const char *formation;
        std::map<std::int32_t, LineupPin> pins;
        std::vector<std::int32_t> dropped;
    } rows[] = {
        // Three central defenders: every place exists.
        {"5-4-1",
         {{id(0), P::toSlot(5)},
          {id(2), P::toSlot(1)},
          {id(3), P::toSlot(3)},
          {id(4), P::toPosition(pos_forward)}},
         {id(5)}},
        // Two: the third place's pin keeps the position while a place is free there.
        {"4-4-2",
         {{id(0), P::toSlot(4)},
          {id(2), P::toSlot(1)},
          {id(3), P::toPosition(pos_central_defender)},
          {id(4), P::toPosition(pos_forward)}},
         {id(5)}},
        // No wing backs, no forwards: those pins are dropped.
        {"5-5-0",
         {{id(0), P::toSlot(5)}, {id(2), P::toSlot(1)}, {id(3), P::toSlot(3)}},
         {id(4), id(5)}},
    };
    for (const auto &row : rows) {
        const auto f = std::find_if(namedFormations().begin(), namedFormations().end(),
                                    [&](const Formation &n) { return n.name == row.formation; });
        ASSERT_NE(f, namedFormations().end());
        std::vector<std::int32_t> dropped;
        const LineupRequest r = choices.request(squad.players, &f->counts, 3, 7, &dropped);
        std::vector<std::int32_t> expected = row.dropped;
        std::sort(dropped.begin(), dropped.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(dropped, expected) << row.formation;
        EXPECT_EQ(r.excluded, (std::set<std::int32_t>{id(6), id(7)})) << row.formation;
        ASSERT_EQ(r.pins.size(), row.pins.size()) << row.formation;
        for (const auto &[pinned, pin] : row.pins) {
            ASSERT_TRUE(r.pins.count(pinned)) << row.formation << " " << pinned;
            const LineupPin &got = r.pins.at(pinned);
            EXPECT_EQ(std::tie(got.bySlot, got.slot, got.position),
                      std::tie(pin.bySlot, pin.slot, pin.position))
                << row.formation << " " << pinned;
        }
        const Lineup l = bestLineup(squad.players, *f, r); // the request always holds
        EXPECT_EQ(l.places[5].player == squad.owned[0].get(),
                  std::string(row.formation) != "4-4-2");
    }
}

TEST(LineupView, BenchHoldsTheBestLeftAtEachPositionOnceAndTheTotalSaysWhatItIs)
{
    for (int size : {25, 14, 8}) {
        Squad squad = randomSquad(unsigned(size), size);
        squad.owned[0]->injury = 0;
        const LineupRequest r{-1, -1, {squad.owned[1]->id}, {}};
        const Lineup l = bestLineup(squad.players, namedFormations()[4], r);
        std::set<const Player *> seen;
        for (const LineupSlot &place : l.places)
            seen.insert(place.player);
        const std::vector<LineupSlot> bench = substitutes(squad.players, l, r);
        EXPECT_EQ(bench.size(), std::size_t(std::clamp(size - 2 - 11, 0, 6))) << size;
        for (const LineupSlot &sub : bench) {
            EXPECT_TRUE(seen.insert(sub.player).second) << size; // not on the pitch, once
            EXPECT_LT(sub.player->injury, 0);
            EXPECT_NE(sub.player, squad.owned[1].get());
            // The best left: nobody unused rates higher there.
            for (const LineupSlot &other : candidatesAt(squad.players, sub.position, r))
                if (!seen.count(other.player)) {
                    EXPECT_LE(other.value, sub.value) << size;
                }
        }
        const std::string total = lineupTotalText(l, size - 2);
        EXPECT_NE(total.find("contribution ratings, not a match prediction."), std::string::npos);
        EXPECT_EQ(total.find("only 6 players are available.") != std::string::npos, size == 8);
    }
}

} // namespace
