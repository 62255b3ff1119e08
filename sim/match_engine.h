#pragma once

#include "sim/event_kinds.h"

#include <QString>

#include <vector>

namespace sim {

class World;
struct Fixture;

struct MatchEvent
{
    int index = 0; // 1, 2, ... in order of play
    int minute = 0;
    QString key; // e.g. "105_3": the number, and the text variant when the kind has several
    int keyNumber = 0;
    Category category = Category::Info;
    int subjectPlayerId = 0;
    int subjectTeamId = 0;
    int objectPlayerId = 0;
    QString text;     // an HTML fragment as the service writes it
    int homeGoal = 0; // 1 when the event is a goal of that side
    int awayGoal = 0;
};

struct Score
{
    int home = 0;
    int away = 0;
};

// The whole course of one match, the same every time for the same world and fixture.
struct MatchReport
{
    std::vector<MatchEvent> events;

    // Events already played after that many minutes: a prefix of `events`.
    int visibleCount(double playedMinutes) const;
    Score scoreAfter(int eventCount) const;
    Score finalScore() const { return scoreAfter(int(events.size())); }
};

MatchReport playMatch(const World &world, const Fixture &fixture);

// How many of the report's events have been played by that simulated minute: none before the
// kick-off, all after the final whistle.
int eventsPlayedBy(const MatchReport &report, const Fixture &fixture, double minute);

} // namespace sim
