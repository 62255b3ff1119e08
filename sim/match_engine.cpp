#include "sim/match_engine.h"

#include "sim/rng.h"
#include "sim/schedule.h"
#include "sim/world.h"

#include <QSet>

#include <algorithm>
#include <array>
#include <functional>

namespace sim {

namespace {

constexpr int maxSubstitutions = 3;

using Pick = std::function<int(const Player &)>; // weight of a player; 0 leaves him out

struct Side
{
    const Team *team = nullptr;
    bool home = false;
    const Player *keeper = nullptr;
    std::vector<const Player *> outfield; // on the pitch
    std::vector<const Player *> bench;
    QSet<int> booked;
    std::vector<const Player *> scorers;
    int substitutions = 0;
};

struct Plan
{
    int minute;
    Category category;
    bool home;
};

int roleWeight(const Player &player, std::array<int, 5> weights)
{
    return weights[int(player.role)];
}

int attackWeight(const Player &player)
{
    return roleWeight(player, {0, 1, 2, 3, 5});
}

int defenceWeight(const Player &player)
{
    return roleWeight(player, {0, 5, 2, 1, 1});
}

double average(const std::vector<const Player *> &players, Skill skill, Role role)
{
    double sum = 0;
    int count = 0;
    for (const Player *player : players) {
        if (player->role == role) {
            sum += player->skills[skill];
            ++count;
        }
    }
    return count ? sum / count : 1.0;
}

// A 4-4-2: the best keeper, four defenders, two midfielders, two wingers, two forwards.
Side lineUp(const Team &team, bool home)
{
    Side side;
    side.team = &team;
    side.home = home;
    std::vector<const Player *> squad;
    for (const Player &player : team.players)
        squad.push_back(&player);
    std::stable_sort(squad.begin(), squad.end(), [](const Player *a, const Player *b) {
        return a->skillIndex > b->skillIndex;
    });
    std::array<int, 5> wanted{1, 4, 2, 2, 2};
    for (const Player *player : squad) {
        int &open = wanted[int(player->role)];
        if (open == 0) {
            side.bench.push_back(player);
        } else if (player->role == Role::Keeper) {
            side.keeper = player;
            --open;
        } else {
            side.outfield.push_back(player);
            --open;
        }
    }
    return side;
}

class MatchPlay
{
public:
    MatchPlay(const World &world, const Fixture &fixture)
        : rng(Rng::derived(world.seed(), {7, std::uint64_t(fixture.matchId)})),
          home(lineUp(world.teams()[fixture.home], true)),
          away(lineUp(world.teams()[fixture.away], false))
    {
        const int roll = rng.range(0, 99);
        weather = roll < 35 ? Weather::Rain : roll < 70 ? Weather::Sun : Weather::Any;
    }

    MatchReport play()
    {
        addInfo(0, 11);
        for (const Plan &plan : plans())
            happen(plan);
        finish();
        return report;
    }

private:
    std::vector<Plan> plans()
    {
        std::vector<Plan> plans;
        planChances(plans);
        for (bool isHome : {true, false}) {
            planSeveral(plans, Category::Card, isHome, rng.range(0, 2) + cardTemper(isHome));
            planSeveral(plans, Category::Injury, isHome, rng.chance(0.3) ? 1 : 0);
            planSeveral(plans, Category::Special, isHome,
                        weather == Weather::Any ? 0 : rng.range(0, 1));
        }
        plans.push_back({45, Category::Info, true});
        // Events of one minute keep the order they were planned in.
        std::stable_sort(plans.begin(), plans.end(),
                         [](const Plan &a, const Plan &b) { return a.minute < b.minute; });
        return plans;
    }

    int cardTemper(bool isHome)
    {
        const Side &side = isHome ? home : away;
        int temper = 0;
        for (const Player *player : side.outfield)
            temper += player->aggressiveness;
        return temper > 25 ? 1 : 0;
    }

