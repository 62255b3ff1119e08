#include "live/live_pages.h"

#include <iterator>
#include <limits>
#include <string>

namespace {

// UTF-16 units of the character that starts with this byte; 0 for a continuation byte.
std::size_t unitsOfLead(unsigned char byte)
{
    if ((byte & 0xC0) == 0x80)
        return 0;
    return byte >= 0xF0 ? 2 : 1;
}

// The bytes of `text` after its first `units` UTF-16 units, never cutting a character.
std::string_view withoutFirstUnits(std::string_view text, std::size_t units)
{
    std::size_t at = 0, skipped = 0;
    while (at < text.size() && skipped < units) {
        skipped += unitsOfLead(static_cast<unsigned char>(text[at]));
        ++at;
        while (at < text.size() && unitsOfLead(static_cast<unsigned char>(text[at])) == 0)
            ++at;
    }
    return text.substr(at);
}

} // namespace

std::size_t utf16Length(std::string_view utf8)
{
    std::size_t units = 0;
    for (char c : utf8)
        units += unitsOfLead(static_cast<unsigned char>(c));
    return units;
}

// ---- CommentaryBuffer

void CommentaryBuffer::add(std::string_view run, bool player, Colour colour, bool lineEnd)
{
    const std::size_t chars = lineEnd ? 1 : utf16Length(run);
    if (runs.empty() || runs.back().lineEnd) {
        lineStarts.push_back(runs.size());
        lineChars.push_back(0);
    }
    runs.push_back({text.size(), run.size(), chars, player, colour, lineEnd});
    text.append(run);
    lineChars.back() += chars;
    total += chars;
}

void CommentaryBuffer::appendPlain(std::string_view run)
{
    add(run, false, {}, false);
}

void CommentaryBuffer::appendPlayer(std::string_view name, Colour colour)
{
    add(name, true, colour, false);
}

void CommentaryBuffer::endLine()
{
    add({}, false, {}, true);
}

std::size_t CommentaryBuffer::lineCount() const
{
    return lineStarts.size();
}

std::size_t CommentaryBuffer::firstRunOf(std::size_t line) const
{
    return line < lineStarts.size() ? lineStarts[line] : runs.size();
}

CommentaryBuffer::Tail CommentaryBuffer::tail(std::size_t limit) const
{
    std::size_t first = lineChars.size(), kept = 0;
    while (first > 0 && kept + lineChars[first - 1] <= limit)
        kept += lineChars[--first];
    if (first < lineChars.size() || lineChars.empty() || limit == 0)
        return {first, 0};
    // Even the newest line is too long: its end.
    return {first - 1, lineChars[first - 1] - limit};
}

void CommentaryBuffer::replay(StyledTextSink &target, std::size_t limit) const
{
    const Tail shown = tail(limit);
    write(target, firstRunOf(shown.line), shown.cut);
}

void CommentaryBuffer::replayRuns(StyledTextSink &target, std::size_t fromRun) const
{
    write(target, fromRun, 0);
}

void CommentaryBuffer::write(StyledTextSink &target, std::size_t fromRun, std::size_t skip) const
{
    for (std::size_t i = fromRun; i < runs.size(); ++i) {
        const Run &run = runs[i];
        if (run.lineEnd) {
            target.endLine();
            continue;
        }
        std::string_view piece(text.data() + run.begin, run.size);
        if (skip > 0) {
            const std::size_t cut = std::min(skip, run.chars);
            piece = withoutFirstUnits(piece, cut);
            skip -= cut;
        }
        if (piece.empty())
            continue;
        if (run.player)
            target.appendPlayer(piece, run.colour);
        else
            target.appendPlain(piece);
    }
}

// ---- MatchPageModel

bool MatchPageModel::merge(pugi::xml_node element)
{
    const std::size_t shown = unchangedEvents;
    unchangedEvents = 0; // and so it stays when the merge fails half-way
    const std::size_t before = match.Events.size();
    const int homeTeam = match.Home.TeamID;
    const auto last = match.Events.empty() ? match.Events.end() : std::prev(match.Events.end());
    const int lastIndex =
        last == match.Events.end() ? std::numeric_limits<int>::min() : last->first;

    const bool grew = match.merge(element);
    waiting = false;
    if (grew)
        highlighted = true;

    // What is shown stays true when every event received is new and comes after the shown ones,
    // and the side that renders as home is the same.
    const std::size_t added = match.Events.size() - before;
    std::size_t received = 0;
    for (pugi::xml_node child : element.child("EventList").children())
        received += child.type() == pugi::node_element;
    const auto after = match.Events.upper_bound(lastIndex);
    if (match.Home.TeamID == homeTeam && received == added &&
        std::size_t(std::distance(after, match.Events.end())) == added)
        unchangedEvents = shown;
    return grew;
}

MatchPageModel::Refresh MatchPageModel::refresh(StyledTextSink &commentary)
{
    Refresh result;
    result.keptEvents = unchangedEvents;
    unchangedEvents = 0; // until this refresh is complete
    match.resetCounters();
    for (auto &[index, event] : match.Events)
        match.renderEvent(event, commentary);
    // Only now are the names and side flags of every event those of its current text.
    std::size_t at = 0;
    for (const auto &[index, event] : match.Events) {
        if (event.namesPlayer()) {
            result.listed.push_back(&event);
            if (at < result.keptEvents)
                ++result.keptListed;
        }
        match.countEvent(event);
        ++at;
    }
    match.deriveAttempts();
    unchangedEvents = match.Events.size();
    return result;
}

