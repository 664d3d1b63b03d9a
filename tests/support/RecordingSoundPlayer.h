#pragma once

#include "platform/SoundPlayer.h"

#include <QStringList>

// Remembers every sound it was asked to play instead of playing it.
class RecordingSoundPlayer final : public SoundPlayer
{
public:
    QStringList played;
    void play(const QString &path) override { played << path; }
};
