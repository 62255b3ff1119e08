#pragma once

#include "Engine/datetime.h"
#include "Engine/kstring.h"
#include "players/player.h"

#include <cstddef>
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
    // Values that held something other than a number of their range; each reads as unknown.
    int unreadableValues = 0;
};

// A squad is tens of players; a document far beyond these is not the user's squad.
constexpr std::size_t mostPlayersInSquad = 1000;
constexpr std::size_t largestPlayersDocument = 4 * 1024 * 1024;

// Raises EXmlError, with the reason, for a document of more bytes than any squad's.
void checkPlayersDocumentSize(std::size_t bytes);

// Reads a stored or downloaded players document. Every field the document gives is mapped
// onto the player record; a field it lacks or leaves empty stays -1 (texts empty), and so does
// one that holds no number of its range, which `unreadableValues` counts. Raises EXmlError,
// with the reason, for text that is not well-formed, a document of another kind, a missing
// team id or date, a player without an id or given twice, or a document with more players or
// bytes than any squad's (refused before a player is built).
PlayersDocument readPlayersDocument(std::string_view text);

// "yyyy-mm-dd hh:mm:ss" as the service writes its dates; EConvertError for anything else.
TDateTime parseServiceDate(std::string_view text);
