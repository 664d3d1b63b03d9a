#pragma once

#include "SoundPlayer.h"

#include <QString>
#include <QStringList>

#include <memory>

// The sound player lives in a module of its own, vemisound.so, loaded only
// when it is asked for, so that the sound system and its many libraries stay
// out of a window that is coming up. The module sits beside the program, or,
// installed, in lib/vemitrainer under the program's prefix.
namespace SoundModule {
// Where the module is looked for, in order.
QStringList folders(const QString &programFolder);
// The module's player; without a usable module, one that only beeps.
std::unique_ptr<SoundPlayer> load(const QString &programFolder);
} // namespace SoundModule
