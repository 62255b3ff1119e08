#pragma once

#include <QString>

#include <map>
#include <optional>

namespace sim {

enum class RouteGroup { Menu, Login, Live, Matches, Search, TeamDocuments, Publisher, All };
enum class FaultKind { CloseConnection, NeverAnswer, Delay, Http500, TruncatedXml, HugeBody };

struct Fault
{
    FaultKind kind = FaultKind::Http500;
    int count = -1; // requests still to spoil; -1: until cleared
    int delayMs = 0;
};

struct FaultSpec
{
    RouteGroup group = RouteGroup::All;
    Fault fault;
};

// Faults to inject, per route group. A fault on a group comes before one on All.
class Faults
{
public:
    // A count of 0 removes the group's fault.
    void set(RouteGroup group, Fault fault);
    void clear() { faults.clear(); }
    // The fault that spoils the next request of the group, counted as used.
    std::optional<Fault> take(RouteGroup group);

private:
    std::optional<Fault> takeFrom(RouteGroup group);

    std::map<RouteGroup, Fault> faults;
};

// "group:kind[:count[:delayMs]]", e.g. "live:delay:3:2000" or "all:http500".
// Groups: menu, login, live, matches, search, documents, publisher, all. Kinds: close, never,
// delay, http500, truncated, huge.
std::optional<FaultSpec> parseFaultSpec(const QString &text, QString *error);

QString faultName(FaultKind kind);

} // namespace sim
