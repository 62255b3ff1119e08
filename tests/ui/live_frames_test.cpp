#include "../live/live_test_support.h"

#include "grid/widget/ziv_grid.h"
#include "service/session.h"
#include "ui/live_frame.h"
#include "ui/live_match_frame.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::string link(int player, const std::string &name)
{
    return "<a href=\"playerDetails.asp?playerID=" + std::to_string(player) + "\">" + name + "</a>";
}

std::string oneEventFor(int player)
{
    return eventXml({1, 3, player, 10, 8, "228", link(player, "Smith")});
}

std::string live(const std::string &matches)
{
    return "<Live><MatchList>" + matches + "</MatchList></Live>";
}

std::string withNames(std::string match, const std::string &home, const std::string &away)
{
    for (const auto &[from, to] :
         {std::pair{std::string(">Lions<"), std::string(">").append(xmlEscaped(home)) + "<"},
          std::pair{std::string(">Tigers<"), std::string(">").append(xmlEscaped(away)) + "<"}})
        match.replace(match.find(from), from.size(), to);
    return match;
}

// Event `index` of a long commentary: a home shot (team 10) or an away card, each line about
// 70 characters, so that some thirty lines fill the box.
std::string longEvent(int index, const std::string &extra = "")
{
    const bool home = index % 3 != 0;
    const int player = home ? 7 : 9;
    return eventXml({index, index % 90 + 1, player, home ? 10 : 20, 8, home ? "228" : "510",
                     link(player, home ? "Smith" : "Kerr") +
                         " takes his chance from twenty metres out, number " +
                         std::to_string(index) + extra});
}

std::string longEvents(int first, int last)
{
    std::string events;
    for (int i = first; i <= last; ++i)
        events += longEvent(i);
    return events;
}

class LiveFrames : public ::testing::Test
{
protected:
    void SetUp() override
    {
        root = &session;
        frame = std::make_unique<TframeLive>(session);
        frame->resize(800, 460);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    }
    void TearDown() override
    {
        frame.reset();
        root = nullptr;
    }
    static void process(TframeLive &target, const std::string &response)
    {
        target.follower.lastResponse = response;
        target.follower.processResponse();
    }
    void process(const std::string &response) { process(*frame, response); }
    int tabOf(int matchId) const { return frame->pages->indexOf(frame->page(matchId)); }

    // Without windows of its own the session shows nothing and cancels any login.
    Troot session;
    std::unique_ptr<TframeLive> frame;
};

TEST_F(LiveFrames, CaptionsHeaderAndSummaryFollowTheResponses)
{
    process(live(withNames(matchXml(oneEventFor(7), 2, 1, 700), "Lions & Co", "Tigers") +
                 withNames(matchXml(oneEventFor(9), 0, 0, 300), "Bears", "Wolves")));
    struct Expected
    {
        int matchId, tab;
        QString caption, home, result, away;
    };
    const Expected pages[] = {
        // Tabs in the order the matches came, an "&" doubled so that it is no mnemonic.
        {700, 1, "Lions && Co   2 : 1   Tigers", "Lions & Co", "2 : 1", "Tigers"},
        {300, 2, "Bears   0 : 0   Wolves", "Bears", "0 : 0", "Wolves"},
    };
    ASSERT_EQ(frame->pages->count(), 3);
    for (const Expected &e : pages) {
        SCOPED_TRACE(e.matchId);
        TframeLiveMatch *page = frame->page(e.matchId);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(tabOf(e.matchId), e.tab);
        const QString caption = frame->pages->tabText(e.tab);
        EXPECT_EQ(caption, e.caption);
        EXPECT_TRUE(QKeySequence::mnemonic(caption).isEmpty()) << caption.toStdString();
        EXPECT_EQ(page->txtHome->text(), e.home);
        EXPECT_EQ(page->txtHome->textFormat(), Qt::PlainText);
        EXPECT_EQ(page->txtResult->text(), e.result);
        EXPECT_EQ(page->txtAway->text(), e.away);
    }
    // The summary ascends by id whatever the order of the response.
    ZIVGrid *summary = frame->lstSummary;
    ASSERT_EQ(summary->rowNum(), 2);
    EXPECT_EQ(summary->getRow(0)->getLong("id"), 300);
    EXPECT_EQ(summary->getRow(1)->getLong("id"), 700);
    EXPECT_EQ(summary->getRow(1)->getString("home team"), "Lions & Co");
    EXPECT_EQ(summary->getRow(1)->cell("home goals").getInt(), 2);

    // A later response with a new score and a renamed side rewrites the caption.
    process(live(withNames(matchXml(oneEventFor(7), 3, 1, 700), "Lions & Co", "A&B")));
    EXPECT_EQ(frame->pages->tabText(1), "Lions && Co   3 : 1   A&&B");
    EXPECT_EQ(frame->page(700)->txtAway->text(), "A&B");
    EXPECT_EQ(summary->getRow(1)->cell("home goals").getInt(), 3);
    // Captions as fixed ("goals" twice); the tooltips tell the pairs apart.
    EXPECT_EQ(summary->getColumn("away yellow cards", true)->hint(),
              "yellow cards of the away side");
    EXPECT_EQ(summary->getColumn("home injury", true)->hint(), "injuries of the home side");
    EXPECT_EQ(summary->getColumn("home team", true)->hint(), "the home team");
}

