#pragma once

#include "sim/routes.h"

#include <QAbstractHttpServer>

#include <functional>

class QTcpSocket;

namespace sim {

// Qt's HTTP server parses the requests; the answers are written to the socket directly, so a
// fault can also close the connection, stay silent, or send a body of any length.
class HttpFrontend : public QAbstractHttpServer
{
public:
    using Handler = std::function<void(const Request &, QTcpSocket *)>;

    explicit HttpFrontend(Handler handler, QObject *parent = nullptr);

protected:
    bool handleRequest(const QHttpServerRequest &request, QTcpSocket *socket) override;
    void missingHandler(const QHttpServerRequest &, QTcpSocket *) override {}

private:
    Handler handler;
};

namespace wire {

void writeResponse(QTcpSocket *socket, const Response &response, bool keepAlive);
// A well-formed document of exactly `size` bytes, streamed so it never sits in memory whole.
void writeHugeDocument(QTcpSocket *socket, qint64 size, bool keepAlive);

} // namespace wire

} // namespace sim
