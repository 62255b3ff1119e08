#include "ui/goal_sounds.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace {

const char *const soundFiles[] = {"qrc:/sounds/goal_home.wav", "qrc:/sounds/goal_away.wav",
                                  "qrc:/sounds/goal_us.wav", "qrc:/sounds/goal_them.wav"};

} // namespace

GoalSounds::GoalSounds(QObject *parent) : QObject(parent) {}

bool GoalSounds::audible()
{
    if (!looked) {
        looked = true;
        hasOutput = !QMediaDevices::audioOutputs().isEmpty();
    }
    return hasOutput;
}

void GoalSounds::play(GoalSound sound)
{
    if (!audible())
        return;
    const auto index = std::size_t(sound);
    QSoundEffect *&effect = effects[index];
    if (!effect) {
        effect = new QSoundEffect(this);
        effect->setSource(QUrl(soundFiles[index]));
    }
    // A sound still playing from the goal before starts again.
    effect->stop();
    effect->play();
}
