#include "platform/LazySoundPlayer.h"

#include <utility>

LazySoundPlayer::LazySoundPlayer(Maker make)
    : m_make(std::move(make))
{ }

LazySoundPlayer::~LazySoundPlayer() = default;

void LazySoundPlayer::play(const QString &path)
{
    if (!m_player) {
        m_player = m_make();
        m_player->setFailureHandler(m_onFailure);
    }
    m_player->play(path);
}

// Kept until the player is made, which is also when failures can first happen.
void LazySoundPlayer::setFailureHandler(FailureHandler handler)
{
    m_onFailure = std::move(handler);
    if (m_player)
        m_player->setFailureHandler(m_onFailure);
}
