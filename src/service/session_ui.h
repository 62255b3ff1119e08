#pragma once

#include "Engine/kstring.h"

// What the session needs of the windows. The service layer declares it, the user interface
// implements it, and tests script it.
class SessionUi
{
public:
    virtual ~SessionUi() = default;

    // Shows the login dialog modally; true when the user pressed Login. Fills in the typed
    // entries. `lastFailure` is the reason the previous request failed when the login is asked
    // again to retry it, and empty on a first login.
    virtual bool askLogin(kstring &userName, kstring &securityCode, const kstring &lastFailure) = 0;
    // The service answered the login and refused it; `reason` gives its words. The login is
    // asked again after this.
    virtual void loginRefused(const kstring &reason) = 0;
    // Error box "Connection failed!" with one OK button; `reason` says which server and why.
    virtual void connectionFailed(const kstring &reason) = 0;
    // One entry in the main window's hidden log.
    virtual void appendLog(const kstring &response) = 0;
    // Plain message box "Download error!" with the reason below it.
    virtual void downloadError(const kstring &reason) = 0;
    // The publisher's message, shown modally.
    virtual void showDeveloperMessage(const kstring &message) = 0;
};
