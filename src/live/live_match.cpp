#include "live/live_match.h"

#include "Engine/convert.h"
#include "Engine/errors.h"
#include "live/c_chars.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <string>

namespace {

using std::string_view;
constexpr auto npos = string_view::npos;

// The character data of an element; a missing element reads as the empty text.
kstring elementText(pugi::xml_node element)
{
    kstring text;
    for (pugi::xml_node child : element.children())
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            text += child.value();
    return text;
}

// A strict integer that names its field when it is none.
int fieldInt(string_view text, string_view field)
{
    try {
        return toInt(text);
    } catch (const EConvertError &error) {
        throw EConvertError(std::string(field) + ": " + error.message());
    }
}

int readInt(pugi::xml_node parent, const std::string &name)
{
    return fieldInt(elementText(parent.child(name.c_str())), name);
}

bool isElement(pugi::xml_node node)
{
    return node.type() == pugi::node_element;
}

struct SideHeader
{
    int goals;
    int teamId;
    kstring teamName;
};

// `side` is "Home" or "Away": HomeGoals, HomeTeam/HomeTeamID, HomeTeam/HomeTeamName.
SideHeader readSide(pugi::xml_node match, const std::string &side)
{
    const pugi::xml_node team = match.child((side + "Team").c_str());
    return {readInt(match, side + "Goals"), readInt(team, side + "TeamID"),
            elementText(team.child((side + "TeamName").c_str()))};
}

void applySide(LiveTeam &team, SideHeader &&header)
{
    team.Goal = header.goals;
    team.TeamID = header.teamId;
    team.TeamName = std::move(header.teamName);
}

// Fields 1 to 7 of an event element; raises before anything is stored.
Event readEvent(pugi::xml_node element)
{
    Event event;
    event.Index = fieldInt(element.attribute("Index").value(), "Event Index");
    try {
        event.Minute = readInt(element, "Minute");
        event.SubjectPlayerID = readInt(element, "SubjectPlayerID");
        event.SubjectTeamID = readInt(element, "SubjectTeamID");
        event.ObjectPlayerID = readInt(element, "ObjectPlayerID");
    } catch (const EConvertError &error) {
        throw EConvertError("Event " + std::to_string(event.Index) + ": " + error.message());
    }
    event.EventKey = elementText(element.child("EventKey"));
    event.EventText = elementText(element.child("EventText"));
    return event;
}

// A later merge replaces what the service sends and keeps what rendering worked out.
void overwriteReceived(Event &stored, Event &&received)
{
    stored.Index = received.Index;
    stored.Minute = received.Minute;
    stored.SubjectPlayerID = received.SubjectPlayerID;
    stored.SubjectTeamID = received.SubjectTeamID;
    stored.ObjectPlayerID = received.ObjectPlayerID;
    stored.EventKey = std::move(received.EventKey);
    stored.EventText = std::move(received.EventText);
}

// Line breaks and hard blanks the commentary line does without, removed in this order.
const kstring removedTokens[] = {"&nbsp;", "<BR>", "</BR>", "<BR />", "<br>", "</br>", "<br />"};

kstring withoutRemovedTokens(const kstring &text)
{
    kstring stripped(text);
    for (const kstring &token : removedTokens)
        stripped.cut(token);
    return stripped;
}

// The service writes tags in either case; whichever spelling comes first counts.
std::size_t findTag(string_view text, string_view lower, string_view upper, std::size_t from)
{
    return std::min(text.find(lower, from), text.find(upper, from));
}

// The text after the link's first ">" up to the next "<" (or the end).
string_view anchorText(string_view link)
{
    const std::size_t open = link.find('>');
    if (open == npos)
        return {};
    const std::size_t begin = open + 1;
    const std::size_t end = link.find('<', begin);
    return link.substr(begin, end == npos ? npos : end - begin);
}

// The words of `raw` joined by single blanks.
void collapseBlanks(string_view raw, kstring &words)
{
    words.clear();
    std::size_t at = 0;
    while (true) {
        while (at < raw.size() && isCBlank(raw[at]))
            ++at;
        if (at == raw.size())
            return;
        const std::size_t begin = at;
        while (at < raw.size() && !isCBlank(raw[at]))
            ++at;
        if (!words.empty())
            words += ' ';
        words.append(raw.substr(begin, at - begin));
    }
}

// The number after "playerID=" up to the ">" that closes the opening tag, less the closing
// quote of the address. None when the link has no such number or its tag never closes.
std::optional<int> playerNumber(string_view link)
{
    static constexpr string_view key = "playerID=";
    const std::size_t at = link.find(key);
    if (at == npos)
        return std::nullopt;
    const std::size_t begin = at + key.size();
    const std::size_t end = link.find('>', begin);
    if (end == npos)
        return std::nullopt;
    string_view digits = link.substr(begin, end - begin);
    if (!digits.empty() && (digits.back() == '"' || digits.back() == '\''))
        digits.remove_suffix(1);
    return fieldInt(digits, "Player link");
}

void appendPlain(StyledTextSink &sink, string_view text)
{
    if (!text.empty())
        sink.appendPlain(text);
}

// The goal count is the service's: any int. The sum stops at the ends of the range.
int saturatingSum(int a, int b)
{
    const long long sum = static_cast<long long>(a) + b;
    return static_cast<int>(std::clamp<long long>(sum, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

} // namespace

Colour sideColour(bool home)
{
    return home ? homeColour : awayColour;
}

Colour sideTint(bool home)
{
    return home ? Colour{220, 220, 255} : Colour{255, 220, 220};
}

bool LiveMatch::merge(pugi::xml_node match)
{
    mergeHeader(match);
    const std::size_t before = Events.size();
    for (pugi::xml_node element : match.child("EventList").children())
        if (isElement(element))
            mergeEvent(element);
    return Events.size() > before;
}

void LiveMatch::mergeHeader(pugi::xml_node match)
{
    SideHeader home = readSide(match, "Home");
    SideHeader away = readSide(match, "Away");
    const int matchId = readInt(match, "MatchID");
    MatchID = matchId;
    applySide(Home, std::move(home));
    applySide(Away, std::move(away));
    // Optional: an answer without it leaves the last word the service said.
    if (const pugi::xml_node status = match.child("Status"))
        Status = elementText(status);
}

void LiveMatch::mergeEvent(pugi::xml_node element)
{
    Event received = readEvent(element);
    overwriteReceived(Events[received.Index], std::move(received));
}

void LiveMatch::renderEvent(Event &event, StyledTextSink &sink) const
{
    // The names reflect the text as it is now, even when a merge replaced it.
    event.SubjectPlayerName.clear();
    event.ObjectPlayerName.clear();
    std::string minute = "(";
    minute.append(std::to_string(event.Minute)).append(")   ");
    sink.appendPlain(minute);

    const kstring text = withoutRemovedTokens(event.EventText);
    const string_view view(text);
    std::size_t start = 0;
    for (std::size_t open; (open = findTag(view, "<a href", "<A HREF", start)) != npos;) {
        appendPlain(sink, view.substr(start, open - start));
        const std::size_t close = findTag(view, "</a", "</A", open);
        // An unclosed link runs to the end of the text, which ends the scan.
        const std::size_t end = close == npos ? view.size() : std::min(close + 4, view.size());
        renderLink(event, view.substr(open, end - open), sink);
        start = end;
    }
    appendPlain(sink, view.substr(start));
    sink.endLine();
}

void LiveMatch::renderLink(Event &event, string_view link, StyledTextSink &sink) const
{
    const bool rulesLink = link.find("gameRules.asp") != npos;
    const std::optional<int> player = rulesLink ? std::nullopt : playerNumber(link);
    if (!player) {
        appendPlain(sink, anchorText(link));
        return;
    }
    event.SubjectIsHome = event.SubjectTeamID == Home.TeamID;
    event.ObjectIsHome = event.objectIsTeammate() ? event.SubjectIsHome : !event.SubjectIsHome;
    const bool isSubject = *player == event.SubjectPlayerID;
    kstring &name = isSubject ? event.SubjectPlayerName : event.ObjectPlayerName;
    collapseBlanks(anchorText(link), name);
    if (!name.empty())
        sink.appendPlayer(name, sideColour(isSubject ? event.SubjectIsHome : event.ObjectIsHome));
}

void LiveMatch::countEvents()
{
    resetCounters();
    for (const auto &[index, event] : Events)
        countEvent(event);
    deriveAttempts();
}

void LiveMatch::resetCounters()
{
    for (LiveTeam *team : {&Home, &Away})
        team->Attempt = team->Missed = team->YellowCard = team->RedCard = team->Injury = 0;
}

void LiveMatch::countEvent(const Event &event)
{
    LiveTeam &team = side(event.SubjectIsHome);
    const int key = event.keyNumber();
    if (Event::isMissedKey(key))
        ++team.Missed;
    else if (Event::isInjuryKey(key))
        ++team.Injury;
    else if (Event::isYellowCardKey(key))
        ++team.YellowCard;
    else if (Event::isRedCardKey(key))
        ++team.RedCard;
}

void LiveMatch::deriveAttempts()
{
    for (LiveTeam *team : {&Home, &Away})
        team->Attempt = saturatingSum(team->Missed, team->Goal);
}

kstring LiveMatch::resultText() const
{
    return std::to_string(Home.Goal) + " : " + std::to_string(Away.Goal);
}

kstring LiveMatch::tabCaption() const
{
    return Home.TeamName + "   " + resultText() + "   " + Away.TeamName;
}

std::vector<pugi::xml_node> LiveMatch::matchElements(pugi::xml_node documentElement)
{
    std::vector<pugi::xml_node> matches;
    for (pugi::xml_node list : documentElement.children("MatchList"))
        for (pugi::xml_node match : list.children())
            if (isElement(match))
                matches.push_back(match);
    return matches;
}

int LiveMatch::matchIdOf(pugi::xml_node match)
{
    return readInt(match, "MatchID");
}
