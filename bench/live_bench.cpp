// One live response of 50 followed matches with 300 events each: the bare pugixml parse as the
// baseline, then the whole processing a refresh does (parse, merge, render every event, count).
#include "bench_regime.h"
#include "live/live_match.h"
#include "live_response.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <string>
#include <vector>

namespace {

constexpr int matchCount = 50;
constexpr int eventsPerMatch = 300;

const std::string &response()
{
    static const std::string text = liveResponse(matchCount, eventsPerMatch);
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

BENCHMARK(BM_BareParse)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_WholeProcessing)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_RepeatedRefresh)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

int main(int argc, char **argv)
{
    keepLargeAllocations();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
