#include "live_test_support.h"

#include "Engine/errors.h"
#include "live/live_pages.h"

#include <memory>

namespace {

std::string link(int player, const std::string &name)
{
    return "<a href=\"playerDetails.asp?playerID=" + std::to_string(player) + "\">" + name + "</a>";
}

// A page map whose pages live in the test and which records what it was asked to do.
class RecordingPageMap : public LivePageMap
{
public:
    std::vector<std::unique_ptr<MatchPageModel>> made;
    std::vector<int> created;
    std::vector<int> shown;

protected:
    MatchPageModel &createPage(int matchId) override
    {
        created.push_back(matchId);
        return *made.emplace_back(std::make_unique<MatchPageModel>());
    }
    void showPage(MatchPageModel &page) override { shown.push_back(page.match.MatchID); }
};

std::string response(const std::string &matches)
{
    return "<Live><MatchList>" + matches + "</MatchList></Live>";
}

std::vector<MatchIntake> takeIn(LivePageMap &map, const std::string &xml)
{
    XmlText doc(xml);
    return map.takeIn(doc.root());
}

const std::string oneEvent = eventXml({1, 3, 7, 10, 8, "228", link(7, "Smith")});
const std::string twoEvents = oneEvent + eventXml({2, 9, 9, 20, 7, "510", link(9, "Kerr")});

TEST(LivePages, TakingResponsesInMakesOnePagePerNewIdAndReusesIt)
{
    struct Step
    {
        const char *what;
        std::string xml;
        std::vector<int> created; // pages made by this step
        std::vector<int> shown;   // pages merged and shown by this step, in document order
        std::vector<std::pair<bool, bool>> newAndGrew;
    };
    const std::vector<Step> steps = {
        {"two new matches",
         response(matchXml(oneEvent, 0, 0, 700) + matchXml(oneEvent, 1, 0, 600)),
         {700, 600},
         {700, 600},
         {{true, true}, {true, true}}},
        {"the same ids again, one grown",
         response(matchXml(twoEvents, 0, 0, 700) + matchXml(oneEvent, 1, 0, 600)),
         {},
         {700, 600},
         {{false, true}, {false, false}}},
        {"no MatchList changes no page",
         "<Live><Other>" + matchXml(oneEvent, 0, 0, 800) + "</Other></Live>",
         {},
         {},
         {}},
        {"an empty list", "<Live><MatchList/></Live>", {}, {}, {}},
        {"two lists, both read",
         "<Live><MatchList>" + matchXml(oneEvent, 0, 0, 800) + "</MatchList><MatchList>" +
             matchXml(twoEvents, 0, 0, 600) + "</MatchList></Live>",
         {800},
         {800, 600},
         {{true, true}, {false, true}}},
    };
    RecordingPageMap map;
    for (const Step &step : steps) {
        SCOPED_TRACE(step.what);
        map.created.clear();
        map.shown.clear();
        const std::vector<MatchIntake> intakes = takeIn(map, step.xml);
        EXPECT_EQ(map.created, step.created);
        EXPECT_EQ(map.shown, step.shown);
        ASSERT_EQ(intakes.size(), step.newAndGrew.size());
        for (std::size_t i = 0; i < intakes.size(); ++i) {
            EXPECT_EQ(intakes[i].matchId, step.shown[i]);
            EXPECT_EQ(intakes[i].isNew, step.newAndGrew[i].first) << i;
            EXPECT_EQ(intakes[i].grew, step.newAndGrew[i].second) << i;
        }
    }
    EXPECT_EQ(map.matchCount(), 3u);
    EXPECT_EQ(map.made.size(), 3u);

    // Marked to be added again: every followed match, until its add was answered or it went.
    EXPECT_TRUE(map.dueForAddingAgain().empty());
    map.markAllForAddingAgain();
    EXPECT_EQ(map.dueForAddingAgain(), (std::vector<int>{600, 700, 800}));
    map.addedAgain(700);
    EXPECT_NE(map.forget(600), nullptr);
    EXPECT_EQ(map.dueForAddingAgain(), std::vector<int>{800});
    takeIn(map, response(matchXml(oneEvent, 0, 0, 900)));
    EXPECT_EQ(map.dueForAddingAgain(), std::vector<int>{800}) << "a new match is complete";
}

TEST(LivePages, AFaultyMatchFailsAloneAndTheRestOfTheAnswerIsTakenIn)
{
    RecordingPageMap map;
    std::string bad = matchXml(oneEvent, 0, 0, 1);
    bad.replace(bad.find("<MatchID>1<"), 11, "<MatchID>x1<");
    EXPECT_THROW(
        takeIn(map, response(matchXml(oneEvent, 0, 0, 5) + bad + matchXml(oneEvent, 0, 0, 9))),
        EConvertError);
    EXPECT_EQ(map.created, (std::vector<int>{5, 9}));
    ASSERT_NE(map.findPage(9), nullptr);
    EXPECT_EQ(map.findPage(9)->match.Events.size(), 1u);
}

TEST(LivePages, HighlightFollowsGrowthUntilThePageIsEntered)
{
    MatchPageModel page;
    const auto merge = [&](const std::string &events) {
        XmlText doc(matchXml(events));
        return page.merge(doc.root());
    };
    EXPECT_TRUE(merge(oneEvent));
    EXPECT_TRUE(page.highlighted);
    page.entered();
    EXPECT_FALSE(merge(oneEvent));
    EXPECT_FALSE(page.highlighted) << "a merge without new events leaves the highlight";
    EXPECT_TRUE(merge(twoEvents));
    EXPECT_TRUE(page.highlighted);
    EXPECT_FALSE(merge(twoEvents));
    EXPECT_TRUE(page.highlighted) << "and does not clear it either";
}

TEST(LivePages, RefreshRendersEveryEventBeforeListingAndCounting)
{
    MatchPageModel page;
    // Event 1 is a home miss whose text links the player only after a merge replaced it; the
    // list must see the name from this refresh's rendering.
    XmlText first(matchXml(eventXml({1, 3, 7, 10, 8, "228", "no link yet"}) +
                               eventXml({2, 5, 9, 20, 7, "93", "injured, no link"}) +
                               eventXml({3, 8, 9, 20, 7, "510", link(9, "Kerr") + " booked"}),
                           2, 0));
    page.merge(first.root());
    RecordingSink sink;
    std::vector<const Event *> listed = page.refresh(sink).listed;
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0]->Index, 3);
    EXPECT_EQ(sink.text, "(3)   no link yet\n(5)   injured, no link\n(8)   [Kerr@A] booked\n");
    // Event 2 names nobody, so its side flag stays false (away): counted there all the same.
    EXPECT_EQ(page.match.Away.Injury, 1);
    EXPECT_EQ(page.match.Away.YellowCard, 1);
    EXPECT_EQ(page.match.Home.Missed, 0) << "event 1 has no side yet: away";
    EXPECT_EQ(page.match.Away.Missed, 1);
    EXPECT_EQ(page.match.Home.Attempt, 2);
    EXPECT_EQ(page.match.Away.Attempt, 1);

    XmlText second(matchXml(eventXml({1, 3, 7, 10, 8, "228", link(7, "Smith") + " misses"}), 2, 0));
    page.merge(second.root());
    RecordingSink again;
    listed = page.refresh(again).listed;
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0]->SubjectPlayerName, "Smith");
    EXPECT_EQ(page.match.Home.Missed, 1);
    EXPECT_EQ(page.match.Away.Missed, 0);
    EXPECT_EQ(page.match.Home.Attempt, 3) << "Missed + Goal";
    EXPECT_EQ(page.match.Away.YellowCard, 1) << "counters are recounted, not added up";
}

