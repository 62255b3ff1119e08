#pragma once

#include "Engine/kstring.h"
#include "service/session_ui.h"

#include <deque>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

// A SessionUi whose login answers are scripted and which records everything shown. When the
// script runs out, the login dialog is cancelled, so no test can loop for ever.
class ScriptedSessionUi : public SessionUi
{
public:
    struct Answer
    {
        bool ok = false;
        // Typed entries; none keeps what the dialog showed (the previous entries).
        std::optional<std::pair<kstring, kstring>> entries;
    };
    static Answer login(const kstring &userName, const kstring &securityCode)
    {
        return {true, std::make_pair(userName, securityCode)};
    }
    static Answer loginAsBefore() { return {true, std::nullopt}; }
    static Answer cancel() { return {false, std::nullopt}; }

    bool askLogin(kstring &userName, kstring &securityCode, const kstring &lastFailure) override
    {
        shownEntries.emplace_back(userName, securityCode);
        shownFailures.push_back(lastFailure);
        if (answers.empty())
            return false;
        const Answer answer = answers.front();
        answers.pop_front();
        if (answer.ok && answer.entries) {
            userName = answer.entries->first;
            securityCode = answer.entries->second;
        }
        return answer.ok;
    }
    void loginRefused(const kstring &reason) override { refusals.push_back(reason); }
    void connectionFailed(const kstring &reason) override
    {
        ++connectionFailures;
        reasons.push_back(reason);
    }
    void appendLog(const kstring &response) override
    {
        log.push_back(response);
        if (onLog)
            onLog(response);
    }
    void downloadError(const kstring &reason) override
    {
        ++downloadErrors;
        reasons.push_back(reason);
    }
    void showDeveloperMessage(const kstring &message) override { messages.push_back(message); }

    std::deque<Answer> answers;
    // What the dialog showed at each login: the entries it held before the user typed.
    std::vector<std::pair<kstring, kstring>> shownEntries;
    // The failure each login dialog reported above its fields ("" on a first login).
    std::vector<kstring> shownFailures;
    // The reason below each "Connection failed!" and "Download error!", in order.
    std::vector<kstring> reasons;
    // What each refused login was told.
    std::vector<kstring> refusals;
    int connectionFailures = 0;
    int downloadErrors = 0;
    std::vector<kstring> log;
    std::vector<kstring> messages;
    // Runs after each log entry: a test's way to change the world between two requests.
    std::function<void(const kstring &)> onLog;
};
