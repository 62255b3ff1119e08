#pragma once

#include "Engine/kstring.h"
#include "live/live_match.h"

#include <pugixml.hpp>

#include <array>
#include <cstddef>
#include <exception>
#include <map>
#include <set>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

// The commentary of one refresh, kept as styled runs so that a box of limited size shows the
// newest lines only. It is a sink itself and replays into another.
class CommentaryBuffer : public StyledTextSink
{
public:
    void appendPlain(std::string_view text) override;
    void appendPlayer(std::string_view name, Colour colour) override;
    void endLine() override;

    // Writes the newest whole lines that fit into `limit` characters (line ends included, counted
    // as the toolkit counts them: one per UTF-16 unit). When even the newest line is longer, its
    // end is written.
    void replay(StyledTextSink &target, std::size_t limit) const;
    // Every line, in the characters replay counts.
    std::size_t length() const { return total; }

    // Where the lines that replay writes begin: the first of them (counted from 0; lineCount()
    // when nothing is written) and the characters cut from its front when it alone is too long.
    struct Tail
    {
        std::size_t line = 0;
        std::size_t cut = 0;
    };
    Tail tail(std::size_t limit) const;
    std::size_t lineCount() const;
    std::size_t runCount() const { return runs.size(); }
    // Writes the runs from `fromRun` on, each whole.
    void replayRuns(StyledTextSink &target, std::size_t fromRun) const;
    // The run that begins the line.
    std::size_t firstRunOf(std::size_t line) const;

private:
    struct Run
    {
        std::size_t begin, size; // bytes in `text`
        std::size_t chars;
        bool player;
        Colour colour;
        bool lineEnd;
    };
    void add(std::string_view text, bool player, Colour colour, bool lineEnd);
    void write(StyledTextSink &target, std::size_t fromRun, std::size_t cut) const;

    std::string text;
    std::vector<Run> runs;
    std::vector<std::size_t> lineStarts; // first run of each line
    std::vector<std::size_t> lineChars;
    std::size_t total = 0;
};

// Characters of UTF-8 text as the toolkit counts them (UTF-16 units).
std::size_t utf16Length(std::string_view utf8);

// A followed match as its page holds it: the model, and whether its tab shows that new events
// came since the user last looked.
class MatchPageModel
{
public:
    virtual ~MatchPageModel() = default;

    LiveMatch match;
    bool highlighted = false;
    // Known only from an earlier run: the service has sent nothing of it in this one yet.
    bool waiting = false;

    // Takes the match element in; a merge that brought events highlights the tab.
    bool merge(pugi::xml_node element);
    // The page (or its tab) became active.
    void entered() { highlighted = false; }

    // One refresh in its fixed order: every event rendered into `commentary` (which works out the
    // names and side flags the list reads), then every event counted on its side, then the
    // attempts derived.
    struct Refresh
    {
        // The events to list, ascending by index: those naming a player.
        std::vector<const Event *> listed;
        // The leading events (ascending) that the previous complete refresh showed and that no
        // merge has touched since, and how many of `listed` they are: a view may keep showing
        // them as they are and add the rest. 0: everything is to be shown anew.
        std::size_t keptEvents = 0;
        std::size_t keptListed = 0;
    };
    Refresh refresh(StyledTextSink &commentary);
    // The next refresh shows everything anew.
    void showAnew() { unchangedEvents = 0; }

private:
    // Events shown by the last complete refresh that are still as they were shown.
    std::size_t unchangedEvents = 0;
};

// What a live response did to one followed match.
struct MatchIntake
{
    int matchId = 0;
    bool isNew = false;    // the response made its page
    bool grew = false;     // the merge brought events
    bool goalRose = false; // a goal the user was not yet told of, on either side
    bool homeScored = false;
    bool awayScored = false;
};

// A match's state as the service's `Status` says it; unknown without one.
enum class MatchState { unknown, upcoming, running, finished };
MatchState matchState(const LiveMatch &match);
// What a page shows beside the score: the minute of the newest event ("67'") and the state
// ("67' live", "90' full time", "not started"); the minute alone without a `Status`.
kstring matchStateText(const LiveMatch &match);

