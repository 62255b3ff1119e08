// The squad's history from a folder of 500 weekly players documents of a 25-player squad, with
// ten foreign and broken files among them: start-up with that folder against start-up with one
// document, the whole history read against parsing every document into records (the
// straightforward way), their memory, and a comparison of two weeks for 50 players against a
// refresh of the player list.
#include "bench_window.h"
#include "players/history_loader.h"
#include "players/keeper.h"
#include "players/players_document.h"
#include "players/squad_history.h"
#include "players/stored_players.h"
#include "players/team.h"
#include "sim/schedule.h"
#include "sim/team_documents.h"
#include "sim/training.h"
#include "sim/world.h"
#include "ui/player_list_frame.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int downloads = 500;
constexpr int weekMinutes = 7 * 24 * 60;

// Bytes in use on the heap; what a result holds is the difference before and after it.
double heapInUse()
{
#if defined(__GLIBC__) && (__GLIBC__ > 2 || __GLIBC_MINOR__ >= 33)
    return double(mallinfo2().uordblks);
#else
    return 0;
#endif
}

constexpr double mebibyte = 1024.0 * 1024.0;

// The simulator's demo squad and part of the next team's, `size` players in all, week by week.
std::vector<sim::Player> squadOf(const sim::World &world, const sim::Training &training, int week,
                                 std::size_t size)
{
    std::vector<sim::Player> squad;
    for (int team = world.accounts().front().teamIndex; squad.size() < size; ++team)
        for (const sim::Player &player : training.squad(team, week))
            if (squad.size() < size)
                squad.push_back(player);
    return squad;
}

std::string storedName(const QByteArray &document)
{
    const int from = document.indexOf("<FetchedDate>") + 13;
    QString date = QString::fromUtf8(document.mid(from, 19));
    date.replace(':', '-');
    return "players_123456_" + date.toStdString() + ".xml";
}

void writeFile(const fs::path &path, const std::string &content)
{
    std::ofstream(path, std::ios::binary) << content;
}

struct Folders
{
    QTemporaryDir home;
    fs::path many, one;
    // The same documents with the broken ones dated after the newest good one, so start-up reads
    // them first and says so.
    fs::path brokenNewest;
    std::string newest;
};

// A stored name of a moment after week `week`'s download, as a broken file would carry.
std::string strayName(const char *kind, int week)
{
    QString date = sim::SimClock::format(sim::SimClock::dateAt(double(week) * weekMinutes + 150));
    date.replace(':', '-');
    return kind + ("_123456_" + date.toStdString()) + ".xml";
}

const Folders &folders()
{
    static const std::unique_ptr<Folders> made = [] {
        auto f = std::make_unique<Folders>();
        f->many = fs::path(f->home.filePath("many").toStdString());
        f->one = fs::path(f->home.filePath("one").toStdString());
        f->brokenNewest = fs::path(f->home.filePath("brokenNewest").toStdString());
        for (const fs::path &folder : {f->many, f->one, f->brokenNewest})
            fs::create_directories(folder);
        const sim::World world(1);
        const sim::Training training(world, weekMinutes);
        const sim::Account &account = world.accounts().front();
        QByteArray last;
        for (int week = 0; week < downloads; ++week) {
            last = sim::documents::players(world, account, squadOf(world, training, week, 25),
                                           double(week) * weekMinutes + 90);
            for (const fs::path &folder : {f->many, f->brokenNewest})
                writeFile(folder / storedName(last), last.toStdString());
        }
        f->newest = storedName(last);
        writeFile(f->one / f->newest, last.toStdString());
        const std::string good = last.toStdString();
        std::string dated = good;
        dated.replace(good.find("<FetchedDate>") + 13, 4, "yyyy");
        const std::vector<std::pair<const char *, std::string>> strays = {
            {"club", "<StrikoraData/>"},
            {"leagueDetails", good},
            {"players", good.substr(0, good.size() / 2)},
            {"players", ""},
            {"players", "<StrikoraData><FileName>club.xml</FileName></StrikoraData>"},
            {"players", std::string(3000, '\x7f')},
            {"players", dated},
            {"players", std::string(5 * 1024 * 1024, ' ')},
            {"players", "<?xml version=\"1.0\"?><a><b></a>"},
        };
        for (std::size_t i = 0; i < strays.size(); ++i) {
            const auto &[kind, content] = strays[i];
            writeFile(f->many / strayName(kind, 50 * int(i)), content);
            writeFile(f->brokenNewest / strayName(kind, downloads + int(i)), content);
        }
        for (const fs::path &folder : {f->many, f->brokenNewest})
            writeFile(folder / "notes.txt", "shopping list");
        return f;
    }();
    return *made;
}

void BM_ReadTheOneDocument(benchmark::State &state)
{
    const Folders &f = folders();
    for (auto _ : state)
        benchmark::DoNotOptimize(readStoredPlayersDocument(f.one, f.newest));
}

// 0: one document; 1: 500 and ten strays among them; 2: the strays newer than every download.
const fs::path &folderOf(std::int64_t which)
{
    return which == 0 ? folders().one : which == 1 ? folders().many : folders().brokenNewest;
}

