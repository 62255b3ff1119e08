#include "sim/team_documents.h"

#include "sim/documents.h"
#include "sim/world.h"

#include <algorithm>
#include <map>

namespace sim::documents {

namespace {

const Team &teamOf(const World &world, const Account &account)
{
    return world.teams()[account.teamIndex];
}

// The team a document is about, by id and name.
pugi::xml_node addTeam(pugi::xml_node parent, const Team &team)
{
    pugi::xml_node node = parent.append_child("Team");
    add(node, "TeamID", team.id);
    add(node, "TeamName", team.name);
    return node;
}

void addLeagueRef(pugi::xml_node parent, const World &world, const Team &team)
{
    const League &league = world.leagues()[team.league];
    pugi::xml_node node = parent.append_child("League");
    add(node, "LeagueID", league.id);
    add(node, "LeagueName", league.name);
}

void addFixture(pugi::xml_node list, const World &world, const Fixture &fixture, double minute)
{
    const MatchStatus status = schedule::status(fixture, minute);
    pugi::xml_node match = list.append_child("Match");
    add(match, "MatchID", fixture.matchId);
    add(match, "Status", statusText(status));
    add(match, "MatchDate", SimClock::format(SimClock::dateAt(fixture.kickoff)));
    addTeamRef(match, "Home", world.teams()[fixture.home]);
    addTeamRef(match, "Away", world.teams()[fixture.away]);
    if (status == MatchStatus::Upcoming)
        return;
    const MatchReport report = playMatch(world, fixture);
    const Score score = report.scoreAfter(eventsPlayedBy(report, fixture, minute));
    add(match, "HomeGoals", score.home);
    add(match, "AwayGoals", score.away);
}

const char *roleName(Role role)
{
    static const char *const names[] = {"Keeper", "Defender", "Midfielder", "Winger", "Forward"};
    return names[int(role)];
}

void addPlayer(pugi::xml_node list, const Player &player)
{
    static const char *const skillNames[skillCount] = {
        "StaminaSkill", "PlaymakerSkill", "WingerSkill",   "ScorerSkill",
        "KeeperSkill",  "PassingSkill",   "DefenderSkill", "SetPiecesSkill"};
    pugi::xml_node node = list.append_child("Player");
    add(node, "PlayerID", player.id);
    add(node, "PlayerName", player.name);
    add(node, "Position", QString::fromLatin1(roleName(player.role)));
    add(node, "Age", player.age);
    add(node, "PlayerForm", player.form);
    add(node, "TSI", player.skillIndex);
    for (int s = 0; s < skillCount; ++s)
        add(node, skillNames[s], player.skills[s]);
    add(node, "Specialty", player.speciality);
    add(node, "Agreeability", player.gentleness);
    add(node, "Aggressiveness", player.aggressiveness);
    add(node, "Honesty", player.honesty);
    add(node, "Experience", player.experience);
    add(node, "Leadership", player.leadership);
    add(node, "Salary", player.salary);
    add(node, "InjuryLevel", player.injuryWeeks);
}

struct TableRow
{
    int team = 0;
    int played = 0, won = 0, drawn = 0, lost = 0, goalsFor = 0, goalsAgainst = 0;
    int points() const { return 3 * won + drawn; }
};

void record(TableRow &row, int scored, int conceded)
{
    ++row.played;
    row.goalsFor += scored;
    row.goalsAgainst += conceded;
    if (scored > conceded)
        ++row.won;
    else if (scored == conceded)
        ++row.drawn;
    else
        ++row.lost;
}

// The table of the season so far, from the finished matches only.
std::vector<TableRow> leagueTable(const World &world, int league, double minute)
{
    std::map<int, TableRow> rows;
    for (int team : world.leagues()[league].teams)
        rows[team].team = team;
    const int season = schedule::seasonOf(schedule::currentRound(minute));
    for (const Fixture &f : schedule::leagueSeason(world, league, season)) {
        if (schedule::status(f, minute) != MatchStatus::Finished)
            continue;
        const Score score = playMatch(world, f).finalScore();
        record(rows[f.home], score.home, score.away);
        record(rows[f.away], score.away, score.home);
    }
    std::vector<TableRow> table;
    for (const auto &[team, row] : rows)
        table.push_back(row);
    std::stable_sort(table.begin(), table.end(), [](const TableRow &a, const TableRow &b) {
        const int diffA = a.goalsFor - a.goalsAgainst, diffB = b.goalsFor - b.goalsAgainst;
        if (a.points() != b.points())
            return a.points() > b.points();
        return diffA != diffB ? diffA > diffB : a.goalsFor > b.goalsFor;
    });
    return table;
}

void addTableRow(pugi::xml_node table, const World &world, const TableRow &row, int position)
{
    pugi::xml_node node = table.append_child("Team");
    add(node, "Position", position);
    add(node, "TeamID", world.teams()[row.team].id);
    add(node, "TeamName", world.teams()[row.team].name);
    add(node, "Matches", row.played);
    add(node, "Won", row.won);
    add(node, "Draws", row.drawn);
    add(node, "Lost", row.lost);
    add(node, "GoalsFor", row.goalsFor);
    add(node, "GoalsAgainst", row.goalsAgainst);
    add(node, "Points", row.points());
}

} // namespace

QByteArray matches(const World &world, const Team &team, double minute)
{
    Doc doc;
    add(doc.root(), "FileName", QStringLiteral("matches.xml"));
    add(doc.root(), "FetchedDate", SimClock::format(SimClock::dateAt(minute)));
    pugi::xml_node node = addTeam(doc.root(), team);
    pugi::xml_node list = node.append_child("MatchList");
    const int season = schedule::seasonOf(schedule::currentRound(minute));
    for (const Fixture &fixture : schedule::teamSeason(world, team.index, season))
        addFixture(list, world, fixture, minute);
    return doc.bytes();
}

QByteArray club(const World &world, const Account &account, double minute)
{
    const Team &team = teamOf(world, account);
    Doc doc;
    addHead(doc.root(), "club.xml", account.userId, minute);
    pugi::xml_node node = addTeam(doc.root(), team);
    pugi::xml_node staff = node.append_child("Specialists");
    add(staff, "AssistantTrainers", 1 + team.fans % 4);
    add(staff, "Psychologists", team.fans % 2);
    add(staff, "PressSpokesmen", 1);
    add(staff, "Physiotherapists", 1 + team.founded % 3);
    add(staff, "Doctors", 1 + team.arenaCapacity % 2);
    pugi::xml_node youth = node.append_child("YouthSquad");
    add(youth, "Investment", 5000 + 1000 * (team.fans % 9));
    add(youth, "YouthLevel", 1 + team.founded % 5);
    return doc.bytes();
}

QByteArray players(const World &world, const Account &account, const std::vector<Player> &squad,
                   double minute)
{
    const Team &team = teamOf(world, account);
    Doc doc;
    addHead(doc.root(), "players.xml", account.userId, minute);
    pugi::xml_node node = addTeam(doc.root(), team);
    pugi::xml_node list = node.append_child("PlayerList");
    for (const Player &player : squad)
        addPlayer(list, player);
    return doc.bytes();
}

QByteArray teamDetails(const World &world, const Account &account, double minute)
{
    const Team &team = teamOf(world, account);
    Doc doc;
    addHead(doc.root(), "teamDetails.xml", account.userId, minute);
    pugi::xml_node node = addTeam(doc.root(), team);
    add(node, "FoundedDate", QStringLiteral("%1-08-01").arg(team.founded));
    add(node, "Manager", account.loginName);
    pugi::xml_node arena = node.append_child("Arena");
    add(arena, "ArenaName", team.arena);
    add(arena, "Capacity", team.arenaCapacity);
    addLeagueRef(node, world, team);
    add(node, "FanClubSize", team.fans);
    return doc.bytes();
}

QByteArray leagueDetails(const World &world, const Account &account, double minute)
{
    const Team &team = teamOf(world, account);
    const League &league = world.leagues()[team.league];
    const int round = schedule::currentRound(minute);
    Doc doc;
    addHead(doc.root(), "leagueDetails.xml", account.userId, minute);
    add(doc.root(), "LeagueID", league.id);
    add(doc.root(), "LeagueName", league.name);
    add(doc.root(), "Season", schedule::seasonOf(round) + 1);
    add(doc.root(), "CurrentMatchRound", round % schedule::roundsPerSeason + 1);
    pugi::xml_node table = doc.root().append_child("Table");
    int position = 0;
    for (const TableRow &row : leagueTable(world, team.league, minute))
        addTableRow(table, world, row, ++position);
    return doc.bytes();
}

} // namespace sim::documents