TEST_F(LiveFrames, RemoveMatchRemovesOnlyTheRowsTheUserSelected)
{
    process(live(matchXml(oneEventFor(7), 2, 1, 700) + matchXml(oneEventFor(9), 0, 0, 300)));
    ZIVGrid *summary = frame->lstSummary;
    ASSERT_NE(summary->GetFocusedRow(), nullptr) << "a focused row that is not selected";
    EXPECT_FALSE(frame->btnRemoveMatch->isEnabled());
    QTest::mouseClick(frame->btnRemoveMatch, Qt::LeftButton);
    EXPECT_EQ(frame->follower.matchCount(), 2u);
    // The user clicks the second row (match 700; rows ascend by id).
    QTest::mouseClick(summary->viewport(), Qt::LeftButton, {}, summary->cellRect(1, 2).center());
    ASSERT_TRUE(frame->btnRemoveMatch->isEnabled());
    QTest::mouseClick(frame->btnRemoveMatch, Qt::LeftButton);
    EXPECT_EQ(frame->page(700), nullptr);
    EXPECT_NE(frame->page(300), nullptr);
}

TEST_F(LiveFrames, TheHeaderGivesBothNamesEqualBoxesAroundTheScore)
{
    process(live(matchXml(oneEventFor(7), 2, 1, 700)));
    TframeLiveMatch *page = frame->page(700);
    frame->pages->setCurrentWidget(page);
    for (const int width : {800, 411, 600, 250}) {
        SCOPED_TRACE(width);
        frame->resize(width, 460);
        QCoreApplication::processEvents();
        const int header = page->panHeader->width();
        ASSERT_EQ(header, page->width()) << "the header runs along the whole page";
        const int w = (header - 86 - 21) / 2;
        EXPECT_EQ(page->txtHome->geometry(), QRect(7, 0, w, 41));
        // The score keeps the top; the minute and state line sits under it.
        EXPECT_EQ(page->txtResult->geometry(), QRect(7 + w + 7, 0, 86, 29));
        EXPECT_EQ(page->lblState->geometry(), QRect(7 + w + 7, 28, 86, 13));
        EXPECT_EQ(page->txtAway->geometry(), QRect(7 + w + 7 + 86 + 7, 0, w, 41));
    }
}

// Two frames fed the same match, one response at a time and at once, show the same: what a
// refresh keeps is what a whole rewrite writes.
TEST_F(LiveFrames, TheCommentaryKeepsTheNewestLinesAlsoWhenItGrowsResponseByResponse)
{
    struct Step
    {
        const char *what;
        std::string events;
    };
    const std::vector<Step> steps = {
        {"the first ten events", longEvents(1, 10)},
        {"one more", longEvent(11)},
        {"past the limit", longEvents(12, 40)},
        {"nothing new", ""},
        {"one more beyond it", longEvent(41)},
        {"an earlier event corrected", longEvent(39, " and scores")},
        {"events after a gap", longEvents(45, 46)},
        {"the gap filled", longEvents(42, 44)},
        {"an event longer than the box", eventXml({47, 90, 7, 10, 8, "0", std::string(2100, 'x')})},
        {"a short one after it", longEvent(48)},
    };
    TframeLive whole(session);
    whole.resize(800, 460);
    std::string all;
    for (const Step &step : steps) {
        SCOPED_TRACE(step.what);
        all += step.events;
        process(live(matchXml(step.events, 1, 0, 700)));
        process(whole, live(matchXml(all, 1, 0, 700)));
        TframeLiveMatch *grown = frame->page(700), *written = whole.page(700);
        written->refreshWhole();

        const QString text = grown->txtMatchText->toPlainText();
        EXPECT_EQ(text, written->txtMatchText->toPlainText());
        EXPECT_EQ(grown->txtMatchText->toHtml(), written->txtMatchText->toHtml());
        EXPECT_LE(text.size(), TframeLiveMatch::matchTextLimit);
        // The newest line is the last one, and the box shows it.
        const Event &newest = grown->match.Events.rbegin()->second;
        EXPECT_TRUE(text.endsWith(
            newest.EventText.size() > 2000 ? "xxxx\n" : QString::number(newest.Index) + "\n"))
            << text.right(80).toStdString();
        const QScrollBar *bar = grown->txtMatchText->verticalScrollBar();
        EXPECT_EQ(bar->value(), bar->maximum());

        for (ZIVGrid *TframeLiveMatch::*grid :
             {&TframeLiveMatch::lstEvent, &TframeLiveMatch::lstEvents}) {
            ZIVGrid *a = grown->*grid, *b = written->*grid;
            ASSERT_EQ(a->rowNum(), b->rowNum()) << a->objectName().toStdString();
            for (int row = 0; row < a->rowNum(); ++row)
                for (const auto &[name, column] : a->columns()) {
                    ZIVGridCell &x = a->getRow(row)->cell(name), &y = b->getRow(row)->cell(name);
                    EXPECT_EQ(x.asString(), y.asString())
                        << a->objectName().toStdString() << " row " << row << " " << name;
                    EXPECT_EQ(x.kind(), y.kind());
                    EXPECT_EQ(x.font().color, y.font().color);
                    EXPECT_EQ(x.brush().color, y.brush().color);
                }
        }
        EXPECT_EQ(grown->lstEvents->rowNum(), int(grown->match.Events.size()));
        EXPECT_EQ(grown->match.Home.Attempt, written->match.Home.Attempt);
        EXPECT_EQ(grown->match.Away.YellowCard, written->match.Away.YellowCard);
    }
    // The oldest lines are gone, whole.
    const QString text = frame->page(700)->txtMatchText->toPlainText();
    EXPECT_FALSE(text.contains("number 1\n"));
    EXPECT_TRUE(text.startsWith("(")) << text.left(40).toStdString();
}

} // namespace
