#pragma once

#include "live/live_match.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <string>

// Writes plain runs as they are, player runs as "[name@H]" (home colour) or "[name@A]" (away
// colour), and line ends as "\n".
class RecordingSink : public StyledTextSink
{
public:
    std::string text;

    void appendPlain(std::string_view run) override
    {
        EXPECT_FALSE(run.empty());
        text.append(run);
    }
    void appendPlayer(std::string_view name, Colour colour) override
    {
        EXPECT_FALSE(name.empty());
        EXPECT_TRUE(colour == homeColour || colour == awayColour);
        text += "[" + std::string(name) + (colour == homeColour ? "@H]" : "@A]");
    }
    void endLine() override { text += "\n"; }
};

inline std::string xmlEscaped(const std::string &text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '&':
            out += "&amp;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

struct EventSpec
{
    int index = 1;
    int minute = 1;
    int subjectPlayer = 7;
    int subjectTeam = 10;
    int objectPlayer = 8;
    std::string key = "0";
    std::string text;
};

inline std::string eventXml(const EventSpec &e)
{
    return "<Event Index=\"" + std::to_string(e.index) + "\"><Minute>" + std::to_string(e.minute) +
           "</Minute><SubjectPlayerID>" + std::to_string(e.subjectPlayer) +
           "</SubjectPlayerID><SubjectTeamID>" + std::to_string(e.subjectTeam) +
           "</SubjectTeamID><ObjectPlayerID>" + std::to_string(e.objectPlayer) +
           "</ObjectPlayerID><EventKey>" + e.key + "</EventKey><EventText>" + xmlEscaped(e.text) +
           "</EventText></Event>";
}

// A match element of Lions (team 10, home) against Tigers (team 20).
inline std::string matchXml(const std::string &events, int homeGoals = 2, int awayGoals = 1,
                            int matchId = 500)
{
    return "<Match><MatchID>" + std::to_string(matchId) + "</MatchID><HomeGoals>" +
           std::to_string(homeGoals) + "</HomeGoals><AwayGoals>" + std::to_string(awayGoals) +
           "</AwayGoals><HomeTeam><HomeTeamID>10</HomeTeamID><HomeTeamName>Lions</HomeTeamName>"
           "</HomeTeam><AwayTeam><AwayTeamID>20</AwayTeamID><AwayTeamName>Tigers</AwayTeamName>"
           "</AwayTeam><EventList>" +
           events + "</EventList></Match>";
}

// Parses `xml` and hands out its document element.
class XmlText
{
public:
    explicit XmlText(const std::string &xml)
    {
        const pugi::xml_parse_result result = doc.load_string(xml.c_str());
        EXPECT_TRUE(result) << result.description() << " in " << xml;
    }
    pugi::xml_node root() const { return doc.document_element(); }

private:
    pugi::xml_document doc;
};

inline Event eventWithKey(const std::string &key)
{
    Event event;
    event.EventKey = key;
    return event;
}
