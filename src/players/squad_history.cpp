#include "players/squad_history.h"

#include "players/player.h"

#include <algorithm>
#include <string>
#include <utility>

namespace {

// clang-format off
const char *const fieldNames[historyFieldCount] = {
    "age", "form", "injury", "value", "wage", "stamina", "playmaking", "winger", "scoring",
    "goaltending", "passing", "defending", "setpieces"};
// clang-format on

kstring dayOf(TDateTime moment)
{
    return dateText(decodeDateTime(moment));
}

kstring valueText(HistoryField field, std::int32_t value)
{
    if (value == -1)
        return field == HistoryField::injury ? "not injured" : "unknown";
    const std::string number = std::to_string(value);
    if (!isLevelField(field))
        return number;
    return number + " (" + levelWord(std::int8_t(value)) + ")";
}

} // namespace

const char *historyFieldName(HistoryField field)
{
    return fieldNames[std::size_t(field)];
}

bool isLevelField(HistoryField field)
{
    return field == HistoryField::form || field >= HistoryField::stamina;
}

PlayerValues valuesOf(const Player &player)
{
    return PlayerValues{{player.age, player.form, player.injury, player.value, player.wage,
                         player.stamina, player.playmaking, player.winger, player.scoring,
                         player.goaltending, player.passing, player.defending, player.setpieces}};
}

const PlayerValues *PlayerHistory::at(TDateTime moment) const
{
    if (values.values.empty() || moment < values.values.begin()->first)
        return nullptr;
    const std::optional<PlayerValues> &entry = values.at(moment);
    return entry ? &*entry : nullptr;
}

std::vector<TDateTime> SquadHistory::downloadsNewestFirst() const
{
    return {downloads.rbegin(), downloads.rend()};
}

TDateTime SquadHistory::newest() const
{
    return downloads.empty() ? 0 : downloads.back();
}

void SquadHistoryBuilder::add(const PlayersDocument &document)
{
    auto &downloads = teams[document.teamId];
    if (downloads.count(document.fetchedDate))
        return;
    Download &download = downloads[document.fetchedDate];
    download.teamName = document.teamName;
    download.players.reserve(document.players.size());
    for (const auto &player : document.players)
        download.players.push_back(Listed{player->id, player->name, valuesOf(*player)});
}

std::map<std::int32_t, SquadHistory> SquadHistoryBuilder::finish()
{
    std::map<std::int32_t, SquadHistory> histories;
    for (auto &[teamId, downloads] : teams) {
        SquadHistory &history = histories[teamId];
        history.teamId = teamId;
        for (auto &[moment, download] : downloads) {
            history.downloads.push_back(moment);
            if (history.records.values.empty() ||
                history.records.values.rbegin()->second.name != download.teamName)
                history.records.values[moment] = TeamRecord{download.teamName};
            for (Listed &listed : download.players) {
                PlayerHistory &player = history.players[listed.id];
                player.id = listed.id;
                player.name = std::move(listed.name);
                auto &entries = player.values.values;
                if (entries.empty() || entries.rbegin()->second != listed.values)
                    entries[moment] = listed.values;
            }
            // Whoever this download does not list has left by its moment.
            for (auto &[id, player] : history.players) {
                auto &entries = player.values.values;
                if (entries.rbegin()->first < moment && entries.rbegin()->second &&
                    std::none_of(download.players.begin(), download.players.end(),
                                 [id = id](const Listed &l) { return l.id == id; }))
                    entries[moment] = std::nullopt;
            }
        }
    }
    teams.clear();
    return histories;
}

ChangeSense senseOf(const ValueChange &change)
{
    switch (change.field) {
    case HistoryField::age:
    case HistoryField::wage:
        return ChangeSense::neutral;
    case HistoryField::injury:
        // -1 is fit, so a plain comparison of the numbers holds here too.
        return change.now > change.was ? ChangeSense::worse : ChangeSense::better;
    default:
        if (change.was == -1 || change.now == -1)
            return ChangeSense::neutral;
        return change.now > change.was ? ChangeSense::better : ChangeSense::worse;
    }
}

kstring wasText(const ValueChange &change, TDateTime earlier)
{
    return "was " + valueText(change.field, change.was) + " on " + dayOf(earlier);
}

const PlayerChanges *SquadComparison::of(std::int32_t id) const
{
    const auto found = players.find(id);
    return found == players.end() ? nullptr : &found->second;
}

SquadComparison compareSquad(const SquadHistory &history, TDateTime earlier, TDateTime later)
{
    SquadComparison comparison;
    comparison.earlier = earlier;
    comparison.later = later;
    for (const auto &[id, player] : history.players) {
        const PlayerValues *was = player.at(earlier);
        const PlayerValues *now = player.at(later);
        if (!now) {
            if (was)
                comparison.left.push_back(LeftPlayer{id, player.name});
            continue;
        }
        PlayerChanges &changes = comparison.players[id];
        changes.id = id;
        changes.joined = !was;
        if (!was)
            continue;
        for (std::size_t f = 0; f < historyFieldCount; ++f)
            if (was->fields[f] != now->fields[f])
                changes.changes.push_back(
                    ValueChange{HistoryField(f), was->fields[f], now->fields[f]});
    }
    return comparison;
}

SquadComparison compareWithNewest(const SquadHistory &history, TDateTime earlier)
{
    return compareSquad(history, earlier, history.newest());
}

PlayerSeries seriesOf(const SquadHistory &history, std::int32_t playerId)
{
    PlayerSeries series;
    const auto found = history.players.find(playerId);
    if (found == history.players.end())
        return series;
    for (TDateTime moment : history.downloads)
        if (const PlayerValues *values = found->second.at(moment)) {
            series.dates.push_back(moment);
            series.values.push_back(*values);
        }
    return series;
}
