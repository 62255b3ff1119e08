#include "ui/error_display.h"

#include "Engine/errors.h"

#include <QMessageBox>

#include <string>
#include <utility>

namespace {

std::function<void(const QString &)> &errorBoxHook()
{
    static std::function<void(const QString &)> hook;
    return hook;
}

// Runs `work`, showing what it raises.
template <typename Work> void showingErrors(Work &&work)
{
    reportingErrors(std::forward<Work>(work), [](const std::string &message) {
        showErrorBox(QString::fromStdString(message));
    });
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
