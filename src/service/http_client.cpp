#include "service/http_client.h"

#include "Engine/errors.h"
#include "qt_text/qt_text.h"

#include <QEventLoop>
#include <QNetworkCookieJar>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

#include <memory>
#include <string>

namespace {

QByteArray toBytes(const kstring &text)
{
    return QByteArray(text.data(), qsizetype(text.size()));
}

// What a user may be shown of an address: the query can hold the security code. `alsoLeave`
// takes more away (the path, to name only the server).
kstring shownAddress(const kstring &url, QUrl::FormattingOptions alsoLeave = QUrl::None)
{
    const QUrl parsed(toQString(url), QUrl::TolerantMode);
    return toKstring(parsed.toString(QUrl::RemoveQuery | QUrl::RemoveFragment |
                                     QUrl::RemoveUserInfo | alsoLeave));
}

// Only web addresses: an address taken from a service answer must never reach local files
// or other schemes the network layer happens to support.
QUrl webUrl(const kstring &url)
{
    const QUrl parsed(toQString(url), QUrl::TolerantMode);
    const QString scheme = parsed.scheme().toLower();
    if (!parsed.isValid() || parsed.host().isEmpty() || (scheme != "http" && scheme != "https"))
        throw ESocketError("Not a web address: \"" + shownAddress(url) + "\".");
    return parsed;
}

kstring bodyText(const QByteArray &bytes)
{
    kstring text;
    text.assign(bytes.constData(), std::size_t(bytes.size()));
    return text;
}

// The kind of failure in words a user can act on.
kstring failureKind(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
        return "the server refused the connection (is it running?)";
    case QNetworkReply::HostNotFoundError:
        return "the server's name was not found";
    case QNetworkReply::RemoteHostClosedError:
        return "the server closed the connection before it answered";
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::UnknownNetworkError:
        return "the network is not available";
    default:
        return "the connection failed";
    }
}

kstring waitText(int milliseconds)
{
    if (milliseconds % 1000 == 0)
        return std::to_string(milliseconds / 1000) + " seconds";
    return std::to_string(milliseconds) + " ms";
}

kstring cannotReach(const kstring &url, const kstring &why)
{
    return "Cannot reach the server " + shownAddress(url, QUrl::RemovePath) + ": " + why + ".";
}

void raiseForStatus(const QNetworkReply &reply, const kstring &url)
{
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid() || status.toInt() < 400)
        return;
    const QByteArray reason =
        reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray();
    kstring message = "The server answered HTTP " + std::to_string(status.toInt());
    if (!reason.isEmpty())
        message += " " + reason.toStdString();
    throw EHttpError(message + " for " + shownAddress(url) + ".");
}

} // namespace

HttpClient::HttpClient() : cookies(new QNetworkCookieJar(&manager))
{
    manager.setCookieJar(cookies);
    manager.setProxy(QNetworkProxy::NoProxy);
}

HttpClient::~HttpClient() = default;

kstring HttpClient::get(const kstring &url)
{
    return await(manager.get(request(url)), url);
}

kstring HttpClient::postForm(const kstring &url, const std::vector<kstring> &fields)
{
    QNetworkRequest form = request(url);
    form.setHeader(QNetworkRequest::ContentTypeHeader, "application/x-www-form-urlencoded");
    QByteArray body;
    for (const kstring &field : fields) {
        if (!body.isEmpty())
            body += '&';
        body += toBytes(field);
    }
    return await(manager.post(form, body), url);
}

QNetworkRequest HttpClient::request(const kstring &url) const
{
    QNetworkRequest request(webUrl(url));
    request.setRawHeader("Accept", "text/html, */*");
    request.setHeader(QNetworkRequest::UserAgentHeader, toBytes(agent));
    // No byte for this long ends the exchange; a slow answer that keeps moving may take longer.
    request.setTransferTimeout(timeout);
    return request;
}

kstring HttpClient::await(QNetworkReply *started, const kstring &url)
{
    const std::unique_ptr<QNetworkReply> reply(started);
    QByteArray body;
    bool tooLarge = false;
    QEventLoop loop;
    QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, [&] {
        body += reply->readAll();
        if (body.size() > maxBytes && !tooLarge) {
            tooLarge = true;
            // Aborting makes the reply finish at once, which ends the wait.
            reply->abort();
        }
    });
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // A modal loop run by a handler inside this wait may outlast the quit above: the loop
    // then ends as soon as that handler returns, and the finished reply is what counts.
    if (!reply->isFinished())
        loop.exec();

    if (tooLarge)
        throw EResponseTooLarge("The answer from " + shownAddress(url) + " exceeds " +
                                std::to_string(maxBytes) + " bytes.");
    raiseForStatus(*reply, url);
    const QNetworkReply::NetworkError error = reply->error();
    // The transfer time-out aborts the reply, which reports a cancelled operation.
    if (error == QNetworkReply::OperationCanceledError || error == QNetworkReply::TimeoutError)
        throw ESocketError(cannotReach(url, "no answer within " + waitText(timeout)));
    if (error != QNetworkReply::NoError)
        throw ESocketError(cannotReach(url, failureKind(error)));
    body += reply->readAll();
    return bodyText(body);
}
