#pragma once

#include "sim/faults.h"
#include "sim/routes.h"
#include "sim/schedule.h"
#include "sim/world.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QTcpSocket;

namespace sim {

class HttpFrontend;

struct Options
{
    quint32 seed = 1;
    double speed = 15; // match minutes per real minute
    QString announcedVersion = "0.1.7";
    // Simulated minutes of a training week (0: the squads never change). A calendar week by
    // default, so what a test sees at the start stays put unless it moves the clock that far.
    double weekMinutes = 7 * 24 * 60;
};

// The game service and the publisher's web site in one loopback HTTP server. It runs in the
// thread that creates it and never blocks it, so a client waiting in a local event loop of the
// same thread is served.
class Server : public QObject
{
    Q_OBJECT

public:
    explicit Server(Options options = {}, QObject *parent = nullptr);
    ~Server() override;

    // 127.0.0.1 only; 0 = any free port. Returns the port, 0 on failure.
    quint16 listen(quint16 port = 0);
    // "http://127.0.0.1:<port>", also the RecommendedURL of the menu document.
    QString baseUrl() const;
    QString versionUrl() const; // baseUrl() + "/init.xml?site=strikorakey"

    // Moves the simulated clock on; never sleeps.
    void advance(int matchMinutes);
    void setFault(RouteGroup group, FaultKind kind, int count = -1, int delayMs = 0);
    void clearFaults();
    void setTeamDetailsEmpty(bool empty);
    void setAnnouncement(const QString &version, const QString &message);

    QString lastUserAgent() const { return userAgent; }
    // One line per request, e.g. "GET /Common/club.asp?outputType=XML&actionType=view".
    QStringList requestLog() const { return log; }
    QList<int> liveMatchIds() const; // ONGOING now, ascending
    int demoTeamId() const;

    const World &world() const { return worldData; }
    // The squads as the weeks go by; documents are served from it.
    const Training &training() const { return routes.training(); }
    double minutes() const { return clock.minutes(); }

    static constexpr qint64 hugeBodySize = 64ll * 1024 * 1024;

signals:
    // Each request as it arrives, with the fault that spoils it, if any.
    void requestArrived(const QString &line);

private:
    void serve(const Request &request, QTcpSocket *socket);
    void applyFault(const Fault &fault, const Request &request, QTcpSocket *socket);
    void answer(const Request &request, QTcpSocket *socket);
    void record(const Request &request, const std::optional<Fault> &fault);

    Options options;
    World worldData;
    SimClock clock;
    Routes routes;
    Faults faults;
    QString userAgent;
    QStringList log;
    quint16 port = 0;
    // Declared last, so its sockets go before anything their pending answers use.
    std::unique_ptr<HttpFrontend> frontend;
};

} // namespace sim
