#pragma once

#include "platform/SoundPlayer.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include <optional>

class QSoundEffect;

// Plays WAV files through Qt Multimedia, one sound at a time.
class QtSoundPlayer final : public QObject, public SoundPlayer
{
    Q_OBJECT
public:
    explicit QtSoundPlayer(QObject *parent = nullptr);
    ~QtSoundPlayer() override;

    void play(const QString &path) override;

    // The same sound with `milliseconds` of silence after its last sample, as a
    // plain PCM (or float) WAV; nothing when `wav` is not such a file.
    static std::optional<QByteArray> withTrailingSilence(const QByteArray &wav, int milliseconds);

private:
    void load(const QString &path);
    void startWhenLoaded();
    QString stage(const QByteArray &wav);

    QSoundEffect *m_effect = nullptr;
    QTemporaryDir m_stagingDir;
    QString m_staged;
    std::optional<QString> m_pending; // asked for while another sound was loading
    quint64 m_stagedCount = 0;
};
