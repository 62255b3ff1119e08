#include "ui/window_session_ui.h"

#include "grid/widget/ziv_edit.h"
#include "qt_text/qt_text.h"
#include "ui/code_keyring.h"
#include "ui/error_display.h"
#include "ui/login_dialog.h"
#include "ui/main_window.h"
#include "ui/message_dialog.h"

#include <QCheckBox>
#include <QMessageBox>

bool WindowSessionUi::askLogin(kstring &userName, kstring &securityCode, const kstring &lastFailure)
{
    if (lastFailure.empty() && logInWithRememberedCode(userName, securityCode))
        return true;
    frmLogin->offerRemembering(keyring ? keyring->unavailableReason()
                                       : QString("No keyring is set up for this program."));
    if (!frmLogin->askLogin(userName, securityCode, lastFailure))
        return false;
    lastUserName = userName;
    keepOrForgetCode(userName, securityCode);
    return true;
}

bool WindowSessionUi::logInWithRememberedCode(kstring &userName, kstring &securityCode)
{
    if (rememberedCodeTried || !keyring || frmLogin->userName().empty())
        return false;
    rememberedCodeTried = true;
    const QString name = frmLogin->txtUsername->text();
    const std::optional<QString> code = keyring->read(name);
    if (!code)
        return false;
    userName = lastUserName = toKstring(name);
    securityCode = toKstring(*code);
    frmLogin->chkRememberCode->setChecked(true);
    return true;
}

// Kept only when asked for; an unticked box forgets what an earlier run kept.
void WindowSessionUi::keepOrForgetCode(const kstring &userName, const kstring &securityCode)
{
    if (!keyring || !frmLogin->chkRememberCode->isEnabled())
        return;
    if (frmLogin->chkRememberCode->isChecked())
        keyring->write(toQString(userName), toQString(securityCode));
    else
        keyring->remove(toQString(userName));
}

void WindowSessionUi::loginRefused(const kstring &reason)
{
    showMessageBox(frmMain, QMessageBox::Warning, toQString(reason), {});
    // The refused code is not offered again, from the dialog or from the keyring.
    frmLogin->forgetCode();
    if (keyring && !lastUserName.empty())
        keyring->remove(toQString(lastUserName));
}

void WindowSessionUi::connectionFailed(const kstring &reason)
{
    showMessageBox(frmMain, QMessageBox::Critical, "Connection failed!", toQString(reason));
}

void WindowSessionUi::appendLog(const kstring &response)
{
    frmMain->appendLog(toQString(response));
}

void WindowSessionUi::downloadError(const kstring &reason)
{
    showMessageBox(frmMain, QMessageBox::Information, "Download error!", toQString(reason));
}

void WindowSessionUi::showDeveloperMessage(const kstring &message)
{
    frmMessage->showMessage(message);
}
