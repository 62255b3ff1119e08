#pragma once

#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QString>

#include <deque>

namespace sim {

struct Session
{
    int userId = 0;
    // Followed match id -> number of its events already sent to this session.
    QMap<int, int> followed;
};

// The logged-in sessions, found by the value of the session cookie. The oldest are forgotten
// when many logins pile up, so a long-running simulator does not grow without end.
class Sessions
{
public:
    static constexpr const char *cookieName = "StrikoraSession";
    static constexpr int capacity = 256;

    // Returns the new session's cookie value.
    QString open(int userId);
    // The session named in a Cookie header, or null.
    Session *find(const QByteArray &cookieHeader);

private:
    QHash<QString, Session> sessions;
    std::deque<QString> order;
};

} // namespace sim
