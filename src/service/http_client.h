#pragma once

#include "Engine/kstring.h"

#include <QNetworkAccessManager>
#include <QtGlobal>

#include <vector>

class QNetworkCookieJar;
class QNetworkReply;
class QNetworkRequest;

// Blocking HTTP requests with one cookie store for the whole run. While a request waits, a
// local event loop keeps the application's events flowing, so windows stay responsive and
// timers fire; a handler may start another request inside that wait.
//
// Failures: no connection, refused, reset, unknown host, no byte within the time-out or an
// address that is not http(s) raise ESocketError; a status of 400 or more raises EHttpError;
// an answer over the size limit raises EResponseTooLarge, naming the limit.
class HttpClient
{
public:
    static constexpr int defaultTimeoutMs = 30000;
    static constexpr qint64 defaultMaxResponseBytes = 16 * 1024 * 1024;

    HttpClient();
    ~HttpClient();
    HttpClient(const HttpClient &) = delete;
    HttpClient &operator=(const HttpClient &) = delete;

    // The response body, byte for byte.
    kstring get(const kstring &url);
    // Posts the fields ("name=value", already encoded) as an HTML form, joined by "&".
    kstring postForm(const kstring &url, const std::vector<kstring> &fields);

    kstring userAgent() const { return agent; }
    void setUserAgent(const kstring &text) { agent = text; }

    // The exchange ends when no byte moved for this long (an inactivity limit, not a limit on
    // the whole exchange).
    int timeoutMs() const { return timeout; }
    void setTimeoutMs(int milliseconds) { timeout = milliseconds; }

    qint64 maxResponseBytes() const { return maxBytes; }
    void setMaxResponseBytes(qint64 bytes) { maxBytes = bytes; }

    // Keeps the cookies the service sets and sends them with every later request.
    QNetworkCookieJar *cookieManager() const { return cookies; }

private:
    QNetworkRequest request(const kstring &url) const;
    kstring await(QNetworkReply *reply, const kstring &url);

    QNetworkAccessManager manager;
    QNetworkCookieJar *cookies;
    kstring agent = "StrikoraKey";
    int timeout = defaultTimeoutMs;
    qint64 maxBytes = defaultMaxResponseBytes;
};
