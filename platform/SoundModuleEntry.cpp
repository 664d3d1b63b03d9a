#include "platform/PulseSoundPlayer.h"

#include <QtGlobal>

// The sound module's one entry point; the caller owns the player.
extern "C" Q_DECL_EXPORT SoundPlayer *vemiMakeSoundPlayer()
{
    return new PulseSoundPlayer;
}
