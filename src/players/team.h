#pragma once

#include "Engine/datetime.h"
#include "Engine/history.h"
#include "Engine/kstring.h"

#include <cstdint>
#include <map>

class Player;

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
    TPlayers players;
    History<TeamRecord> records;

    // The team's name as it stood at `moment`; empty while the team has no record at all.
    kstring nameAt(TDateTime moment);
};

// The teams a session knows, by team id; the pointers are not owned.
using TTeams = std::map<std::int32_t, Team *>;
