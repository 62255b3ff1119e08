#include "service/session.h"
#include "service/team_download.h"
#include "support/scripted_session_ui.h"
#include "support/service_fake_service.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>

namespace {

using Ui = ScriptedSessionUi;

class DownloadTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(parent.isValid());
        ASSERT_TRUE(QDir().mkpath(folder()));
        session.setUi(&ui);
    }
    QString folder() const { return parent.filePath("XML"); }
    // The file names in order, one text, so a failure shows them readably.
    std::string files() const
    {
        return QDir(folder()).entryList(QDir::Files, QDir::Name).join(" | ").toStdString();
    }
    static std::string named(const char *moment, const QStringList &kinds,
                             const char *otherMoment = nullptr)
    {
        QStringList names;
        for (const QString &kind : kinds) {
            names << kind + "_123456_" + moment + ".xml";
            if (otherMoment)
                names << kind + "_123456_" + otherMoment + ".xml";
        }
        return names.join(" | ").toStdString();
    }

    QTemporaryDir parent;
    FakeGameService service;
    Ui ui;
    Troot session{service.mainUrl(), service.mainUrl() + "/init.xml"};
};

const QStringList allKinds{"club", "leagueDetails", "players", "teamDetails"};

TEST_F(DownloadTest, WritesTheFourDocumentsWithCrLfLines)
{
    ui.answers = {Ui::login("demo", "demo")};
    downloadTeamData(session, folder());

    EXPECT_EQ(ui.downloadErrors, 0);
    EXPECT_EQ(files(), named("2005-03-01 12-34-56", allKinds));
    QFile club(QDir(folder()).filePath("club_123456_2005-03-01 12-34-56.xml"));
    ASSERT_TRUE(club.open(QIODevice::ReadOnly));
    EXPECT_EQ(club.readAll(), "<?xml version=\"1.0\"?>\r\n<StrikoraData>\r\n"
                              "<FileName>club.xml</FileName>\r\n<UserID>123456</UserID>\r\n"
                              "<FetchedDate>2005-03-01 12:34:56</FetchedDate>\r\n"
                              "</StrikoraData>\r\n");
}

TEST_F(DownloadTest, EmptyTeamDetailsAreLeftOutSilently)
{
    service.answerWith("teamDetails.asp", "");
    ui.answers = {Ui::login("demo", "demo")};
    downloadTeamData(session, folder());

    EXPECT_EQ(ui.downloadErrors, 0);
    EXPECT_EQ(files(), named("2005-03-01 12-34-56", {"club", "leagueDetails", "players"}));
}

TEST_F(DownloadTest, AnErrorAtThePlayersLeavesExactlyTheClubFile)
{
    service.answerWith("players.asp", "<StrikoraData><FileName>players");
    ui.answers = {Ui::login("demo", "demo")};
    downloadTeamData(session, folder());

    EXPECT_EQ(ui.downloadErrors, 1);
    EXPECT_EQ(files(), named("2005-03-01 12-34-56", {"club"}));
    EXPECT_EQ(service.pagesRequested().count("teamDetails.asp"), 0);
}

TEST_F(DownloadTest, TwoMomentsLeaveEightFiles)
{
    ui.answers = {Ui::login("demo", "demo")};
    downloadTeamData(session, folder());
    service.fetchedDate = "2005-03-01 12:39:56";
    downloadTeamData(session, folder());

    EXPECT_EQ(ui.downloadErrors, 0);
    EXPECT_EQ(files(), named("2005-03-01 12-34-56", allKinds, "2005-03-01 12-39-56"));
}

TEST_F(DownloadTest, ACancelledLoginEndsSilently)
{
    downloadTeamData(session, folder());
    EXPECT_EQ(ui.downloadErrors, 0);
    EXPECT_EQ(files(), "");
    EXPECT_TRUE(service.server.requests.isEmpty());
}

TEST_F(DownloadTest, ARefusedLoginIsSaidAndCancellingItEndsTheDownloadSilently)
{
    ui.answers = {Ui::login("demo", "wrong")};
    downloadTeamData(session, folder());
    EXPECT_EQ(ui.refusals.size(), 1u);
    EXPECT_EQ(ui.downloadErrors, 0);
    EXPECT_EQ(files(), "");
}

} // namespace
