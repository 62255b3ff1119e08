#pragma once

#include "Engine/errors.h"
#include "Engine/kstring.h"
#include "players/keeper.h"
#include "players/team.h"
#include "players/weights.h"
#include "service/build_version.h"
#include "service/http_client.h"

#include <QString>
#include <pugixml.hpp>

#include <vector>

class SessionUi;

// The program's one session with the game service: server discovery, login, every request
// with its retry rules, and the shared XML document that responses are loaded into.
class Troot
{
public:
    explicit Troot(QString serviceUrl = build::serviceUrl, QString versionUrl = build::versionUrl);
    ~Troot();
    Troot(const Troot &) = delete;
    Troot &operator=(const Troot &) = delete;

    // The windows the session talks to the user through; without one, a login is cancelled.
    void setUi(SessionUi *ui);
    SessionUi &ui() const;

    // Fetches the menu document from the main address and keeps its RecommendedURL.
    void findServer();
    // Asks for the login data (ECancel when the user cancels), finds the server and logs in.
    // A socket error is reported to the user as "Connection failed!" and ends the login.
    void login();
    // GET of a path below the server's "/Common/" folder; logs in first when needed. A failed
    // request logs in again and repeats the path until it succeeds, a login does not succeed
    // (the empty text) or the user cancels (ECancel). An answer over the size limit is no
    // failure a login mends: EResponseTooLarge reaches the caller at once, as from post.
    kstring fetch(const kstring &path);
    // Form POST of "name=value" fields to a path below "/Common/"; a failure is repeated
    // once without a new login, and a second failure reaches the caller.
    kstring post(const kstring &path, const std::vector<kstring> &fields);
    // Replaces the shared document by the parsed text; EXmlError when it is not well-formed.
    void loadXml(const kstring &text);
    // Appends a response to the main window's log.
    void log(const kstring &response);

    HttpClient &http() { return client; }
    Team *currentTeam();
    // Makes `team` the current team from now on (a newly read players document).
    void setCurrentTeam(Team *team) { cachedCurrentTeam = team; }
    // The shared rating tables, made on the first call.
    Weights *weights() { return &sharedWeights(); }
    Keeper *keeper() { return &sharedKeeper(); }
    QString serviceUrl() const { return mainUrl; }
    QString versionUrl() const { return publisherUrl; }

    pugi::xml_document xml;
    kstring recommendedUrl;
    kstring userName;
    kstring securityCode;
    bool loggedIn = false;
    TTeams teams;

    // How many logins opened a session of the service in this run. A new session knows nothing
    // of what an earlier one was asked to keep, such as the followed matches.
    int sessionsOpened() const { return openedSessions; }

private:
    kstring commonUrl(const kstring &path) const;
    kstring unreadableAnswer(const kstring &text, const char *parserSays) const;
    void requireLogin();
    void sendLogin();

    HttpClient client;
    QString mainUrl;
    QString publisherUrl;
    SessionUi *userInterface = nullptr;
    // Why the last login did not open a session ("" after a good one).
    kstring loginProblem;
    // The last login was answered, and the answer refused the name or the code.
    bool loginRefused = false;
    // Why the request that a login now retries failed; used up by that login.
    kstring failedRequest;
    Team *cachedCurrentTeam = nullptr;
    int openedSessions = 0;
};

// Created by start-up before any window; lives until the program ends.
extern Troot *root;
