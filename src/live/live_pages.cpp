#include "live/live_pages.h"

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
    runs.push_back({text.size(), run.size(), chars, player, colour, lineEnd});
    text.append(run);
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

void CommentaryBuffer::replay(StyledTextSink &target, std::size_t limit) const
{
    // Lines by their first run and length; a last line without its end counts as one too.
    struct Line
    {
        std::size_t firstRun, chars;
    };
    std::vector<Line> lines;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        if (i == 0 || runs[i - 1].lineEnd)
            lines.push_back({i, 0});
        lines.back().chars += runs[i].chars;
    }
    std::size_t first = lines.size(), kept = 0;
    while (first > 0 && kept + lines[first - 1].chars <= limit)
        kept += lines[--first].chars;

    std::size_t skip = 0; // characters cut from the front of a newest line that alone is too long
    if (first == lines.size()) {
        if (lines.empty() || limit == 0)
            return;
        --first;
        skip = lines[first].chars - limit;
    }
    for (std::size_t i = lines[first].firstRun; i < runs.size(); ++i) {
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
    const bool grew = match.merge(element);
    if (grew)
        highlighted = true;
    return grew;
}

std::vector<const Event *> MatchPageModel::refresh(StyledTextSink &commentary)
{
    match.resetCounters();
    for (auto &[index, event] : match.Events)
        match.renderEvent(event, commentary);
    // Only now are the names and side flags of every event those of its current text.
    std::vector<const Event *> listed;
    for (const auto &[index, event] : match.Events) {
        if (event.namesPlayer())
            listed.push_back(&event);
        match.countEvent(event);
    }
    match.deriveAttempts();
    return listed;
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
              {"away injury", away.Injury}}}};
}

kstring goalAlertText(const LiveMatch &match)
{
    return match.Home.TeamName + " " + match.resultText() + " " + match.Away.TeamName;
}

bool needsGoalAlert(const MatchIntake &intake, bool mainWindowActive)
{
    return intake.goalRose && !mainWindowActive;
}

// ---- LivePageMap

std::vector<MatchIntake> LivePageMap::takeIn(pugi::xml_node documentElement)
{
    std::vector<MatchIntake> intakes;
    for (pugi::xml_node element : LiveMatch::matchElements(documentElement)) {
        MatchIntake intake;
        intake.matchId = LiveMatch::matchIdOf(element);
        MatchPageModel *page = findPage(intake.matchId);
        intake.isNew = page == nullptr;
        if (intake.isNew) {
            page = &createPage(intake.matchId);
            page->match.MatchID = intake.matchId;
            pages[intake.matchId] = page;
        }
        const int homeBefore = page->match.Home.Goal, awayBefore = page->match.Away.Goal;
        intake.grew = page->merge(element);
        // The score a match is added with is no news.
        intake.goalRose = !intake.isNew && (page->match.Home.Goal > homeBefore ||
                                            page->match.Away.Goal > awayBefore);
        showPage(*page);
        intakes.push_back(intake);
    }
    return intakes;
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
    return page;
}

std::vector<SummaryRow> LivePageMap::summaryRows() const
{
    std::vector<SummaryRow> rows;
    rows.reserve(pages.size());
    for (const auto &[id, page] : pages)
        rows.push_back(summaryRow(page->match));
    return rows;
}
