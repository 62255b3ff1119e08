#pragma once

#include <QByteArray>

#include <vector>

namespace sim {

class World;
struct Account;
struct Team;
struct Player;

// The documents about one team: its fixture list and the four documents of its manager.
namespace documents {

QByteArray matches(const World &world, const Team &team, double minute);
QByteArray club(const World &world, const Account &account, double minute);
// The squad as it stands at that minute.
QByteArray players(const World &world, const Account &account, const std::vector<Player> &squad,
                   double minute);
QByteArray teamDetails(const World &world, const Account &account, double minute);
QByteArray leagueDetails(const World &world, const Account &account, double minute);

} // namespace documents

} // namespace sim
