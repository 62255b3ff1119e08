// Painting a grid's viewport must cost what is in view, not what is in the grid: a 30-row view
// of a million-row grid against the same view of a 100-row grid. Frozen columns must cost
// next to nothing: a view scrolled sideways with two frozen columns against none.
#include "bench_regime.h"
#include "grid/widget/ziv_grid.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr int viewRows = 30;

std::unique_ptr<ZIVGrid> makeGrid(int rows, int width = 500)
{
    auto grid = std::make_unique<ZIVGrid>();
    grid->SetHeaders({"id;id;s", "home team", "away team", "home goals;goals;v",
                      "away goals;goals;v", "minute"});
    grid->beginUpdate();
    for (int i = 0; i < rows; ++i) {
        ZIVGridRow &row = grid->addRow();
        row.setLong("id", i);
        row.setString("home team", "Home club " + std::to_string(i % 977));
        row.setString("away team", "Away club " + std::to_string(i % 613));
        row.setInt("home goals", i % 7);
        row.setInt("away goals", i % 5);
        row.setDouble("minute", (i % 90) + 0.5);
    }
    grid->endUpdate();
    grid->setFrameShape(QFrame::NoFrame);
    grid->resize(width, (viewRows + 1) * (grid->DefaultRowHeight() + grid->GridLineWidth()));
    grid->show();
    QApplication::processEvents();
    grid->SettopRowNumber(rows / 2);
    grid->getRow(rows / 2, true)->select();
    return grid;
}

void paintView(benchmark::State &state)
{
    const auto grid = makeGrid(int(state.range(0)));
    QImage image(grid->viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        grid->paintView(painter, image.rect());
    }
    state.counters["visible_rows"] = grid->visibleRowCount();
}
BENCHMARK(paintView)->Arg(100)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// A view narrower than its columns, scrolled sideways, with state.range(0) frozen columns.
void paintScrolled(benchmark::State &state)
{
    const auto grid = makeGrid(1000000, 250);
    grid->setFrozenColumns(int(state.range(0)));
    grid->horizontalScrollBar()->setValue(40);
    QImage image(grid->viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        grid->paintView(painter, image.rect());
    }
    state.counters["frozen"] = grid->frozenInView();
}
BENCHMARK(paintScrolled)->Arg(0)->Arg(2)->Unit(benchmark::kMicrosecond);

// Keeps each run's time per iteration so the ratio can be printed at the end.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    std::map<std::string, double> times;

    void ReportRuns(const std::vector<Run> &runs) override
    {
        for (const Run &run : runs)
            times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char **argv)
{
    keepLargeAllocations();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    // With repetitions the median stands for the run.
    const auto time = [&reporter](const std::string &name) {
        const auto median = reporter.times.find(name + "_median");
        return median != reporter.times.end() ? median->second : reporter.times[name];
    };
    const auto ratio = [&time](const char *what, const std::string &of, const std::string &to) {
        if (time(to) > 0)
            std::printf("ratio %s: %.2f\n", what, time(of) / time(to));
    };
    ratio("10^6 rows / 100 rows", "paintView/1000000", "paintView/100");
    ratio("two frozen columns / none", "paintScrolled/2", "paintScrolled/0");
    benchmark::Shutdown();
    return 0;
}
