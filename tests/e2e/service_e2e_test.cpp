#include "Engine/errors.h"
#include "service/service_paths.h"
#include "service/session.h"
#include "service/team_download.h"
#include "service/version_check.h"
#include "sim/sim_server.h"
#include "support/scripted_session_ui.h"

#include <QDir>
#include <QFile>
#include <QNetworkCookie>
#include <QNetworkCookieJar>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using Ui = ScriptedSessionUi;

// The session against the simulated service on a free loopback port.
class ServiceE2eTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(server.listen(), 0);
        ASSERT_TRUE(parent.isValid());
        ASSERT_TRUE(QDir().mkpath(folder()));
        session = std::make_unique<Troot>(server.baseUrl(), server.versionUrl());
        session->setUi(&ui);
        session->http().setTimeoutMs(2000);
    }
    QString folder() const { return parent.filePath("XML"); }
    QStringList files() const { return QDir(folder()).entryList(QDir::Files, QDir::Name); }
    int requestsContaining(const QString &text) const
    {
        return int(server.requestLog().filter(text).size());
    }

    sim::Server server;
    QTemporaryDir parent;
    Ui ui;
    std::unique_ptr<Troot> session;
};

TEST_F(ServiceE2eTest, LogsInFirstAndKeepsTheServiceCookie)
{
    ui.answers = {Ui::login("demo", "demo")};

    const kstring club = session->fetch(servicePaths::club());

    EXPECT_TRUE(session->loggedIn);
    EXPECT_EQ(QString::fromStdString(session->recommendedUrl), server.baseUrl());
    EXPECT_NE(club.find("<UserID>123456</UserID>"), std::string::npos);
    EXPECT_FALSE(session->http().cookieManager()->cookiesForUrl(QUrl(server.baseUrl())).isEmpty());
    EXPECT_EQ(requestsContaining("menu.asp"), 1);
    EXPECT_EQ(requestsContaining("actionType=login"), 1);
    EXPECT_EQ(requestsContaining("club.asp"), 1);

    EXPECT_FALSE(session->fetch(servicePaths::players()).empty());
    EXPECT_EQ(ui.shownEntries.size(), 1u);
}

TEST_F(ServiceE2eTest, AWrongCodeIsSaidAndAskedForAgainThenTheRequestGoesOn)
{
    ui.answers = {Ui::login("demo", "wrong"), Ui::login("demo", "demo")};
    EXPECT_FALSE(session->fetch(servicePaths::club()).empty());
    EXPECT_EQ(ui.connectionFailures, 0);
    EXPECT_EQ(ui.refusals, std::vector<kstring>{"The service did not accept the login: Wrong user "
                                                "name or security code."});
    ASSERT_EQ(ui.shownEntries.size(), 2u);
    EXPECT_EQ(ui.shownEntries[1], std::make_pair(kstring("demo"), kstring()));
    EXPECT_EQ(requestsContaining("club.asp"), 1);
}

TEST_F(ServiceE2eTest, AFailedRequestLogsInAgainAndRepeatsThePath)
{
    ui.answers = {Ui::login("demo", "demo"), Ui::loginAsBefore()};
    server.setFault(sim::RouteGroup::TeamDocuments, sim::FaultKind::Http500, 1);

    EXPECT_FALSE(session->fetch(servicePaths::club()).empty());
    ASSERT_EQ(ui.shownEntries.size(), 2u);
    EXPECT_EQ(ui.shownEntries[1], std::make_pair(kstring("demo"), kstring("demo")));
    EXPECT_EQ(requestsContaining("club.asp"), 2);
}

TEST_F(ServiceE2eTest, ABrokenPostIsRepeatedOnce)
{
    ui.answers = {Ui::login("demo", "demo")};
    server.setFault(sim::RouteGroup::Search, sim::FaultKind::Http500, 1);

    const kstring found =
        session->post(servicePaths::search(), servicePaths::searchTeamById(server.demoTeamId()));

    EXPECT_NE(found.find("SearchResults"), std::string::npos);
    EXPECT_EQ(requestsContaining("search.asp"), 2);
    EXPECT_FALSE(session->loggedIn);
}

// A hung service is a connection that failed; a flooding one is an answer too large, which a
// new login would not mend.
TEST_F(ServiceE2eTest, AHungServiceEndsAsConnectionFailedAndAFloodingOneNamesTheSize)
{
    session->http().setTimeoutMs(300);
    session->http().setMaxResponseBytes(64 * 1024);
    ui.answers = {Ui::login("demo", "demo"), Ui::login("demo", "demo")};

    server.setFault(sim::RouteGroup::Login, sim::FaultKind::NeverAnswer, 1);
    EXPECT_EQ(std::string(session->fetch(servicePaths::club())), "");
    server.setFault(sim::RouteGroup::Menu, sim::FaultKind::HugeBody, 1);
    EXPECT_THROW(session->fetch(servicePaths::club()), EResponseTooLarge);

    EXPECT_EQ(ui.connectionFailures, 1);
}

TEST_F(ServiceE2eTest, DownloadsTheFourDocumentsIntoDatedFiles)
{
    ui.answers = {Ui::login("demo", "demo")};
    downloadTeamData(*session, folder());
    server.advance(10);
    downloadTeamData(*session, folder());

    EXPECT_EQ(ui.downloadErrors, 0);
    const QStringList written = files();
    ASSERT_EQ(written.size(), 8) << written.join(", ").toStdString();
    const QRegularExpression pattern(
        "^(club|players|teamDetails|leagueDetails)_123456_[^:]+\\.xml$");
    for (const QString &name : written) {
        EXPECT_TRUE(pattern.match(name).hasMatch()) << name.toStdString();
        QFile file(QDir(folder()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        EXPECT_TRUE(content.endsWith("\r\n"));
        EXPECT_EQ(content.count('\n'), content.count("\r\n")) << name.toStdString();
    }
}

TEST_F(ServiceE2eTest, EmptyTeamDetailsGiveThreeFiles)
{
    server.setTeamDetailsEmpty(true);
    ui.answers = {Ui::login("demo", "demo")};
    downloadTeamData(*session, folder());
    EXPECT_EQ(ui.downloadErrors, 0);
    EXPECT_EQ(files().size(), 3);
    EXPECT_TRUE(files().filter("teamDetails").isEmpty());
}

// The four documents are one download: a failure at the second leaves none of them.
TEST_F(ServiceE2eTest, AnErrorAtThePlayersLeavesNoFileOfThatDownload)
{
    ui.answers = {Ui::login("demo", "demo")};
    ui.onLog = [&](const kstring &response) {
        if (response.find("club.xml") != std::string::npos)
            server.setFault(sim::RouteGroup::TeamDocuments, sim::FaultKind::TruncatedXml, 1);
    };
    downloadTeamData(*session, folder());
    EXPECT_EQ(ui.downloadErrors, 1);
    EXPECT_EQ(files(), QStringList());
}

TEST_F(ServiceE2eTest, TheVersionCheckShowsTheMessageOnlyForAnotherBuild)
{
    session->http().setUserAgent(titleText());
    server.setAnnouncement("0.1.7", "Same build");
    checkVersion(*session);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(server.lastUserAgent(), "StrikoraKey 0.1.7");

    server.setAnnouncement("0.1.8", "A new build.\nGet it now.");
    checkVersion(*session);
    EXPECT_EQ(ui.messages, std::vector<kstring>{"A new build.\nGet it now."});
    EXPECT_TRUE(ui.shownEntries.empty());
}

} // namespace