// Tells which goals are news: each score of a match is news once in a run, so adding a match
// again after a new session, an unreadable answer or a repeated event never alerts again for a
// goal already seen. The score a match is first seen with is no news.
class GoalNews
{
public:
    struct Scored
    {
        bool home = false;
        bool away = false;
    };
    Scored taken(const LiveMatch &match, bool firstSeen);

private:
    std::set<std::tuple<int, int, int>> seen; // match id, home goals, away goals
    std::map<int, std::pair<int, int>> last;
};

// The sound of a goal: by side, or when the user's team plays, for "us" or "them".
enum class GoalSound { home, away, us, them };
// `myTeamId` 0: the user's team is not known.
GoalSound goalSound(const LiveMatch &match, bool homeScored, int myTeamId);

// One row of the live summary: the cells by column name.
struct SummaryRow
{
    struct Count
    {
        const char *column;
        int value;
    };
    int matchId = 0;
    kstring homeTeam;
    kstring awayTeam;
    std::array<Count, 10> counts{};
    MatchState state = MatchState::unknown;
    bool waiting = false;
};
SummaryRow summaryRow(const LiveMatch &match);

// What is kept of a followed match between runs: enough for its tab and summary row.
struct RememberedMatch
{
    int matchId = 0;
    kstring homeTeam;
    kstring awayTeam;
    int homeGoals = 0;
    int awayGoals = 0;

    bool operator==(const RememberedMatch &) const = default;
};

// "Lions 2 : 1 Tigers", the text of a goal alert.
kstring goalAlertText(const LiveMatch &match);
// Whether a response's intake asks for a goal alert: a followed match scored while the user is
// in another window.
bool needsGoalAlert(const MatchIntake &intake, bool mainWindowActive);

// The pages of the followed matches by ascending match id; it does not own them. The live
// manager derives from it and puts each page on a tab.
class LivePageMap
{
public:
    virtual ~LivePageMap() = default;

    // For each match element of the response in document order: finds the page of its id,
    // making one when it is new, merges the element and shows the page. Each match is taken in
    // on its own: a faulty one leaves the others as they are, and the first failure is kept in
    // `firstFailure` (the overload without it raises it after the rest are taken in).
    std::vector<MatchIntake> takeIn(pugi::xml_node documentElement,
                                    std::exception_ptr &firstFailure);
    std::vector<MatchIntake> takeIn(pugi::xml_node documentElement);

    MatchPageModel *findPage(int matchId) const;
    // Forgets the page of the id and hands it back, or null when there is none.
    MatchPageModel *forget(int matchId);
    bool empty() const { return pages.empty(); }
    std::size_t matchCount() const { return pages.size(); }
    const std::map<int, MatchPageModel *> &entries() const { return pages; }
    // One row per page, ascending by match id.
    std::vector<SummaryRow> summaryRows() const;

    // The service may have lost what it follows for us: a new session of it follows nothing,
    // and the events of an answer that could not be read are not sent again by a poll. Adding
    // a match again brings every event so far, so each followed match is marked to be added
    // again, and unmarked when an answer to its own add was taken in.
    void markAllForAddingAgain();
    void addedAgain(int matchId) { toAddAgain.erase(matchId); }
    // The followed matches still to be added again, ascending.
    std::vector<int> dueForAddingAgain() const;

protected:
    // Makes a new match's page and enters it.
    MatchPageModel &addPage(int matchId);
    // Makes the page of a new match (the window puts it on a new tab).
    virtual MatchPageModel &createPage(int matchId) = 0;
    // The page has merged its element: show the result.
    virtual void showPage(MatchPageModel &page) = 0;

private:
    MatchIntake takeInMatch(pugi::xml_node element);

    std::map<int, MatchPageModel *> pages;
    std::set<int> toAddAgain;
    GoalNews goals;
};
