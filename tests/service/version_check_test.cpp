#include "Engine/errors.h"
#include "service/session.h"
#include "service/version_check.h"
#include "support/scripted_session_ui.h"
#include "support/service_fake_service.h"

#include <QTcpServer>
#include <gtest/gtest.h>

#include <string>

namespace {

TEST(VersionText, IsMajorMinorBuild)
{
    EXPECT_EQ(std::string(versionText()), "0.1.7");
    EXPECT_EQ(std::string(titleText()), "StrikoraKey 0.1.7");
}

class VersionCheckTest : public ::testing::Test
{
protected:
    void SetUp() override { session.setUi(&ui); }
    void announce(const QByteArray &version, const QByteArray &message)
    {
        service.answerWith("init.xml", "<init><version>" + version + "</version><message>" +
                                           message + "</message></init>");
    }

    FakeGameService service;
    ScriptedSessionUi ui;
    Troot session{service.mainUrl(), service.mainUrl() + "/init.xml?site=strikorakey"};
};

struct AnnouncementCase
{
    const char *version;
    bool shown;
};

class AnnouncementTest : public VersionCheckTest,
                         public ::testing::WithParamInterface<AnnouncementCase>
{
};

// Only the third part counts, compared as text.
TEST_P(AnnouncementTest, ShowsTheMessageWhenTheBuildDiffers)
{
    announce(GetParam().version, "Get the new one");
    checkVersion(session);
    EXPECT_EQ(ui.messages,
              GetParam().shown ? std::vector<kstring>{"Get the new one"} : std::vector<kstring>{});
}

INSTANTIATE_TEST_SUITE_P(
    Versions, AnnouncementTest,
    ::testing::Values(AnnouncementCase{"0.1.7", false}, AnnouncementCase{"0.1.8", true},
                      AnnouncementCase{"0.1.6", true}, AnnouncementCase{"0.2.7", false},
                      AnnouncementCase{"0.5", true}, AnnouncementCase{"0.1.07", true},
                      AnnouncementCase{"", true}));

TEST_F(VersionCheckTest, GoesStraightToThePublisherWithOurAgent)
{
    announce("0.1.8", "first line\nsecond line\n\nfourth &amp; last");
    session.http().setUserAgent("StrikoraKey 0.1.7");
    checkVersion(session);

    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(std::string(ui.messages[0]), "first line\nsecond line\n\nfourth & last");
    ASSERT_EQ(service.server.requests.size(), 1);
    EXPECT_EQ(service.server.requests[0].target, "/init.xml?site=strikorakey");
    EXPECT_EQ(service.server.requests[0].headers.value("user-agent"), "StrikoraKey 0.1.7");
    EXPECT_TRUE(ui.shownEntries.empty());
    EXPECT_TRUE(ui.log.empty());
}

TEST_F(VersionCheckTest, NoPublisherIsIgnored)
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    const QString closed = "http://127.0.0.1:" + QString::number(probe.serverPort());
    probe.close();
    Troot offline(closed, closed + "/init.xml?site=strikorakey");
    offline.setUi(&ui);

    EXPECT_NO_THROW(checkVersion(offline));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(VersionCheckTest, OtherErrorsReachTheCaller)
{
    service.failTimes("init.xml", 1);
    EXPECT_THROW(checkVersion(session), EHttpError);
    service.answerWith("init.xml", "<init><version>0.1.8");
    EXPECT_THROW(checkVersion(session), EXmlError);
    EXPECT_TRUE(ui.messages.empty());
}

} // namespace
