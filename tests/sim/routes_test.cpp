#include "sim_test_helpers.h"

#include "service/service_paths.h"
#include "sim/match_engine.h"
#include "sim/routes.h"
#include "sim/schedule.h"
#include "sim/world.h"

#include <gtest/gtest.h>

using namespace sim;
using namespace simtest;

namespace {

class Service : public ::testing::Test
{
protected:
    Service() { routes.setRecommendedUrl("http://127.0.0.1:1234"); }

    QByteArray login(const kstring &name = "demo", const kstring &code = "demo")
    {
        return sessionCookie(routes.handle(get(servicePaths::login(name, code))));
    }

    pugi::xml_node answer(const Request &request)
    {
        const Response response = routes.handle(request);
        EXPECT_EQ(response.status, 200);
        doc = parse(response.body);
        EXPECT_NE(doc, nullptr) << response.body.toStdString();
        return doc ? doc->document_element() : pugi::xml_node();
    }

    // A match of the demo team's league that is running now.
    Fixture runningMatch() const
    {
        for (int id : schedule::ongoingMatchIds(world, clock.minutes()))
            return *schedule::fixtureById(world, id);
        ADD_FAILURE() << "no running match";
        return {};
    }

    World world{1};
    SimClock clock{0};
    Routes routes{world, clock};
    std::unique_ptr<pugi::xml_document> doc;
};

int integer(pugi::xml_node node)
{
    return QString::fromUtf8(node.text().get()).toInt();
}

} // namespace

TEST_F(Service, MenuRecommendsTheServer)
{
    EXPECT_STREQ(answer(get(servicePaths::menu())).child("RecommendedURL").text().get(),
                 "http://127.0.0.1:1234");
}

TEST_F(Service, LoginNeedsAKnownNameAndCode)
{
    struct Case
    {
        kstring name, code;
        bool ok;
    };
    const Case cases[] = {{"demo", "demo", true},     {"Demo", "demo", true},
                          {"demo", "Demo", false},    {"demo", "", false},
                          {"nobody", "demo", false},  {"josé", "olé", true},
                          {"demo&x=1", "demo", false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name + "/" + c.code);
        const Response response = routes.handle(get(servicePaths::login(c.name, c.code)));
        doc = parse(response.body);
        ASSERT_NE(doc, nullptr);
        EXPECT_EQ(!doc->document_element().child("UserID").empty(), c.ok);
        EXPECT_EQ(!sessionCookie(response).isEmpty(), c.ok);
    }
}

TEST_F(Service, EveryOtherRequestNeedsTheSessionCookie)
{
    const std::vector<Request> requests{
        get(servicePaths::liveAddMatch(runningMatch().matchId)),
        get(servicePaths::liveViewNew()),
        get(servicePaths::teamMatches(world.teams()[0].id)),
        postForm(servicePaths::search(), servicePaths::searchTeamByName("a")),
        get(servicePaths::club()),
        get(servicePaths::players()),
        get(servicePaths::teamDetails()),
        get(servicePaths::leagueDetails())};
    for (const QByteArray &cookie : {QByteArray(), QByteArray("StrikoraSession=forged")}) {
        for (Request request : requests) {
            request.cookies = cookie;
            const pugi::xml_node root = answer(request);
            SCOPED_TRACE(request.path.toStdString());
            EXPECT_FALSE(root.child("Error").empty());
            for (const char *read : {"MatchList", "Team", "SearchResults", "FileName", "UserID"})
                EXPECT_TRUE(root.child(read).empty()) << read;
        }
    }
}

TEST_F(Service, AddMatchSendsEverythingSoFarAndViewNewOnlyWhatFollows)
{
    const QByteArray cookie = login();
    const Fixture f = runningMatch();
    pugi::xml_node match =
        answer(get(servicePaths::liveAddMatch(f.matchId), cookie)).child("MatchList").first_child();
    ASSERT_EQ(integer(match.child("MatchID")), f.matchId);
    EXPECT_EQ(integer(match.child("HomeTeam").child("HomeTeamID")), world.teams()[f.home].id);
    EXPECT_STREQ(match.child("AwayTeam").child("AwayTeamName").text().get(),
                 world.teams()[f.away].name.toUtf8().constData());
    const MatchReport report = playMatch(world, f);
    int sent = 0;
    std::vector<int> indexes;
    for (int step = 0; step < 12; ++step) {
        for (pugi::xml_node e : match.child("EventList").children()) {
            indexes.push_back(e.attribute("Index").as_int());
            EXPECT_FALSE(e.child("EventKey").empty());
            EXPECT_FALSE(e.child("EventText").empty());
            ++sent;
        }
        const Score score = report.scoreAfter(sent);
        EXPECT_EQ(integer(match.child("HomeGoals")), score.home);
        EXPECT_EQ(integer(match.child("AwayGoals")), score.away);
        clock.advance(10);
        match = answer(get(servicePaths::liveViewNew(), cookie)).child("MatchList").first_child();
        ASSERT_EQ(integer(match.child("MatchID")), f.matchId);
    }
    EXPECT_EQ(sent, int(report.events.size()));
    for (std::size_t i = 0; i < indexes.size(); ++i)
        EXPECT_EQ(indexes[i], int(i) + 1);
    EXPECT_TRUE(match.child("EventList").first_child().empty()); // all sent, nothing again
    EXPECT_STREQ(match.child("Status").text().get(), "FINISHED");
}

