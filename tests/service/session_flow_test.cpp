#include "Engine/errors.h"
#include "service/service_paths.h"
#include "service/session.h"
#include "support/scripted_session_ui.h"
#include "support/service_fake_service.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

namespace {

using Ui = ScriptedSessionUi;
using Pages = QList<QByteArray>;

class SessionFlowTest : public ::testing::Test
{
protected:
    void SetUp() override { useService(service.mainUrl()); }
    void useService(const QString &mainUrl)
    {
        session = std::make_unique<Troot>(mainUrl, mainUrl + "/init.xml?site=test");
        session->setUi(&ui);
        session->http().setTimeoutMs(400);
    }
    const FakeHttpServer::Request &lastRequest() const { return service.server.requests.last(); }

    FakeGameService service;
    Ui ui;
    std::unique_ptr<Troot> session;
};

TEST_F(SessionFlowTest, TheFirstRequestLogsInAndGoesBelowTheRecommendedServer)
{
    ui.answers = {Ui::login("demo", "demo")};

    const kstring club = session->fetch(servicePaths::club());

    EXPECT_NE(club.find("<FileName>club.xml</FileName>"), std::string::npos);
    EXPECT_TRUE(session->loggedIn);
    EXPECT_EQ(std::string(session->recommendedUrl), service.recommendedUrl().toStdString());
    EXPECT_EQ(service.pagesRequested(), (Pages{"menu.asp", "default.asp", "club.asp"}));
    EXPECT_EQ(lastRequest().target, "/srv/Common/club.asp?outputType=XML&actionType=view");
    EXPECT_EQ(lastRequest().headers.value("cookie"), "session=s1");
    ASSERT_EQ(ui.log.size(), 2u);
    EXPECT_NE(ui.log[0].find("<UserID>123456</UserID>"), std::string::npos);
    EXPECT_EQ(ui.log[1], club);

    session->fetch(servicePaths::players());
    EXPECT_EQ(ui.shownEntries.size(), 1u);
    EXPECT_EQ(lastRequest().headers.value("cookie"), "session=s1");
}

TEST_F(SessionFlowTest, AWrongCodeIsSaidAndAskedForAgainAtOnceAndCancelEndsIt)
{
    ui.answers = {Ui::login("demo", "wrong"), Ui::cancel()};

    EXPECT_THROW(session->fetch(servicePaths::club()), ECancel);
    EXPECT_FALSE(session->loggedIn);
    EXPECT_EQ(ui.connectionFailures, 0);
    EXPECT_EQ(ui.refusals.size(), 1u);
    EXPECT_EQ(service.pagesRequested(), (Pages{"menu.asp", "default.asp"}));
    ASSERT_EQ(ui.shownEntries.size(), 2u);
    EXPECT_EQ(ui.shownEntries[1], std::make_pair(kstring("demo"), kstring()));
}

TEST_F(SessionFlowTest, CancelSendsNothing)
{
    EXPECT_THROW(session->fetch(servicePaths::club()), ECancel);
    EXPECT_THROW(session->post(servicePaths::search(), servicePaths::searchTeamById(1)), ECancel);
    EXPECT_TRUE(service.server.requests.isEmpty());
    EXPECT_TRUE(ui.log.empty());
}

struct LoginFailureCase
{
    const char *name;
    QByteArray page;
    FakeHttpServer::Reply reply;
};

class LoginConnectionFailureTest : public SessionFlowTest,
                                   public ::testing::WithParamInterface<LoginFailureCase>
{
};

// Each ends as a socket error during the login: one "Connection failed!", the empty text,
// and no further request.
TEST_P(LoginConnectionFailureTest, ShowsConnectionFailedOnceAndGivesTheEmptyText)
{
    service.failTimes(GetParam().page, -1, GetParam().reply);
    session->http().setMaxResponseBytes(4096);
    ui.answers = {Ui::login("demo", "demo")};

    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(std::string(session->fetch(servicePaths::club())), "");
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(ui.connectionFailures, 1);
    EXPECT_FALSE(session->loggedIn);
    EXPECT_EQ(service.pagesRequested().count("club.asp"), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, LoginConnectionFailureTest,
    ::testing::Values(LoginFailureCase{"HungMenu", "menu.asp", {200, "", {}, true}},
                      LoginFailureCase{"HungLogin", "default.asp", {200, "", {}, true}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(SessionFlowTest, NoServerShowsConnectionFailedOnce)
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const QString closed = "http://127.0.0.1:" + QString::number(probe.serverPort());
    probe.close();
    useService(closed);
    ui.answers = {Ui::login("demo", "demo")};

    EXPECT_EQ(std::string(session->fetch(servicePaths::club())), "");
    EXPECT_EQ(ui.connectionFailures, 1);
    EXPECT_EQ(ui.shownEntries.size(), 1u);
}

// Not a connection problem: the caller sees it, and no "Connection failed!" is shown.
TEST_F(SessionFlowTest, AnHttpErrorOrBrokenXmlAtTheLoginReachesTheCaller)
{
    service.failTimes("default.asp", 1, {503, "", {}, false});
    service.failTimes("menu.asp", 1, {200, "<Menu>", {}, false});
    ui.answers = {Ui::login("demo", "demo"), Ui::login("demo", "demo")};

    EXPECT_THROW(session->fetch(servicePaths::club()), EXmlError);
    EXPECT_THROW(session->fetch(servicePaths::club()), EHttpError);
    EXPECT_EQ(ui.connectionFailures, 0);
    EXPECT_FALSE(session->loggedIn);
}

// Neither a connection problem nor one a new login mends: the caller sees it at once.
TEST_F(SessionFlowTest, AnAnswerOverTheSizeLimitReachesTheCallerWithoutARetry)
{
    session->http().setMaxResponseBytes(4096);
    const FakeHttpServer::Reply huge{200, QByteArray(100000, ' '), {}, false};
    for (const QByteArray page : {"menu.asp", "club.asp", "search.asp"}) {
        service.failTimes(page, 1, huge);
        ui.answers = {Ui::login("demo", "demo"), Ui::login("demo", "demo")};
        const int logins = int(ui.shownEntries.size()) + (session->loggedIn ? 0 : 1);
        EXPECT_THROW(page == "search.asp"
                         ? session->post(servicePaths::search(), servicePaths::searchTeamById(7))
                         : session->fetch(servicePaths::club()),
                     EResponseTooLarge)
            << page.constData();
        EXPECT_EQ(int(ui.shownEntries.size()), logins) << page.constData();
        EXPECT_EQ(service.pagesRequested().count(page), 1) << page.constData();
        service.server.requests.clear();
    }
    EXPECT_EQ(ui.connectionFailures, 0);
}

TEST_F(SessionFlowTest, AFailedRequestLogsInAgainWithThePreviousEntriesAndRepeatsThePath)
{
    service.failTimes("club.asp", 1);
    ui.answers = {Ui::login("demo", "demo"), Ui::loginAsBefore()};

    const kstring club = session->fetch(servicePaths::club());

    EXPECT_NE(club.find("club.xml"), std::string::npos);
    EXPECT_TRUE(session->loggedIn);
    ASSERT_EQ(ui.shownEntries.size(), 2u);
    EXPECT_EQ(ui.shownEntries[1], std::make_pair(kstring("demo"), kstring("demo")));
    EXPECT_EQ(service.pagesRequested(), (Pages{"menu.asp", "default.asp", "club.asp", "menu.asp",
                                               "default.asp", "club.asp"}));
    EXPECT_EQ(std::count(ui.log.begin(), ui.log.end(), club), 2);
}

TEST_F(SessionFlowTest, AFailingServerKeepsAskingUntilTheUserCancels)
{
    service.failTimes("club.asp", -1);
    ui.answers = {Ui::login("demo", "demo"), Ui::loginAsBefore(), Ui::loginAsBefore()};

    EXPECT_THROW(session->fetch(servicePaths::club()), ECancel);
    EXPECT_EQ(ui.shownEntries.size(), 4u);
    EXPECT_EQ(service.pagesRequested().count("club.asp"), 3);
}

TEST_F(SessionFlowTest, AFailedPostIsRepeatedOnceWithoutALogin)
{
    service.failTimes("search.asp", 1);
    ui.answers = {Ui::login("demo", "demo")};

    const kstring answer = session->post(servicePaths::search(), servicePaths::searchTeamById(7));

    EXPECT_NE(answer.find("search.xml"), std::string::npos);
    EXPECT_FALSE(session->loggedIn);
    EXPECT_EQ(service.pagesRequested(),
              (Pages{"menu.asp", "default.asp", "search.asp", "search.asp"}));
    EXPECT_EQ(lastRequest().body, "outputType=XML&actionType=view&searchWhat=team&teamID=7");
    EXPECT_EQ(ui.log.back(), answer);
}

TEST_F(SessionFlowTest, ASecondPostFailureReachesTheCaller)
{
    service.failTimes("search.asp", 2);
    ui.answers = {Ui::login("demo", "demo")};

    EXPECT_THROW(session->post(servicePaths::search(), servicePaths::searchTeamById(7)),
                 EHttpError);
    EXPECT_EQ(service.pagesRequested().count("search.asp"), 2);
    EXPECT_EQ(ui.shownEntries.size(), 1u);
}

} // namespace
