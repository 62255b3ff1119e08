#include "sim/http_frontend.h"

#include <QHttpServerRequest>
#include <QTcpSocket>
#include <QUrl>

namespace sim {

namespace {

QByteArray methodName(QHttpServerRequest::Method method)
{
    switch (method) {
    case QHttpServerRequest::Method::Get:
        return "GET";
    case QHttpServerRequest::Method::Post:
        return "POST";
    case QHttpServerRequest::Method::Head:
        return "HEAD";
    case QHttpServerRequest::Method::Put:
        return "PUT";
    case QHttpServerRequest::Method::Delete:
        return "DELETE";
    default:
        break;
    }
    return "OTHER";
}

QByteArray header(const QHttpServerRequest &request, const QByteArray &name)
{
    for (const auto &[key, value] : request.headers()) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

Request toRequest(const QHttpServerRequest &request)
{
    Request r;
    r.method = methodName(request.method());
    r.path = request.url().path();
    r.query = request.url().query(QUrl::FullyEncoded).toUtf8();
    r.body = request.body();
    r.cookies = header(request, "Cookie");
    r.userAgent = header(request, "User-Agent");
    r.keepAlive = header(request, "Connection").trimmed().toLower() != "close";
    return r;
}

QByteArray reason(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 500:
        return "Internal Server Error";
    default:
        break;
    }
    return "Status";
}

QByteArray head(int status, const QByteArray &contentType, qint64 length, bool keepAlive)
{
    return "HTTP/1.1 " + QByteArray::number(status) + ' ' + reason(status) +
           "\r\nServer: strikora-sim\r\nContent-Type: " + contentType +
           "\r\nContent-Length: " + QByteArray::number(length) +
           "\r\nConnection: " + (keepAlive ? "keep-alive" : "close") + "\r\n";
}

void finish(QTcpSocket *socket, bool keepAlive)
{
    if (!keepAlive)
        socket->disconnectFromHost(); // after the pending bytes are written
}

// Keeps about a megabyte queued on the socket until the whole body is out; dies with it.
class BodyStreamer : public QObject
{
public:
    BodyStreamer(QTcpSocket *socket, qint64 size, bool keepAlive)
        : QObject(socket), socket(socket), keepAlive(keepAlive),
          remaining(size - qint64(prefix().size() + suffix().size()))
    {
        socket->write(prefix());
        connect(socket, &QTcpSocket::bytesWritten, this, &BodyStreamer::fill);
        fill();
    }

private:
    static QByteArray prefix() { return "<?xml version=\"1.0\"?>\n<StrikoraData><Padding>"; }
    static QByteArray suffix() { return "</Padding></StrikoraData>\n"; }

    void fill()
    {
        static const QByteArray chunk(256 * 1024, 'x');
        while (remaining > 0 && socket->bytesToWrite() < 1024 * 1024) {
            const qint64 n = std::min<qint64>(remaining, chunk.size());
            socket->write(chunk.constData(), n);
            remaining -= n;
        }
        if (remaining > 0)
            return;
        socket->write(suffix());
        disconnect(socket, nullptr, this, nullptr);
        finish(socket, keepAlive);
        deleteLater();
    }

    QTcpSocket *socket;
    bool keepAlive;
    qint64 remaining;
};

} // namespace

HttpFrontend::HttpFrontend(Handler handler, QObject *parent)
    : QAbstractHttpServer(parent), handler(std::move(handler))
{}

bool HttpFrontend::handleRequest(const QHttpServerRequest &request, QTcpSocket *socket)
{
    handler(toRequest(request), socket);
    return true;
}

namespace wire {

void writeResponse(QTcpSocket *socket, const Response &response, bool keepAlive)
{
    QByteArray bytes = head(response.status, response.contentType, response.body.size(), keepAlive);
    for (const auto &[name, value] : response.headers)
        bytes += name + ": " + value + "\r\n";
    bytes += "\r\n" + response.body;
    socket->write(bytes);
    finish(socket, keepAlive);
}

void writeHugeDocument(QTcpSocket *socket, qint64 size, bool keepAlive)
{
    socket->write(head(200, "text/xml; charset=utf-8", size, keepAlive) + "\r\n");
    new BodyStreamer(socket, size, keepAlive);
}

} // namespace wire

} // namespace sim