TEST(LivePages, ARefreshKeepsOnlyWhatNoMergeTouchedSinceItWasShown)
{
    const std::string e1 = eventXml({1, 3, 7, 10, 8, "228", link(7, "Smith")});
    const std::string e2 = eventXml({2, 5, 9, 20, 7, "93", "no link"});
    const std::string e3 = eventXml({3, 8, 9, 20, 7, "510", link(9, "Kerr")});
    const std::string e5 = eventXml({5, 9, 7, 10, 8, "228", link(7, "Smith")});
    const std::string e4 = eventXml({4, 9, 7, 10, 8, "228", "no link"});
    struct Step
    {
        const char *what;
        std::vector<std::string> merges; // before the refresh; "" is a merge that fails
        std::size_t keptEvents, keptListed, listed;
    };
    const auto withHome = [](const std::string &events, int homeTeam) {
        std::string xml = matchXml(events);
        const std::string from = "<HomeTeamID>10<";
        return xml.replace(xml.find(from), from.size(),
                           "<HomeTeamID>" + std::to_string(homeTeam) + "<");
    };
    const std::vector<Step> steps = {
        {"the first refresh shows everything", {matchXml(e1 + e2)}, 0, 0, 1},
        {"a new event after the shown ones", {matchXml(e3)}, 2, 1, 2},
        {"nothing received", {matchXml("")}, 3, 2, 2},
        {"no merge at all", {}, 3, 2, 2},
        {"an earlier event sent again", {matchXml(e2)}, 0, 0, 2},
        {"two appending merges", {matchXml(e5), matchXml("")}, 3, 2, 3},
        {"an event between shown ones", {matchXml(e4)}, 0, 0, 3},
        {"the same event twice in one merge",
         {matchXml(eventXml({6, 9, 7, 10, 8, "0", "x"}) + eventXml({6, 9, 7, 10, 8, "0", "y"}))},
         0,
         0,
         3},
        {"the home side changes", {withHome("", 20)}, 0, 0, 3},
        {"shown again", {withHome("", 20)}, 6, 3, 3},
        {"a merge that fails half-way", {""}, 0, 0, 3},
    };
    MatchPageModel page;
    for (const Step &step : steps) {
        SCOPED_TRACE(step.what);
        for (const std::string &xml : step.merges) {
            if (xml.empty()) {
                // Event 7 is stored, event 8 is not an event the service can send.
                XmlText bad(withHome(eventXml({7, 9, 7, 10, 8, "0", "no link"}) +
                                         "<Event Index=\"8\"><Minute>late</Minute></Event>",
                                     20));
                EXPECT_THROW(page.merge(bad.root()), EConvertError);
            } else {
                XmlText doc(xml);
                page.merge(doc.root());
            }
        }
        RecordingSink sink;
        const MatchPageModel::Refresh shown = page.refresh(sink);
        EXPECT_EQ(shown.keptEvents, step.keptEvents);
        EXPECT_EQ(shown.keptListed, step.keptListed);
        EXPECT_EQ(shown.listed.size(), step.listed);
    }
}

