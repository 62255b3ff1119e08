#include "sim/sim_server.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>
#include <limits>

namespace {

void printLine(const QString &line)
{
    std::fputs(qPrintable(line + '\n'), stdout);
    std::fflush(stdout);
}

[[noreturn]] void fail(const QString &message)
{
    std::fputs(qPrintable("strikora-sim: " + message + '\n'), stderr);
    std::exit(2);
}

template <typename T> T number(const QCommandLineParser &parser, const QString &name, T minimum)
{
    bool ok = false;
    const double value = parser.value(name).toDouble(&ok);
    if (!ok || value < minimum || value > double(std::numeric_limits<T>::max()))
        fail(QStringLiteral("bad --%1 \"%2\"").arg(name, parser.value(name)));
    return T(value);
}

void addOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(
        QStringLiteral("A local stand-in for the Strikora game service and the publisher's site."));
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("port"), QStringLiteral("Port on 127.0.0.1 (0: any free one)."),
         QStringLiteral("port"), QStringLiteral("18808")},
        {QStringLiteral("seed"), QStringLiteral("Seed of the world."), QStringLiteral("seed"),
         QStringLiteral("1")},
        {QStringLiteral("speed"), QStringLiteral("Match minutes per real minute."),
         QStringLiteral("speed"), QStringLiteral("15")},
        {QStringLiteral("week"),
         QStringLiteral("Real seconds a training week lasts at the given speed (0: no training)."),
         QStringLiteral("seconds"), QStringLiteral("120")},
        {QStringLiteral("announce"), QStringLiteral("Version the publisher announces."),
         QStringLiteral("version"), QStringLiteral("0.1.7")},
        {QStringLiteral("fault"),
         QStringLiteral("Inject a fault: group:kind[:count[:delayMs]]; groups menu, login, live, "
                        "matches, search, documents, publisher, all; kinds close, never, delay, "
                        "http500, truncated, huge. May be repeated."),
         QStringLiteral("spec")},
    });
}

void applyFaults(sim::Server &server, const QStringList &specs)
{
    for (const QString &text : specs) {
        QString error;
        const auto spec = sim::parseFaultSpec(text, &error);
        if (!spec)
            fail(QStringLiteral("bad --fault: ") + error);
        server.setFault(spec->group, spec->fault.kind, spec->fault.count, spec->fault.delayMs);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("strikora-sim"));
    QCommandLineParser parser;
    addOptions(parser);
    parser.process(app);

    sim::Options options;
    options.seed = number<quint32>(parser, QStringLiteral("seed"), 0);
    options.speed = number<double>(parser, QStringLiteral("speed"), 0);
    options.weekMinutes = number<double>(parser, QStringLiteral("week"), 0) * options.speed / 60;
    options.announcedVersion = parser.value(QStringLiteral("announce"));
    sim::Server server(options);
    applyFaults(server, parser.values(QStringLiteral("fault")));
    if (server.listen(number<quint16>(parser, QStringLiteral("port"), 0)) == 0)
        fail(QStringLiteral("cannot listen on 127.0.0.1:%1").arg(parser.value("port")));

    QObject::connect(&server, &sim::Server::requestArrived, [&server](const QString &line) {
        const QString moment = sim::SimClock::format(sim::SimClock::dateAt(server.minutes()));
        printLine(QStringLiteral("[%1] %2").arg(moment, line));
    });
    printLine(QStringLiteral("strikora-sim serving %1 (seed %2, speed %3, a week every %4 s)")
                  .arg(server.baseUrl())
                  .arg(options.seed)
                  .arg(options.speed)
                  .arg(parser.value(QStringLiteral("week"))));
    printLine(QStringLiteral("version document: %1").arg(server.versionUrl()));
    printLine(QStringLiteral("demo login: demo / demo, team %1").arg(server.demoTeamId()));
    return app.exec();
}
