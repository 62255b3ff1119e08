#include "ui/window_session_ui.h"

#include "ui/login_dialog.h"
#include "ui/main_window.h"
#include "ui/message_dialog.h"

#include <QApplication>
#include <QMessageBox>

namespace {

QString fromKstring(const kstring &text)
{
    return QString::fromUtf8(text.data(), int(text.size()));
}

} // namespace

bool WindowSessionUi::askLogin(kstring &userName, kstring &securityCode)
{
    return frmLogin->askLogin(userName, securityCode);
}

void WindowSessionUi::connectionFailed()
{
    QMessageBox::critical(frmMain, QApplication::applicationName(), "Connection failed!",
                          QMessageBox::Ok);
}

void WindowSessionUi::appendLog(const kstring &response)
{
    frmMain->appendLog(fromKstring(response));
}

void WindowSessionUi::downloadError()
{
    QMessageBox::information(frmMain, QApplication::applicationName(), "Download error!");
}

void WindowSessionUi::showDeveloperMessage(const kstring &message)
{
    frmMessage->showMessage(message);
}
