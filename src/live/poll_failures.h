#pragma once

#include <set>
#include <string>

// What a run of failing polls tells the user. The first failure of each kind since the last
// good answer is shown in a box; the rest only in a status line, so a night of failures leaves
// one box of each kind, not one a minute. A good answer ends the run.
class PollFailures
{
public:
    // A poll failed with an error of `kind` (its class) for `reason` at `time` ("14:02"). True
    // when the caller is to show it in a box.
    bool failed(const std::string &kind, const std::string &reason, const std::string &time);
    void succeeded();
    // "Live: the last poll failed at 14:02 (<reason>); retrying every minute.", or empty after
    // a good answer.
    const std::string &statusText() const { return status; }

private:
    std::set<std::string> shownKinds;
    std::string status;
};
