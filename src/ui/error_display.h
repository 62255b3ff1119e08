#pragma once

#include <QApplication>
#include <QString>

#include <functional>

// Exceptions never cross a Qt frame: every slot that can fail runs inside `guarded`, which ends
// silently on ECancel (the user cancelled the login) and shows any other error's message in the
// application's standard error box. The program then goes on.
void guarded(const std::function<void()> &work);

// The standard error box: QMessageBox::critical with the message.
void showErrorBox(const QString &message);

// Tests replace the box to read the message without blocking; an empty function restores it.
void setErrorBoxForTesting(std::function<void(const QString &)> box);

// The application object; its notify is the last net for an error that escapes a handler.
class Application : public QApplication
{
public:
    Application(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
