#include "sim/documents.h"

#include "sim/world.h"

#include <sstream>

namespace sim::documents {

Doc::Doc(const char *rootName)
{
    auto declaration = doc.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "utf-8";
    doc.append_child(rootName);
}

QByteArray Doc::bytes() const
{
    std::ostringstream out;
    doc.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
    return QByteArray::fromStdString(out.str());
}

pugi::xml_node add(pugi::xml_node parent, const char *name, const QString &text)
{
    pugi::xml_node node = parent.append_child(name);
    node.text().set(text.toUtf8().constData());
    return node;
}

pugi::xml_node add(pugi::xml_node parent, const char *name, int value)
{
    return add(parent, name, QString::number(value));
}

void addHead(pugi::xml_node root, const char *fileName, int userId, double minute)
{
    add(root, "FileName", QString::fromLatin1(fileName));
    add(root, "Version", QStringLiteral("1.2"));
    add(root, "UserID", userId);
    add(root, "FetchedDate", SimClock::format(SimClock::dateAt(minute)));
}

void addTeamRef(pugi::xml_node parent, const char *side, const Team &team)
{
    const QByteArray name(side);
    pugi::xml_node node = parent.append_child((name + "Team").constData());
    add(node, (name + "TeamID").constData(), team.id);
    add(node, (name + "TeamName").constData(), team.name);
}

QByteArray menu(const QString &recommendedUrl)
{
    Doc doc;
    add(doc.root(), "FileName", QStringLiteral("menu.xml"));
    add(doc.root(), "RecommendedURL", recommendedUrl);
    pugi::xml_node pages = doc.root().append_child("Pages");
    for (const char *page : {"live.asp", "matches.asp", "search.asp", "club.asp", "players.asp",
                             "teamDetails.asp", "leagueDetails.asp"})
        add(pages, "Page", QString::fromLatin1(page));
    return doc.bytes();
}

QByteArray login(const Account &account, const Team &team, double minute)
{
    Doc doc;
    addHead(doc.root(), "login.xml", account.userId, minute);
    add(doc.root(), "LoginName", account.loginName);
    add(doc.root(), "TeamID", team.id);
    add(doc.root(), "TeamName", team.name);
    return doc.bytes();
}

QByteArray error(const QString &message)
{
    Doc doc;
    add(doc.root(), "Error", message);
    return doc.bytes();
}

QByteArray version(const QString &version, const QString &message)
{
    Doc doc("StrikoraKey");
    add(doc.root(), "version", version);
    add(doc.root(), "message", message);
    return doc.bytes();
}

QByteArray searchResults(const std::vector<const Team *> &teams)
{
    Doc doc;
    add(doc.root(), "FileName", QStringLiteral("search.xml"));
    pugi::xml_node results = doc.root().append_child("SearchResults");
    for (const Team *team : teams) {
        pugi::xml_node result = results.append_child("Result");
        add(result, "ResultID", team->id);
        add(result, "ResultName", team->name);
    }
    return doc.bytes();
}

namespace {

void addEvent(pugi::xml_node list, const MatchEvent &event)
{
    pugi::xml_node node = list.append_child("Event");
    node.append_attribute("Index") = event.index;
    add(node, "Minute", event.minute);
    add(node, "SubjectPlayerID", event.subjectPlayerId);
    add(node, "SubjectTeamID", event.subjectTeamId);
    add(node, "ObjectPlayerID", event.objectPlayerId);
    add(node, "EventKey", event.key);
    add(node, "EventText", event.text);
}

void addLiveMatch(pugi::xml_node list, const LiveEntry &entry)
{
    pugi::xml_node match = list.append_child("Match");
    add(match, "MatchID", entry.fixture.matchId);
    add(match, "Status", statusText(entry.status));
    addTeamRef(match, "Home", *entry.home);
    addTeamRef(match, "Away", *entry.away);
    add(match, "HomeGoals", entry.score.home);
    add(match, "AwayGoals", entry.score.away);
    pugi::xml_node events = match.append_child("EventList");
    for (const MatchEvent &event : entry.fresh)
        addEvent(events, event);
}

} // namespace

QByteArray live(const std::vector<LiveEntry> &matches, double minute)
{
    Doc doc;
    add(doc.root(), "FileName", QStringLiteral("live.xml"));
    add(doc.root(), "FetchedDate", SimClock::format(SimClock::dateAt(minute)));
    pugi::xml_node list = doc.root().append_child("MatchList");
    for (const LiveEntry &entry : matches)
        addLiveMatch(list, entry);
    return doc.bytes();
}

} // namespace sim::documents
