#pragma once

#include "players/squad_history.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// Every stored players document of a folder, read into the squads' histories.
struct StoredHistory
{
    std::map<std::int32_t, SquadHistory> teams; // by team id
    std::size_t documentsRead = 0;
    // Stored players files that could not be read, with the reason; passed over, left as they
    // are.
    struct Unreadable
    {
        std::string name;
        std::string whyNot;
    };
    std::vector<Unreadable> unreadable;

    // Null for a team no readable document is about.
    const SquadHistory *team(std::int32_t teamId) const;
};

// For the status bar: "2 stored players documents could not be read"; empty for none.
kstring unreadableDocumentsNotice(std::size_t count);

// Reads a folder's stored history a slice at a time, so a caller can spread the work over its
// event loop. Only the file names are read on construction.
class HistoryLoader
{
public:
    explicit HistoryLoader(std::filesystem::path folder);

    std::size_t total() const { return names.size(); }
    std::size_t done() const { return next; }
    // Reads up to `count` more documents; false once every document has been read.
    bool readSome(std::size_t count);
    // Reads what is left and hands the history over; the loader is spent afterwards.
    StoredHistory finish();

private:
    std::filesystem::path folder;
    std::vector<std::string> names;
    std::size_t next = 0;
    SquadHistoryBuilder builder;
    StoredHistory result;
};

// The same in a worker thread of its own, started on construction.
//
// Threading: every member is called from the thread that owns the object. `progress` and
// `ready` may be polled at any time; `take` hands the history over once `ready` is true. The
// worker touches nothing but the folder and its own state. `whenDone` runs on the worker
// thread when the history is ready (not after a cancel): a window posts it to its own thread.
// The destructor cancels a load still running and waits for the worker, at most one document.
class BackgroundHistoryLoad
{
public:
    struct Progress
    {
        std::size_t done = 0;
        std::size_t total = 0;
    };

    explicit BackgroundHistoryLoad(std::filesystem::path folder,
                                   std::function<void()> whenDone = {});
    ~BackgroundHistoryLoad();
    BackgroundHistoryLoad(const BackgroundHistoryLoad &) = delete;
    BackgroundHistoryLoad &operator=(const BackgroundHistoryLoad &) = delete;

    Progress progress() const { return {done.load(), total.load()}; }
    bool ready() const { return finished.load(); }
    // The history, once: empty before it is ready and after it was taken.
    std::optional<StoredHistory> take();

private:
    void run(std::filesystem::path folder, std::function<void()> whenDone);

    std::atomic<std::size_t> done{0};
    std::atomic<std::size_t> total{0};
    std::atomic<bool> finished{false};
    std::atomic<bool> cancelled{false};
    std::mutex handOver;
    std::optional<StoredHistory> result;
    std::thread worker; // last, so it starts after everything it uses
};
