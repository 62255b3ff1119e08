#pragma once

#include "service/session_ui.h"

class CodeKeyring;

// The session's way to the user, over the real windows: the login dialog, the main window's
// hidden log, message boxes and the publisher's message box.
class WindowSessionUi : public SessionUi
{
public:
    // Where a code the user asks to remember goes (none: the box is off); a new run begins.
    void setKeyring(CodeKeyring *store)
    {
        keyring = store;
        rememberedCodeTried = false;
        lastUserName.clear();
    }

    bool askLogin(kstring &userName, kstring &securityCode, const kstring &lastFailure) override;
    void loginRefused(const kstring &reason) override;
    void connectionFailed(const kstring &reason) override;
    void appendLog(const kstring &response) override;
    void downloadError(const kstring &reason) override;
    void showDeveloperMessage(const kstring &message) override;

private:
    bool logInWithRememberedCode(kstring &userName, kstring &securityCode);
    void keepOrForgetCode(const kstring &userName, const kstring &securityCode);

    CodeKeyring *keyring = nullptr;
    // A remembered code is tried once a run, for the first login only.
    bool rememberedCodeTried = false;
    // The name the last login was made with.
    kstring lastUserName;
};
