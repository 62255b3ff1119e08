#include "Engine/errors.h"
#include "service/http_client.h"
#include "support/service_fake_server.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTcpServer>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using Reply = FakeHttpServer::Reply;

class HttpClientTest : public ::testing::Test
{
public:
    void SetUp() override { server.listen(); }
    kstring url(const char *path) const { return (server.baseUrl() + path).toStdString(); }

    FakeHttpServer server;
    HttpClient client;
};

TEST_F(HttpClientTest, GetSendsHeadersAndReturnsTheBodyByteForByte)
{
    const QByteArray body("<a>\r\nline\rnext\n\xC3\xA9\xFF</a>");
    server.setHandler([&](const auto &) { return Reply{200, body, {}, false}; });
    client.setUserAgent("StrikoraKey 0.1.7");

    const kstring text = client.get(url("/Common/x.asp?a=%26b&c=%2B"));

    EXPECT_EQ(std::string(text), body.toStdString());
    ASSERT_EQ(server.requests.size(), 1);
    const auto &request = server.requests[0];
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.target, "/Common/x.asp?a=%26b&c=%2B");
    EXPECT_EQ(request.headers.value("user-agent"), "StrikoraKey 0.1.7");
    EXPECT_EQ(request.headers.value("accept"), "text/html, */*");
}

TEST_F(HttpClientTest, PostSendsTheFieldsAsOneForm)
{
    const kstring answer =
        client.postForm(url("/Common/search.asp"), {"outputType=XML", "teamName=a%26b", "x="});

    EXPECT_EQ(std::string(answer), "");
    ASSERT_EQ(server.requests.size(), 1);
    const auto &request = server.requests[0];
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.headers.value("content-type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(request.body, "outputType=XML&teamName=a%26b&x=");
}

TEST_F(HttpClientTest, CookiesSetByTheServerGoWithLaterRequests)
{
    server.setHandler([](const FakeHttpServer::Request &request) {
        if (request.target.startsWith("/login"))
            return Reply{200, "ok", {"Set-Cookie: session=abc123; Path=/"}, false};
        return Reply{200, "ok", {}, false};
    });

    client.get(url("/login"));
    client.get(url("/Common/club.asp"));
    client.postForm(url("/Common/search.asp"), {"a=1"});

    ASSERT_EQ(server.requests.size(), 3);
    EXPECT_FALSE(server.requests[0].headers.contains("cookie"));
    EXPECT_EQ(server.requests[1].headers.value("cookie"), "session=abc123");
    EXPECT_EQ(server.requests[2].headers.value("cookie"), "session=abc123");
}

enum class Failure { Socket, Http, TooLarge };

struct FailureCase
{
    const char *name;
    Reply reply;
    std::function<kstring(HttpClientTest &)> address;
    Failure expected;
    const char *inMessage;
};

class HttpClientFailureTest : public HttpClientTest,
                              public ::testing::WithParamInterface<FailureCase>
{
};

TEST_P(HttpClientFailureTest, EndsInTheRightErrorKind)
{
    const FailureCase &failure = GetParam();
    server.setHandler([&](const auto &) { return failure.reply; });
    client.setTimeoutMs(300);
    client.setMaxResponseBytes(1000);

    try {
        client.get(failure.address(*this));
        ADD_FAILURE() << "no error raised";
    } catch (const EHttpError &error) {
        EXPECT_EQ(failure.expected, Failure::Http) << error.message();
        EXPECT_NE(error.message().find(failure.inMessage), std::string::npos) << error.message();
    } catch (const ESocketError &error) {
        EXPECT_EQ(failure.expected, Failure::Socket) << error.message();
        EXPECT_NE(error.message().find(failure.inMessage), std::string::npos) << error.message();
    } catch (const EResponseTooLarge &error) {
        EXPECT_EQ(failure.expected, Failure::TooLarge) << error.message();
        EXPECT_NE(error.message().find(failure.inMessage), std::string::npos) << error.message();
    }
}

kstring servedPath(HttpClientTest &test)
{
    return test.url("/Common/x.asp?readonlypassword=secret");
}

kstring closedPort(HttpClientTest &)
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const quint16 port = probe.serverPort();
    probe.close();
    return "http://127.0.0.1:" + std::to_string(port) + "/Common/x.asp";
}

std::function<kstring(HttpClientTest &)> fixed(const char *address)
{
    return [address](HttpClientTest &) { return kstring(address); };
}

INSTANTIATE_TEST_SUITE_P(
    Failures, HttpClientFailureTest,
    ::testing::Values(
        FailureCase{"NotFound", {404, "<e/>", {}, false}, servedPath, Failure::Http, "HTTP 404"},
        FailureCase{"ServerError", {500, "", {}, false}, servedPath, Failure::Http, "500"},
        // The code in the query is never shown to the user.
        FailureCase{"NoQueryShown", {500, "", {}, false}, servedPath, Failure::Http, "x.asp."},
        FailureCase{
            "Hung", {200, "", {}, true}, servedPath, Failure::Socket, "no answer within 300 ms"},
        FailureCase{"Oversized",
                    {200, QByteArray(5000, 'x'), {}, false},
                    servedPath,
                    Failure::TooLarge,
                    "exceeds 1000 bytes"},
        FailureCase{"Refused", {}, closedPort, Failure::Socket, "127.0.0.1:"},
        FailureCase{"RefusedSaysWhy", {}, closedPort, Failure::Socket, "refused the connection"},
        FailureCase{"LocalFile", {}, fixed("file:///etc/passwd"), Failure::Socket, "Not a web"},
        FailureCase{"NoHost", {}, fixed("/Common/default.asp"), Failure::Socket, "Not a web"}),
    [](const auto &info) { return std::string(info.param.name); });

// A hung server costs the time-out, no more; meanwhile timers fire and a handler can run a
// request of its own inside the wait.
TEST_F(HttpClientTest, WindowEventsAndNestedRequestsRunWhileARequestWaits)
{
    server.setHandler([](const FakeHttpServer::Request &request) {
        return Reply{200, "inner", {}, request.target == "/hang"};
    });
    client.setTimeoutMs(700);
    kstring nested;
    QTimer::singleShot(50, [&] { nested = client.get(url("/quick")); });

    QElapsedTimer clock;
    clock.start();
    EXPECT_THROW(client.get(url("/hang")), ESocketError);

    EXPECT_GE(clock.elapsed(), 650);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(std::string(nested), "inner");
}

// A message box or a login dialog opened inside the wait may run past the time-out; a reply
// that finished meanwhile is an answer, not a time-out.
TEST_F(HttpClientTest, AReplyThatFinishedDuringALongModalLoopIsAnAnswer)
{
    server.setHandler([](const auto &) { return Reply{200, "done", {}, false}; });
    client.setTimeoutMs(300);
    QTimer::singleShot(0, [] {
        QEventLoop modal;
        QTimer::singleShot(900, &modal, &QEventLoop::quit);
        modal.exec();
    });

    EXPECT_EQ(std::string(client.get(url("/Common/x.asp"))), "done");
}

// The limit is on silence: an answer that keeps moving is never cut, however long it takes.
TEST_F(HttpClientTest, ASlowAnswerThatKeepsMovingOutlastsTheTimeOut)
{
    const QByteArray body("0123456789abcdef");
    server.setHandler([&](const auto &) { return Reply{200, body, {}, false, 60}; });
    client.setTimeoutMs(300);

    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(std::string(client.get(url("/Common/x.asp"))), body.toStdString());
    EXPECT_GT(clock.elapsed(), 600); // well past the time-out
}

} // namespace
