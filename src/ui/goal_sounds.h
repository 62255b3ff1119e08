#pragma once

#include "live/live_pages.h"

#include <QObject>

#include <array>

class QSoundEffect;

// Plays the short sound of a goal. Without an audio output the program stays silent: nothing
// is loaded and nothing is reported.
class GoalSounds : public QObject
{
    Q_OBJECT

public:
    explicit GoalSounds(QObject *parent = nullptr);

    void play(GoalSound sound);
    // Whether a device to play on was found (looked for at the first sound).
    bool audible();

private:
    std::array<QSoundEffect *, 4> effects{};
    bool looked = false;
    bool hasOutput = false;
};
