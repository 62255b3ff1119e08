// Start-up to the first shown window: the session, the main window and every dialog created,
// the main window shown and painted once; beside a bare main window with the same frame parts
// (menu, tabs, status bar) as the baseline. Start-up with a settings file (ten grids' layouts,
// twenty followed matches) is measured beside start-up without one: the version check and the
// poll that follow the showing are outside the timing of both.
#include "bench_window.h"
#include "service/session.h"
#include "service/team_download.h"
#include "ui/error_display.h"
#include "ui/live_frame.h"
#include "ui/login_dialog.h"
#include "ui/main_window.h"
#include "ui/startup.h"

#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

using benchWindow::closedPort;
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

// Cancels the login that the poll of restored matches asks for, outside the timing.
void settleAfterShowing()
{
    QTimer cancel;
    QObject::connect(&cancel, &QTimer::timeout, [] {
        if (QApplication::activeModalWidget() == frmLogin)
            frmLogin->reject();
    });
    cancel.start(1);
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
}

void endRun()
{
    delete frmMain;
    frmMain = nullptr;
    delete root;
    root = nullptr;
}

// A first run's file: twenty followed matches and the layouts of every grid it showed, and
// those of grids an older version had, ten and more in all.
QString writeSettings(const QTemporaryDir &home)
{
    const QString file = home.filePath(QStringLiteral("StrikoraKey.ini"));
    createGlobalInstances(new Troot(closedPort, closedPort + "/init.xml"),
                          home.filePath(QStringLiteral("XML")), {file, nullptr});
    for (int i = 0; i < 20; ++i)
        frmMain->frameLive1->restoreMatch({1000 + i, "Home side " + std::to_string(i),
                                           "Away side " + std::to_string(i), i % 4, i % 3});
    frmMain->show();
    settleAfterShowing();
    frmMain->close(); // saves
    endRun();
    QSettings settings(file, QSettings::IniFormat);
    for (int i = 0; i < 10; ++i)
        settings.setValue(QString("grids/older%1").arg(i),
                          "<ZIVGrid><Name>lstOld</Name><Column><Name>x</Name><Filter>ab</Filter>"
                          "<Size>80</Size></Column><RowSorter><ColName>x</ColName><Order>0"
                          "</Order></RowSorter></ZIVGrid>");
    return file;
}

void startUp(benchmark::State &state, bool withSettings)
{
    // The start-up creates the XML folder; keep it out of the build folder.
    const QTemporaryDir home;
    const QString folder = home.filePath(QStringLiteral("XML"));
    const QString file = withSettings ? writeSettings(home) : QString();
    for (auto _ : state) {
        createGlobalInstances(new Troot(closedPort, closedPort + "/init.xml"), folder,
                              {file, nullptr});
        // Shown and painted; the posted poll of the restored matches is left to the settling.
        frmMain->show();
        frmMain->repaint();
        state.PauseTiming();
        settleAfterShowing();
        if (withSettings && frmMain->frameLive1->follower.matchCount() != 20)
            state.SkipWithError("the followed matches did not come back");
        // Ended without a save: every round starts from the same file.
        endRun();
        state.ResumeTiming();
    }
}

void BM_StartUpToShownWindow(benchmark::State &state)
{
    startUp(state, false);
}

void BM_StartUpWithSettings(benchmark::State &state)
{
    startUp(state, true);
}

} // namespace

BENCHMARK(BM_BareMainWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUpToShownWindow)->Unit(benchmark::kMillisecond)->Repetitions(7);
BENCHMARK(BM_StartUpWithSettings)->Unit(benchmark::kMillisecond)->Repetitions(7);

int main(int argc, char **argv)
{
    return benchWindow::runOffscreen(argc, argv);
}
