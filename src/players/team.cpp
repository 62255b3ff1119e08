#include "players/team.h"

#include <utility>

kstring Team::nameAt(TDateTime moment)
{
    if (records.values.empty())
        return {};
    return records.at(moment).name;
}

void Team::replacePlayers(std::vector<std::unique_ptr<Player>> squad)
{
    players.clear();
    for (std::unique_ptr<Player> &player : squad) {
        players[player->id] = player.get();
        owned.push_back(std::move(player));
    }
}
