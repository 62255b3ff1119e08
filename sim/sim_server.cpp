#include "sim/sim_server.h"

#include "sim/http_frontend.h"

#include <QTcpSocket>
#include <QTimer>

namespace sim {

namespace {

// Enough for any test or demo session; the oldest lines go first.
constexpr int logCapacity = 10000;

QString logLine(const Request &request)
{
    QString line = QString::fromLatin1(request.method) + ' ' + request.path;
    if (!request.query.isEmpty())
        line += '?' + QString::fromUtf8(request.query);
    return line;
}

} // namespace

Server::Server(Options options, QObject *parent)
    : QObject(parent), options(options), worldData(options.seed), clock(options.speed),
      routes(worldData, clock, options.weekMinutes),
      frontend(std::make_unique<HttpFrontend>(
          [this](const Request &request, QTcpSocket *socket) { serve(request, socket); }))
{
    routes.setAnnouncement(options.announcedVersion, QString());
}

Server::~Server() = default;

quint16 Server::listen(quint16 wanted)
{
    if (port == 0) {
        port = frontend->listen(QHostAddress::LocalHost, wanted);
        routes.setRecommendedUrl(baseUrl());
    }
    return port;
}

QString Server::baseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(port);
}

QString Server::versionUrl() const
{
    return baseUrl() + QStringLiteral("/init.xml?site=strikorakey");
}

void Server::advance(int matchMinutes)
{
    clock.advance(matchMinutes);
}

void Server::setFault(RouteGroup group, FaultKind kind, int count, int delayMs)
{
    faults.set(group, Fault{kind, count, delayMs});
}

void Server::clearFaults()
{
    faults.clear();
}

void Server::setTeamDetailsEmpty(bool empty)
{
    routes.setTeamDetailsEmpty(empty);
}

void Server::setAnnouncement(const QString &version, const QString &message)
{
    routes.setAnnouncement(version, message);
}

QList<int> Server::liveMatchIds() const
{
    const std::vector<int> ids = schedule::ongoingMatchIds(worldData, clock.minutes());
    return QList<int>(ids.begin(), ids.end());
}

int Server::demoTeamId() const
{
    return worldData.teams()[worldData.accounts().front().teamIndex].id;
}

void Server::serve(const Request &request, QTcpSocket *socket)
{
    const auto group = Routes::groupOf(request.path).value_or(RouteGroup::All);
    const std::optional<Fault> fault = faults.take(group);
    record(request, fault);
    if (fault)
        applyFault(*fault, request, socket);
    else
        answer(request, socket);
}

void Server::record(const Request &request, const std::optional<Fault> &fault)
{
    userAgent = QString::fromUtf8(request.userAgent);
    const QString line = logLine(request);
    log.append(line);
    if (log.size() > logCapacity)
        log.removeFirst();
    emit requestArrived(fault ? line + QStringLiteral("  [fault: %1]").arg(faultName(fault->kind))
                              : line);
}

void Server::applyFault(const Fault &fault, const Request &request, QTcpSocket *socket)
{
    switch (fault.kind) {
    case FaultKind::CloseConnection:
        // Queued, so Qt's server finishes with the socket before it goes.
        QMetaObject::invokeMethod(socket, &QAbstractSocket::abort, Qt::QueuedConnection);
        return;
    case FaultKind::NeverAnswer:
        return; // the socket stays open until the client gives up or the server goes
    case FaultKind::Delay:
        // Tied to the socket: a client that gave up meanwhile gets nothing, and nothing leaks.
        QTimer::singleShot(fault.delayMs, socket, [this, request, socket] {
            if (socket->state() == QAbstractSocket::ConnectedState)
                answer(request, socket);
        });
        return;
    case FaultKind::Http500: {
        Response response;
        response.status = 500;
        response.contentType = "text/html; charset=utf-8";
        response.body = "<html><body><h1>500 Internal Server Error</h1></body></html>\n";
        wire::writeResponse(socket, response, request.keepAlive);
        return;
    }
    case FaultKind::TruncatedXml: {
        Response response = routes.handle(request);
        response.body.truncate(response.body.size() / 2);
        wire::writeResponse(socket, response, request.keepAlive);
        return;
    }
    case FaultKind::HugeBody:
        wire::writeHugeDocument(socket, hugeBodySize, request.keepAlive);
        return;
    }
}

void Server::answer(const Request &request, QTcpSocket *socket)
{
    wire::writeResponse(socket, routes.handle(request), request.keepAlive);
}

} // namespace sim
