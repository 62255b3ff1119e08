#include "sim/routes.h"

#include "sim/documents.h"
#include "sim/schedule.h"
#include "sim/team_documents.h"
#include "sim/world.h"

#include <QUrl>

namespace sim {

namespace {

using Fields = QMap<QString, QString>;

Response xml(const QByteArray &body)
{
    Response response;
    response.body = body;
    return response;
}

Response plain(int status, const QByteArray &text)
{
    Response response;
    response.status = status;
    response.contentType = "text/html; charset=utf-8";
    response.body = "<html><body><h1>" + text + "</h1></body></html>\n";
    return response;
}

Response failure(const QString &message)
{
    return xml(documents::error(message));
}

QString decode(QByteArray part)
{
    part.replace('+', ' ');
    return QUrl::fromPercentEncoding(part);
}

std::optional<int> number(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

QString defaultAnnouncement(const QString &version)
{
    return QStringLiteral("StrikoraKey %1 is out.\n"
                          "\n"
                          "What is new:\n"
                          "- live matches keep their pages across a lost connection\n"
                          "- the team search ignores accents\n"
                          "\n"
                          "Download it from the StrikoraKey home page.")
        .arg(version);
}

} // namespace

QMap<QString, QString> parseFields(const QByteArray &encoded)
{
    Fields fields;
    for (const QByteArray &pair : encoded.split('&')) {
        if (pair.isEmpty())
            continue;
        const int equals = pair.indexOf('=');
        const QString name = decode(equals < 0 ? pair : pair.left(equals));
        if (!fields.contains(name))
            fields.insert(name, equals < 0 ? QString() : decode(pair.mid(equals + 1)));
    }
    return fields;
}

QString searchFold(const QString &text)
{
    // Letters that are not a base letter with a mark do not decompose; spell them out.
    static const QList<QPair<QString, QString>> spelled{
        {QStringLiteral("ø"), QStringLiteral("o")},  {QStringLiteral("æ"), QStringLiteral("ae")},
        {QStringLiteral("ð"), QStringLiteral("d")},  {QStringLiteral("þ"), QStringLiteral("th")},
        {QStringLiteral("ß"), QStringLiteral("ss")}, {QStringLiteral("ł"), QStringLiteral("l")},
        {QStringLiteral("đ"), QStringLiteral("d")},  {QStringLiteral("œ"), QStringLiteral("oe")}};
    QString folded;
    for (QChar c : text.normalized(QString::NormalizationForm_D).toCaseFolded()) {
        if (c.category() != QChar::Mark_NonSpacing)
            folded += c;
    }
    for (const auto &[letter, spelling] : spelled)
        folded.replace(letter, spelling);
    return folded;
}

Routes::Routes(const World &world, const SimClock &clock, double weekMinutes)
    : world(world), clock(clock), trainingData(world, weekMinutes)
{
    setAnnouncement(QStringLiteral("0.1.7"), QString());
}

void Routes::setAnnouncement(const QString &version, const QString &message)
{
    announcedVersion = version;
    announcement = message.isEmpty() ? defaultAnnouncement(version) : message;
}

std::optional<RouteGroup> Routes::groupOf(const QString &path)
{
    static const QMap<QString, RouteGroup> pages{
        {QStringLiteral("menu.asp"), RouteGroup::Menu},
        {QStringLiteral("default.asp"), RouteGroup::Login},
        {QStringLiteral("live.asp"), RouteGroup::Live},
        {QStringLiteral("matches.asp"), RouteGroup::Matches},
        {QStringLiteral("search.asp"), RouteGroup::Search},
        {QStringLiteral("club.asp"), RouteGroup::TeamDocuments},
        {QStringLiteral("players.asp"), RouteGroup::TeamDocuments},
        {QStringLiteral("teamdetails.asp"), RouteGroup::TeamDocuments},
        {QStringLiteral("leaguedetails.asp"), RouteGroup::TeamDocuments}};
    // Page names ignore case, as on the service's web server.
    const QString lower = path.toLower();
    if (lower == QLatin1String("/init.xml"))
        return RouteGroup::Publisher;
    const QString folder = QStringLiteral("/common/");
    if (!lower.startsWith(folder))
        return std::nullopt;
    auto found = pages.find(lower.mid(folder.size()));
    return found == pages.end() ? std::nullopt : std::optional<RouteGroup>(*found);
}

Response Routes::handle(const Request &request)
{
    const auto group = groupOf(request.path);
    if (!group)
        return plain(404, "404 Not Found");
    if (request.method != "GET" && request.method != "POST")
        return plain(405, "405 Method Not Allowed");
    if (*group == RouteGroup::Publisher)
        return publisher();
    const QString page = request.path.section('/', -1).toLower();
    return serviceRequest(*group, page, request);
}

Response Routes::serviceRequest(RouteGroup group, const QString &page, const Request &request)
{
    Fields fields = parseFields(request.body);
    fields.insert(parseFields(request.query)); // the query wins over the form
    if (group == RouteGroup::Menu)
        return xml(documents::menu(recommendedUrl));
    if (group == RouteGroup::Login)
        return login(fields);
    Session *session = sessions.find(request.cookies);
    if (!session)
        return failure(QStringLiteral("Not logged in: please log in first."));
    switch (group) {
    case RouteGroup::Live:
        return live(*session, fields);
    case RouteGroup::Matches:
        return matches(fields);
    case RouteGroup::Search:
        return search(fields);
    default:
        break;
    }
    const Account *account = world.accountById(session->userId);
    return account ? teamDocument(page, *account) : failure(QStringLiteral("Unknown user."));
}

Response Routes::login(const Fields &fields)
{
    if (fields.value(QStringLiteral("actionType")) != QLatin1String("login"))
        return failure(QStringLiteral("Unknown action."));
    const Account *account = world.account(fields.value(QStringLiteral("loginname")),
                                           fields.value(QStringLiteral("readonlypassword")));
    if (!account)
        return failure(QStringLiteral("Wrong user name or security code."));
    Response response =
        xml(documents::login(*account, world.teams()[account->teamIndex], clock.minutes()));
    const QString token = sessions.open(account->userId);
    response.headers.append(
        {"Set-Cookie", QByteArray(Sessions::cookieName) + '=' + token.toLatin1() + "; path=/"});
    return response;
}

Response Routes::live(Session &session, const Fields &fields)
{
    const QString action = fields.value(QStringLiteral("actionType"));
    const auto matchId = number(fields.value(QStringLiteral("matchID")));
    if (action == QLatin1String("addMatch")) {
        if (matchId && schedule::fixtureById(world, *matchId))
            session.followed.insert(*matchId, 0); // resend everything so far
    } else if (action == QLatin1String("deleteMatch")) {
        if (matchId)
            session.followed.remove(*matchId);
    } else if (action != QLatin1String("viewNew")) {
        return failure(QStringLiteral("Unknown action."));
    }
    const double now = clock.minutes();
    std::vector<documents::LiveEntry> entries;
    for (auto it = session.followed.begin(); it != session.followed.end(); ++it) {
        documents::LiveEntry entry;
        entry.fixture = *schedule::fixtureById(world, it.key());
        entry.home = &world.teams()[entry.fixture.home];
        entry.away = &world.teams()[entry.fixture.away];
        entry.status = schedule::status(entry.fixture, now);
        const MatchReport report = playMatch(world, entry.fixture);
        const int visible = eventsPlayedBy(report, entry.fixture, now);
        entry.score = report.scoreAfter(visible);
        entry.fresh.assign(report.events.begin() + std::min(it.value(), visible),
                           report.events.begin() + visible);
        it.value() = visible;
        entries.push_back(std::move(entry));
    }
    return xml(documents::live(entries, now));
}

Response Routes::matches(const Fields &fields) const
{
    const auto teamId = number(fields.value(QStringLiteral("teamID")));
    const Team *team = teamId ? world.teamById(*teamId) : nullptr;
    if (!team)
        return failure(QStringLiteral("Unknown team."));
    return xml(documents::matches(world, *team, clock.minutes()));
}

Response Routes::search(const Fields &fields) const
{
    std::vector<const Team *> found;
    if (fields.value(QStringLiteral("searchWhat")) != QLatin1String("team"))
        return xml(documents::searchResults(found));
    if (fields.contains(QStringLiteral("teamID"))) {
        const auto teamId = number(fields.value(QStringLiteral("teamID")));
        if (const Team *team = teamId ? world.teamById(*teamId) : nullptr)
            found.push_back(team);
    } else if (fields.contains(QStringLiteral("teamName"))) {
        // An empty name is part of every name: the whole list, handy for browsing.
        const QString wanted = searchFold(fields.value(QStringLiteral("teamName")).trimmed());
        for (const Team &team : world.teams()) {
            if (searchFold(team.name).contains(wanted))
                found.push_back(&team);
        }
    }
    return xml(documents::searchResults(found));
}

Response Routes::teamDocument(const QString &page, const Account &account) const
{
    const double now = clock.minutes();
    if (page == QLatin1String("club.asp"))
        return xml(documents::club(world, account, now));
    if (page == QLatin1String("players.asp"))
        return xml(
            documents::players(world, account, trainingData.squadAt(account.teamIndex, now), now));
    if (page == QLatin1String("teamdetails.asp"))
        return xml(teamDetailsEmpty ? QByteArray() : documents::teamDetails(world, account, now));
    return xml(documents::leagueDetails(world, account, now));
}

Response Routes::publisher() const
{
    return xml(documents::version(announcedVersion, announcement));
}

} // namespace sim
