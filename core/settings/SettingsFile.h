#pragma once

#include "core/settings/Settings.h"

#include <QStringList>

// The font face and size live in the main window's font boxes as texts, and
// are stored as they stand.
struct FontTexts
{
    QString name;
    QString size;
};

// The settings file: read once at start-up, written once at exit.
class SettingsFile
{
public:
    // soundFolder is where the default sound paths begin (Settings::applyDefaults);
    // left out, it is the settings file's own folder, as beside the program.
    explicit SettingsFile(const QString &path, const QString &soundFolder = QString());

    QString path() const { return m_path; }
    bool exists() const;

    // Reads every key, each falling back to its default; never fails.
    FontTexts load(Settings &settings, QStringList &scores) const;

    // A value written with "?" for each character the file's encoding cannot hold.
    struct ReplacedValue
    {
        QString key;
        QString value;
        QString character; // the first one replaced
    };

    // Writes every key, keeping whatever else the file holds, and returns the
    // values that will read back differently. A default sound path is not among
    // them: load() recognises it. Throws VemiError "<path> に書き込めません" when
    // the file cannot be written.
    QList<ReplacedValue> save(
        const Settings &settings, const FontTexts &font, const QStringList &scores) const;

private:
    QString programFolder() const;

    QString m_path;
    QString m_soundFolder;
};