// Start-up's work on the documents alone: the newest readable one, found as start-up finds it.
void BM_NewestOfTheFolder(benchmark::State &state)
{
    const fs::path &folder = folderOf(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(newestStoredPlayersDocument(folder));
}

// The same, then the history load started beside it as the window would start it.
void BM_NewestAndHistoryStarted(benchmark::State &state)
{
    const fs::path &folder = folders().many;
    for (auto _ : state) {
        benchmark::DoNotOptimize(newestStoredPlayersDocument(folder));
        auto load = std::make_unique<BackgroundHistoryLoad>(folder);
        state.PauseTiming();
        load.reset();
        state.ResumeTiming();
    }
}

// The program's start-up to the shown window, with one document or with the whole folder and
// the history load started once the window is up.
void BM_StartUpToShownWindow(benchmark::State &state)
{
    const bool many = state.range(0) != 0;
    const fs::path &folder = folderOf(state.range(0));
    const QString documents = QString::fromStdString(folder.string());
    for (auto _ : state) {
        benchWindow::startUp(documents);
        std::unique_ptr<BackgroundHistoryLoad> load;
        if (many)
            load = std::make_unique<BackgroundHistoryLoad>(folder);
        state.PauseTiming();
        load.reset();
        benchWindow::shutDown();
        state.ResumeTiming();
    }
}

// Heap in use while the history is read (sampled between files) and once it is complete.
void heapOfTheHistory(benchmark::State &state)
{
    const double before = heapInUse();
    double whileReading = 0;
    HistoryLoader loader(folders().many);
    while (loader.readSome(1))
        whileReading = std::max(whileReading, heapInUse() - before);
    const StoredHistory history = loader.finish();
    state.counters["retained_MiB"] = (heapInUse() - before) / mebibyte;
    state.counters["peak_between_files_MiB"] = whileReading / mebibyte;
    state.counters["unreadable"] = double(history.unreadable.size());
}

void BM_WholeHistory(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(HistoryLoader(folders().many).finish());
    heapOfTheHistory(state);
}

// The straightforward way: every document parsed into its records, all of them kept.
std::vector<PlayersDocument> everyDocument()
{
    std::vector<PlayersDocument> all;
    for (const std::string &name : storedPlayersFiles(folders().many))
        if (StoredPlayersDocument stored = readStoredPlayersDocument(folders().many, name);
            stored.document)
            all.push_back(std::move(*stored.document));
    return all;
}

void BM_ParseEveryDocument(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(everyDocument());
    const double before = heapInUse();
    const std::vector<PlayersDocument> all = everyDocument();
    state.counters["retained_MiB"] = (heapInUse() - before) / mebibyte;
}

void BM_ListTheFolder(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(storedPlayersFiles(folders().many));
}

// A 50-player squad's history from the same weeks.
struct FiftyPlayers
{
    SquadHistory history;
    Team team{0};
};

FiftyPlayers &fiftyPlayers()
{
    static const std::unique_ptr<FiftyPlayers> made = [] {
        auto f = std::make_unique<FiftyPlayers>();
        const sim::World world(1);
        const sim::Training training(world, weekMinutes);
        SquadHistoryBuilder builder;
        QByteArray last;
        for (int week = 0; week < 52; ++week) {
            last = sim::documents::players(world, world.accounts().front(),
                                           squadOf(world, training, week, 50),
                                           double(week) * weekMinutes + 90);
            builder.add(readPlayersDocument(std::string_view(last.constData(), last.size())));
        }
        f->history = std::move(builder.finish().begin()->second);
        PlayersDocument newest =
            readPlayersDocument(std::string_view(last.constData(), last.size()));
        f->team.replacePlayers(std::move(newest.players));
        return f;
    }();
    return *made;
}

void BM_ListRefresh50(benchmark::State &state)
{
    static TframeListPlayers frame(sharedKeeper());
    frame.setTeam(&fiftyPlayers().team);
    frame.refresh();
    for (auto _ : state)
        frame.refresh();
}

void BM_CompareWithLastWeek50(benchmark::State &state)
{
    const SquadHistory &history = fiftyPlayers().history;
    const TDateTime earlier = history.downloadsNewestFirst()[1];
    std::size_t changed = 0;
    for (auto _ : state) {
        const SquadComparison comparison = compareWithNewest(history, earlier);
        changed = 0;
        for (const auto &[id, player] : comparison.players)
            changed += player.changed();
        benchmark::DoNotOptimize(changed);
    }
    state.counters["players"] = double(fiftyPlayers().team.players.size());
    state.counters["changed"] = double(changed);
}

void repeated(benchmark::internal::Benchmark *b)
{
    b->Repetitions(7)->ReportAggregatesOnly(true);
}

} // namespace

BENCHMARK(BM_ReadTheOneDocument)->Apply(repeated)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListTheFolder)->Apply(repeated)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NewestOfTheFolder)->DenseRange(0, 2)->Apply(repeated)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NewestAndHistoryStarted)->Apply(repeated)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StartUpToShownWindow)
    ->DenseRange(0, 2)
    ->Apply(repeated)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeHistory)->Apply(repeated)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseEveryDocument)->Apply(repeated)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListRefresh50)->Apply(repeated)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CompareWithLastWeek50)->Apply(repeated)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    return benchWindow::runOffscreen(argc, argv);
}
