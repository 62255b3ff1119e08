#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <functional>

// Drives nested modal dialogs: each step waits until its dialog is the active modal one (and
// is ready), then acts from a fresh timer, so an action that opens another dialog does not
// stop the script. A step that does not come within the time-out closes every dialog.
class ModalScript
{
public:
    ModalScript()
    {
        poll.setInterval(20);
        QObject::connect(&poll, &QTimer::timeout, [this] { tick(); });
    }
    void then(QWidget *dialog, std::function<void()> act, std::function<bool()> ready = {})
    {
        steps.push_back({dialog, std::move(ready), std::move(act)});
    }
    void start()
    {
        clock.start();
        poll.start();
    }
    bool finished() const { return steps.empty() && !timedOut; }

private:
    struct Step
    {
        QWidget *dialog;
        std::function<bool()> ready;
        std::function<void()> act;
    };
    void tick()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (clock.elapsed() > 20000) {
            timedOut = true;
            if (auto *dialog = qobject_cast<QDialog *>(modal))
                dialog->reject();
            return;
        }
        if (steps.empty() || modal != steps.front().dialog ||
            (steps.front().ready && !steps.front().ready()))
            return;
        QTimer::singleShot(0, steps.front().act);
        steps.pop_front();
    }

    std::deque<Step> steps;
    QTimer poll;
    QElapsedTimer clock;
    bool timedOut = false;
};
