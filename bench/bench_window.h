#pragma once

#include "bench_regime.h"
#include "service/session.h"
#include "ui/error_display.h"
#include "ui/main_window.h"
#include "ui/startup.h"

#include <QCoreApplication>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdlib>

// What the window benchmarks share: the program's start-up against a service that is not
// there, a window shown and painted once, and a main that runs them offscreen.
namespace benchWindow {

// Nothing listens on port 1: the version check after the show ends at once, without a box.
inline const QString closedPort = QStringLiteral("http://127.0.0.1:1");

inline void showAndPaint(QWidget &window)
{
    window.show();
    window.repaint();
    QCoreApplication::processEvents();
}

// Start-up to the shown main window with the documents of `folder`.
inline void startUp(const QString &folder)
{
    createGlobalInstances(new Troot(closedPort, closedPort + "/init.xml"), folder);
    showAndPaint(*frmMain);
}

// Lets the version check run its course, then the windows and the session go.
inline void shutDown()
{
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    delete frmMain;
    frmMain = nullptr;
    delete root;
    root = nullptr;
}

inline int runOffscreen(int argc, char **argv)
{
    keepLargeAllocations();
    if (!std::getenv("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace benchWindow
