#include "service/service_paths.h"

#include <string>

namespace servicePaths {

namespace {

kstring live(const char *action)
{
    return kstring("live.asp?outputType=XML&actionType=") + action;
}

kstring liveMatch(const char *action, int matchId)
{
    return live(action) + ("&matchID=" + std::to_string(matchId)).c_str();
}

kstring view(const char *page)
{
    return kstring(page) + "?outputType=XML&actionType=view";
}

std::vector<kstring> searchFields(const kstring &criterion)
{
    return {"outputType=XML", "actionType=view", "searchWhat=team", criterion};
}

} // namespace

kstring percentEncode(const kstring &value)
{
    static const char hex[] = "0123456789ABCDEF";
    kstring out;
    for (unsigned char c : value) {
        const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                                (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' ||
                                c == '~';
        if (unreserved) {
            out += char(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 0x0F];
        }
    }
    return out;
}

kstring menu()
{
    return "/Common/menu.asp?outputType=XML";
}

kstring login(const kstring &userName, const kstring &securityCode)
{
    return kstring("default.asp?outputType=XML&") +
           ("actionType=login&loginType=VNTQ&loginname=" + percentEncode(userName) +
            "&readonlypassword=" + percentEncode(securityCode))
               .c_str();
}

kstring liveAddMatch(int matchId)
{
    return liveMatch("addMatch", matchId);
}

kstring liveDeleteMatch(int matchId)
{
    return liveMatch("deleteMatch", matchId);
}

kstring liveViewNew()
{
    return live("viewNew");
}

kstring teamMatches(int teamId)
{
    return view("matches.asp") + ("&teamID=" + std::to_string(teamId)).c_str();
}

kstring search()
{
    return "search.asp";
}

std::vector<kstring> searchTeamById(int teamId)
{
    return searchFields("teamID=" + std::to_string(teamId));
}

std::vector<kstring> searchTeamByName(const kstring &teamName)
{
    return searchFields("teamName=" + percentEncode(teamName));
}

kstring club()
{
    return view("club.asp");
}

kstring players()
{
    return view("players.asp");
}

kstring teamDetails()
{
    return view("teamDetails.asp");
}

kstring leagueDetails()
{
    return view("leagueDetails.asp");
}

std::array<kstring, 4> teamDocuments()
{
    return {club(), players(), teamDetails(), leagueDetails()};
}

} // namespace servicePaths
