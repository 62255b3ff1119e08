#pragma once

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTimer>

// While it lives, answers every message box that comes up: records its main text and its
// reason, optionally saves a picture of it, and closes it with OK. Other modal dialogs (the
// login) are left to the test.
class MessageBoxWatch
{
public:
    struct Shown
    {
        QString text;
        QString reason;
    };

    // A non-empty `screenshotStem` saves the n-th box as stem + "_" + n + ".png".
    explicit MessageBoxWatch(QString screenshotStem = {}) : stem(std::move(screenshotStem))
    {
        QObject::connect(&poll, &QTimer::timeout, [this] { answer(); });
        poll.start(20);
    }

    QList<Shown> boxes;

    QStringList texts() const
    {
        QStringList all;
        for (const Shown &box : boxes)
            all << box.text;
        return all;
    }

private:
    void answer()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        boxes.push_back({box->text(), box->informativeText()});
        if (!stem.isEmpty())
            box->grab().save(stem + "_" + QString::number(boxes.size()) + ".png");
        box->accept();
    }

    QString stem;
    QTimer poll;
};
