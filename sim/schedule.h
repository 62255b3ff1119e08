#pragma once

#include <QDateTime>
#include <QElapsedTimer>

#include <optional>
#include <vector>

namespace sim {

class World;

// Simulated time in match minutes since the clock's origin. It runs at `speed` match minutes
// per real minute and is moved on explicitly by `advance`, so tests never sleep.
class SimClock
{
public:
    explicit SimClock(double speed);

    double minutes() const;
    void advance(int matchMinutes);
    // The calendar moment of a simulated minute.
    static QDateTime dateAt(double minute);
    static QString format(const QDateTime &moment); // "yyyy-MM-dd hh:mm:ss"

private:
    double speed;
    double advanced = 0;
    QElapsedTimer running;
};

enum class MatchStatus { Upcoming, Ongoing, Finished };

QString statusText(MatchStatus status); // "UPCOMING", "ONGOING", "FINISHED"

struct Fixture
{
    int matchId = 0;
    int round = 0; // counted from the first round the world has played, across seasons
    int league = 0;
    int slot = 0;
    int home = 0; // team indexes
    int away = 0;
    double kickoff = 0; // simulated minute
};

// Every league plays a double round robin of fourteen rounds per season, then starts again.
// Rounds follow one another every two hours; within a round the matches kick off a few
// minutes apart, so at any moment about a dozen of the sixteen matches are running.
namespace schedule {

inline constexpr int roundsPerSeason = 14;
inline constexpr int roundLength = 120;
inline constexpr int matchLength = 90;
inline constexpr int matchesPerLeague = 4;

Fixture fixture(const World &world, int round, int league, int slot);
std::optional<Fixture> fixtureById(const World &world, int matchId);
// The latest round that has begun by then (0 before the first one).
int currentRound(double minute);
int seasonOf(int round);
// The team's fixtures of one season, in order of play.
std::vector<Fixture> teamSeason(const World &world, int teamIndex, int season);
std::vector<Fixture> leagueSeason(const World &world, int league, int season);
MatchStatus status(const Fixture &fixture, double minute);
// Minutes played by then, 0 before the kick-off and matchLength after the final whistle.
double playedMinutes(const Fixture &fixture, double minute);
std::vector<int> ongoingMatchIds(const World &world, double minute);

} // namespace schedule

} // namespace sim