TEST(LivePages, SummaryRowsAscendByIdWithEachSidesCounters)
{
    RecordingPageMap map;
    const std::string events = eventXml({1, 3, 7, 10, 8, "228", link(7, "Smith")}) +
                               eventXml({2, 4, 7, 10, 8, "205", link(7, "Smith")}) +
                               eventXml({3, 5, 9, 20, 7, "512", link(9, "Kerr")}) +
                               eventXml({4, 6, 9, 20, 7, "511", link(9, "Kerr")}) +
                               eventXml({5, 7, 7, 10, 9, "92", link(7, "Smith")});
    takeIn(map, response(matchXml(events, 3, 1, 900) + matchXml(oneEvent, 0, 2, 300)));
    for (const auto &[id, page] : map.entries()) {
        RecordingSink sink;
        page->refresh(sink);
    }
    const std::vector<SummaryRow> rows = map.summaryRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].matchId, 300);
    EXPECT_EQ(rows[1].matchId, 900);
    EXPECT_EQ(rows[1].homeTeam, "Lions");
    EXPECT_EQ(rows[1].awayTeam, "Tigers");
    const std::map<std::string, int> expected = {{"home goals", 3},        {"away goals", 1},
                                                 {"home attempts", 5},     {"away attempts", 1},
                                                 {"home yellow cards", 0}, {"away yellow cards", 1},
                                                 {"home red cards", 0},    {"away red cards", 1},
                                                 {"home injury", 1},       {"away injury", 0}};
    std::map<std::string, int> seen;
    for (const SummaryRow::Count &count : rows[1].counts)
        seen[count.column] = count.value;
    EXPECT_EQ(seen, expected);
}

TEST(LivePages, AGoalAlertOnceForEachNewScoreOfAFollowedMatchWhileAway)
{
    RecordingPageMap map;
    struct Step
    {
        int home, away;
        bool home_scored, away_scored;
        bool forgetFirst = false;
    };
    const Step steps[] = {
        {2, 1, false, false}, // the score a match is added with
        {2, 1, false, false}, // unchanged
        {2, 2, false, true},        {3, 2, true, false},
        {1, 0, false, false}, // a corrected score going down is no goal
        {2, 1, false, false}, // seen before: added again after a new session
        {3, 2, false, false},       {4, 3, true, true},
        {5, 3, false, false, true}, // removed and added again: the score it comes with
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(std::to_string(step.home) + ":" + std::to_string(step.away));
        if (step.forgetFirst)
            map.forget(42);
        const MatchIntake intake =
            takeIn(map, response(matchXml(oneEvent, step.home, step.away, 42))).at(0);
        const bool rose = step.home_scored || step.away_scored;
        EXPECT_EQ(intake.goalRose, rose);
        EXPECT_EQ(intake.homeScored, step.home_scored);
        EXPECT_EQ(intake.awayScored, step.away_scored);
        EXPECT_EQ(needsGoalAlert(intake, false), rose);
        EXPECT_FALSE(needsGoalAlert(intake, true)) << "the user is looking already";
    }
    EXPECT_EQ(goalAlertText(map.findPage(42)->match), "Lions 5 : 3 Tigers");
}

