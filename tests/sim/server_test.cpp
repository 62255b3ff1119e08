#include "sim_test_helpers.h"

#include "service/service_paths.h"
#include "sim/sim_server.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkCookieJar>
#include <QNetworkReply>
#include <QTimer>

using namespace sim;
using namespace simtest;

namespace {

struct Reply
{
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    int status = 0;
    QByteArray body;
    qint64 received = 0;
    qint64 contentLength = -1;
    qint64 elapsedMs = 0;
};

// One request, waited for in a local event loop as the program does; bounded in time.
Reply fetch(QNetworkAccessManager &nam, const QString &url, int timeoutMs = 5000,
            const QByteArray &form = {}, bool keepBody = true)
{
    QNetworkRequest request{QUrl(url)};
    request.setTransferTimeout(timeoutMs);
    request.setHeader(QNetworkRequest::UserAgentHeader, "SimTest/1.0");
    QElapsedTimer clock;
    clock.start();
    QNetworkReply *reply = nullptr;
    if (form.isNull()) {
        reply = nam.get(request);
    } else {
        request.setHeader(QNetworkRequest::ContentTypeHeader, "application/x-www-form-urlencoded");
        reply = nam.post(request, form);
    }
    Reply result;
    QObject::connect(reply, &QNetworkReply::readyRead, [&] {
        const QByteArray chunk = reply->readAll();
        result.received += chunk.size();
        if (keepBody)
            result.body += chunk;
    });
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs + 5000, &loop, &QEventLoop::quit); // the last safety net
    loop.exec();
    if (reply->isOpen()) {
        const QByteArray rest = reply->readAll();
        result.received += rest.size();
        if (keepBody)
            result.body += rest;
    }
    result.error = reply->error();
    result.status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    result.contentLength = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
    result.elapsedMs = clock.elapsed();
    reply->deleteLater();
    return result;
}

void spin(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

class Network : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(server->listen(), 0);
        login(nam);
    }

    QString url(const kstring &path) const { return server->baseUrl() + "/Common/" + text(path); }

    void login(QNetworkAccessManager &client)
    {
        const Reply reply = fetch(client, url(servicePaths::login("demo", "demo")));
        ASSERT_TRUE(reply.body.contains("<UserID>123456</UserID>"));
    }

    std::unique_ptr<Server> server = std::make_unique<Server>(Options{1, 0, "0.1.7"});
    QNetworkAccessManager nam;
};

} // namespace

TEST_F(Network, ServesTheMenuOnLoopbackAndLogsEveryRequest)
{
    EXPECT_TRUE(server->baseUrl().startsWith("http://127.0.0.1:"));
    const Reply menu = fetch(nam, server->baseUrl() + text(servicePaths::menu()));
    ASSERT_EQ(menu.status, 200);
    EXPECT_TRUE(menu.body.contains("<RecommendedURL>" + server->baseUrl().toUtf8() + "<"));
    EXPECT_EQ(server->lastUserAgent(), "SimTest/1.0");
    EXPECT_EQ(server->requestLog().last(), "GET /Common/menu.asp?outputType=XML");
    EXPECT_EQ(fetch(nam, server->versionUrl()).status, 200);
    EXPECT_EQ(fetch(nam, server->baseUrl() + "/elsewhere").status, 404);
}

TEST_F(Network, SessionCookieCarriesTheLogin)
{
    EXPECT_TRUE(fetch(nam, url(servicePaths::club())).body.contains("<FileName>club.xml<"));
    QByteArray form;
    for (const kstring &field : servicePaths::searchTeamByName("Malmö"))
        form += (form.isEmpty() ? "" : "&") + QByteArray::fromStdString(field);
    const Reply search = fetch(nam, url(servicePaths::search()), 5000, form);
    EXPECT_TRUE(search.body.contains("<ResultName>Malmö Vikings</ResultName>"));
    EXPECT_EQ(server->requestLog().last(), "POST /Common/search.asp");

    QNetworkAccessManager stranger;
    EXPECT_TRUE(fetch(stranger, url(servicePaths::club())).body.contains("<Error>"));
}

TEST_F(Network, LiveMatchesAndTheDemoTeam)
{
    const QList<int> live = server->liveMatchIds();
    ASSERT_GE(live.size(), 6);
    EXPECT_TRUE(std::is_sorted(live.begin(), live.end()));
    server->advance(200);
    EXPECT_NE(server->liveMatchIds(), live);
    EXPECT_EQ(server->world().teamById(server->demoTeamId())->managerUserId, 123456);
}

