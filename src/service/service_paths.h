#pragma once

#include "Engine/kstring.h"

#include <array>
#include <vector>

// Every request the program sends to the game service, spelled in one place. Paths are
// relative to the server's "/Common/" folder, except the menu document.
namespace servicePaths {

// The folder every service path lives in, below RecommendedURL.
inline constexpr const char *commonFolder = "/Common/";

// Below the service's main address, not below RecommendedURL.
kstring menu();
// Both values are percent-encoded (UTF-8), so "&", "=", "#", "+", "%" or a blank in a name or
// code reach the service as typed.
kstring login(const kstring &userName, const kstring &securityCode);

kstring liveAddMatch(int matchId);
kstring liveDeleteMatch(int matchId);
kstring liveViewNew();

kstring teamMatches(int teamId);

// The team search: a form POST of the fields to this path.
kstring search();
std::vector<kstring> searchTeamById(int teamId);
// The name is percent-encoded, as a form value must be.
std::vector<kstring> searchTeamByName(const kstring &teamName);

kstring club();
kstring players();
kstring teamDetails();
kstring leagueDetails();
// The four team documents in the order they are downloaded.
std::array<kstring, 4> teamDocuments();

// Percent-encoding of a query or form value: unreserved ASCII stays, every other byte is %XX.
kstring percentEncode(const kstring &value);

} // namespace servicePaths
