#include "core/settings/SettingsFile.h"

#include "core/Errors.h"
#include "core/settings/SettingsValues.h"
#include "platform/IniProfile.h"
#include "platform/ProgramPath.h"
#include "platform/RegularFile.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

QByteArray scoreKey(qsizetype index)
{
    return "Score" + QByteArray::number(index);
}

// Entries past the highest Score key in the file could only be the default
// "0", and no learner records more than MaxScoreEntries ten-minute runs: a
// huge or corrupt ScoreCount must neither hang start-up nor fill memory.
constexpr qint64 MaxScoreEntries = 100000;

qsizetype scoresToRead(const SettingsReader &read)
{
    const qint32 scoreCount = read.integer("Score", "ScoreCount", 0);
    static const QRegularExpression scoreKeyPattern(
        QStringLiteral("^score(0|[1-9][0-9]{0,9})$"), QRegularExpression::CaseInsensitiveOption);
    qint64 highest = -1;
    for (const QByteArray &key : read.keys("Score")) {
        const auto match = scoreKeyPattern.match(QString::fromLatin1(key));
        if (match.hasMatch())
            highest = std::max(highest, match.captured(1).toLongLong());
    }
    return qsizetype(std::min({ qint64(scoreCount), highest + 1, MaxScoreEntries }));
}

QStringList readScores(const SettingsReader &read)
{
    QStringList scores;
    const qsizetype count = scoresToRead(read);
    scores.reserve(count);
    for (qsizetype i = 0; i < count; ++i)
        scores << read.string("Score", scoreKey(i), QStringLiteral("0"));
    return scores;
}

} // namespace

QString SettingsFile::programFolder() const
{
    return m_soundFolder;
}

SettingsFile::SettingsFile(const QString &path, const QString &soundFolder)
    : m_path(path)
    , m_soundFolder(soundFolder.isNull() ? ProgramPath::folderOf(path) : soundFolder)
{ }

bool SettingsFile::exists() const
{
    return RegularFile::isRegular(m_path);
}

FontTexts SettingsFile::load(Settings &settings, QStringList &scores, ExamSettings &exam)
{
    FlashSettings flash;
    return load(settings, scores, exam, flash);
}

FontTexts SettingsFile::load(
    Settings &settings, QStringList &scores, ExamSettings &exam, FlashSettings &flash)
{
    SheetSettings sheet;
    return load(settings, scores, exam, flash, sheet);
}

FontTexts SettingsFile::load(Settings &settings, QStringList &scores, ExamSettings &exam,
    FlashSettings &flash, SheetSettings &sheet)
{
    const IniProfile profile(m_path);
    const SettingsReader read(profile);
    const QString error = QStringLiteral("Error");
    FontTexts font;
    font.name = read.string("Font", "FontName", error);
    font.size = read.string("Font", "FontSize", error);
    settings.AlarmTime = read.integer("Timer", "AlarmTime", 10);
    settings.PreAlarmTime = read.integer("Timer", "PreAlarmTime", 8);
    settings.Alarm = read.boolean("Timer", "Alarm", true);
    settings.PreAlarm = read.boolean("Timer", "PreAlarm", true);
    settings.DoubleView = read.boolean("General", "DoubleView", true);
    settings.ShowReturnMark = read.boolean("General", "ShowReturnMark", false);
    settings.ShowSpaceMark = read.boolean("General", "ShowSpaceMark", false);
    settings.LCDForeColor = read.string("Color", "LCDForeColor", QStringLiteral("clBlack"));
    settings.LCDBackColor = read.string("Color", "LCDBackColor", QStringLiteral("clWhite"));
    settings.AlarmSoundFile
        = read.soundPath("AlarmSoundFile", Settings::defaultAlarmSoundFile(programFolder()));
    settings.PreAlarmSoundFile
        = read.soundPath("PreAlarmSoundFile", Settings::defaultPreAlarmSoundFile(programFolder()));
    scores << readScores(read);
    m_scoresOnFile = scores.size();
    exam = ExamSettings::read(read);
    flash = FlashSettings::read(read);
    sheet = SheetSettings::read(read);
    return font;
}

FontTexts SettingsFile::load(Settings &settings, QStringList &scores)
{
    ExamSettings exam;
    return load(settings, scores, exam);
}

// The scores go after those the file holds now: another copy of the program
// may have added some since this one read the file, and they must stay.
QList<SettingsFile::ReplacedValue> SettingsFile::save(const Settings &settings,
    const FontTexts &font, const ExamSettings &exam, const SheetSettings &sheet,
    QStringList &scores)
{
    return saveSections(settings, font, exam, &sheet, scores);
}

QList<SettingsFile::ReplacedValue> SettingsFile::save(
    const Settings &settings, const FontTexts &font, const ExamSettings &exam, QStringList &scores)
{
    return saveSections(settings, font, exam, nullptr, scores);
}

QList<SettingsFile::ReplacedValue> SettingsFile::saveSections(const Settings &settings,
    const FontTexts &font, const ExamSettings &exam, const SheetSettings *sheet,
    QStringList &scores)
{
    IniProfile profile(m_path);
    const QStringList merged = readScores(SettingsReader(profile)) + scores.mid(m_scoresOnFile);
    SettingsWriter write(profile,
        { Settings::defaultAlarmSoundFile(programFolder()),
            Settings::defaultPreAlarmSoundFile(programFolder()) });
    write.boolean("General", "DoubleView", settings.DoubleView);
    write.string("Font", "FontName", font.name);
    write.string("Font", "FontSize", font.size);
    write.integer("Timer", "AlarmTime", settings.AlarmTime);
    write.integer("Timer", "PreAlarmTime", settings.PreAlarmTime);
    write.boolean("Timer", "Alarm", settings.Alarm);
    write.boolean("Timer", "PreAlarm", settings.PreAlarm);
    write.boolean("General", "ShowReturnMark", settings.ShowReturnMark);
    write.boolean("General", "ShowSpaceMark", settings.ShowSpaceMark);
    write.integer("Score", "ScoreCount", qint32(merged.size()));
    write.string("Color", "LCDForeColor", settings.LCDForeColor);
    write.string("Color", "LCDBackColor", settings.LCDBackColor);
    write.string("General", "AlarmSoundFile", settings.AlarmSoundFile);
    write.string("General", "PreAlarmSoundFile", settings.PreAlarmSoundFile);
    for (qsizetype i = 0; i < merged.size(); ++i)
        write.string("Score", scoreKey(i), merged.at(i));
    exam.write(write);
    if (sheet)
        sheet->write(write);
    if (!profile.save())
        throw VemiError(QStringLiteral("%1 に書き込めません").arg(m_path));
    scores = merged;
    m_scoresOnFile = merged.size();
    return write.replaced();
}
