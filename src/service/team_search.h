#pragma once

#include "Engine/kstring.h"

#include <pugixml.hpp>

#include <cstdint>
#include <map>
#include <vector>

class Troot;

// The found teams by team id.
using TFoundTeams = std::map<std::int32_t, kstring>;

// What the team search looks for: a team id, or a team or user name as typed.
struct TeamCriterion
{
    bool byId = false;
    std::int32_t teamId = 0;
    kstring name; // UTF-8
};

// The four form fields of the search, in the order the service expects them.
std::vector<kstring> teamSearchFields(const TeamCriterion &criterion);

// Sets the entry of every SearchResults/Result (ResultID, ResultName) of the document in
// `found`, overwriting one of the same id. A ResultID that is not an integer raises
// EConvertError; results read before it stay.
void readSearchResults(const pugi::xml_document &results, TFoundTeams &found);

// Posts the search and reads its results into `found`. ECancel when the user cancels the login.
void searchTeams(Troot &session, const TeamCriterion &criterion, TFoundTeams &found);
