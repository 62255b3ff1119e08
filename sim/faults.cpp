#include "sim/faults.h"

#include <QStringList>

#include <array>
#include <utility>

namespace sim {

namespace {

const std::array<std::pair<const char *, RouteGroup>, 8> groupNames{{
    {"menu", RouteGroup::Menu},
    {"login", RouteGroup::Login},
    {"live", RouteGroup::Live},
    {"matches", RouteGroup::Matches},
    {"search", RouteGroup::Search},
    {"documents", RouteGroup::TeamDocuments},
    {"publisher", RouteGroup::Publisher},
    {"all", RouteGroup::All},
}};

const std::array<std::pair<const char *, FaultKind>, 6> kindNames{{
    {"close", FaultKind::CloseConnection},
    {"never", FaultKind::NeverAnswer},
    {"delay", FaultKind::Delay},
    {"http500", FaultKind::Http500},
    {"truncated", FaultKind::TruncatedXml},
    {"huge", FaultKind::HugeBody},
}};

template <typename T, std::size_t N>
std::optional<T> lookup(const std::array<std::pair<const char *, T>, N> &names, const QString &name)
{
    for (const auto &[text, value] : names) {
        if (name == QLatin1String(text))
            return value;
    }
    return std::nullopt;
}

template <typename T, std::size_t N>
QString known(const std::array<std::pair<const char *, T>, N> &names)
{
    QStringList list;
    for (const auto &entry : names)
        list << QLatin1String(entry.first);
    return list.join(QStringLiteral(", "));
}

bool readNumber(const QString &text, int minimum, int &value)
{
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value >= minimum;
}

std::optional<FaultSpec> fail(QString *error, const QString &message)
{
    if (error)
        *error = message;
    return std::nullopt;
}

} // namespace

void Faults::set(RouteGroup group, Fault fault)
{
    if (fault.count == 0)
        faults.erase(group);
    else
        faults[group] = fault;
}

std::optional<Fault> Faults::take(RouteGroup group)
{
    if (auto fault = takeFrom(group))
        return fault;
    return group == RouteGroup::All ? std::nullopt : takeFrom(RouteGroup::All);
}

std::optional<Fault> Faults::takeFrom(RouteGroup group)
{
    auto found = faults.find(group);
    if (found == faults.end())
        return std::nullopt;
    const Fault fault = found->second;
    if (fault.count > 0 && --found->second.count == 0)
        faults.erase(found);
    return fault;
}

std::optional<FaultSpec> parseFaultSpec(const QString &text, QString *error)
{
    const QStringList parts = text.split(':');
    if (parts.size() < 2 || parts.size() > 4)
        return fail(error,
                    QStringLiteral("expected group:kind[:count[:delayMs]], got \"%1\"").arg(text));
    const auto group = lookup(groupNames, parts[0].toLower());
    if (!group)
        return fail(
            error,
            QStringLiteral("unknown group \"%1\" (known: %2)").arg(parts[0], known(groupNames)));
    const auto kind = lookup(kindNames, parts[1].toLower());
    if (!kind)
        return fail(
            error,
            QStringLiteral("unknown fault \"%1\" (known: %2)").arg(parts[1], known(kindNames)));
    FaultSpec spec{*group, Fault{*kind, -1, 0}};
    if (parts.size() > 2 && (!readNumber(parts[2], -1, spec.fault.count) || spec.fault.count == 0))
        return fail(error, QStringLiteral("bad count \"%1\"").arg(parts[2]));
    if (parts.size() > 3 && !readNumber(parts[3], 0, spec.fault.delayMs))
        return fail(error, QStringLiteral("bad delay \"%1\"").arg(parts[3]));
    return spec;
}

QString faultName(FaultKind kind)
{
    for (const auto &[text, value] : kindNames) {
        if (value == kind)
            return QLatin1String(text);
    }
    return {};
}

} // namespace sim
