#pragma once

#include "Settings.h"

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
    explicit SettingsFile(const QString &path);

    QString path() const { return m_path; }
    bool exists() const;

    // Reads every key, each falling back to its default; never fails.
    FontTexts load(Settings &settings, QStringList &scores) const;

    // Writes every key, keeping whatever else the file holds. Throws VemiError
    // "<path> に書き込めません" when the file cannot be written.
    void save(const Settings &settings, const FontTexts &font, const QStringList &scores) const;

private:
    QString m_path;
};
