#pragma once

#include <QString>

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

    // Every key falls back to its default; Seconds is held to its range.
    static FlashSettings load(const QString &settingsFilePath);

    bool operator==(const FlashSettings &) const = default;
};
