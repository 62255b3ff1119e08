#include "players/history_loader.h"

#include "players/stored_players.h"

#include <utility>

const SquadHistory *StoredHistory::team(std::int32_t teamId) const
{
    const auto found = teams.find(teamId);
    return found == teams.end() ? nullptr : &found->second;
}

kstring unreadableDocumentsNotice(std::size_t count)
{
    if (count == 0)
        return {};
    return std::to_string(count) + (count == 1 ? " stored players document could not be read"
                                               : " stored players documents could not be read");
}

HistoryLoader::HistoryLoader(std::filesystem::path folder)
    : folder(std::move(folder)), names(storedPlayersFiles(this->folder))
{}

bool HistoryLoader::readSome(std::size_t count)
{
    for (; count > 0 && next < names.size(); --count, ++next) {
        StoredPlayersDocument stored = readStoredPlayersDocument(folder, names[next]);
        if (stored.document) {
            builder.add(*stored.document);
            ++result.documentsRead;
        } else {
            result.unreadable.push_back({std::move(stored.name), std::move(stored.whyNot)});
        }
    }
    return next < names.size();
}

StoredHistory HistoryLoader::finish()
{
    while (readSome(names.size()))
        ;
    result.teams = builder.finish();
    return std::move(result);
}

BackgroundHistoryLoad::BackgroundHistoryLoad(std::filesystem::path folder,
                                             std::function<void()> whenDone)
    : worker(&BackgroundHistoryLoad::run, this, std::move(folder), std::move(whenDone))
{}

BackgroundHistoryLoad::~BackgroundHistoryLoad()
{
    cancelled = true;
    worker.join();
}

std::optional<StoredHistory> BackgroundHistoryLoad::take()
{
    const std::lock_guard lock(handOver);
    std::optional<StoredHistory> taken = std::move(result);
    result.reset();
    return taken;
}

void BackgroundHistoryLoad::run(std::filesystem::path folder, std::function<void()> whenDone)
{
    HistoryLoader loader(std::move(folder));
    total = loader.total();
    while (!cancelled && loader.readSome(1))
        done = loader.done();
    if (cancelled)
        return;
    StoredHistory history = loader.finish();
    done = loader.done();
    {
        const std::lock_guard lock(handOver);
        result = std::move(history);
    }
    finished = true;
    if (whenDone)
        whenDone();
}
