#include "ui/window_session_ui.h"

#include "qt_text/qt_text.h"
#include "ui/error_display.h"
#include "ui/login_dialog.h"
#include "ui/main_window.h"
#include "ui/message_dialog.h"

#include <QMessageBox>

bool WindowSessionUi::askLogin(kstring &userName, kstring &securityCode, const kstring &lastFailure)
{
    return frmLogin->askLogin(userName, securityCode, lastFailure);
}

void WindowSessionUi::loginRefused(const kstring &reason)
{
    showMessageBox(frmMain, QMessageBox::Warning, toQString(reason), {});
    // The refused code is not offered again.
    frmLogin->forgetCode();
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
