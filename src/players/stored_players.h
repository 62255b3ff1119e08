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

// What start-up reads: the newest readable stored document, and the newest file named after it
// that could not be read.
struct NewestStoredPlayers
{
    std::optional<StoredPlayersDocument> shown;
    std::optional<StoredPlayersDocument> newerUnreadable;
};

// A name that carries a moment ("yyyy-mm-dd hh-mm-ss", as a download names its file) is trusted
// to order the files, so a folder of many downloads costs one file's reading; a file named
// otherwise is read to learn its moment, and the document's own moment decides among those read.
NewestStoredPlayers newestStoredPlayersDocument(const std::filesystem::path &folder);