    // The midfield decides who gets the chances; the home side has a small advantage.
    void planChances(std::vector<Plan> &plans)
    {
        const double homeMidfield = average(home.outfield, Playmaking, Role::Midfielder) * 1.1;
        const double awayMidfield = average(away.outfield, Playmaking, Role::Midfielder);
        const int total = rng.range(9, 16);
        const int homeChances = int(total * homeMidfield / (homeMidfield + awayMidfield) + 0.5);
        planSeveral(plans, Category::Miss, true, homeChances);
        planSeveral(plans, Category::Miss, false, total - homeChances);
    }

    void planSeveral(std::vector<Plan> &plans, Category category, bool isHome, int count)
    {
        for (int i = 0; i < count; ++i) {
            int minute = rng.range(1, 88);
            if (minute >= 45)
                ++minute; // minute 45 is the break
            plans.push_back({minute, category, isHome});
        }
    }

    double scoringChance(const Side &attack, const Side &defence) const
    {
        const double strength = (average(attack.outfield, Scoring, Role::Forward) +
                                 average(attack.outfield, WingerSkill, Role::Winger)) /
                                2;
        const double resistance = (average(defence.outfield, Defending, Role::Defender) +
                                   defence.keeper->skills[Goaltending]) /
                                  2;
        return std::clamp(0.22 + 0.03 * (strength - resistance), 0.08, 0.5);
    }

    void happen(const Plan &plan)
    {
        Side &own = plan.home ? home : away;
        Side &other = plan.home ? away : home;
        Category category = plan.category;
        if (category == Category::Info) {
            addInfo(plan.minute, 12);
            return;
        }
        if (category == Category::Miss && rng.chance(scoringChance(own, other)))
            category = Category::Goal;
        const EventKind *kind = chooseKind(category, own);
        if (kind)
            addPlayerEvent(plan.minute, *kind, own, other);
    }

    bool feasible(const EventKind &kind, const Side &own) const
    {
        if (kind.weight == 0 || (kind.weather != Weather::Any && kind.weather != weather))
            return false;
        if (kind.object == ObjectRole::Substitute &&
            (own.bench.empty() || own.substitutions >= maxSubstitutions))
            return false;
        if (kind.needs == Needs::Nothing)
            return own.outfield.size() >= 2;
        return std::any_of(own.outfield.begin(), own.outfield.end(),
                           [&kind](const Player *p) { return p->speciality == kind.speciality; }) &&
               own.outfield.size() >= 2;
    }

    const EventKind *chooseKind(Category category, const Side &own)
    {
        std::vector<const EventKind *> kinds;
        int total = 0;
        for (const EventKind *kind : kindsOf(category)) {
            if (feasible(*kind, own)) {
                kinds.push_back(kind);
                total += kind->weight;
            }
        }
        if (total == 0)
            return nullptr;
        int roll = rng.range(0, total - 1);
        for (const EventKind *kind : kinds) {
            roll -= kind->weight;
            if (roll < 0)
                return kind;
        }
        return kinds.back();
    }

    const Player *pick(const std::vector<const Player *> &players, const Pick &weight,
                       const Player *except = nullptr)
    {
        int total = 0;
        for (const Player *player : players)
            total += player == except ? 0 : weight(*player);
        if (total == 0)
            return nullptr;
        int roll = rng.range(0, total - 1);
        for (const Player *player : players) {
            roll -= player == except ? 0 : weight(*player);
            if (roll < 0)
                return player;
        }
        return nullptr;
    }

    static Pick withSpeciality(int speciality)
    {
        return [speciality](const Player &p) { return p.speciality == speciality ? 1 : 0; };
    }

    const Player *chooseSubject(const EventKind &kind, const Side &own)
    {
        if (kind.needs == Needs::SubjectSpeciality)
            return pick(own.outfield, withSpeciality(kind.speciality));
        if (kind.category == Category::Card)
            return pick(own.outfield, defenceWeight);
        if (kind.category == Category::Injury || kind.category == Category::Special)
            return pick(own.outfield, [](const Player &) { return 1; });
        if (kind.needs == Needs::ObjectSpeciality) {
            // The subject is any attacker but the one with the speciality, when he is alone.
            const Player *passer = pick(own.outfield, withSpeciality(kind.speciality));
            return pick(own.outfield, attackWeight, passer);
        }
        return pick(own.outfield, attackWeight);
    }

