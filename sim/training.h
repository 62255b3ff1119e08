#pragma once

#include "sim/world.h"

#include <deque>
#include <map>
#include <vector>

namespace sim {

// The squads as the simulated weeks go by. Every week each team's players train: the skill of
// the team's training area rises now and then, more often for the young; form and the skill
// index drift with the skills; injuries heal and new ones happen; birthdays come; and now and
// then a player leaves and a youngster of his role joins. Week 0 is the world's own squad. The
// same seed gives the same weeks, whatever order they are asked for in.
class Training
{
public:
    // `weekMinutes`: simulated minutes a week lasts; 0 or less, and the squads never change.
    Training(const World &world, double weekMinutes);

    // The weeks that have passed by a simulated minute.
    int weekAt(double minute) const;
    // The skill every player of the team trains.
    Skill area(int teamIndex) const;
    // The team's squad after `week` weeks. The reference holds until the object goes.
    const std::vector<Player> &squad(int teamIndex, int week) const;
    const std::vector<Player> &squadAt(int teamIndex, double minute) const
    {
        return squad(teamIndex, weekAt(minute));
    }

private:
    std::vector<Player> nextWeek(int teamIndex, const std::vector<Player> &squad, int week) const;

    const World &world;
    double weekMinutes;
    // By team index: the squad of every week worked out so far, week 0 first.
    mutable std::map<int, std::deque<std::vector<Player>>> weeks;
};

} // namespace sim
