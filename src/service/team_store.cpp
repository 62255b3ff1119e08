#include "service/team_store.h"

#include "Engine/datetime.h"
#include "players/players_document.h"
#include "players/stored_players.h"
#include "players/team.h"
#include "service/session.h"

#include <QString>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// Teams live until the program ends, like the session's tables; a window may still show one
// after a session has gone.
std::vector<std::unique_ptr<Team>> &ownedTeams()
{
    static std::vector<std::unique_ptr<Team>> teams;
    return teams;
}

Team &teamWithId(Troot &session, std::int32_t id)
{
    Team *&entry = session.teams[id];
    if (!entry) {
        ownedTeams().push_back(std::make_unique<Team>(id));
        entry = ownedTeams().back().get();
    }
    return *entry;
}

Team &takeIn(Troot &session, PlayersDocument document)
{
    Team &team = teamWithId(session, document.teamId);
    team.records.values[document.fetchedDate] = TeamRecord{document.teamName};
    team.replacePlayers(std::move(document.players));
    session.setCurrentTeam(&team);
    return team;
}

kstring serviceDate(TDateTime moment)
{
    const DateTimeParts parts = decodeDateTime(moment);
    return dateText(parts) + " " + timeText(parts);
}

// What the status bar says of the start-up reading: a newer file passed over, and values of
// the shown one that could not be read.
kstring startupNotice(const StoredPlayersDocument *shown,
                      const StoredPlayersDocument *newestUnreadable)
{
    std::vector<kstring> parts;
    if (newestUnreadable)
        parts.push_back(
            "Could not read " + newestUnreadable->name + " (" + newestUnreadable->whyNot + "); " +
            (shown
                 ? "showing the squad of " + serviceDate(shown->document->fetchedDate) + " instead"
                 : kstring("no squad is shown")));
    if (shown)
        parts.push_back(unreadableValuesNotice(shown->document->unreadableValues, shown->name));
    kstring notice;
    for (const kstring &part : parts)
        if (!part.empty())
            notice += (notice.empty() ? "" : ". ") + part;
    return notice;
}

} // namespace

Team &takeInPlayersDocument(Troot &session, const kstring &text)
{
    return takeIn(session, readPlayersDocument(text));
}

Team &takeInPlayersDocument(Troot &session, PlayersDocument document)
{
    return takeIn(session, std::move(document));
}

kstring unreadableValuesNotice(int count, const kstring &fileName)
{
    if (count == 0)
        return {};
    return std::to_string(count) + (count == 1 ? " value in " : " values in ") + fileName +
           " could not be read; shown as unknown";
}

Team *takeInNewestPlayersDocument(Troot &session, const QString &documentsFolder, kstring *warning)
{
    NewestStoredPlayers newest =
        newestStoredPlayersDocument(std::filesystem::path(documentsFolder.toStdU16String()));
    if (warning)
        *warning = startupNotice(newest.shown ? &*newest.shown : nullptr,
                                 newest.newerUnreadable ? &*newest.newerUnreadable : nullptr);
    return newest.shown ? &takeIn(session, std::move(*newest.shown->document)) : nullptr;
}
