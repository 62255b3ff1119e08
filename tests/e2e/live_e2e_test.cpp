#include "live/live_match.h"
#include "service/service_paths.h"
#include "service/session.h"
#include "sim/sim_server.h"
#include "support/scripted_session_ui.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <map>
#include <memory>

namespace {

class NullSink : public StyledTextSink
{
public:
    void appendPlain(std::string_view) override {}
    void appendPlayer(std::string_view, Colour) override {}
    void endLine() override {}
};

// Live matches followed through the session, as the service sends them, into the live model.
class LiveE2eTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(server.listen(), 0);
        session = std::make_unique<Troot>(server.baseUrl(), server.versionUrl());
        ui.answers = {ScriptedSessionUi::login("demo", "demo")};
        session->setUi(&ui);
        root = session.get();
    }
    void TearDown() override { root = nullptr; }

    // Merges every match of one live response; returns whether any of them grew.
    bool mergeResponse(const kstring &path)
    {
        const kstring text = session->fetch(path);
        pugi::xml_document doc;
        EXPECT_TRUE(doc.load_buffer(text.data(), text.size())) << text;
        bool grew = false;
        for (pugi::xml_node element : LiveMatch::matchElements(doc.document_element()))
            grew = matches[LiveMatch::matchIdOf(element)].merge(element) || grew;
        return grew;
    }

    sim::Server server;
    ScriptedSessionUi ui;
    std::unique_ptr<Troot> session;
    std::map<int, LiveMatch> matches;
};

TEST_F(LiveE2eTest, FollowedMatchesArriveWholeAndRenderWithTheirPlayers)
{
    server.advance(30);
    const QList<int> live = server.liveMatchIds();
    ASSERT_GE(live.size(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(mergeResponse(servicePaths::liveAddMatch(live[i])));
    EXPECT_FALSE(mergeResponse(servicePaths::liveViewNew())) << "nothing new without time";

    server.advance(20);
    EXPECT_TRUE(mergeResponse(servicePaths::liveViewNew()));
    server.advance(150); // every followed match has ended
    mergeResponse(servicePaths::liveViewNew());

    ASSERT_EQ(matches.size(), 3u);
    NullSink sink;
    for (auto &[id, match] : matches) {
        SCOPED_TRACE("match " + std::to_string(id));
        // Each event came once, none was skipped.
        ASSERT_FALSE(match.Events.empty());
        EXPECT_EQ(match.Events.begin()->first, 1);
        EXPECT_EQ(match.Events.rbegin()->first, int(match.Events.size()));
        for (auto &[index, event] : match.Events) {
            match.renderEvent(event, sink);
            if (event.SubjectPlayerID == 0)
                continue;
            EXPECT_FALSE(event.SubjectPlayerName.empty()) << event.EventText;
            EXPECT_EQ(event.SubjectIsHome, event.SubjectTeamID == match.Home.TeamID);
            EXPECT_TRUE(event.SubjectTeamID == match.Home.TeamID ||
                        event.SubjectTeamID == match.Away.TeamID);
        }
        match.countEvents();
        for (const LiveTeam *team : {&match.Home, &match.Away})
            EXPECT_EQ(team->Attempt, team->Missed + team->Goal);
    }
}

} // namespace
