#pragma once

#include <QSet>
#include <QString>

#include <array>
#include <vector>

namespace sim {

enum class Role { Keeper, Defender, Midfielder, Winger, Forward };

// Skill order of the players document: stamina, playmaking, winger, scoring, goaltending
// (keeper), passing, defending, set pieces.
enum Skill {
    Stamina,
    Playmaking,
    WingerSkill,
    Scoring,
    Goaltending,
    Passing,
    Defending,
    SetPieces
};
inline constexpr int skillCount = 8;

// Speciality codes as the game numbers them.
enum Speciality { NoSpeciality, Technical, Quick, Powerful, Unpredictable, Head };

struct Player
{
    int id = 0;
    QString name;
    Role role = Role::Midfielder;
    int age = 0;
    int form = 0;                         // 1..8
    int skillIndex = 0;                   // TSI
    std::array<int, skillCount> skills{}; // levels 1..20
    int speciality = NoSpeciality;
    int gentleness = 0;
    int aggressiveness = 0;
    int honesty = 0;
    int experience = 0;
    int leadership = 0;
    int salary = 0;
    int injuryWeeks = -1; // -1: fit
};

struct Team
{
    int id = 0;
    int index = 0;  // position in World::teams()
    int league = 0; // index in World::leagues()
    QString name;
    QString arena;
    int arenaCapacity = 0;
    int fans = 0;
    int founded = 0;
    int managerUserId = 0; // 0: managed by the game
    std::vector<Player> players;
};

struct League
{
    int id = 0;
    QString name;
    std::array<int, 8> teams{}; // team indexes; the order is the fixture order
};

struct Account
{
    QString loginName;
    QString securityCode;
    int userId = 0;
    int teamIndex = 0;
};

class Rng;

// A player the world could have drawn: of this role, with skills around `quality`, a name not
// yet in `takenNames` (which gets it) from the pool of league `league`.
Player drawPlayer(int id, Role role, int quality, int league, QSet<QString> &takenNames, Rng &rng);
// The skill a role plays by, which drives his skill index.
Skill mainSkill(Role role);
// The skill index of a main skill level and a form before the individual spread of ±6 %.
double skillIndexBase(int mainLevel, int form);
// What a club pays for a skill index and experience.
int salaryFor(int skillIndex, int experience);

// The whole football world, built once from a seed and never changed afterwards.
class World
{
public:
    explicit World(quint32 seed);

    quint32 seed() const { return seedValue; }
    const std::vector<League> &leagues() const { return leagueList; }
    const std::vector<Team> &teams() const { return teamList; }
    const std::vector<Account> &accounts() const { return accountList; }

    const Team *teamById(int teamId) const;
    // The login name ignores case, the security code does not.
    const Account *account(const QString &loginName, const QString &securityCode) const;
    const Account *accountById(int userId) const;

private:
    void buildTeams();
    void buildAccounts();

    quint32 seedValue;
    std::vector<League> leagueList;
    std::vector<Team> teamList;
    std::vector<Account> accountList;
};

} // namespace sim