TEST_F(Service, FollowedSetBelongsToTheSession)
{
    const QByteArray first = login(), second = login("anna", "kickoff");
    const auto live = schedule::ongoingMatchIds(world, clock.minutes());
    ASSERT_GE(live.size(), 2u);
    answer(get(servicePaths::liveAddMatch(live[1]), first));
    answer(get(servicePaths::liveAddMatch(999), first)); // unknown: not followed
    pugi::xml_node list =
        answer(get(servicePaths::liveAddMatch(live[0]), first)).child("MatchList");
    EXPECT_EQ(std::distance(list.begin(), list.end()), 2);
    EXPECT_EQ(integer(list.first_child().child("MatchID")), live[0]); // ascending ids
    EXPECT_TRUE(
        answer(get(servicePaths::liveViewNew(), second)).child("MatchList").first_child().empty());

    list = answer(get(servicePaths::liveDeleteMatch(live[0]), first)).child("MatchList");
    EXPECT_EQ(std::distance(list.begin(), list.end()), 1);
    EXPECT_EQ(integer(list.first_child().child("MatchID")), live[1]);
    // Adding again sends the whole match once more.
    list = answer(get(servicePaths::liveAddMatch(live[1]), first)).child("MatchList");
    const auto events = list.first_child().child("EventList").children();
    EXPECT_EQ(std::distance(events.begin(), events.end()),
              playMatch(world, *schedule::fixtureById(world, live[1]))
                  .visibleCount(schedule::playedMinutes(*schedule::fixtureById(world, live[1]),
                                                        clock.minutes())));
}

TEST_F(Service, UpcomingMatchIsFollowedWithoutEvents)
{
    const QByteArray cookie = login();
    const Fixture next = schedule::fixture(world, 7, 0, 0);
    const pugi::xml_node match = answer(get(servicePaths::liveAddMatch(next.matchId), cookie))
                                     .child("MatchList")
                                     .first_child();
    EXPECT_EQ(integer(match.child("MatchID")), next.matchId);
    EXPECT_STREQ(match.child("HomeGoals").text().get(), "0");
    EXPECT_TRUE(match.child("EventList").first_child().empty());
}

TEST_F(Service, TeamMatchesInOrderOfPlay)
{
    const QByteArray cookie = login();
    const Team &team = world.teams()[9];
    const pugi::xml_node t = answer(get(servicePaths::teamMatches(team.id), cookie)).child("Team");
    QStringList statuses, dates;
    for (pugi::xml_node m : t.child("MatchList").children("Match")) {
        statuses << m.child("Status").text().get();
        dates << m.child("MatchDate").text().get();
        const QString home = m.child("HomeTeam").child("HomeTeamName").text().get();
        const QString away = m.child("AwayTeam").child("AwayTeamName").text().get();
        EXPECT_TRUE(home == team.name || away == team.name);
        EXPECT_GT(integer(m.child("MatchID")), 0);
    }
    ASSERT_EQ(statuses.size(), 14);
    QStringList sorted = dates;
    sorted.sort();
    EXPECT_EQ(dates, sorted);
    EXPECT_EQ(statuses.first(), "FINISHED");
    EXPECT_EQ(statuses.last(), "UPCOMING");
    EXPECT_FALSE(answer(get(servicePaths::teamMatches(1), cookie)).child("Error").empty());
}

