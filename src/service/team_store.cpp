#include "service/team_store.h"

#include "Engine/datetime.h"
#include "players/players_document.h"
#include "players/team.h"
#include "qt_text/qt_text.h"
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

// A stored players document, or why it cannot be read.
struct StoredDocument
{
    QString name;
    std::optional<PlayersDocument> document;
    kstring whyNot;
};

StoredDocument readFile(const QDir &folder, const QString &name)
{
    StoredDocument stored{name, std::nullopt, {}};
    try {
        QFile file(folder.filePath(name));
        // Refused before a byte is read: a huge file is no squad and would only cost memory.
        checkPlayersDocumentSize(std::size_t(file.size()));
        if (!file.open(QIODevice::ReadOnly))
            throw Exception(toKstring(file.errorString()));
        const QByteArray bytes = file.readAll();
        stored.document =
            readPlayersDocument(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    } catch (const Exception &error) {
        stored.whyNot = error.message();
    }
    return stored;
}

// The moment in a stored file's name (kind_user_moment.xml); names of one user sort by it.
QString nameMoment(const QString &name)
{
    return name.section('_', 2).chopped(4);
}

kstring serviceDate(TDateTime moment)
{
    const DateTimeParts parts = decodeDateTime(moment);
    return dateText(parts) + " " + timeText(parts);
}

// What the status bar says of the start-up reading: a newer file passed over, and values of
// the shown one that could not be read.
kstring startupNotice(const StoredDocument *shown, const StoredDocument *newestUnreadable)
{
    std::vector<kstring> parts;
    if (newestUnreadable &&
        (!shown || nameMoment(newestUnreadable->name) > nameMoment(shown->name)))
        parts.push_back("Could not read " + toKstring(newestUnreadable->name) + " (" +
                        newestUnreadable->whyNot + "); " +
                        (shown ? "showing the squad of " +
                                     serviceDate(shown->document->fetchedDate) + " instead"
                               : kstring("no squad is shown")));
    if (shown)
        parts.push_back(
            unreadableValuesNotice(shown->document->unreadableValues, toKstring(shown->name)));
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
    const QDir folder(documentsFolder);
    std::optional<StoredDocument> newest;
    std::optional<StoredDocument> newestUnreadable;
    // Names sort by user and then by moment; the moment inside the document decides.
    for (const QString &name : folder.entryList({"players_*.xml"}, QDir::Files, QDir::Name)) {
        StoredDocument stored = readFile(folder, name);
        if (!stored.document) {
            if (!newestUnreadable || nameMoment(name) >= nameMoment(newestUnreadable->name))
                newestUnreadable = std::move(stored);
        } else if (!newest || stored.document->fetchedDate >= newest->document->fetchedDate) {
            newest = std::move(stored);
        }
    }
    if (warning)
        *warning = startupNotice(newest ? &*newest : nullptr,
                                 newestUnreadable ? &*newestUnreadable : nullptr);
    return newest ? &takeIn(session, std::move(*newest->document)) : nullptr;
}
