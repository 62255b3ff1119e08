#pragma once

#include "service/session_ui.h"

// The session's way to the user, over the real windows: the login dialog, the main window's
// hidden log, message boxes and the publisher's message box.
class WindowSessionUi : public SessionUi
{
public:
    bool askLogin(kstring &userName, kstring &securityCode, const kstring &lastFailure) override;
    void loginRefused(const kstring &reason) override;
    void connectionFailed(const kstring &reason) override;
    void appendLog(const kstring &response) override;
    void downloadError(const kstring &reason) override;
    void showDeveloperMessage(const kstring &message) override;
};
