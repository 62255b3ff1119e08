// Soak of the Live page: 20 followed matches polled once a simulated minute for two simulated
// hours against the simulator in this process, resident memory sampled every ten minutes.
// Passes when the growth after the first ten minutes stays within 5 MiB. Run by hand:
//   live_soak [minutes] [--empty-log] [--sliding-allocator]
// --empty-log empties the hidden log every minute, to tell its share of the growth.
// --sliding-allocator leaves glibc's limits as they are by default, to compare with the
// program's own set-up.
#include "grid/widget/ziv_edit.h"
#include "service/session.h"
#include "sim/sim_server.h"
#include "ui/live_frame.h"
#include "ui/login_dialog.h"
#include "ui/main_window.h"
#include "ui/startup.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

constexpr int followed = 20;
constexpr int sampleEvery = 10; // simulated minutes
constexpr double allowedGrowthMiB = 5;

double residentMiB()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double heapInUseMiB()
{
#if defined(__GLIBC__)
    const struct mallinfo2 heap = mallinfo2();
    // Blocks in use in the heap and those mapped on their own.
    return double(heap.uordblks + heap.hblkhd) / (1024.0 * 1024.0);
#else
    return 0;
#endif
}

// The first login of the run is answered as the demo account.
void answerLogins(QTimer &poll)
{
    QObject::connect(&poll, &QTimer::timeout, [] {
        if (QApplication::activeModalWidget() != frmLogin)
            return;
        frmLogin->txtUsername->setText("demo");
        frmLogin->txtPassword->setText("demo");
        frmLogin->accept();
    });
    poll.start(10);
}

// Running matches first, then the next to kick off, until there are enough.
std::vector<int> matchesToFollow(sim::Server &server)
{
    std::vector<int> ids;
    for (int minute = 0; minute < 240 && int(ids.size()) < followed; minute += 5) {
        for (int id : server.liveMatchIds())
            if (int(ids.size()) < followed && std::find(ids.begin(), ids.end(), id) == ids.end())
                ids.push_back(id);
        if (int(ids.size()) < followed)
            server.advance(5);
    }
    return ids;
}

struct Sample
{
    int minute;
    double resident;
    double heap;
    int logLines;
    qsizetype logCharacters;
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    int minutes = 120;
    bool emptyLog = false, slidingAllocator = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--empty-log")
            emptyLog = true;
        else if (arg == "--sliding-allocator")
            slidingAllocator = true;
        else
            minutes = std::max(sampleEvery, std::atoi(argv[i]));
    }
    // The allocator as the program sets it up.
    if (!slidingAllocator)
        settleAllocatorForLongRuns();
    QApplication app(argc, argv);

    sim::Options options;
    options.speed = 0; // only the soak moves the clock
    sim::Server server(options);
    if (server.listen() == 0) {
        std::fprintf(stderr, "the simulator cannot listen\n");
        return 2;
    }
    server.advance(20);
    const std::vector<int> ids = matchesToFollow(server);
    QTemporaryDir folder;
    createGlobalInstances(new Troot(server.baseUrl(), server.versionUrl()), folder.filePath("XML"));
    QTimer logins;
    answerLogins(logins);
    TframeLive &live = *frmMain->frameLive1;
    QPlainTextEdit &log = *frmMain->internetLog;
    for (int id : ids)
        live.addMatch(id);
    if (live.follower.matchCount() != std::size_t(followed)) {
        std::fprintf(stderr, "%zu of %d matches followed\n", live.follower.matchCount(), followed);
        return 2;
    }

    std::vector<Sample> samples;
    const auto sample = [&](int minute) {
        samples.push_back({minute, residentMiB(), heapInUseMiB(), log.document()->blockCount(),
                           log.document()->characterCount()});
    };
    sample(0);
    for (int minute = 1; minute <= minutes; ++minute) {
        server.advance(1);
        live.matchTimerTimer();
        if (emptyLog)
            log.clear();
        QCoreApplication::processEvents();
        if (minute % sampleEvery == 0)
            sample(minute);
    }

    std::printf("%d followed matches, %d simulated minutes, one poll a minute\n", followed,
                minutes);
    std::printf("%8s %14s %14s %10s %16s\n", "minute", "resident MiB", "heap MiB", "log lines",
                "log characters");
    for (const Sample &s : samples)
        std::printf("%8d %14.2f %14.2f %10d %16lld\n", s.minute, s.resident, s.heap, s.logLines,
                    static_cast<long long>(s.logCharacters));
    const Sample &base = samples[1]; // after the first ten minutes
    double peak = base.resident;
    for (std::size_t i = 1; i < samples.size(); ++i)
        peak = std::max(peak, samples[i].resident);
    const double growth = peak - base.resident;
    const double heapGrowth = samples.back().heap - base.heap;
    const double logGrowthMiB =
        double(samples.back().logCharacters - base.logCharacters) * 2 / (1024.0 * 1024.0);
    std::printf("resident growth after minute %d: %.2f MiB (allowed %.0f MiB)\n", base.minute,
                growth, allowedGrowthMiB);
    std::printf("heap growth after minute %d: %.2f MiB; the log's text grew by %.2f MiB "
                "(UTF-16, before the text layout)\n",
                base.minute, heapGrowth, logGrowthMiB);

    delete frmMain;
    frmMain = nullptr;
    delete root;
    root = nullptr;
    return growth <= allowedGrowthMiB ? 0 : 1;
}
