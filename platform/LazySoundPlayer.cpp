#include "platform/LazySoundPlayer.h"

#include <utility>

LazySoundPlayer::LazySoundPlayer(Maker make)
    : m_make(std::move(make))
{ }

LazySoundPlayer::~LazySoundPlayer() = default;

void LazySoundPlayer::play(const QString &path)
{
    if (!m_player)
        m_player = m_make();
    m_player->play(path);
}
