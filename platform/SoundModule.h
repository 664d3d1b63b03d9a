#pragma once

#include "platform/SoundPlayer.h"

#include <QString>

#include <memory>

// The sound player lives in a module of its own, vemisound.so, loaded only
// when it is asked for, so that the sound system and its many libraries stay
// out of a window that is coming up.
namespace SoundModule {
// The one folder the module is loaded from: beside a portable program, or
// lib/vemitrainer under an installed program's prefix. A portable copy never
// looks above its own folder: unpacked in /tmp, that is anyone's to write in.
QString folder(const QString &programFolder, bool portable);
// The player of the module in folder; without a usable module there, one that
// only beeps (and says why on standard error).
std::unique_ptr<SoundPlayer> load(const QString &folder);
} // namespace SoundModule
