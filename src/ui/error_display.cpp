#include "ui/error_display.h"

#include "Engine/errors.h"
#include "qt_text/qt_text.h"

#include <QLabel>
#include <QMessageBox>

#include <string>
#include <utility>

namespace {

// Runs `work`, showing what it raises.
template <typename Work> void showingErrors(Work &&work)
{
    reportingErrors(std::forward<Work>(work), [](const std::string &message) {
        showErrorBox(message.empty() ? QString("An unknown error occurred.") : toQString(message));
    });
}

} // namespace

void showErrorBox(const QString &message)
{
    showMessageBox(QApplication::activeWindow(), QMessageBox::Critical, message, {});
}

void showMessageBox(QWidget *parent, QMessageBox::Icon icon, const QString &text,
                    const QString &reason)
{
    QMessageBox box(icon, QApplication::applicationName(), text, QMessageBox::Ok, parent);
    box.setObjectName("messageBox");
    box.setTextFormat(Qt::PlainText);
    if (!reason.isEmpty()) {
        box.setInformativeText(reason);
        if (auto *label = box.findChild<QLabel *>("qt_msgbox_informativelabel"))
            label->setTextFormat(Qt::PlainText);
    }
    box.exec();
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
