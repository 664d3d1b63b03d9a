#pragma once

#include "platform/SoundPlayer.h"

#include <QStringList>

// Remembers every sound it was asked to play instead of playing it.
class RecordingSoundPlayer final : public SoundPlayer
{
public:
    QStringList played;
    QString failure; // set: every sound fails, for this reason
    void play(const QString &path) override
    {
        played << path;
        if (!failure.isEmpty())
            reportFailure(failure);
    }
};
