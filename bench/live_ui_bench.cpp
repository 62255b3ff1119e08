// The Live page at work: one viewNew response listing 20 followed matches with 300 events each,
// taken in by the live frame's follower (every page merged and refreshed: commentary, both
// grids, counters; the summary rebuilt), beside the toolkit-free processing of the same text in
// the same run (parse, merge, render into a discarding sink, count). Then the same for a response
// that brings one event more to each match.
#include "bench_window.h"
#include "live/live_pages.h"
#include "live_response.h"
#include "service/session.h"
#include "ui/live_frame.h"

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int matchCount = 20;
constexpr int eventsPerMatch = 300;

const std::string &fullResponse()
{
    static const std::string text = liveResponse(matchCount, eventsPerMatch);
    return text;
}

// One event more per match, as the next poll brings it.
const std::string &oneEventResponse()
{
    static const std::string text = liveResponse(matchCount, 1, eventsPerMatch + 1);
    return text;
}

// The toolkit-free side of the same work, on models that persist like the pages do.
void processToolkitFree(const std::string &text, std::vector<MatchPageModel> &models,
                        CountingSink &sink)
{
    pugi::xml_document doc;
    if (!doc.load_buffer(text.data(), text.size()))
        throw std::runtime_error("the benchmark response does not parse");
    std::size_t at = 0;
    for (pugi::xml_node element : LiveMatch::matchElements(doc.document_element())) {
        MatchPageModel &model = models[at++];
        model.merge(element);
        benchmark::DoNotOptimize(model.refresh(sink).listed.size());
    }
}

// Each iteration starts from the pages after the full response, so the one-event response
// brings a new event every time (the second time it would only repeat one).
void toolkitFree(benchmark::State &state, const std::string &text, bool freshPages)
{
    CountingSink sink;
    auto models = std::make_unique<std::vector<MatchPageModel>>(matchCount);
    processToolkitFree(fullResponse(), *models, sink);
    for (auto _ : state) {
        if (freshPages) {
            state.PauseTiming();
            models = std::make_unique<std::vector<MatchPageModel>>(matchCount);
            processToolkitFree(fullResponse(), *models, sink);
            state.ResumeTiming();
        }
        processToolkitFree(text, *models, sink);
    }
    benchmark::DoNotOptimize(sink.bytes);
}

// The frame after the first poll: every page exists.
std::unique_ptr<TframeLive> framePolledOnce(Troot &session)
{
    auto frame = std::make_unique<TframeLive>(session);
    frame->resize(790, 430);
    frame->show();
    frame->follower.lastResponse = fullResponse();
    frame->follower.processResponse();
    return frame;
}

void window(benchmark::State &state, const std::string &text, bool freshPages)
{
    // Without windows of its own the session shows nothing and cancels any login.
    Troot session;
    root = &session;
    {
        std::unique_ptr<TframeLive> frame = framePolledOnce(session);
        for (auto _ : state) {
            if (freshPages) {
                state.PauseTiming();
                frame.reset();
                frame = framePolledOnce(session);
                state.ResumeTiming();
            }
            frame->follower.lastResponse = text;
            frame->follower.processResponse();
        }
    }
    root = nullptr;
}

void BM_ToolkitFree_FullResponse(benchmark::State &state)
{
    toolkitFree(state, fullResponse(), false);
}
void BM_Window_FullResponse(benchmark::State &state)
{
    window(state, fullResponse(), false);
}
void BM_ToolkitFree_OneNewEventEach(benchmark::State &state)
{
    toolkitFree(state, oneEventResponse(), true);
}
void BM_Window_OneNewEventEach(benchmark::State &state)
{
    window(state, oneEventResponse(), true);
}

} // namespace

BENCHMARK(BM_ToolkitFree_FullResponse)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_Window_FullResponse)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ToolkitFree_OneNewEventEach)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_Window_OneNewEventEach)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

int main(int argc, char **argv)
{
    return benchWindow::runOffscreen(argc, argv);
}
