#include "service/team_store.h"

#include "players/players_document.h"
#include "players/team.h"
#include "service/session.h"

#include <QDir>
#include <QFile>

#include <memory>
#include <optional>
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

// Far above any squad's document; a bigger file is not one of ours.
constexpr qint64 largestDocument = 64 * 1024 * 1024;

std::optional<PlayersDocument> readFile(const QString &path)
{
    QFile file(path);
    if (file.size() > largestDocument || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    try {
        return readPlayersDocument(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    } catch (const Exception &) {
        return std::nullopt;
    }
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

Team *takeInNewestPlayersDocument(Troot &session, const QString &documentsFolder)
{
    const QDir folder(documentsFolder);
    std::optional<PlayersDocument> newest;
    // Names sort by user and then by moment; the moment inside the document decides.
    for (const QString &name : folder.entryList({"players_*.xml"}, QDir::Files, QDir::Name)) {
        std::optional<PlayersDocument> document = readFile(folder.filePath(name));
        if (document && (!newest || document->fetchedDate >= newest->fetchedDate))
            newest = std::move(document);
    }
    return newest ? &takeIn(session, std::move(*newest)) : nullptr;
}