    const Player *chooseObject(const EventKind &kind, const Side &own, const Side &other,
                               const Player *subject)
    {
        switch (kind.object) {
        case ObjectRole::None:
            return nullptr;
        case ObjectRole::Teammate:
            if (kind.needs == Needs::ObjectSpeciality)
                return pick(own.outfield, withSpeciality(kind.speciality), subject);
            return pick(own.outfield, attackWeight, subject);
        case ObjectRole::Opponent:
            if (kind.key == 136)
                return leastExperienced(other);
            return pick(other.outfield,
                        kind.category == Category::Card ? attackWeight : defenceWeight);
        case ObjectRole::OpponentKeeper:
            return other.keeper;
        case ObjectRole::Substitute:
            break;
        }
        const Role role = subject->role;
        const Player *same = pick(own.bench, [role](const Player &p) { return p.role == role; });
        return same ? same : pick(own.bench, [](const Player &p) {
            return p.role == Role::Keeper ? 0 : 1;
        });
    }

    static const Player *leastExperienced(const Side &side)
    {
        if (side.outfield.empty())
            return nullptr;
        return *std::min_element(
            side.outfield.begin(), side.outfield.end(),
            [](const Player *a, const Player *b) { return a->experience < b->experience; });
    }

    void addPlayerEvent(int minute, const EventKind &chosen, Side &own, Side &other)
    {
        const Player *subject = chooseSubject(chosen, own);
        if (!subject)
            return;
        const EventKind &kind = cardFor(chosen, own, *subject);
        const Player *object = chooseObject(kind, own, other, subject);
        if (kind.object != ObjectRole::None && !object)
            return;
        if (kind.category == Category::Goal) {
            (own.home ? score.home : score.away) += 1;
            own.scorers.push_back(subject);
        }
        MatchEvent &event = addEvent(minute, kind);
        event.subjectPlayerId = subject->id;
        event.subjectTeamId = own.team->id;
        event.objectPlayerId = object ? object->id : 0;
        event.homeGoal = kind.category == Category::Goal && own.home;
        event.awayGoal = kind.category == Category::Goal && !own.home;
        event.text = render(event.text, kind, own, other, subject, object);
        applyConsequences(kind, own, subject, object);
    }

    // A second booking is a sending-off.
    static const EventKind &cardFor(const EventKind &kind, const Side &own, const Player &subject)
    {
        const bool yellow = kind.key == 510 || kind.key == 511;
        return yellow && own.booked.contains(subject.id) ? eventKind(512) : kind;
    }

    static void leave(Side &side, const Player *player)
    {
        side.outfield.erase(std::find(side.outfield.begin(), side.outfield.end(), player));
    }

    static void applyConsequences(const EventKind &kind, Side &own, const Player *subject,
                                  const Player *object)
    {
        if (kind.key == 510 || kind.key == 511)
            own.booked.insert(subject->id);
        if (kind.key >= 512 && kind.key <= 514)
            leave(own, subject);
        if (kind.object == ObjectRole::Substitute) {
            leave(own, subject);
            own.bench.erase(std::find(own.bench.begin(), own.bench.end(), object));
            own.outfield.push_back(object);
            ++own.substitutions;
        }
    }

    MatchEvent &addEvent(int minute, const EventKind &kind)
    {
        const int variant = rng.range(0, int(kind.texts.size()) - 1);
        MatchEvent event;
        event.index = int(report.events.size()) + 1;
        event.minute = minute;
        event.keyNumber = kind.key;
        event.key = QString::number(kind.key);
        if (kind.texts.size() > 1)
            event.key += '_' + QString::number(variant + 1);
        event.category = kind.category;
        event.text = QString::fromUtf8(kind.texts[variant]);
        report.events.push_back(event);
        return report.events.back();
    }

