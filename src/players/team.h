#pragma once

#include "Engine/datetime.h"
#include "Engine/history.h"
#include "Engine/kstring.h"
#include "players/player.h"

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

// A team's players by id, ascending. The map does not own the players.
using TPlayers = std::map<std::int32_t, Player *>;

// What a team was at one moment.
struct TeamRecord
{
    kstring name;
};

class Team
{
public:
    explicit Team(std::int32_t id = 0) : id(id) {}
    Team(const Team &) = delete;
    Team &operator=(const Team &) = delete;

    // The team's name as it stood at `moment`; empty while the team has no record at all.
    kstring nameAt(TDateTime moment);
    // Makes the squad these players, by id. Players of an earlier squad stay alive with the
    // team, because a window may still show one of them.
    void replacePlayers(std::vector<std::unique_ptr<Player>> squad);

    std::int32_t id;
    TPlayers players;
    History<TeamRecord> records;

private:
    std::vector<std::unique_ptr<Player>> owned;
};

// The teams a session knows, by team id; the pointers are not owned.
using TTeams = std::map<std::int32_t, Team *>;