TEST_F(Service, TeamSearchByIdAndByAnyPartOfTheName)
{
    const QByteArray cookie = login();
    auto found = [&](const std::vector<kstring> &fields) {
        QStringList names;
        const pugi::xml_node root = answer(postForm(servicePaths::search(), fields, cookie));
        for (pugi::xml_node r : root.child("SearchResults").children("Result")) {
            EXPECT_NE(world.teamById(integer(r.child("ResultID"))), nullptr);
            names << QString::fromUtf8(r.child("ResultName").text().get());
        }
        return names;
    };
    const Team &team = world.teams()[3];
    EXPECT_EQ(found(servicePaths::searchTeamById(team.id)), QStringList{team.name});
    EXPECT_TRUE(found(servicePaths::searchTeamById(0)).isEmpty());
    EXPECT_EQ(found(servicePaths::searchTeamByName("MALMO")), QStringList{"Malmö Vikings"});
    EXPECT_EQ(found(servicePaths::searchTeamByName("malmö vik")), QStringList{"Malmö Vikings"});
    EXPECT_EQ(found(servicePaths::searchTeamByName("tromso")), QStringList{"Tromsø Nordlys"});
    EXPECT_EQ(found(servicePaths::searchTeamByName("isafold")), QStringList{"Ísafold United"});
    EXPECT_TRUE(found(servicePaths::searchTeamByName("Nowhere Town")).isEmpty());
    EXPECT_EQ(found(servicePaths::searchTeamByName("")).size(), 32);
}

TEST_F(Service, TeamDocumentsCarryTheirHead)
{
    const QByteArray cookie = login();
    clock.advance(61);
    const char *names[] = {"club.xml", "players.xml", "teamDetails.xml", "leagueDetails.xml"};
    int i = 0;
    for (const kstring &path : servicePaths::teamDocuments()) {
        const pugi::xml_node root = answer(get(path, cookie));
        EXPECT_STREQ(root.child("FileName").text().get(), names[i++]);
        EXPECT_STREQ(root.child("UserID").text().get(), "123456");
        EXPECT_STREQ(root.child("FetchedDate").text().get(), "2025-03-08 16:01:00");
    }
    const pugi::xml_node players = answer(get(servicePaths::players(), cookie));
    const Team &demo = world.teams()[world.accounts().front().teamIndex];
    const auto list = players.child("Team").child("PlayerList").children("Player");
    EXPECT_EQ(std::size_t(std::distance(list.begin(), list.end())), demo.players.size());
    EXPECT_EQ(integer(players.child("Team").child("PlayerList").first_child().child("KeeperSkill")),
              demo.players.front().skills[Goaltending]);
    const pugi::xml_node table = answer(get(servicePaths::leagueDetails(), cookie)).child("Table");
    EXPECT_EQ(std::distance(table.begin(), table.end()), 8);

    routes.setTeamDetailsEmpty(true);
    const Response empty = routes.handle(get(servicePaths::teamDetails(), cookie));
    EXPECT_EQ(empty.status, 200);
    EXPECT_TRUE(empty.body.isEmpty());
}

TEST_F(Service, PublisherAnnouncesVersionAndMessage)
{
    pugi::xml_node root = answer(get("/init.xml?site=strikorakey"));
    EXPECT_STREQ(root.child("version").text().get(), "0.1.7");
    EXPECT_GE(QString::fromUtf8(root.child("message").text().get()).count('\n'), 2);
    routes.setAnnouncement("0.1.8", "line one\nline two");
    root = answer(get("/init.xml?site=strikorakey"));
    EXPECT_STREQ(root.child("version").text().get(), "0.1.8");
    EXPECT_STREQ(root.child("message").text().get(), "line one\nline two");
}

TEST_F(Service, UnknownPathsAndMalformedInputs)
{
    const QByteArray cookie = login();
    for (const char *path : {"/", "/Common/", "/Common/nothing.asp", "/init.xml/x", "/menu.asp"})
        EXPECT_EQ(routes.handle(get(path, cookie)).status, 404) << path;
    Request put = get(servicePaths::menu());
    put.method = "PUT";
    EXPECT_EQ(routes.handle(put).status, 405);
    const char *queries[] = {"live.asp?outputType=XML&actionType=addMatch&matchID=%zz",
                             "live.asp?outputType=XML&actionType=addMatch&matchID=99999999999",
                             "live.asp?=&&&=%&actionType",
                             "live.asp?actionType=unknown",
                             "matches.asp?teamID=-1%00",
                             "default.asp?actionType=login&loginname=%C3%28&readonlypassword=%"};
    for (const char *query : queries) {
        const Response response = routes.handle(get(query, cookie));
        EXPECT_EQ(response.status, 200) << query;
        EXPECT_NE(parse(response.body), nullptr) << query;
    }
    Request form =
        postForm(servicePaths::search(), {"searchWhat=team", "teamName=%FF%FE+%"}, cookie);
    EXPECT_NE(parse(routes.handle(form).body), nullptr);
}

TEST(Fields, DecodePercentAndPlus)
{
    const auto fields = parseFields("a=x%26y&b=caf%C3%A9+au+lait&a=second&flag&=v&c=%");
    EXPECT_EQ(fields.value("a"), "x&y");
    EXPECT_EQ(fields.value("b"), QStringLiteral("café au lait"));
    EXPECT_TRUE(fields.contains("flag"));
    EXPECT_EQ(fields.value("c"), "%");
}