// ---- summary and alerts

SummaryRow summaryRow(const LiveMatch &match)
{
    const LiveTeam &home = match.Home, &away = match.Away;
    return {match.MatchID,
            home.TeamName,
            away.TeamName,
            {{{"home goals", home.Goal},
              {"away goals", away.Goal},
              {"home attempts", home.Attempt},
              {"away attempts", away.Attempt},
              {"home yellow cards", home.YellowCard},
              {"away yellow cards", away.YellowCard},
              {"home red cards", home.RedCard},
              {"away red cards", away.RedCard},
              {"home injury", home.Injury},
              {"away injury", away.Injury}}},
            matchState(match)};
}

kstring goalAlertText(const LiveMatch &match)
{
    return match.Home.TeamName + " " + match.resultText() + " " + match.Away.TeamName;
}

bool needsGoalAlert(const MatchIntake &intake, bool mainWindowActive)
{
    return intake.goalRose && !mainWindowActive;
}

MatchState matchState(const LiveMatch &match)
{
    if (match.Status == "ONGOING")
        return MatchState::running;
    if (match.Status == "FINISHED")
        return MatchState::finished;
    if (match.Status == "UPCOMING")
        return MatchState::upcoming;
    return MatchState::unknown;
}

kstring matchStateText(const LiveMatch &match)
{
    const MatchState state = matchState(match);
    if (state == MatchState::upcoming && match.Events.empty())
        return kstring("not started");
    kstring text;
    if (!match.Events.empty())
        text = std::to_string(match.Events.rbegin()->second.Minute) + "'";
    const char *word = state == MatchState::running    ? "live"
                       : state == MatchState::finished ? "full time"
                                                       : "";
    if (*word)
        text = text.empty() ? kstring(word) : text + " " + word;
    return text;
}

GoalNews::Scored GoalNews::taken(const LiveMatch &match, bool firstSeen)
{
    const int home = match.Home.Goal, away = match.Away.Goal;
    Scored scored;
    const auto previous = last.find(match.MatchID);
    if (!firstSeen && previous != last.end() && !seen.count({match.MatchID, home, away})) {
        scored.home = home > previous->second.first;
        scored.away = away > previous->second.second;
    }
    seen.insert({match.MatchID, home, away});
    last[match.MatchID] = {home, away};
    return scored;
}

GoalSound goalSound(const LiveMatch &match, bool homeScored, int myTeamId)
{
    if (myTeamId != 0 && (match.Home.TeamID == myTeamId || match.Away.TeamID == myTeamId))
        return (homeScored == (match.Home.TeamID == myTeamId)) ? GoalSound::us : GoalSound::them;
    return homeScored ? GoalSound::home : GoalSound::away;
}

// ---- LivePageMap

std::vector<MatchIntake> LivePageMap::takeIn(pugi::xml_node documentElement,
                                             std::exception_ptr &firstFailure)
{
    std::vector<MatchIntake> intakes;
    for (pugi::xml_node element : LiveMatch::matchElements(documentElement)) {
        try {
            intakes.push_back(takeInMatch(element));
        } catch (...) {
            if (!firstFailure)
                firstFailure = std::current_exception();
        }
    }
    return intakes;
}

std::vector<MatchIntake> LivePageMap::takeIn(pugi::xml_node documentElement)
{
    std::exception_ptr failure;
    std::vector<MatchIntake> intakes = takeIn(documentElement, failure);
    if (failure)
        std::rethrow_exception(failure);
    return intakes;
}

MatchPageModel &LivePageMap::addPage(int matchId)
{
    MatchPageModel &page = createPage(matchId);
    page.match.MatchID = matchId;
    pages[matchId] = &page;
    return page;
}

MatchIntake LivePageMap::takeInMatch(pugi::xml_node element)
{
    MatchIntake intake;
    intake.matchId = LiveMatch::matchIdOf(element);
    MatchPageModel *page = findPage(intake.matchId);
    intake.isNew = page == nullptr;
    if (intake.isNew)
        page = &addPage(intake.matchId);
    intake.grew = page->merge(element);
    const GoalNews::Scored scored = goals.taken(page->match, intake.isNew);
    intake.homeScored = scored.home;
    intake.awayScored = scored.away;
    intake.goalRose = scored.home || scored.away;
    showPage(*page);
    return intake;
}

MatchPageModel *LivePageMap::findPage(int matchId) const
{
    const auto it = pages.find(matchId);
    return it == pages.end() ? nullptr : it->second;
}

MatchPageModel *LivePageMap::forget(int matchId)
{
    const auto it = pages.find(matchId);
    if (it == pages.end())
        return nullptr;
    MatchPageModel *page = it->second;
    pages.erase(it);
    toAddAgain.erase(matchId);
    return page;
}

void LivePageMap::markAllForAddingAgain()
{
    for (const auto &[id, page] : pages)
        toAddAgain.insert(id);
}

std::vector<int> LivePageMap::dueForAddingAgain() const
{
    return {toAddAgain.begin(), toAddAgain.end()};
}

std::vector<SummaryRow> LivePageMap::summaryRows() const
{
    std::vector<SummaryRow> rows;
    rows.reserve(pages.size());
    for (const auto &[id, page] : pages) {
        rows.push_back(summaryRow(page->match));
        rows.back().waiting = page->waiting;
    }
    return rows;
}
