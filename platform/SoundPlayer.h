#pragma once

#include <QString>

#include <functional>

// Plays a WAV file in the background; a new sound replaces one still playing.
// A sound that cannot be heard gives at most a beep, and the reason goes to
// the failure handler, if one is set.
class SoundPlayer
{
public:
    // Called on the thread that asked for the sound, with a reason in Japanese
    // that a learner can act on.
    using FailureHandler = std::function<void(const QString &reason)>;

    virtual ~SoundPlayer() = default;
    virtual void play(const QString &path) = 0;
    virtual void setFailureHandler(FailureHandler handler) { m_onFailure = std::move(handler); }

protected:
    void reportFailure(const QString &reason) const
    {
        if (m_onFailure)
            m_onFailure(reason);
    }

private:
    FailureHandler m_onFailure;
};
