#include "sim/world.h"

#include "sim/rng.h"
#include "sim/world_names.h"

#include <QSet>

#include <algorithm>
#include <cmath>

namespace sim {

namespace {

constexpr int teamsPerLeague = 8;

// A squad of sixteen; one or two more players join as extra defenders, midfielders or forwards.
constexpr std::array<Role, 16> coreSquad{
    Role::Keeper,     Role::Keeper,     Role::Defender,   Role::Defender,
    Role::Defender,   Role::Defender,   Role::Defender,   Role::Midfielder,
    Role::Midfielder, Role::Midfielder, Role::Midfielder, Role::Winger,
    Role::Winger,     Role::Forward,    Role::Forward,    Role::Forward};
constexpr std::array<Role, 3> extraRoles{Role::Defender, Role::Midfielder, Role::Forward};

struct Profile
{
    std::vector<Skill> primary;
    std::vector<Skill> secondary;
};

const Profile &profileOf(Role role)
{
    static const std::array<Profile, 5> profiles{{
        {{Goaltending}, {Defending, SetPieces}},
        {{Defending}, {Playmaking, Passing}},
        {{Playmaking}, {Passing, Defending}},
        {{WingerSkill}, {Playmaking, Passing}},
        {{Scoring}, {Passing, WingerSkill}},
    }};
    return profiles[int(role)];
}

int clampLevel(int level)
{
    return std::clamp(level, 1, 20);
}

int skillIndexFor(int mainLevel, int form, Rng &rng)
{
    return int(skillIndexBase(mainLevel, form) * (0.94 + 0.12 * rng.unit()));
}

QString uniqueName(const Region &region, QSet<QString> &taken, Rng &rng)
{
    QString name;
    do {
        name =
            QString::fromUtf8(region.firstNames[rng.range(0, int(region.firstNames.size()) - 1)]) +
            ' ' +
            QString::fromUtf8(region.lastNames[rng.range(0, int(region.lastNames.size()) - 1)]);
    } while (taken.contains(name));
    taken.insert(name);
    return name;
}

void drawSkills(Player &player, int quality, Rng &rng)
{
    const Profile &profile = profileOf(player.role);
    for (int &level : player.skills)
        level = rng.range(1, 4);
    for (Skill skill : profile.secondary)
        player.skills[skill] = clampLevel(quality - 2 + rng.range(-1, 2));
    for (Skill skill : profile.primary)
        player.skills[skill] = clampLevel(quality + rng.range(-1, 3));
    player.skills[Stamina] = rng.range(3, 9);
    player.skills[SetPieces] = std::max(player.skills[SetPieces], rng.range(1, 9));
}

} // namespace

Player drawPlayer(int id, Role role, int quality, int league, QSet<QString> &names, Rng &rng)
{
    const Region &region = regions()[league];
    Player player;
    player.id = id;
    player.role = role;
    player.name = uniqueName(region, names, rng);
    player.age = rng.range(17, 35);
    player.form = rng.range(2, 8);
    drawSkills(player, quality, rng);
    player.speciality = rng.chance(0.45) ? rng.range(Technical, Head) : NoSpeciality;
    player.gentleness = rng.range(0, 5);
    player.aggressiveness = rng.range(0, 4);
    player.honesty = rng.range(0, 5);
    player.experience = std::min(20, (player.age - 17) / 3 + rng.range(0, 3));
    player.leadership = rng.range(1, 7);
    player.skillIndex = skillIndexFor(player.skills[mainSkill(role)], player.form, rng);
    player.salary = salaryFor(player.skillIndex, player.experience);
    player.injuryWeeks = rng.chance(0.06) ? rng.range(0, 3) : -1;
    return player;
}

Skill mainSkill(Role role)
{
    return profileOf(role).primary.front();
}

// The game's skill index grows steeply with the main skill and falls slightly with form; the
// constants follow the published keeper table, so an estimate from it lands near the truth.
double skillIndexBase(int mainLevel, int form)
{
    static const std::array<double, 8> atThousand{6.31, 6.06, 5.85, 5.68, 5.53, 5.39, 5.28, 5.17};
    return 1000.0 * std::pow(mainLevel / atThousand[std::clamp(form, 1, 8) - 1], 3.85);
}

int salaryFor(int skillIndex, int experience)
{
    return 250 + skillIndex / 4 + 20 * experience;
}

namespace {

std::vector<Role> squadRoles(Rng &rng)
{
    std::vector<Role> roles(coreSquad.begin(), coreSquad.end());
    const int extra = rng.range(0, 2);
    for (int i = 0; i < extra; ++i)
        roles.push_back(extraRoles[rng.range(0, int(extraRoles.size()) - 1)]);
    return roles;
}

template <typename T> void shuffle(std::vector<T> &items, Rng &rng)
{
    for (int i = int(items.size()) - 1; i > 0; --i)
        std::swap(items[i], items[rng.range(0, i)]);
}

} // namespace

World::World(quint32 seed) : seedValue(seed)
{
    buildTeams();
    buildAccounts();
}

void World::buildTeams()
{
    Rng ids = Rng::derived(seedValue, {1});
    const int teamIdBase = ids.range(1000, 40000);
    const int playerIdBase = ids.range(30'000'000, 60'000'000);
    const int leagueIdBase = ids.range(100, 900);
    for (int l = 0; l < int(regions().size()); ++l) {
        const Region &region = regions()[l];
        Rng rng = Rng::derived(seedValue, {2, std::uint64_t(l)});
        std::vector<const char *> clubs(region.clubs.begin(), region.clubs.end());
        shuffle(clubs, rng);
        League league;
        league.id = leagueIdBase + l;
        league.name = QString::fromUtf8(region.leagueName);
        for (int p = 0; p < teamsPerLeague; ++p) {
            Team team;
            team.index = int(teamList.size());
            team.league = l;
            team.id = teamIdBase + team.index * 523 + ids.range(0, 522);
            team.name = QString::fromUtf8(clubs[p]);
            team.arena =
                QString::fromUtf8(region.arenas[rng.range(0, int(region.arenas.size()) - 1)]);
            team.arenaCapacity = 1000 * rng.range(8, 45);
            team.fans = rng.range(600, 9000);
            team.founded = rng.range(1880, 1975);
            const int quality = rng.range(5, 9);
            QSet<QString> names;
            const std::vector<Role> roles = squadRoles(rng);
            for (int n = 0; n < int(roles.size()); ++n) {
                const int id = playerIdBase + (team.index * 20 + n) * 97 + ids.range(0, 96);
                team.players.push_back(drawPlayer(id, roles[n], quality, l, names, rng));
            }
            league.teams[p] = team.index;
            teamList.push_back(std::move(team));
        }
        leagueList.push_back(league);
    }
}

void World::buildAccounts()
{
    // The demo manager and a few more, each at the head of a club in another league.
    const std::array<std::pair<const char *, const char *>, 4> logins{
        {{"demo", "demo"}, {"anna", "kickoff"}, {"marco", "catenaccio"}, {"josé", "olé"}}};
    const std::array<int, 4> userIds{123456, 234567, 345678, 456789};
    for (int i = 0; i < int(logins.size()); ++i) {
        Account account{QString::fromUtf8(logins[i].first), QString::fromUtf8(logins[i].second),
                        userIds[i], leagueList[i].teams[0]};
        teamList[account.teamIndex].managerUserId = account.userId;
        accountList.push_back(account);
    }
}

const Team *World::teamById(int teamId) const
{
    auto found = std::find_if(teamList.begin(), teamList.end(),
                              [teamId](const Team &team) { return team.id == teamId; });
    return found == teamList.end() ? nullptr : &*found;
}

const Account *World::account(const QString &loginName, const QString &securityCode) const
{
    for (const Account &account : accountList) {
        if (account.loginName.compare(loginName, Qt::CaseInsensitive) == 0 &&
            account.securityCode == securityCode)
            return &account;
    }
    return nullptr;
}

const Account *World::accountById(int userId) const
{
    for (const Account &account : accountList) {
        if (account.userId == userId)
            return &account;
    }
    return nullptr;
}

} // namespace sim
