#pragma once

#include "platform/SoundPlayer.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

// Plays sound files through the PulseAudio simple API (which PipeWire serves
// as well), one sound at a time, on a thread of its own so the timer tick that
// asks for a sound never waits for it.
class PulseSoundPlayer final : public QObject, public SoundPlayer
{
    Q_OBJECT
public:
    explicit PulseSoundPlayer(QObject *parent = nullptr);
    ~PulseSoundPlayer() override;

    void play(const QString &path) override;

private:
    void run();
    // Plays the file until its end or until a newer sound is asked for; empty
    // when it played, else why it could not be heard.
    QString playFile(const QString &path);
    void failed(const QString &reason);

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::optional<QString> m_request; // the newest sound asked for, not yet started
    bool m_quit = false;
    std::atomic<bool> m_interrupted { false }; // a newer sound or the end waits
    std::thread m_worker;
};
