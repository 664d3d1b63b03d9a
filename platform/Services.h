#pragma once

#include <QString>

class Clock;
class Dialogs;
class SoundPlayer;

// The operating-system services a window needs, handed in so tests can
// substitute a clock, a sound recorder and scripted dialogs.
struct Services
{
    Clock &clock;
    SoundPlayer &sound;
    Dialogs &dialogs;
    QString
        programFile; // full path of the executable; the settings file and folders derive from it
};
