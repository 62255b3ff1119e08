#include "sim/sessions.h"

#include <QRandomGenerator>

namespace sim {

QString Sessions::open(int userId)
{
    QString token;
    do {
        token = QString::number(QRandomGenerator::system()->generate64(), 36).toUpper();
    } while (sessions.contains(token));
    sessions.insert(token, Session{userId, {}});
    order.push_back(token);
    if (int(order.size()) > capacity) {
        sessions.remove(order.front());
        order.pop_front();
    }
    return token;
}

Session *Sessions::find(const QByteArray &cookieHeader)
{
    const QByteArray wanted = QByteArray(cookieName) + '=';
    for (const QByteArray &part : cookieHeader.split(';')) {
        const QByteArray cookie = part.trimmed();
        if (!cookie.startsWith(wanted))
            continue;
        auto found = sessions.find(QString::fromLatin1(cookie.mid(wanted.size())));
        if (found != sessions.end())
            return &found.value();
    }
    return nullptr;
}

} // namespace sim
