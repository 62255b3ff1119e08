#pragma once

#include <QApplication>
#include <QString>

#include <functional>
#include <type_traits>

// Exceptions never cross a Qt frame: every slot that can fail runs inside `guarded`, which ends
// silently on ECancel (the user cancelled the login) and shows any other error's message in the
// application's standard error box. The program then goes on.
void guarded(const std::function<void()> &work);

// Connects a signal to a handler of `receiver` (a member function or a callable) that runs
// through `guarded`; the connection ends with the receiver.
template <typename Sender, typename Signal, typename Receiver, typename Handler>
QMetaObject::Connection connectGuarded(Sender *sender, Signal signal, Receiver *receiver,
                                       Handler handler)
{
    return QObject::connect(sender, signal, receiver, [receiver, handler] {
        if constexpr (std::is_member_function_pointer_v<Handler>)
            guarded([receiver, handler] { (receiver->*handler)(); });
        else
            guarded(handler);
    });
}

#include <QMessageBox>

// The standard error box: a critical message box with the message.
void showErrorBox(const QString &message);

// A modal box with one OK button: `text` is the fixed main text, `reason` (shown below it when
// not empty) what the user can act on. Outside texts are shown as plain text, never markup.
void showMessageBox(QWidget *parent, QMessageBox::Icon icon, const QString &text,
                    const QString &reason);

// The application object; its notify is the last net for an error that escapes a handler.
class Application : public QApplication
{
public:
    Application(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
