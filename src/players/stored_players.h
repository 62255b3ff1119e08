#pragma once

#include "players/players_document.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

// A players document stored in the documents folder: read, or the reason it cannot be.
struct StoredPlayersDocument
{
    std::string name; // the file's name inside the folder
    std::optional<PlayersDocument> document;
    std::string whyNot;
};

// The names of the stored players documents of a folder ("players_<user>_<moment>.xml"),
// newest moment first as the names give it, names of one moment in reverse name order. A
// folder that does not exist or cannot be listed holds none. Only names are read.
std::vector<std::string> storedPlayersFiles(const std::filesystem::path &folder);

// The moment part of a stored name: "2005-03-01 12-34-56" of
// "players_1_2005-03-01 12-34-56.xml"; empty for a name without one.
std::string storedNameMoment(const std::string &name);

// Reads one stored file. Never throws: a file that cannot be opened, is larger than any squad's
// document (refused before a byte is read) or does not read as a players document comes back
// without a document and with the reason.
StoredPlayersDocument readStoredPlayersDocument(const std::filesystem::path &folder,
                                                const std::string &name);