TEST_F(Network, EachFaultSpoilsItsRequestsThenTheServiceIsBack)
{
    struct Case
    {
        FaultKind kind;
        int delayMs;
        std::function<void(const Reply &)> check;
    };
    const Case cases[] = {
        {FaultKind::CloseConnection, 0,
         [](const Reply &r) { EXPECT_NE(r.error, QNetworkReply::NoError); }},
        {FaultKind::NeverAnswer, 0,
         [](const Reply &r) {
             EXPECT_NE(r.error, QNetworkReply::NoError);
             EXPECT_GE(r.elapsedMs, 250);
         }},
        {FaultKind::Delay, 400,
         [](const Reply &r) {
             EXPECT_EQ(r.error, QNetworkReply::NoError);
             EXPECT_GE(r.elapsedMs, 400);
             EXPECT_TRUE(r.body.contains("<MatchList"));
         }},
        {FaultKind::Http500, 0, [](const Reply &r) { EXPECT_EQ(r.status, 500); }},
        {FaultKind::TruncatedXml, 0,
         [](const Reply &r) {
             EXPECT_EQ(r.status, 200);
             EXPECT_FALSE(r.body.isEmpty());
             EXPECT_EQ(parse(r.body), nullptr);
         }},
        {FaultKind::HugeBody, 0,
         [](const Reply &r) {
             EXPECT_EQ(r.contentLength, Server::hugeBodySize);
             EXPECT_EQ(r.received, Server::hugeBodySize);
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(faultName(c.kind).toStdString());
        // Two: the client may retry once on a kept-alive connection that closes unanswered.
        server->setFault(RouteGroup::Live, c.kind, 2, c.delayMs);
        const int timeout = c.kind == FaultKind::NeverAnswer ? 300 : 5000;
        const bool keep = c.kind != FaultKind::HugeBody;
        c.check(fetch(nam, url(servicePaths::liveViewNew()), timeout, {}, keep));
        EXPECT_EQ(fetch(nam, url(servicePaths::club())).status, 200); // other groups are fine
        server->clearFaults();
        const Reply after = fetch(nam, url(servicePaths::liveViewNew()));
        EXPECT_EQ(after.status, 200);
        EXPECT_TRUE(after.body.contains("<MatchList"));
    }
}

TEST_F(Network, CountedFaultsRunOutAndGroupsComeBeforeAll)
{
    server->setFault(RouteGroup::All, FaultKind::Http500, 2);
    server->setFault(RouteGroup::Menu, FaultKind::TruncatedXml, 1);
    const QString menu = server->baseUrl() + text(servicePaths::menu());
    const Reply truncated = fetch(nam, menu);
    EXPECT_EQ(truncated.status, 200);
    EXPECT_EQ(parse(truncated.body), nullptr);
    EXPECT_EQ(fetch(nam, menu).status, 500);
    EXPECT_EQ(fetch(nam, server->versionUrl()).status, 500);
    EXPECT_EQ(fetch(nam, menu).status, 200);
}

TEST_F(Network, ClientsGivingUpAndServerGoingAwayLeaveNothingBehind)
{
    server->setFault(RouteGroup::Live, FaultKind::Delay, -1, 300);
    EXPECT_NE(fetch(nam, url(servicePaths::liveViewNew()), 50).error, QNetworkReply::NoError);
    spin(400); // the delayed answer finds its socket gone
    server->setFault(RouteGroup::Live, FaultKind::NeverAnswer);
    QNetworkRequest request{QUrl(url(servicePaths::liveViewNew()))};
    QNetworkReply *pending = nam.get(request);
    spin(200);
    EXPECT_FALSE(pending->isFinished());
    server.reset(); // with the unanswered socket still open
    QEventLoop loop;
    QObject::connect(pending, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    if (!pending->isFinished())
        loop.exec();
    EXPECT_TRUE(pending->isFinished());
    EXPECT_NE(pending->error(), QNetworkReply::NoError);
    delete pending;
}

TEST(FaultSpec, ParsesTheCommandLineForm)
{
    struct Case
    {
        const char *text;
        bool ok;
        RouteGroup group;
        FaultKind kind;
        int count, delayMs;
    };
    const Case cases[] = {
        {"live:delay:3:2000", true, RouteGroup::Live, FaultKind::Delay, 3, 2000},
        {"all:http500", true, RouteGroup::All, FaultKind::Http500, -1, 0},
        {"documents:truncated:1", true, RouteGroup::TeamDocuments, FaultKind::TruncatedXml, 1, 0},
        {"Publisher:HUGE", true, RouteGroup::Publisher, FaultKind::HugeBody, -1, 0},
        {"menu:close:-1", true, RouteGroup::Menu, FaultKind::CloseConnection, -1, 0},
        {"login:never", true, RouteGroup::Login, FaultKind::NeverAnswer, -1, 0},
        {"live", false, {}, {}, 0, 0},
        {"nowhere:close", false, {}, {}, 0, 0},
        {"live:explode", false, {}, {}, 0, 0},
        {"live:close:0", false, {}, {}, 0, 0},
        {"live:delay:x", false, {}, {}, 0, 0},
        {"live:delay:1:-5", false, {}, {}, 0, 0},
        {"live:delay:1:5:9", false, {}, {}, 0, 0},
    };
    for (const Case &c : cases) {
        QString error;
        const auto spec = parseFaultSpec(c.text, &error);
        ASSERT_EQ(spec.has_value(), c.ok) << c.text;
        if (!c.ok) {
            EXPECT_FALSE(error.isEmpty());
            continue;
        }
        EXPECT_EQ(spec->group, c.group) << c.text;
        EXPECT_EQ(spec->fault.kind, c.kind) << c.text;
        EXPECT_EQ(spec->fault.count, c.count) << c.text;
        EXPECT_EQ(spec->fault.delayMs, c.delayMs) << c.text;
    }
}
