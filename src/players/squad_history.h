#pragma once

#include "Engine/datetime.h"
#include "Engine/history.h"
#include "Engine/kstring.h"
#include "players/players_document.h"
#include "players/team.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

// The values of a player that the history follows, in the order a comparison lists them.
enum class HistoryField : std::uint8_t {
    age,
    form,
    injury,
    value, // the skill index
    wage,
    stamina,
    playmaking,
    winger,
    scoring,
    goaltending,
    passing,
    defending,
    setpieces
};
inline constexpr std::size_t historyFieldCount = 13;

// The player list's column of a field: "age", "form", "injury", "value", "wage", "stamina", ...
const char *historyFieldName(HistoryField field);
// Form and the eight skills are levels with a word (levelWord); the rest are plain numbers.
bool isLevelField(HistoryField field);

// What one download said of a player, -1 where it said nothing readable.
struct PlayerValues
{
    std::array<std::int32_t, historyFieldCount> fields{};

    std::int32_t operator[](HistoryField field) const { return fields[std::size_t(field)]; }
    bool operator==(const PlayerValues &) const = default;
};

PlayerValues valuesOf(const Player &player);

// One player across the downloads. The history holds an entry where his values changed; an
// entry without values means that from that download on he was not in the squad.
struct PlayerHistory
{
    std::int32_t id = 0;
    kstring name; // as the latest download that listed him gives it
    History<std::optional<PlayerValues>> values;

    // His values as of `moment`; null when the download in force then did not list him, or
    // before his first one.
    const PlayerValues *at(TDateTime moment) const;
};

// A team's squad across its stored downloads.
struct SquadHistory
{
    std::int32_t teamId = 0;
    History<TeamRecord> records;      // the team's name, from each download where it changed
    std::vector<TDateTime> downloads; // ascending, each moment once
    std::map<std::int32_t, PlayerHistory> players;

    std::vector<TDateTime> downloadsNewestFirst() const;
    // The latest download's moment; 0 for a history without any.
    TDateTime newest() const;
};

// Gathers documents of one or more teams in any order into their histories. A moment given
// twice for a team counts once, as first given: the same download stored under two names.
class SquadHistoryBuilder
{
public:
    void add(const PlayersDocument &document);
    // The histories by team id; the builder is empty afterwards.
    std::map<std::int32_t, SquadHistory> finish();

private:
    struct Listed
    {
        std::int32_t id;
        kstring name;
        PlayerValues values;
    };
    struct Download
    {
        kstring teamName;
        std::vector<Listed> players;
    };
    std::map<std::int32_t, std::map<TDateTime, Download>> teams;
};

// One value that differs between two downloads.
struct ValueChange
{
    HistoryField field;
    std::int32_t was;
    std::int32_t now;

    bool operator==(const ValueChange &) const = default;
};

enum class ChangeSense { better, worse, neutral };

// A higher level or skill index is better, a new or longer injury worse; age and wage are
// neither.
ChangeSense senseOf(const ValueChange &change);
// The earlier value for a tooltip: "was 5 (passable) on 2026-12-04" for a level, "was 1200 on
// 2026-12-04" for a number, "was not injured on 2026-12-04" and "was unknown on ..." for -1.
kstring wasText(const ValueChange &change, TDateTime earlier);

struct PlayerChanges
{
    std::int32_t id = 0;
    bool joined = false;              // not in the earlier squad
    std::vector<ValueChange> changes; // in field order; empty for one who joined

    bool changed() const { return joined || !changes.empty(); }
};

struct LeftPlayer
{
    std::int32_t id = 0;
    kstring name;
};

// The later squad against the earlier one.
struct SquadComparison
{
    TDateTime earlier = 0;
    TDateTime later = 0;
    std::map<std::int32_t, PlayerChanges> players; // everyone in the later squad, by id
    std::vector<LeftPlayer> left;                  // in the earlier squad only, by id

    // Null for a player not in the later squad.
    const PlayerChanges *of(std::int32_t id) const;
};

// Each squad as of its moment: the download in force then.
SquadComparison compareSquad(const SquadHistory &history, TDateTime earlier, TDateTime later);
// Against the newest download.
SquadComparison compareWithNewest(const SquadHistory &history, TDateTime earlier);

// A player's values at every download that listed him, ascending, for a chart.
struct PlayerSeries
{
    std::vector<TDateTime> dates;
    std::vector<PlayerValues> values; // one per date
};

PlayerSeries seriesOf(const SquadHistory &history, std::int32_t playerId);
