#pragma once

#include <array>
#include <vector>

namespace sim {

// The name pools of one region of the world: its league, its clubs and its people.
struct Region
{
    const char *leagueName;
    std::array<const char *, 8> clubs;
    std::vector<const char *> firstNames;
    std::vector<const char *> lastNames;
    std::vector<const char *> arenas;
};

const std::array<Region, 4> &regions();

} // namespace sim