    static QString link(const Player *player)
    {
        return QStringLiteral("<a href=\"playerDetails.asp?playerID=%1\">%2</a>")
            .arg(player->id)
            .arg(player->name.toHtmlEscaped());
    }

    QString scoreText() const { return QStringLiteral("%1 - %2").arg(score.home).arg(score.away); }

    QString render(QString text, const EventKind &kind, const Side &own, const Side &other,
                   const Player *subject, const Player *object) const
    {
        text.replace(QLatin1String("{s}"), link(subject));
        if (object)
            text.replace(QLatin1String("{o}"), link(object));
        text.replace(QLatin1String("{r}"),
                     QStringLiteral("<a href=\"gameRules.asp#specialities\">%1</a>")
                         .arg(QLatin1String(specialityName(kind.speciality))));
        text.replace(QLatin1String("{t}"), own.team->name.toHtmlEscaped());
        text.replace(QLatin1String("{u}"), other.team->name.toHtmlEscaped());
        return renderInfo(text);
    }

    QString renderInfo(QString text) const
    {
        static const std::array<const char *, 3> skies{"The sky is overcast.", "It is raining.",
                                                       "The sun is shining."};
        const int crowd = std::min(home.team->arenaCapacity, home.team->fans * 3 + 1500);
        text.replace(QLatin1String("{score}"), scoreText());
        text.replace(QLatin1String("{home}"), home.team->name.toHtmlEscaped());
        text.replace(QLatin1String("{away}"), away.team->name.toHtmlEscaped());
        text.replace(QLatin1String("{crowd}"), QString::number(crowd));
        text.replace(QLatin1String("{weather}"), QLatin1String(skies[int(weather)]));
        return text;
    }

    void addInfo(int minute, int key)
    {
        MatchEvent &event = addEvent(minute, eventKind(key));
        event.text = renderInfo(event.text);
    }

    // The final whistle, then the best player of the better side and the worst of the other.
    void finish()
    {
        addInfo(schedule::matchLength, 13);
        const bool homeBetter =
            score.home != score.away ? score.home > score.away : rng.chance(0.5);
        Side &better = homeBetter ? home : away;
        Side &worse = homeBetter ? away : home;
        const Player *best = better.scorers.empty()
                                 ? pick(better.outfield, attackWeight)
                                 : better.scorers[rng.range(0, int(better.scorers.size()) - 1)];
        addRating(41, better, best);
        addRating(42, worse, pick(worse.outfield, [](const Player &) { return 1; }));
    }

    void addRating(int key, const Side &side, const Player *player)
    {
        if (!player)
            return;
        const Side &other = side.home ? away : home;
        const EventKind &kind = eventKind(key);
        MatchEvent &event = addEvent(schedule::matchLength, kind);
        event.subjectPlayerId = player->id;
        event.subjectTeamId = side.team->id;
        event.text = render(event.text, kind, side, other, player, nullptr);
    }

    Rng rng;
    Side home;
    Side away;
    Weather weather = Weather::Any;
    Score score;
    MatchReport report;
};

} // namespace

int MatchReport::visibleCount(double playedMinutes) const
{
    return int(std::count_if(events.begin(), events.end(), [playedMinutes](const MatchEvent &e) {
        return e.minute <= playedMinutes;
    }));
}

Score MatchReport::scoreAfter(int eventCount) const
{
    Score score;
    for (int i = 0; i < eventCount && i < int(events.size()); ++i) {
        score.home += events[i].homeGoal;
        score.away += events[i].awayGoal;
    }
    return score;
}

int eventsPlayedBy(const MatchReport &report, const Fixture &fixture, double minute)
{
    if (schedule::status(fixture, minute) == MatchStatus::Upcoming)
        return 0;
    return report.visibleCount(schedule::playedMinutes(fixture, minute));
}

MatchReport playMatch(const World &world, const Fixture &fixture)
{
    MatchPlay play(world, fixture);
    return play.play();
}

} // namespace sim
