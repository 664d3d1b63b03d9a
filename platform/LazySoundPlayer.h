#pragma once

#include "platform/SoundPlayer.h"

#include <functional>
#include <memory>

// A sound player that makes the real one only when the first sound is asked
// for, so that the sound system is not set up while the window comes up, nor
// at all in a session that never sounds.
class LazySoundPlayer final : public SoundPlayer
{
public:
    using Maker = std::function<std::unique_ptr<SoundPlayer>()>;

    explicit LazySoundPlayer(Maker make);
    ~LazySoundPlayer() override;

    void play(const QString &path) override;
    void setFailureHandler(FailureHandler handler) override;
    bool isMade() const { return m_player != nullptr; }

private:
    Maker m_make;
    std::unique_ptr<SoundPlayer> m_player;
    FailureHandler m_onFailure;
};
