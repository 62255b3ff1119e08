// Start-up to the first shown window: the session, the main window and every dialog created,
// the main window shown and painted once; beside a bare main window with the same frame parts
// (menu, tabs, status bar) as the baseline.
#include "bench_window.h"
#include "service/session.h"
#include "service/team_download.h"
#include "ui/error_display.h"
#include "ui/main_window.h"
#include "ui/startup.h"

#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

using benchWindow::showAndPaint;

void BM_BareMainWindow(benchmark::State &state)
{
    for (auto _ : state) {
        QMainWindow window;
        window.resize(790, 480);
        window.menuBar()->addMenu(QStringLiteral("Online"));
        auto *pages = new QTabWidget(&window);
        pages->addTab(new QWidget, QStringLiteral("Live"));
        window.setCentralWidget(pages);
        for (int width : {300, 100, 150, 5}) {
            auto *panel = new QLabel(&window);
            panel->setFixedWidth(width);
            window.statusBar()->addWidget(panel);
        }
        showAndPaint(window);
    }
}

void BM_StartUpToShownWindow(benchmark::State &state)
{
    // The start-up creates the XML folder; keep it out of the build folder.
    const QTemporaryDir home;
    const QString folder = home.filePath(QStringLiteral("XML"));
    for (auto _ : state) {
        benchWindow::startUp(folder);
        state.PauseTiming();
        benchWindow::shutDown();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_BareMainWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUpToShownWindow)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return benchWindow::runOffscreen(argc, argv);
}
