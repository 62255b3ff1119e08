#pragma once

#include <vector>

namespace sim {

enum class Category { Info, Goal, Miss, Card, Injury, Special, Rating };

// Who the second player of an event is. The program colours him as a teammate exactly for
// injuries (91..95), keys ending in 8 and 105, 108, 116, 205, 237; the table keeps to that.
enum class ObjectRole { None, Teammate, Opponent, OpponentKeeper, Substitute };

// Whose speciality a kind needs (the event reads wrong without it).
enum class Needs { Nothing, SubjectSpeciality, ObjectSpeciality };

enum class Weather { Any, Rain, Sun };

struct EventKind
{
    int key;
    Category category;
    ObjectRole object;
    int weight; // relative frequency within its category
    Needs needs = Needs::Nothing;
    int speciality = 0;
    Weather weather = Weather::Any;
    // HTML templates: {s} subject link, {o} object link, {t} subject's team, {u} the other team,
    // {score} the score after the event, {r} the rules link of the speciality; info texts also
    // {home}, {away}, {crowd} and {weather}.
    std::vector<const char *> texts;
};

const std::vector<EventKind> &eventKinds();
// The kind of a key number from the table; raises std::out_of_range for any other key.
const EventKind &eventKind(int key);
std::vector<const EventKind *> kindsOf(Category category);

// The word the rules page uses for a speciality code.
const char *specialityName(int speciality);

} // namespace sim
