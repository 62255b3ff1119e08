#include "live/poll_failures.h"

bool PollFailures::failed(const std::string &kind, const std::string &reason,
                          const std::string &time)
{
    status = "Live: the last poll failed at " + time + " (" + reason + "); retrying every minute.";
    return shownKinds.insert(kind).second;
}

void PollFailures::succeeded()
{
    shownKinds.clear();
    status.clear();
}
