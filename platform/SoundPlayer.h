#pragma once

#include <QString>

// Plays a WAV file in the background; a new sound replaces one still playing.
// Failures are never reported: an unplayable path gives at most a beep.
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    virtual void play(const QString &path) = 0;
};