TEST(LivePages, TheStateBesideTheScoreAndTheSoundOfAGoal)
{
    const std::string later = eventXml({2, 67, 9, 20, 7, "510", link(9, "Kerr")});
    const struct
    {
        std::string status, events;
        const char *text;
        MatchState state;
    } rows[] = {
        {"", oneEvent + later, "67'", MatchState::unknown},
        {"<Status>ONGOING</Status>", oneEvent + later, "67' live", MatchState::running},
        {"<Status>FINISHED</Status>", oneEvent, "3' full time", MatchState::finished},
        {"<Status>UPCOMING</Status>", "", "not started", MatchState::upcoming},
        {"<Status>ONGOING</Status>", "", "live", MatchState::running},
        {"<Status>HALFTIME</Status>", oneEvent, "3'", MatchState::unknown},
    };
    for (const auto &row : rows) {
        LiveMatch match;
        std::string xml = matchXml(row.events);
        xml.insert(xml.find("<EventList>"), row.status);
        match.merge(XmlText(xml).root());
        EXPECT_EQ(matchStateText(match), row.text) << row.status;
        EXPECT_EQ(matchState(match), row.state) << row.status;
        EXPECT_EQ(summaryRow(match).state, row.state);
    }
    LiveMatch match; // Lions (10) at home to Tigers (20)
    match.merge(XmlText(matchXml(oneEvent)).root());
    EXPECT_EQ(goalSound(match, true, 0), GoalSound::home);
    EXPECT_EQ(goalSound(match, false, 99), GoalSound::away);
    EXPECT_EQ(goalSound(match, true, 10), GoalSound::us);
    EXPECT_EQ(goalSound(match, false, 10), GoalSound::them);
    EXPECT_EQ(goalSound(match, false, 20), GoalSound::us);
}

TEST(LivePages, TheCommentaryKeepsTheNewestLinesThatFit)
{
    CommentaryBuffer buffer;
    for (int minute = 1; minute <= 3; ++minute) {
        buffer.appendPlain("(" + std::to_string(minute) + ")   ");
        buffer.appendPlayer("Jörg", homeColour);
        buffer.appendPlain(" ok");
        buffer.endLine();
    }
    // Each line: "(n)   " 6 + "Jörg" 4 + " ok" 3 + line end 1 = 14 characters.
    EXPECT_EQ(buffer.length(), 42u);
    struct Case
    {
        std::size_t limit;
        std::string shown;
    };
    const Case cases[] = {
        {2000, "(1)   [Jörg@H] ok\n(2)   [Jörg@H] ok\n(3)   [Jörg@H] ok\n"},
        {42, "(1)   [Jörg@H] ok\n(2)   [Jörg@H] ok\n(3)   [Jörg@H] ok\n"},
        {41, "(2)   [Jörg@H] ok\n(3)   [Jörg@H] ok\n"},
        {14, "(3)   [Jörg@H] ok\n"},
        // Even the newest line is too long: its end is shown, cut at a whole character.
        {6, "[rg@H] ok\n"},
        {0, ""},
    };
    for (const Case &c : cases) {
        RecordingSink sink;
        buffer.replay(sink, c.limit);
        EXPECT_EQ(sink.text, c.shown) << "limit " << c.limit;
    }
    // Where the shown lines begin, and the runs from a line on.
    const std::pair<std::size_t, CommentaryBuffer::Tail> tails[] = {
        {2000, {0, 0}}, {41, {1, 0}}, {14, {2, 0}}, {6, {2, 8}}, {0, {3, 0}}};
    for (const auto &[limit, expected] : tails) {
        const CommentaryBuffer::Tail tail = buffer.tail(limit);
        EXPECT_EQ(tail.line, expected.line) << "limit " << limit;
        EXPECT_EQ(tail.cut, expected.cut) << "limit " << limit;
    }
    EXPECT_EQ(buffer.lineCount(), 3u);
    RecordingSink fromSecond;
    buffer.replayRuns(fromSecond, buffer.firstRunOf(1));
    EXPECT_EQ(fromSecond.text, "(2)   [Jörg@H] ok\n(3)   [Jörg@H] ok\n");
    EXPECT_EQ(buffer.firstRunOf(3), buffer.runCount());
    EXPECT_EQ(utf16Length("a\xF0\x9F\x98\x80"
                          "é"),
              4u)
        << "a character beyond the BMP counts two";
}

} // namespace
