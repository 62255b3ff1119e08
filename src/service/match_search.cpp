#include "service/match_search.h"

#include "Engine/convert.h"
#include "Engine/errors.h"
#include "service/service_paths.h"
#include "service/session.h"

#include <string>

namespace {

const char *const upcoming = "UPCOMING";
const char *const ongoing = "ONGOING";
const char *const finished = "FINISHED";

kstring childText(const pugi::xml_node &node, const char *name)
{
    return node.child(name).text().get();
}

TSearchMatch readMatch(const pugi::xml_node &match)
{
    TSearchMatch read;
    read.id = toInt(match.child("MatchID").text().get());
    read.status = childText(match, "Status");
    read.date = childText(match, "MatchDate");
    read.home = childText(match.child("HomeTeam"), "HomeTeamName");
    read.away = childText(match.child("AwayTeam"), "AwayTeamName");
    return read;
}

void add(const TSearchMatch &match, TSearchMatches &found)
{
    found[match.id] = match;
}

} // namespace

MatchPick matchPickOf(std::string_view buttonName)
{
    if (buttonName == "btnRecent")
        return MatchPick::Recent;
    if (buttonName == "btnLast")
        return MatchPick::Last;
    if (buttonName == "btnNext")
        return MatchPick::Next;
    throw ERangeError("No match search is started by " + std::string(buttonName) + ".");
}

void pickMatches(const pugi::xml_document &matchList, MatchPick pick, TSearchMatches &found)
{
    const pugi::xml_node list = matchList.document_element().child("Team").child("MatchList");
    TSearchMatch previous;
    int i = 0;
    for (const pugi::xml_node &child : list.children()) {
        if (std::string_view(child.name()) == "Match") {
            const TSearchMatch current = readMatch(child);
            const bool comingOrRunning = current.status == upcoming || current.status == ongoing;
            switch (pick) {
            case MatchPick::Recent:
                add(current, found);
                break;
            case MatchPick::Last:
                if (i > 0 && comingOrRunning && previous.status == finished)
                    add(previous, found);
                break;
            case MatchPick::Next:
                if (current.status == ongoing ||
                    (current.status == upcoming && (i == 0 || previous.status == finished)))
                    add(current, found);
                break;
            }
            previous = current;
        }
        ++i;
    }
}

void searchMatches(Troot &session, const std::vector<std::int32_t> &teamIds, MatchPick pick,
                   TSearchMatches &found)
{
    for (const std::int32_t teamId : teamIds) {
        session.loadXml(session.fetch(servicePaths::teamMatches(teamId)));
        pickMatches(session.xml, pick, found);
    }
}

void addMatchById(std::int32_t matchId, TSearchMatches &found)
{
    found.try_emplace(matchId, TSearchMatch{matchId, {}, {}, {}, {}});
}

const TSearchMatch *matchToFollow(const TSearchMatches &next)
{
    const TSearchMatch *coming = nullptr;
    for (const auto &[id, match] : next) {
        if (match.status == "ONGOING")
            return &match;
        if (match.status == "UPCOMING" && (!coming || match.date < coming->date))
            coming = &match;
    }
    return coming;
}

kstring matchTitle(const TSearchMatch &match)
{
    return match.home + " - " + match.away;
}
