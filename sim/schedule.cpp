#include "sim/schedule.h"

#include "sim/world.h"

#include <algorithm>
#include <array>
#include <utility>

namespace sim {

namespace {

constexpr int matchIdBase = 1'000'000;
constexpr int matchesPerRound = 16;
// The clock starts in the sixth round of the first season, so every team has a past.
constexpr int roundAtOrigin = 5;
// Enough seasons for any demo; ids beyond them are unknown matches.
constexpr int lastRound = schedule::roundsPerSeason * 1000;

const QDateTime &origin()
{
    static const QDateTime moment(QDate(2025, 3, 8), QTime(15, 0), Qt::UTC);
    return moment;
}

double roundStart(int round)
{
    return double(round - roundAtOrigin) * schedule::roundLength;
}

double kickoffOffset(int league, int slot)
{
    return league * 20 + slot * 5;
}

// Circle method over eight positions: position 7 stays, the others turn one step a round.
// The second half of the season repeats the first with home and away swapped.
std::pair<int, int> pairing(int roundInSeason, int slot)
{
    const int turn = roundInSeason % 7;
    auto rotated = [turn](int seat) { return seat == 7 ? 7 : (seat + turn) % 7; };
    const std::array<std::pair<int, int>, 4> seats{{{7, 0}, {1, 6}, {2, 5}, {3, 4}}};
    auto [a, b] = seats[slot];
    std::pair<int, int> match{rotated(a), rotated(b)};
    if (turn % 2 == 1)
        std::swap(match.first, match.second);
    if (roundInSeason >= 7)
        std::swap(match.first, match.second);
    return match;
}

} // namespace

SimClock::SimClock(double speed) : speed(speed)
{
    running.start();
}

double SimClock::minutes() const
{
    return advanced + double(running.elapsed()) * speed / 60000.0;
}

void SimClock::advance(int matchMinutes)
{
    // The world has no way back: a past that changed would contradict what was sent.
    if (matchMinutes > 0)
        advanced += matchMinutes;
}

QDateTime SimClock::dateAt(double minute)
{
    return origin().addSecs(qint64(minute * 60.0));
}

QString SimClock::format(const QDateTime &moment)
{
    return moment.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

QString statusText(MatchStatus status)
{
    switch (status) {
    case MatchStatus::Upcoming:
        return QStringLiteral("UPCOMING");
    case MatchStatus::Ongoing:
        return QStringLiteral("ONGOING");
    case MatchStatus::Finished:
        break;
    }
    return QStringLiteral("FINISHED");
}

namespace schedule {

Fixture fixture(const World &world, int round, int league, int slot)
{
    const auto [home, away] = pairing(round % roundsPerSeason, slot);
    const auto &teams = world.leagues()[league].teams;
    Fixture f;
    f.matchId = matchIdBase + round * matchesPerRound + league * matchesPerLeague + slot;
    f.round = round;
    f.league = league;
    f.slot = slot;
    f.home = teams[home];
    f.away = teams[away];
    f.kickoff = roundStart(round) + kickoffOffset(league, slot);
    return f;
}

std::optional<Fixture> fixtureById(const World &world, int matchId)
{
    if (matchId < matchIdBase || matchId >= matchIdBase + lastRound * matchesPerRound)
        return std::nullopt;
    const int n = matchId - matchIdBase;
    const int inRound = n % matchesPerRound;
    return fixture(world, n / matchesPerRound, inRound / matchesPerLeague,
                   inRound % matchesPerLeague);
}

int currentRound(double minute)
{
    int round = roundAtOrigin + int(minute / roundLength);
    while (round > 0 && roundStart(round) > minute)
        --round;
    return std::clamp(round, 0, lastRound - 1);
}

int seasonOf(int round)
{
    return round / roundsPerSeason;
}

std::vector<Fixture> leagueSeason(const World &world, int league, int season)
{
    std::vector<Fixture> fixtures;
    for (int r = 0; r < roundsPerSeason; ++r) {
        for (int slot = 0; slot < matchesPerLeague; ++slot)
            fixtures.push_back(fixture(world, season * roundsPerSeason + r, league, slot));
    }
    return fixtures;
}

std::vector<Fixture> teamSeason(const World &world, int teamIndex, int season)
{
    std::vector<Fixture> fixtures;
    for (const Fixture &f : leagueSeason(world, world.teams()[teamIndex].league, season)) {
        if (f.home == teamIndex || f.away == teamIndex)
            fixtures.push_back(f);
    }
    return fixtures;
}

MatchStatus status(const Fixture &fixture, double minute)
{
    if (minute < fixture.kickoff)
        return MatchStatus::Upcoming;
    return minute < fixture.kickoff + matchLength ? MatchStatus::Ongoing : MatchStatus::Finished;
}

double playedMinutes(const Fixture &fixture, double minute)
{
    return std::clamp(minute - fixture.kickoff, 0.0, double(matchLength));
}

std::vector<int> ongoingMatchIds(const World &world, double minute)
{
    std::vector<int> ids;
    const int round = currentRound(minute);
    for (int r = std::max(0, round - 1); r <= round; ++r) {
        for (int league = 0; league < int(world.leagues().size()); ++league) {
            for (int slot = 0; slot < matchesPerLeague; ++slot) {
                const Fixture f = fixture(world, r, league, slot);
                if (status(f, minute) == MatchStatus::Ongoing)
                    ids.push_back(f.matchId);
            }
        }
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

} // namespace schedule

} // namespace sim
