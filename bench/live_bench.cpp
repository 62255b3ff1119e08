// One live response of 50 followed matches with 300 events each: the bare pugixml parse as the
// baseline, then the whole processing a refresh does (parse, merge, render every event, count).
#include "live/live_match.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <string>
#include <vector>

namespace {

constexpr int matchCount = 50;
constexpr int eventsPerMatch = 300;

// Discards the runs but keeps their length, so the rendering cannot be optimised away.
class CountingSink : public StyledTextSink
{
public:
    std::size_t bytes = 0;
    void appendPlain(std::string_view text) override { bytes += text.size(); }
    void appendPlayer(std::string_view name, Colour) override { bytes += name.size(); }
    void endLine() override { ++bytes; }
};

std::string playerLink(int id, const std::string &name)
{
    return "&lt;a href=\"playerDetails.asp?playerID=" + std::to_string(id) + "\"&gt;" + name +
           "&lt;/a&gt;";
}

// A response shaped as the service writes it: escaped HTML fragments with one or two player
// links, hard blanks, line breaks and now and then a rules link.
std::string liveResponse()
{
    static const char *const keys[] = {"101", "143", "205", "228", "510", "93", "41",
                                       "105_3", "512", "301", "58", "217"};
    std::string xml = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Live><MatchList>";
    for (int m = 0; m < matchCount; ++m) {
        const int home = 1000 + 2 * m, away = home + 1;
        xml += "<Match><MatchID>" + std::to_string(500000 + m) + "</MatchID>";
        xml += "<HomeGoals>2</HomeGoals><AwayGoals>1</AwayGoals>";
        xml += "<HomeTeam><HomeTeamID>" + std::to_string(home) +
               "</HomeTeamID><HomeTeamName>FC Malmö Nord</HomeTeamName></HomeTeam>";
        xml += "<AwayTeam><AwayTeamID>" + std::to_string(away) +
               "</AwayTeamID><AwayTeamName>Real España Sur</AwayTeamName></AwayTeam><EventList>";
        for (int e = 0; e < eventsPerMatch; ++e) {
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
                   std::to_string(e * 90 / eventsPerMatch + 1) + "</Minute><SubjectPlayerID>" +
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

const std::string &response()
{
    static const std::string text = liveResponse();
    return text;
}

void parse(pugi::xml_document &doc)
{
    const std::string &text = response();
    if (!doc.load_buffer(text.data(), text.size()))
        throw std::runtime_error("the benchmark response does not parse");
}

void BM_BareParse(benchmark::State &state)
{
    for (auto _ : state) {
        pugi::xml_document doc;
        parse(doc);
        benchmark::DoNotOptimize(doc.document_element());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * response().size());
}

void BM_WholeProcessing(benchmark::State &state)
{
    CountingSink sink;
    for (auto _ : state) {
        pugi::xml_document doc;
        parse(doc);
        std::vector<LiveMatch> matches;
        matches.reserve(matchCount);
        for (pugi::xml_node element : LiveMatch::matchElements(doc.document_element())) {
            LiveMatch &match = matches.emplace_back();
            match.merge(element);
            for (auto &[index, event] : match.Events)
                match.renderEvent(event, sink);
            match.countEvents();
        }
        benchmark::DoNotOptimize(matches.data());
    }
    benchmark::DoNotOptimize(sink.bytes);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * response().size());
}

// A refresh after the first: the same matches merged again (no growth) and re-rendered.
void BM_RepeatedRefresh(benchmark::State &state)
{
    CountingSink sink;
    std::vector<LiveMatch> matches(matchCount);
    for (auto _ : state) {
        pugi::xml_document doc;
        parse(doc);
        std::size_t at = 0;
        for (pugi::xml_node element : LiveMatch::matchElements(doc.document_element())) {
            LiveMatch &match = matches[at++];
            match.merge(element);
            for (auto &[index, event] : match.Events)
                match.renderEvent(event, sink);
            match.countEvents();
        }
    }
    benchmark::DoNotOptimize(sink.bytes);
    state.SetBytesProcessed(std::int64_t(state.iterations()) * response().size());
}

} // namespace

BENCHMARK(BM_BareParse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeProcessing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepeatedRefresh)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
