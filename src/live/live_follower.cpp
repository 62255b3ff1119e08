#include "live/live_follower.h"

#include "Engine/errors.h"

#include <exception>
#include <string>

LiveFollower::LiveFollower(LiveService &service, LiveFollowerView &view)
    : service(service), view(view)
{}

void LiveFollower::addMatch(int matchId)
{
    fetchAndProcess(LiveService::Request::addMatch, matchId);
}

void LiveFollower::viewNew()
{
    fetchAndProcess(LiveService::Request::viewNew);
}

bool LiveFollower::removeMatch(int matchId)
{
    std::unique_ptr<MatchPageModel> page = takePage(matchId);
    if (!page)
        return false;
    view.removed(std::move(page));
    // A cancelled login here ends the removal; the page is gone already.
    fetchAndProcess(LiveService::Request::deleteMatch, matchId);
    return true;
}

std::unique_ptr<MatchPageModel> LiveFollower::takePage(int matchId)
{
    if (!forget(matchId))
        return nullptr;
    const auto model = owned.find(matchId);
    std::unique_ptr<MatchPageModel> page = std::move(model->second);
    owned.erase(model);
    return page;
}

void LiveFollower::restore(const RememberedMatch &remembered)
{
    if (findPage(remembered.matchId))
        return;
    MatchPageModel &page = addPage(remembered.matchId);
    page.waiting = true;
    page.match.Home.TeamName = remembered.homeTeam;
    page.match.Away.TeamName = remembered.awayTeam;
    page.match.Home.Goal = remembered.homeGoals;
    page.match.Away.Goal = remembered.awayGoals;
    markAllForAddingAgain();
    view.merged(page);
}

std::vector<RememberedMatch> LiveFollower::remembered() const
{
    std::vector<RememberedMatch> kept;
    for (const auto &[matchId, page] : entries()) {
        const LiveMatch &match = page->match;
        kept.push_back(
            {matchId, match.Home.TeamName, match.Away.TeamName, match.Home.Goal, match.Away.Goal});
    }
    return kept;
}

// Added again and answered, yet not listed: the service no longer knows the match.
void LiveFollower::endIfStillWaiting(int matchId)
{
    const MatchPageModel *page = findPage(matchId);
    if (!page || !page->waiting)
        return;
    view.noLongerFollowed(*page);
    view.removed(takePage(matchId));
}

MatchPageModel &LiveFollower::createPage(int matchId)
{
    MatchPageModel &page = *(owned[matchId] = std::make_unique<MatchPageModel>());
    page.match.MatchID = matchId;
    view.created(page);
    return page;
}

void LiveFollower::showPage(MatchPageModel &page)
{
    view.merged(page);
}

void LiveFollower::fetchAndProcess(LiveService::Request request, int matchId)
{
    lastResponse = service.fetch(request, matchId);
    // A login since the matches were added (in this fetch, or for another window's request)
    // opened a new session, which follows nothing.
    if (service.sessionsOpened() != followingSession) {
        followingSession = service.sessionsOpened();
        markAllForAddingAgain();
    }
    try {
        processResponse();
    } catch (...) {
        // The service counts the events of an unreadable answer as sent.
        if (!lastResponse.empty())
            markAllForAddingAgain();
        throw;
    }
    if (request == LiveService::Request::addMatch && !lastResponse.empty()) {
        addedAgain(matchId);
        endIfStillWaiting(matchId);
    }
    addAgainWhatTheServiceLost();
}

void LiveFollower::addAgainWhatTheServiceLost()
{
    if (addingAgain)
        return;
    addingAgain = true;
    try {
        // Once each: a match whose add is not answered waits for the next request.
        for (int matchId : dueForAddingAgain())
            if (findPage(matchId))
                addMatch(matchId);
    } catch (...) {
        addingAgain = false;
        throw;
    }
    addingAgain = false;
}

void LiveFollower::loadResponse()
{
    xml.reset();
    const pugi::xml_parse_result parsed = xml.load_buffer(lastResponse.data(), lastResponse.size());
    if (parsed)
        return;
    xml.reset();
    throw EXmlError("The live response of the service is not well-formed XML: " +
                    std::string(parsed.description()) + " at character " +
                    std::to_string(parsed.offset) + " of " + std::to_string(lastResponse.size()));
}

void LiveFollower::processResponse()
{
    if (lastResponse.empty())
        return;
    loadResponse();
    service.log(lastResponse);
    // A match that cannot be taken in fails alone; the view still shows what the rest brought.
    std::exception_ptr failure;
    view.takenIn(takeIn(xml.document_element(), failure));
    if (failure)
        std::rethrow_exception(failure);
}
