#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QMap>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <functional>
#include <memory>

// A minimal HTTP/1.1 server on the loopback address whose answers a test scripts: any status,
// headers and bytes, or no answer at all. One request per connection.
class FakeHttpServer
{
public:
    struct Request
    {
        QByteArray method;
        QByteArray target;
        QMap<QByteArray, QByteArray> headers; // names in lower case
        QByteArray body;
    };
    struct Reply
    {
        int status = 200;
        QByteArray body;
        QList<QByteArray> headers; // extra header lines
        bool hang = false;         // read the request, never answer
        int trickleMs = 0;         // send the body one byte at a time, this far apart
    };
    using Handler = std::function<Reply(const Request &)>;

    explicit FakeHttpServer(Handler handler = {}) : handle(std::move(handler))
    {
        QObject::connect(&server, &QTcpServer::newConnection, &server, [this] { accept(); });
    }

    quint16 listen()
    {
        server.listen(QHostAddress::LocalHost, 0);
        return server.serverPort();
    }
    QByteArray baseUrl() const
    {
        return "http://127.0.0.1:" + QByteArray::number(server.serverPort());
    }
    void setHandler(Handler handler) { handle = std::move(handler); }

    QList<Request> requests;

private:
    struct Connection
    {
        QPointer<QTcpSocket> socket;
        QByteArray buffer;
    };

    void accept()
    {
        while (QTcpSocket *socket = server.nextPendingConnection()) {
            auto connection = std::make_shared<Connection>();
            connection->socket = socket;
            QObject::connect(socket, &QTcpSocket::readyRead, socket,
                             [this, connection] { receive(*connection); });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    }

    void receive(Connection &connection)
    {
        connection.buffer += connection.socket->readAll();
        const qsizetype headerEnd = connection.buffer.indexOf("\r\n\r\n");
        if (headerEnd < 0)
            return;
        Request request = parseHead(connection.buffer.left(headerEnd));
        const qsizetype length = request.headers.value("content-length", "0").toLongLong();
        if (connection.buffer.size() < headerEnd + 4 + length)
            return;
        request.body = connection.buffer.mid(headerEnd + 4, length);
        connection.buffer.clear();
        requests.append(request);
        answer(*connection.socket, handle ? handle(request) : Reply{});
    }

    static Request parseHead(const QByteArray &head)
    {
        const QList<QByteArray> lines = head.split('\n');
        const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
        Request request{requestLine.value(0), requestLine.value(1), {}, {}};
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const qsizetype colon = lines[i].indexOf(':');
            if (colon > 0)
                request.headers.insert(lines[i].left(colon).trimmed().toLower(),
                                       lines[i].mid(colon + 1).trimmed());
        }
        return request;
    }

    static void answer(QTcpSocket &socket, const Reply &reply)
    {
        if (reply.hang)
            return;
        QByteArray out = "HTTP/1.1 " + QByteArray::number(reply.status) + " Scripted\r\n";
        out += "Content-Length: " + QByteArray::number(reply.body.size()) + "\r\n";
        out += "Connection: close\r\n";
        for (const QByteArray &header : reply.headers)
            out += header + "\r\n";
        out += "\r\n";
        if (reply.trickleMs > 0) {
            socket.write(out);
            trickle(&socket, reply.body, reply.trickleMs);
            return;
        }
        socket.write(out + reply.body);
        socket.disconnectFromHost();
    }

    static void trickle(QPointer<QTcpSocket> socket, QByteArray rest, int intervalMs)
    {
        QTimer::singleShot(intervalMs, [socket, rest, intervalMs] {
            if (!socket)
                return;
            socket->write(rest.left(1));
            if (rest.size() > 1)
                trickle(socket, rest.mid(1), intervalMs);
            else
                socket->disconnectFromHost();
        });
    }

    QTcpServer server;
    Handler handle;
};
