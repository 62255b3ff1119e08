#pragma once

#include "live/live_match.h"

#include <string>
#include <string_view>

// Discards the runs but keeps their length, so the rendering cannot be optimised away.
class CountingSink : public StyledTextSink
{
public:
    std::size_t bytes = 0;
    void appendPlain(std::string_view text) override { bytes += text.size(); }
    void appendPlayer(std::string_view name, Colour) override { bytes += name.size(); }
    void endLine() override { ++bytes; }
};

inline std::string playerLink(int id, const std::string &name)
{
    return "&lt;a href=\"playerDetails.asp?playerID=" + std::to_string(id) + "\"&gt;" + name +
           "&lt;/a&gt;";
}

// A response shaped as the service writes it: escaped HTML fragments with one or two player
// links, hard blanks, line breaks and now and then a rules link. Each match lists the events
// firstEvent .. firstEvent + events - 1.
inline std::string liveResponse(int matches, int events, int firstEvent = 1)
{
    static const char *const keys[] = {"101", "143",   "205", "228", "510", "93",
                                       "41",  "105_3", "512", "301", "58",  "217"};
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Live><MatchList>";
    for (int m = 0; m < matches; ++m) {
        const int home = 1000 + 2 * m, away = home + 1;
        xml += "<Match><MatchID>" + std::to_string(500000 + m) + "</MatchID>";
        xml += "<HomeGoals>2</HomeGoals><AwayGoals>1</AwayGoals>";
        xml += "<HomeTeam><HomeTeamID>" + std::to_string(home) +
               "</HomeTeamID><HomeTeamName>FC Malmö Nord</HomeTeamName></HomeTeam>";
        xml += "<AwayTeam><AwayTeamID>" + std::to_string(away) +
               "</AwayTeamID><AwayTeamName>Real España Sur</AwayTeamName></AwayTeam><EventList>";
        for (int e = firstEvent - 1; e < firstEvent - 1 + events; ++e) {
            const bool homeSide = e % 3 != 0;
            const int subject = (homeSide ? home : away) * 100 + e % 11;
            const int object = (homeSide ? away : home) * 100 + (e + 5) % 11;
            std::string text = playerLink(subject, "Jörgen  Sandvik") +
                               "&amp;nbsp;shoots from the edge of the box,&lt;br /&gt;";
            if (e % 2 == 0)
                text += " but " + playerLink(object, " Ísak Ólafsson ") + " blocks it.";
            if (e % 7 == 0)
                text += " See &lt;a href=\"gameRules.asp#shots\"&gt;the rules&lt;/a&gt;.";
            xml += "<Event Index=\"" + std::to_string(e + 1) + "\"><Minute>" +
                   std::to_string(e * 90 / 300 % 90 + 1) + "</Minute><SubjectPlayerID>" +
                   std::to_string(subject) + "</SubjectPlayerID><SubjectTeamID>" +
                   std::to_string(homeSide ? home : away) + "</SubjectTeamID><ObjectPlayerID>" +
                   std::to_string(object) + "</ObjectPlayerID><EventKey>" +
                   keys[e % std::size(keys)] + "</EventKey><EventText>" + text +
                   "</EventText></Event>";
        }
        xml += "</EventList></Match>";
    }
    xml += "</MatchList></Live>";
    return xml;
}
