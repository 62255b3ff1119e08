#pragma once

#include "sim/faults.h"
#include "sim/sessions.h"
#include "sim/training.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPair>
#include <QString>

#include <optional>

namespace sim {

class World;
class SimClock;
struct Account;

struct Request
{
    QByteArray method; // "GET", "POST"
    QString path;      // decoded, e.g. "/Common/live.asp"
    QByteArray query;  // as sent, percent-encoded
    QByteArray body;
    QByteArray cookies; // the Cookie header
    QByteArray userAgent;
    bool keepAlive = true;
};

struct Response
{
    int status = 200;
    QByteArray contentType = "text/xml; charset=utf-8";
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
};

// Query or form fields; "+" is a blank and %XX a byte of UTF-8, as browsers send them. The
// first of several fields with one name counts; malformed escapes are taken literally.
QMap<QString, QString> parseFields(const QByteArray &encoded);

// Case and accents do not count when a team is searched by name: "malmo" finds "Malmö".
QString searchFold(const QString &text);

// Turns a request into the answer of the service or of the publisher.
class Routes
{
public:
    // `weekMinutes`: how long a training week lasts in simulated minutes (see Training).
    Routes(const World &world, const SimClock &clock, double weekMinutes = 0);

    void setRecommendedUrl(const QString &url) { recommendedUrl = url; }
    void setTeamDetailsEmpty(bool empty) { teamDetailsEmpty = empty; }
    void setAnnouncement(const QString &version, const QString &message);

    // Null for a path nobody serves.
    static std::optional<RouteGroup> groupOf(const QString &path);
    Response handle(const Request &request);
    const Training &training() const { return trainingData; }

private:
    Response serviceRequest(RouteGroup group, const QString &page, const Request &request);
    Response login(const QMap<QString, QString> &fields);
    Response live(Session &session, const QMap<QString, QString> &fields);
    Response matches(const QMap<QString, QString> &fields) const;
    Response search(const QMap<QString, QString> &fields) const;
    Response teamDocument(const QString &page, const Account &account) const;
    Response publisher() const;

    const World &world;
    const SimClock &clock;
    Training trainingData;
    Sessions sessions;
    QString recommendedUrl;
    QString announcedVersion;
    QString announcement;
    bool teamDetailsEmpty = false;
};

} // namespace sim
