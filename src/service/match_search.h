#pragma once

#include "Engine/kstring.h"

#include <pugixml.hpp>

#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

class Troot;

// A match as a team's match list gives it; the texts as received, the date unparsed.
struct TSearchMatch
{
    std::int32_t id = 0;
    kstring home;
    kstring away;
    kstring date;
    kstring status;

    bool operator==(const TSearchMatch &) const = default;
};

// The found matches by match id.
using TSearchMatches = std::map<std::int32_t, TSearchMatch>;

// Which matches of a list to keep: all of them, the last finished one before the coming or
// running ones, or the coming or running one.
enum class MatchPick { Recent, Last, Next };

// The pick of the button named btnRecent, btnLast or btnNext; ERangeError for another name.
MatchPick matchPickOf(std::string_view buttonName);

// Adds the matches that `pick` keeps from a match list document (root, "Team", "MatchList")
// to `found`, overwriting entries of the same id. The children are taken in document order;
// the index the rules look at counts every child, not only the matches. A document without
// "Team" or "MatchList" adds nothing. A MatchID that is not an integer raises EConvertError;
// matches added before it stay.
void pickMatches(const pugi::xml_document &matchList, MatchPick pick, TSearchMatches &found);

// Asks the service for the match list of each team in turn and picks from it into `found`.
// An error (also ECancel) ends the search at that team; what was found before stays.
void searchMatches(Troot &session, const std::vector<std::int32_t> &teamIds, MatchPick pick,
                   TSearchMatches &found);

// The match "Follow my match" follows from what "Next" found for the user's team: a running
// one, else the coming one with the earliest date (the service's date texts sort as dates);
// the lower id on equal dates. Null when there is neither.
const TSearchMatch *matchToFollow(const TSearchMatches &next);
// "Lions - Tigers"
kstring matchTitle(const TSearchMatch &match);

// The match entered by id: listed with empty texts unless it is already there.
void addMatchById(std::int32_t matchId, TSearchMatches &found);
