#pragma once

#include "core/settings/ExamSettings.h"
#include "core/settings/FlashSettings.h"
#include "core/settings/Settings.h"
#include "core/settings/SettingsValues.h"
#include "core/settings/SheetSettings.h"

#include <QStringList>

// The font face and size live in the main window's font boxes as texts, and
// are stored as they stand.
struct FontTexts
{
    QString name;
    QString size;
};

// The settings file, the one owner of it: every section (the exam's too) is
// read through it at start-up and written through it in one save, at exit and
// when a ten-minute score is taken.
class SettingsFile
{
public:
    // soundFolder is where the default sound paths begin (Settings::applyDefaults);
    // left out, it is the settings file's own folder, as beside the program.
    explicit SettingsFile(const QString &path, const QString &soundFolder = QString());

    QString path() const { return m_path; }
    bool exists() const;

    // Reads every key, each falling back to its default; never fails. The
    // scores are appended to `scores`.
    FontTexts load(Settings &settings, QStringList &scores, ExamSettings &exam,
        FlashSettings &flash, SheetSettings &sheet);
    FontTexts load(
        Settings &settings, QStringList &scores, ExamSettings &exam, FlashSettings &flash);
    FontTexts load(Settings &settings, QStringList &scores, ExamSettings &exam);
    FontTexts load(Settings &settings, QStringList &scores);

    // A value written with "?" for each character the file's encoding cannot hold.
    using ReplacedValue = SettingsWriter::Replaced;

    // Writes every key, keeping whatever else the file holds, and returns the
    // values that will read back differently. A default sound path is not among
    // them: load() recognises it. Throws VemiError "<path> に書き込めません" when
    // the file cannot be written.
    //
    // The score list written is the one the file holds now followed by the
    // entries of `scores` this object has neither loaded nor written (those past
    // the ones it has), in order, each once; `scores` becomes that list once it
    // is on the disk. So a second copy of the program on the same file keeps the
    // scores the first one wrote meanwhile. Other keys: the last save wins.
    QList<ReplacedValue> save(const Settings &settings, const FontTexts &font,
        const ExamSettings &exam, const SheetSettings &sheet, QStringList &scores);
    // As above, with the [Sheet] section left as the file has it.
    QList<ReplacedValue> save(const Settings &settings, const FontTexts &font,
        const ExamSettings &exam, QStringList &scores);

private:
    QList<ReplacedValue> saveSections(const Settings &settings, const FontTexts &font,
        const ExamSettings &exam, const SheetSettings *sheet, QStringList &scores);
    QString programFolder() const;

    QString m_path;
    QString m_soundFolder;
    qsizetype m_scoresOnFile = 0; // the leading entries of the list the file has
};
