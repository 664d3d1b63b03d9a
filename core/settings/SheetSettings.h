#pragma once

class SettingsReader;
class SettingsWriter;

// Whether the panes show the exam's answer sheet (40 full-width columns a line,
// numbered). Kept in the settings file's [Sheet] section, which files from
// before the sheet simply lack: they read as off.
struct SheetSettings
{
    bool Enabled = false;

    // Every key falls back to its default.
    static SheetSettings read(const SettingsReader &read);
    // A file without the section gets it only once the sheet is switched on,
    // so a learner who never uses it keeps the file older versions write.
    void write(SettingsWriter &write) const;

    bool operator==(const SheetSettings &) const = default;
};
