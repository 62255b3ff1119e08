#include "live_test_support.h"

#include "Engine/errors.h"

namespace {

std::string replaced(std::string text, const std::string &what, const std::string &with)
{
    const auto at = text.find(what);
    EXPECT_NE(at, std::string::npos) << what;
    return at == std::string::npos ? text : text.replace(at, what.size(), with);
}

const std::string smithLink = "<a href=\"playerDetails.asp?playerID=7\">Smith</a>";

bool merge(LiveMatch &match, const std::string &xml)
{
    XmlText doc(xml);
    return match.merge(doc.root());
}

void renderAll(LiveMatch &match)
{
    RecordingSink sink;
    for (auto &[index, event] : match.Events)
        match.renderEvent(event, sink);
}

TEST(LiveMerge, ReadsHeaderAndEvents)
{
    LiveMatch match;
    EXPECT_TRUE(merge(match, matchXml(eventXml({3, 17, 7, 20, 8, "105_3", "a & b"}) +
                                          eventXml({1, 2, 5, 10, 6, "510", ""}),
                                      4, 3, 1234)));
    EXPECT_EQ(match.MatchID, 1234);
    EXPECT_EQ(match.Home.Goal, 4);
    EXPECT_EQ(match.Away.Goal, 3);
    EXPECT_EQ(match.Home.TeamID, 10);
    EXPECT_EQ(match.Home.TeamName, "Lions");
    EXPECT_EQ(match.Away.TeamID, 20);
    EXPECT_EQ(match.Away.TeamName, "Tigers");
    ASSERT_EQ(match.Events.size(), 2u);
    EXPECT_EQ(match.Events.begin()->first, 1);
    const Event &e = match.Events.at(3);
    EXPECT_EQ(e.Index, 3);
    EXPECT_EQ(e.Minute, 17);
    EXPECT_EQ(e.SubjectPlayerID, 7);
    EXPECT_EQ(e.SubjectTeamID, 20);
    EXPECT_EQ(e.ObjectPlayerID, 8);
    EXPECT_EQ(e.EventKey, "105_3");
    EXPECT_EQ(e.EventText, "a & b");
    EXPECT_FALSE(e.namesPlayer());
}

TEST(LiveMerge, ReportsGrowthOnlyForNewEvents)
{
    const std::string two =
        eventXml({1, 1, 7, 10, 8, "0", "a"}) + eventXml({2, 2, 7, 10, 8, "0", "b"});
    LiveMatch match;
    EXPECT_TRUE(merge(match, matchXml(two)));
    EXPECT_FALSE(merge(match, matchXml(two)));
    EXPECT_EQ(match.Events.size(), 2u);
    EXPECT_FALSE(merge(match, matchXml("")));
    EXPECT_TRUE(merge(match, matchXml(two + eventXml({3, 3, 7, 10, 8, "0", "c"}))));
    EXPECT_EQ(match.Events.size(), 3u);
}

TEST(LiveMerge, ResentEventKeepsWhatRenderingFound)
{
    LiveMatch match;
    merge(match, matchXml(eventXml({1, 5, 7, 10, 8, "210", smithLink + " misses"}) +
                          eventXml({2, 6, 7, 10, 8, "0", "kept"})));
    renderAll(match);
    merge(match, matchXml(eventXml({1, 6, 9, 20, 4, "211", "changed"}), 3, 3));
    const Event &e = match.Events.at(1);
    EXPECT_EQ(e.Minute, 6);
    EXPECT_EQ(e.SubjectPlayerID, 9);
    EXPECT_EQ(e.SubjectTeamID, 20);
    EXPECT_EQ(e.ObjectPlayerID, 4);
    EXPECT_EQ(e.EventKey, "211");
    EXPECT_EQ(e.EventText, "changed");
    EXPECT_EQ(e.SubjectPlayerName, "Smith");
    EXPECT_TRUE(e.SubjectIsHome);
    EXPECT_EQ(match.Events.at(2).EventText, "kept");
    EXPECT_EQ(match.Home.Goal, 3);
}

TEST(LiveMerge, MissingTextsReadEmptyAndOnlyElementsAreEvents)
{
    LiveMatch match;
    const std::string bare =
        "<Foo Index=\"4\"><Minute>1</Minute><SubjectPlayerID>1</SubjectPlayerID>"
        "<SubjectTeamID>1</SubjectTeamID><ObjectPlayerID>0</ObjectPlayerID>"
        "</Foo>";
    std::string xml = matchXml("stray text<!-- note -->" + bare);
    xml = replaced(xml, "<HomeTeamName>Lions</HomeTeamName>", "");
    EXPECT_TRUE(merge(match, xml));
    ASSERT_EQ(match.Events.size(), 1u);
    EXPECT_EQ(match.Events.at(4).EventKey, "");
    EXPECT_EQ(match.Events.at(4).EventText, "");
    EXPECT_EQ(match.Home.TeamName, "");
}

TEST(LiveMerge, CdataTextIsRead)
{
    LiveMatch match;
    const std::string event = replaced(eventXml({1, 1, 7, 10, 8, "0", "x"}), "<EventText>x",
                                       "<EventText><![CDATA[" + smithLink + "]]> scores");
    merge(match, matchXml(event));
    EXPECT_EQ(match.Events.at(1).EventText, smithLink + " scores");
}

struct FaultCase
{
    const char *what;
    const char *with;
};

TEST(LiveMerge, FaultyHeaderRaisesAndChangesNothing)
{
    const FaultCase cases[] = {
        {"<MatchID>500</MatchID>", "<MatchID>x</MatchID>"},
        {"<MatchID>500</MatchID>", ""},
        {"<HomeGoals>5</HomeGoals>", "<HomeGoals></HomeGoals>"},
        {"<AwayGoals>5</AwayGoals>", "<AwayGoals>1.5</AwayGoals>"},
        {"<HomeTeamID>10</HomeTeamID>", ""},
        {"<AwayTeamID>20</AwayTeamID>", "<AwayTeamID> 20</AwayTeamID>"},
        {"<AwayTeamID>20</AwayTeamID>", "<AwayTeamID>99999999999</AwayTeamID>"},
    };
    for (const FaultCase &c : cases) {
        LiveMatch match;
        merge(match, matchXml("", 0, 0, 7));
        const std::string bad = replaced(matchXml(eventXml({}), 5, 5, 500), c.what, c.with);
        EXPECT_THROW(merge(match, bad), EConvertError) << c.with;
        EXPECT_EQ(match.MatchID, 7) << c.with;
        EXPECT_EQ(match.Home.Goal, 0) << c.with;
        EXPECT_EQ(match.Away.Goal, 0) << c.with;
        EXPECT_TRUE(match.Events.empty()) << c.with;
    }
}

TEST(LiveMerge, FaultyEventRaisesAndIsNotStored)
{
    const FaultCase cases[] = {
        {"Index=\"2\"", ""},
        {"Index=\"2\"", "Index=\"two\""},
        {"<Minute>2</Minute>", "<Minute></Minute>"},
        {"<SubjectPlayerID>7</SubjectPlayerID>", "<SubjectPlayerID>7x</SubjectPlayerID>"},
        {"<SubjectTeamID>10</SubjectTeamID>", ""},
        {"<ObjectPlayerID>8</ObjectPlayerID>", "<ObjectPlayerID>1e3</ObjectPlayerID>"},
    };
    for (const FaultCase &c : cases) {
        LiveMatch match;
        const std::string bad = replaced(eventXml({2, 2, 7, 10, 8, "0", "bad"}), c.what, c.with);
        EXPECT_THROW(merge(match, matchXml(eventXml({1, 1, 7, 10, 8, "0", "a"}) + bad +
                                           eventXml({3, 3, 7, 10, 8, "0", "c"}))),
                     EConvertError)
            << c.with;
        // What came before the faulty event stays; the faulty one is not half stored.
        EXPECT_EQ(match.Events.size(), 1u) << c.with;
        EXPECT_EQ(match.Events.count(1), 1u) << c.with;
    }
}

TEST(LiveMerge, FaultyResentEventKeepsItsFields)
{
    LiveMatch match;
    merge(match, matchXml(eventXml({1, 1, 7, 10, 8, "0", "old"})));
    const std::string bad =
        replaced(eventXml({1, 9, 7, 10, 8, "0", "new"}), "<ObjectPlayerID>8</ObjectPlayerID>", "");
    EXPECT_THROW(merge(match, matchXml(bad)), EConvertError);
    EXPECT_EQ(match.Events.at(1).Minute, 1);
    EXPECT_EQ(match.Events.at(1).EventText, "old");
}

TEST(LiveMerge, ErrorNamesTheField)
{
    LiveMatch match;
    const std::string bad = replaced(eventXml({42, 2, 7, 10, 8, "0", ""}), "<Minute>2</Minute>",
                                     "<Minute>late</Minute>");
    try {
        merge(match, matchXml(bad));
        FAIL() << "no error";
    } catch (const EConvertError &error) {
        EXPECT_NE(error.message().find("Event 42"), std::string::npos) << error.message();
        EXPECT_NE(error.message().find("Minute"), std::string::npos) << error.message();
        EXPECT_NE(error.message().find("late"), std::string::npos) << error.message();
    }
}

TEST(LiveResponse, MatchElementsOfEveryMatchList)
{
    XmlText doc("<Live><MatchList><Match><MatchID>3</MatchID></Match>text<Other>"
                "<MatchID>1</MatchID></Other></MatchList><Junk><Match/></Junk>"
                "<MatchList><M><MatchID>2</MatchID></M></MatchList></Live>");
    std::vector<int> ids;
    for (pugi::xml_node match : LiveMatch::matchElements(doc.root()))
        ids.push_back(LiveMatch::matchIdOf(match));
    EXPECT_EQ(ids, (std::vector<int>{3, 1, 2}));
    XmlText bad("<Live><MatchList><Match><MatchID>x</MatchID></Match></MatchList></Live>");
    EXPECT_THROW(LiveMatch::matchIdOf(LiveMatch::matchElements(bad.root()).at(0)), EConvertError);
    XmlText none("<Live><Error>not logged in</Error></Live>");
    EXPECT_TRUE(LiveMatch::matchElements(none.root()).empty());
}

// Events of player 7 of the given team, each naming him so that rendering sets the side.
std::string teamEvents(int team, std::initializer_list<const char *> keys, int &index)
{
    std::string xml;
    for (const char *key : keys) {
        xml += eventXml({index, index, 7, team, 8, key, smithLink});
        ++index;
    }
    return xml;
}

TEST(LiveCount, CountsPerSideAndDerivesAttempts)
{
    int index = 1;
    std::string events = teamEvents(10, {"200", "250_1", "299", "101", "41"}, index);
    events += teamEvents(20, {"205", "93", "510", "511", "512", "514", "90", "515"}, index);
    events += eventXml({index, 80, 7, 10, 8, "513", "red card, no link"});
    LiveMatch match;
    merge(match, matchXml(events, 2, 1));
    renderAll(match);
    match.countEvents();
    match.countEvents();
    EXPECT_EQ(match.Home.Missed, 3);
    EXPECT_EQ(match.Home.Attempt, 5);
    EXPECT_EQ(match.Home.Goal, 2);
    EXPECT_EQ(match.Home.Injury, 0);
    EXPECT_EQ(match.Home.YellowCard, 0);
    EXPECT_EQ(match.Home.RedCard, 0);
    EXPECT_EQ(match.Away.Missed, 1);
    EXPECT_EQ(match.Away.Attempt, 2);
    EXPECT_EQ(match.Away.Injury, 1);
    EXPECT_EQ(match.Away.YellowCard, 2);
    // The unlinked red card of a home player counts where its side flag points: away.
    EXPECT_EQ(match.Away.RedCard, 3);
    EXPECT_EQ(match.Away.Goal, 1);
}

// A goal count at the top of the range stops the attempts there instead of wrapping.
TEST(LiveCount, AttemptsStopAtTheLargestCount)
{
    int index = 1;
    LiveMatch match;
    merge(match, matchXml(teamEvents(20, {"205"}, index), 0, 2147483647));
    renderAll(match);
    match.countEvents();
    EXPECT_EQ(match.Away.Missed, 1);
    EXPECT_EQ(match.Away.Goal, 2147483647);
    EXPECT_EQ(match.Away.Attempt, 2147483647);
}

TEST(LiveMatchTexts, ResultAndTabCaption)
{
    LiveMatch match;
    merge(match, matchXml("", 2, 1));
    EXPECT_EQ(match.resultText(), "2 : 1");
    EXPECT_EQ(match.tabCaption(), "Lions   2 : 1   Tigers");
}

} // namespace
