#include "sim/training.h"

#include "sim/rng.h"

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

// Far beyond any demo; keeps the week number an int however short a week is.
constexpr int lastWeek = 10'000'000;
// A birthday every sixteen weeks, as a season of the game lasts.
constexpr int weeksPerYear = 16;
// Ids of players who join later lie above every id of the world's own squads; a team's block
// holds a joiner for every week there can be.
constexpr int joinedIdBase = 70'000'000;
constexpr int joinedIdsPerTeam = 20'000'000;
static_assert(joinedIdsPerTeam > lastWeek);

constexpr Skill trainable[] = {Playmaking, WingerSkill, Scoring,  Goaltending,
                               Passing,    Defending,   SetPieces};

double youth(int age)
{
    return age <= 19 ? 1.0 : age <= 22 ? 0.7 : age <= 26 ? 0.45 : age <= 30 ? 0.25 : 0.1;
}

// One step up now and then, rarer the higher the level already is.
bool trainOnce(int &level, double chance, Rng &rng)
{
    if (level >= 20 || !rng.chance(chance * (level < 8 ? 1.0 : 8.0 / level)))
        return false;
    ++level;
    return true;
}

void heal(Player &player, Rng &rng)
{
    if (player.injuryWeeks >= 0)
        --player.injuryWeeks; // 0 was a knock; a week later he is fit
    else if (rng.chance(0.03))
        player.injuryWeeks = rng.range(0, 4);
}

void train(Player &player, Skill area, int week, Rng &rng)
{
    const int mainBefore = player.skills[mainSkill(player.role)];
    const int formBefore = player.form;
    bool rose = false;
    // A player who is out does not train.
    if (player.injuryWeeks <= 0) {
        rose = trainOnce(player.skills[area], 0.4 * youth(player.age), rng);
        const Skill other = trainable[rng.range(0, int(std::size(trainable)) - 1)];
        rose = trainOnce(player.skills[other], 0.03 * youth(player.age), rng) || rose;
    }
    if (player.age >= 31 && player.skills[Stamina] > 1 && rng.chance(0.05))
        --player.skills[Stamina];
    else if (player.age <= 28)
        rose = trainOnce(player.skills[Stamina], 0.05, rng) || rose;
    if (rng.chance(0.5))
        player.form = std::clamp(player.form + (rng.chance(0.5) ? 1 : -1), 1, 8);
    heal(player, rng);
    if ((week + player.id) % weeksPerYear == 0)
        ++player.age;

    const int main = player.skills[mainSkill(player.role)];
    const double drift = skillIndexBase(main, player.form) / skillIndexBase(mainBefore, formBefore);
    const double otherSkills = rose && main == mainBefore ? 1.015 : 1.0;
    player.skillIndex = std::max(
        1, int(std::lround(player.skillIndex * drift * otherSkills * (0.99 + 0.02 * rng.unit()))));
    if (rose)
        player.salary = salaryFor(player.skillIndex, player.experience);
}

} // namespace

Training::Training(const World &world, double weekMinutes) : world(world), weekMinutes(weekMinutes)
{}

int Training::weekAt(double minute) const
{
    if (weekMinutes <= 0 || minute <= 0)
        return 0;
    return int(std::min(std::floor(minute / weekMinutes), double(lastWeek)));
}

Skill Training::area(int teamIndex) const
{
    Rng rng = Rng::derived(world.seed(), {10, std::uint64_t(teamIndex)});
    return trainable[rng.range(0, int(std::size(trainable)) - 1)];
}

const std::vector<Player> &Training::squad(int teamIndex, int week) const
{
    std::deque<std::vector<Player>> &done = weeks[teamIndex];
    if (done.empty())
        done.push_back(world.teams()[teamIndex].players);
    const int wanted = std::clamp(week, 0, lastWeek);
    while (int(done.size()) <= wanted)
        done.push_back(nextWeek(teamIndex, done.back(), int(done.size())));
    return done[wanted];
}

std::vector<Player> Training::nextWeek(int teamIndex, const std::vector<Player> &before,
                                       int week) const
{
    Rng rng = Rng::derived(world.seed(), {11, std::uint64_t(teamIndex), std::uint64_t(week)});
    std::vector<Player> squad = before;
    const Skill trained = area(teamIndex);
    for (Player &player : squad)
        train(player, trained, week, rng);
    if (!rng.chance(0.1))
        return squad;
    // A field player leaves; a youngster of his role takes his place at the end of the list.
    std::vector<int> field;
    for (int i = 0; i < int(squad.size()); ++i)
        if (squad[i].role != Role::Keeper)
            field.push_back(i);
    const int leaving = field[rng.range(0, int(field.size()) - 1)];
    const Player left = squad[leaving];
    squad.erase(squad.begin() + leaving);
    QSet<QString> names;
    for (const Player &player : squad)
        names.insert(player.name);
    const int id = joinedIdBase + teamIndex * joinedIdsPerTeam + week;
    Player joined = drawPlayer(id, left.role, std::max(3, left.skills[mainSkill(left.role)] - 2),
                               world.teams()[teamIndex].league, names, rng);
    joined.age = rng.range(17, 19);
    joined.experience = rng.range(0, 2);
    joined.salary = salaryFor(joined.skillIndex, joined.experience);
    squad.push_back(std::move(joined));
    return squad;
}

} // namespace sim
