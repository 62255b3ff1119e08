#include "Engine/errors.h"
#include "live/live_follower.h"
#include "live/poll_failures.h"
#include "live_test_support.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace {

using Request = LiveService::Request;

std::string liveOf(const std::vector<int> &matchIds)
{
    std::string matches;
    for (int id : matchIds)
        matches += matchXml("", 0, 0, id);
    return "<Live><MatchList>" + matches + "</MatchList></Live>";
}

// Answers with the followed matches, or with what a row queued; counts sessions as told.
class ScriptedService : public LiveService
{
public:
    kstring fetch(Request request, int matchId) override
    {
        sent.push_back(text(request, matchId));
        if (request == Request::addMatch)
            followed.push_back(matchId);
        if (request == Request::deleteMatch)
            std::erase(followed, matchId);
        if (!queued.empty()) {
            std::string answer = queued.front();
            queued.pop_front();
            return answer;
        }
        return liveOf(followed);
    }
    int sessionsOpened() const override { return sessions; }
    void log(const kstring &) override { ++logged; }

    static std::string text(Request request, int matchId)
    {
        switch (request) {
        case Request::addMatch:
            return "add " + std::to_string(matchId);
        case Request::deleteMatch:
            return "delete " + std::to_string(matchId);
        case Request::viewNew:
            break;
        }
        return "new";
    }

    std::vector<std::string> sent;
    std::vector<int> followed;
    std::deque<std::string> queued;
    int sessions = 1;
    int logged = 0;
};

class CountingView : public LiveFollowerView
{
public:
    void created(MatchPageModel &) override { ++created_; }
    void merged(MatchPageModel &) override {}
    void removed(std::unique_ptr<MatchPageModel> page) override
    {
        removed_.push_back(page->match.MatchID);
    }
    void takenIn(const std::vector<MatchIntake> &) override {}
    void noLongerFollowed(const MatchPageModel &) override {}
    int created_ = 0;
    std::vector<int> removed_;
};

// After following 600 and 700 in one session: what a row does, then the requests of the next
// poll (the answers a row queued come first).
TEST(LiveFollower, AddsAgainWhatTheServiceMayHaveLost)
{
    const struct
    {
        const char *what;
        std::function<void(LiveFollower &, ScriptedService &)> before;
        std::vector<std::string> nextPoll;
    } rows[] = {
        {"nothing happened", [](LiveFollower &, ScriptedService &) {}, {"new"}},
        {"a login opened a new session",
         [](LiveFollower &, ScriptedService &service) { ++service.sessions; },
         {"new", "add 600", "add 700"}},
        {"an answer could not be read",
         [](LiveFollower &follower, ScriptedService &service) {
             service.queued = {"<Live><MatchList><Match>"};
             EXPECT_THROW(follower.viewNew(), EXmlError);
         },
         {"new", "add 600", "add 700"}},
        {"an empty answer is no answer",
         [](LiveFollower &follower, ScriptedService &service) {
             service.queued = {""};
             follower.viewNew();
         },
         {"new"}},
        {"an add left unanswered waits for the next request",
         [](LiveFollower &follower, ScriptedService &service) {
             ++service.sessions;
             service.queued = {liveOf({600, 700}), "", liveOf({600, 700})};
             follower.viewNew();
         },
         {"new", "add 600"}},
        {"a removed match loses its mark",
         [](LiveFollower &follower, ScriptedService &service) {
             ++service.sessions;
             service.queued = {liveOf({700})};
             EXPECT_TRUE(follower.removeMatch(600));
             EXPECT_FALSE(follower.removeMatch(600)) << "sends nothing for a match not followed";
         },
         {"new"}},
        {"match 0 is a match like any other",
         [](LiveFollower &follower, ScriptedService &service) {
             ++service.sessions;
             follower.addMatch(0);
         },
         {"new"}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        ScriptedService service;
        CountingView view;
        LiveFollower follower(service, view);
        follower.addMatch(600);
        follower.addMatch(700);
        ASSERT_EQ(view.created_, 2);
        row.before(follower, service);
        service.sent.clear();
        follower.viewNew();
        EXPECT_EQ(service.sent, row.nextPoll);
        service.sent.clear();
        follower.viewNew();
        EXPECT_EQ(service.sent, std::vector<std::string>{"new"}) << "each match is added once";
    }
}

TEST(LiveFollower, PollsOnlyWhileWatchingAFollowedMatch)
{
    ScriptedService service;
    CountingView view;
    LiveFollower follower(service, view);
    EXPECT_FALSE(follower.pollDue(true));
    follower.addMatch(600);
    EXPECT_TRUE(follower.pollDue(true));
    EXPECT_FALSE(follower.pollDue(false));
    follower.removeMatch(600);
    EXPECT_EQ(view.removed_, std::vector<int>{600});
    EXPECT_FALSE(follower.pollDue(true));
    EXPECT_EQ(service.logged, 2) << "every answer read is logged";
}

// One box for each kind of failure while the polls keep failing; a good answer starts anew.
TEST(PollFailures, ShowOneBoxPerKindUntilAnAnswerIsRead)
{
    PollFailures failures;
    EXPECT_TRUE(failures.failed("EXmlError", "not well-formed", "14:02"));
    EXPECT_FALSE(failures.failed("EXmlError", "not well-formed", "14:03"));
    EXPECT_TRUE(failures.failed("ESocketError", "refused", "14:04"));
    EXPECT_EQ(failures.statusText(),
              "Live: the last poll failed at 14:04 (refused); retrying every minute.");
    failures.succeeded();
    EXPECT_EQ(failures.statusText(), "");
    EXPECT_TRUE(failures.failed("EXmlError", "not well-formed", "14:05"));
}

} // namespace
