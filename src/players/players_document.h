#pragma once

#include "Engine/datetime.h"
#include "Engine/kstring.h"
#include "players/player.h"

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

// What the players document of a download says about the user's team.
struct PlayersDocument
{
    std::int32_t teamId = 0;
    kstring teamName;
    TDateTime fetchedDate = 0;
    // In document order; ids are unique.
    std::vector<std::unique_ptr<Player>> players;
};

// Reads a stored or downloaded players document. Every field the document gives is mapped
// onto the player record; a field it lacks stays -1 (texts empty). Raises EXmlError, with the
// reason, for text that is not well-formed, a document of another kind, a missing team id or
// date, a value that is not a number or out of its range, or a player id given twice.
PlayersDocument readPlayersDocument(std::string_view text);

// "yyyy-mm-dd hh:mm:ss" as the service writes its dates; EConvertError for anything else.
TDateTime parseServiceDate(std::string_view text);
