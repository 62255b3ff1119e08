#include "ui/error_display.h"

#include "Engine/errors.h"

#include <QMessageBox>

#include <exception>

namespace {

std::function<void(const QString &)> &errorBoxHook()
{
    static std::function<void(const QString &)> hook;
    return hook;
}

// Runs `work`, showing what it raises.
template<typename Work>
void showingErrors(Work &&work)
{
    try {
        work();
    } catch (const ECancel &) {
        // The user cancelled the login dialog: the work ends without a word.
    } catch (const std::exception &e) {
        showErrorBox(QString::fromUtf8(e.what()));
    } catch (...) {
        showErrorBox(QString());
    }
}

} // namespace

void showErrorBox(const QString &message)
{
    if (errorBoxHook()) {
        errorBoxHook()(message);
        return;
    }
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), message);
}

void setErrorBoxForTesting(std::function<void(const QString &)> box)
{
    errorBoxHook() = std::move(box);
}

void guarded(const std::function<void()> &work)
{
    showingErrors(work);
}

Application::Application(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName("StrikoraKey");
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    bool handled = false;
    showingErrors([&] { handled = QApplication::notify(receiver, event); });
    return handled;
}
