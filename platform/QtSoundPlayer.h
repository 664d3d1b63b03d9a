#pragma once

#include "SoundPlayer.h"

#include <QObject>

class QSoundEffect;

// Plays WAV files through Qt Multimedia, one sound at a time.
class QtSoundPlayer final : public QObject, public SoundPlayer
{
    Q_OBJECT
public:
    explicit QtSoundPlayer(QObject *parent = nullptr);
    void play(const QString &path) override;

private:
    void startWhenLoaded();

    QSoundEffect *m_effect = nullptr;
};
