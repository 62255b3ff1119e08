#include "players/stored_players.h"

#include "Engine/errors.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <functional>
#include <iterator>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool isStoredPlayersName(const std::string &name)
{
    return name.starts_with("players_") && name.ends_with(".xml");
}

bool isMomentName(const std::string &moment)
{
    static const char shape[] = "dddd-dd-dd dd-dd-dd";
    if (moment.size() != sizeof shape - 1)
        return false;
    for (std::size_t i = 0; i < moment.size(); ++i)
        if (shape[i] == 'd' ? moment[i] < '0' || moment[i] > '9' : moment[i] != shape[i])
            return false;
    return true;
}

std::string contentOf(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw Exception("it cannot be opened (" + std::generic_category().message(errno) + ")");
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw Exception("it cannot be read");
    return bytes;
}

} // namespace

std::string storedNameMoment(const std::string &name)
{
    const std::size_t first = name.find('_');
    const std::size_t second = first == std::string::npos ? first : name.find('_', first + 1);
    if (second == std::string::npos || !name.ends_with(".xml"))
        return {};
    return name.substr(second + 1, name.size() - 4 - (second + 1));
}

std::vector<std::string> storedPlayersFiles(const fs::path &folder)
{
    // Each name's moment is cut out once, not at every comparison of the sort.
    std::vector<std::pair<std::string, std::string>> found;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::string name = it->path().filename().string();
        if (isStoredPlayersName(name) && it->is_regular_file(error))
            found.emplace_back(storedNameMoment(name), std::move(name));
    }
    std::sort(found.begin(), found.end(), std::greater<>());
    std::vector<std::string> names;
    names.reserve(found.size());
    for (auto &[moment, name] : found)
        names.push_back(std::move(name));
    return names;
}

StoredPlayersDocument readStoredPlayersDocument(const fs::path &folder, const std::string &name)
{
    StoredPlayersDocument stored{name, std::nullopt, {}};
    const fs::path path = folder / name;
    try {
        std::error_code error;
        const std::uintmax_t size = fs::file_size(path, error);
        if (error)
            throw Exception("it cannot be read (" + error.message() + ")");
        checkPlayersDocumentSize(std::size_t(size));
        stored.document = readPlayersDocument(contentOf(path));
    } catch (const Exception &error) {
        stored.whyNot = error.message();
    } catch (const std::bad_alloc &) {
        stored.whyNot = "there is not enough memory to read it";
    }
    return stored;
}

NewestStoredPlayers newestStoredPlayersDocument(const fs::path &folder)
{
    NewestStoredPlayers found;
    bool datedShown = false;
    for (const std::string &name : storedPlayersFiles(folder)) {
        const bool dated = isMomentName(storedNameMoment(name));
        // Names come newest first: a dated one after a readable dated one is older.
        if (dated && datedShown)
            continue;
        StoredPlayersDocument stored = readStoredPlayersDocument(folder, name);
        if (!stored.document) {
            if (!found.newerUnreadable)
                found.newerUnreadable = std::move(stored);
            continue;
        }
        datedShown = datedShown || dated;
        if (!found.shown || stored.document->fetchedDate > found.shown->document->fetchedDate)
            found.shown = std::move(stored);
    }
    if (found.shown && found.newerUnreadable &&
        storedNameMoment(found.newerUnreadable->name) <= storedNameMoment(found.shown->name))
        found.newerUnreadable.reset();
    return found;
}
