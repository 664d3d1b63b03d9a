#pragma once

#include <QString>

class SettingsReader;

// How the time display flashes at the pre-alarm and the alarm, so that an
// alarm is seen even where it cannot be heard. Kept in the settings file's
// [Flash] section, which files from before the flash simply lack: they read as
// the defaults, flashing on.
struct FlashSettings
{
    static constexpr int MinSeconds = 1;
    static constexpr int MaxSeconds = 60;

    bool Enabled = true;
    int Seconds = 5; // how long the display flashes

    // The section is one of the settings file's (SettingsFile reads it). Every
    // key falls back to its default; Seconds is held to its range. The program
    // never writes the section: a learner who sets it keeps it, since a save
    // keeps whatever else the file holds.
    static FlashSettings read(const SettingsReader &read);

    bool operator==(const FlashSettings &) const = default;
};
