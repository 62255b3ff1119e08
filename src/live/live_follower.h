#pragma once

#include "Engine/kstring.h"
#include "live/live_pages.h"

#include <pugixml.hpp>

#include <map>
#include <memory>
#include <vector>

// What following matches needs of the service: the answer to a live request, how many sessions
// of the service were opened so far (a new one follows nothing), and the log of what was read.
class LiveService
{
public:
    enum class Request { viewNew, addMatch, deleteMatch };

    virtual ~LiveService() = default;
    // `matchId` is the match an add or a delete names; a cancelled login raises ECancel.
    virtual kstring fetch(Request request, int matchId) = 0;
    virtual int sessionsOpened() const = 0;
    virtual void log(const kstring &response) = 0;
};

// Whoever shows the followed matches: told of each page's life, never asked anything.
class LiveFollowerView
{
public:
    virtual ~LiveFollowerView() = default;
    // The service listed a match for the first time: it gets a page.
    virtual void created(MatchPageModel &page) = 0;
    // The page took its element in: show the result.
    virtual void merged(MatchPageModel &page) = 0;
    // The match is no longer followed. The view keeps the model as long as its page may still
    // read it.
    virtual void removed(std::unique_ptr<MatchPageModel> page) = 0;
    // Every match of an answer was taken in.
    virtual void takenIn(const std::vector<MatchIntake> &intakes) = 0;
    // A match remembered from an earlier run that the service no longer lists; `removed` follows.
    virtual void noLongerFollowed(const MatchPageModel &page) = 0;
};

// Following live matches: the pages' models and the protocol with the service. Every answer
// lists the followed matches with their events; a match is added again whenever the service may
// have lost it (a new session, or an answer whose events could not be read).
class LiveFollower : public LivePageMap
{
public:
    LiveFollower(LiveService &service, LiveFollowerView &view);

    void addMatch(int matchId);
    void viewNew();
    // The view gets the page back, then the service is told. False when the match is not
    // followed (nothing is sent then).
    bool removeMatch(int matchId);
    // A match followed in an earlier run: its page comes at once with what was last known and
    // waits; the next request adds it again, and a service that no longer lists it ends it.
    void restore(const RememberedMatch &remembered);
    // What to keep of every followed match, ascending by id.
    std::vector<RememberedMatch> remembered() const;

    // A poll sends nothing while no match is followed or watching is off.
    bool pollDue(bool watching) const { return watching && !empty(); }

    // Takes `lastResponse` in: every match it lists merges into its page, a new one gets one.
    // Text that is not well-formed XML raises EXmlError with the parser's reason and place.
    void processResponse();

    kstring lastResponse;
    pugi::xml_document xml;

protected:
    MatchPageModel &createPage(int matchId) override;
    void showPage(MatchPageModel &page) override;

private:
    void fetchAndProcess(LiveService::Request request, int matchId = 0);
    void addAgainWhatTheServiceLost();
    void endIfStillWaiting(int matchId);
    std::unique_ptr<MatchPageModel> takePage(int matchId);
    void loadResponse();

    LiveService &service;
    LiveFollowerView &view;
    std::map<int, std::unique_ptr<MatchPageModel>> owned;
    // The session of the service that the followed matches were added in.
    int followingSession = 0;
    bool addingAgain = false;
};
