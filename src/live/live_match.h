#pragma once

#include "Engine/kstring.h"

#include <pugixml.hpp>

#include <map>
#include <string_view>
#include <vector>

// A colour by its red, green and blue components (0..255).
struct Colour
{
    int red = 0;
    int green = 0;
    int blue = 0;

    friend bool operator==(const Colour &, const Colour &) = default;
};

// Player names in text and grids: home blue, away red.
inline constexpr Colour homeColour{0, 0, 255};
inline constexpr Colour awayColour{255, 0, 0};
Colour sideColour(bool home);
// The light backgrounds of a side's rows and columns in the live lists.
Colour sideTint(bool home);

// Receives one event's commentary as styled runs; the windows write it into a rich-text box.
// Runs are never empty.
class StyledTextSink
{
public:
    virtual ~StyledTextSink() = default;
    // In the attributes currently in force.
    virtual void appendPlain(std::string_view text) = 0;
    // Bold in `colour`; the attributes in force before are back afterwards.
    virtual void appendPlayer(std::string_view name, Colour colour) = 0;
    // Appends "\n" at the very end of the text.
    virtual void endLine() = 0;
};

// One event of a match. Fields 1 to 7 come from the service; the names and side flags are
// worked out while the event's text is rendered.
struct Event
{
    int Index = 0;
    int Minute = 0;
    int SubjectPlayerID = 0;
    int SubjectTeamID = 0;
    int ObjectPlayerID = 0;
    kstring EventKey;
    kstring EventText;
    kstring SubjectPlayerName;
    kstring ObjectPlayerName;
    bool SubjectIsHome = false;
    bool ObjectIsHome = false;

    // The leading number of EventKey before its first "_", read as atol reads it.
    int keyNumber() const;
    kstring caption() const;
    bool isMissed() const { return isMissedKey(keyNumber()); }
    bool isInjury() const { return isInjuryKey(keyNumber()); }
    bool isYellowCard() const { return isYellowCardKey(keyNumber()); }
    bool isRedCard() const { return isRedCardKey(keyNumber()); }
    // Whether the other player named in the text plays for the subject's side.
    bool objectIsTeammate() const { return isTeammateKey(keyNumber()); }
    // The same tests on a key number, for callers that read it once for several tests.
    static bool isMissedKey(int key);
    static bool isInjuryKey(int key);
    static bool isYellowCardKey(int key);
    static bool isRedCardKey(int key);
    static bool isTeammateKey(int key);
    // Whether the last rendering met a player link: such events are listed with their players.
    bool namesPlayer() const;
};

// One side of a match with its counters.
struct LiveTeam
{
    int TeamID = 0;
    kstring TeamName;
    int Attempt = 0;
    int Missed = 0;
    int Goal = 0;
    int YellowCard = 0;
    int RedCard = 0;
    int Injury = 0;
};

// A followed match: the score, both sides and every event received, by ascending index.
class LiveMatch
{
public:
    int MatchID = 0;
    LiveTeam Home;
    LiveTeam Away;
    std::map<int, Event> Events;
    // The service's word for the match's state where its answer has a `Status` ("UPCOMING",
    // "ONGOING", "FINISHED"); empty while it never sent one.
    kstring Status;

    // Takes one match element in; returns whether the number of events grew. A field that is
    // no integer raises EConvertError; the header and every event are stored whole or not at
    // all, and what was stored before the faulty part stays.
    bool merge(pugi::xml_node match);

    // Writes the event as one line; sets its player names and side flags on the way.
    void renderEvent(Event &event, StyledTextSink &sink) const;

    // Recounts both sides from the side flags of the last rendering.
    void countEvents();
    // The three steps of countEvents, for callers that count while they walk the events.
    void resetCounters();
    void countEvent(const Event &event);
    void deriveAttempts();

    LiveTeam &side(bool home) { return home ? Home : Away; }
    const LiveTeam &side(bool home) const { return home ? Home : Away; }

    // "2 : 1"
    kstring resultText() const;
    // Home name, three blanks, the result, three blanks, away name.
    kstring tabCaption() const;

    // The match elements of a live response: the element children of every "MatchList" child
    // of the document element, in document order.
    static std::vector<pugi::xml_node> matchElements(pugi::xml_node documentElement);
    // The MatchID of a match element; raises EConvertError when it is no integer.
    static int matchIdOf(pugi::xml_node match);

private:
    void mergeHeader(pugi::xml_node match);
    void mergeEvent(pugi::xml_node element);
    void renderLink(Event &event, std::string_view link, StyledTextSink &sink) const;
};
