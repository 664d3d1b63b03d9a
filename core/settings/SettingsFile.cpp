#include "core/settings/SettingsFile.h"

#include "core/Errors.h"
#include "core/text/Cp932.h"
#include "core/text/IntegerText.h"
#include "core/text/TextFile.h"
#include "platform/IniProfile.h"
#include "platform/ProgramPath.h"
#include "platform/RegularFile.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>

namespace {

// Values are CP932, or UTF-8 in a file that an editor saved with a byte order mark.
class ProfileReader
{
public:
    explicit ProfileReader(const IniProfile &profile)
        : m_profile(profile)
    { }
    QString string(const char *section, const QByteArray &key, const QString &fallback) const
    {
        const QByteArray bytes = m_profile.readString(section, key, Cp932::encode(fallback));
        if (m_profile.startsWithUtf8Bom()) {
            QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
            const QString text = utf8.decode(bytes);
            if (!utf8.hasError())
                return text;
        }
        return Cp932::decode(bytes);
    }
    qint32 integer(const char *section, const char *key, qint32 fallback) const
    {
        // An empty default makes a missing key read as unparsable, hence the fallback.
        return IntegerText::fromSetting(string(section, key, QString()), fallback);
    }
    bool boolean(const char *section, const char *key, bool fallback) const
    {
        return integer(section, key, fallback ? 1 : 0) != 0;
    }
    // A default sound path in a program folder whose name CP932 cannot hold was
    // written with "?" (or, by older versions, the codec's substitute) in place of
    // those characters; it is recognised by exactly those bytes and read back whole.
    QString soundPath(const QByteArray &key, const QString &defaultPath) const
    {
        const QByteArray bytes = m_profile.readString("General", key, QByteArray());
        if (!m_profile.startsWithUtf8Bom() && !Cp932::holds(defaultPath)
            && (bytes == Cp932::encodeReplacing(defaultPath)
                || bytes == Cp932::encode(defaultPath)))
            return defaultPath;
        return string("General", key, QString());
    }

private:
    const IniProfile &m_profile;
};

class ProfileWriter
{
public:
    ProfileWriter(IniProfile &profile, const QString &programFolder)
        : m_profile(profile)
        , m_programFolder(programFolder)
    { }
    void string(const char *section, const QByteArray &key, const QString &value)
    {
        if (m_profile.startsWithUtf8Bom()) {
            m_profile.writeString(section, key, value.toUtf8());
            return;
        }
        m_profile.writeString(section, key, Cp932::encodeReplacing(value));
        if (const auto lost = TextFile::firstUnmappable(value); lost && !isDefaultSoundPath(value))
            m_replaced.append({ QString::fromLatin1(key), value, lost->character });
    }
    void integer(const char *section, const char *key, qint32 value)
    {
        string(section, key, QString::number(value));
    }
    void boolean(const char *section, const char *key, bool value)
    {
        string(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
    }
    QList<SettingsFile::ReplacedValue> replaced() const { return m_replaced; }

private:
    bool isDefaultSoundPath(const QString &value) const
    {
        return value == Settings::defaultAlarmSoundFile(m_programFolder)
            || value == Settings::defaultPreAlarmSoundFile(m_programFolder);
    }

    IniProfile &m_profile;
    QString m_programFolder;
    QList<SettingsFile::ReplacedValue> m_replaced;
};

QByteArray scoreKey(qsizetype index)
{
    return "Score" + QByteArray::number(index);
}

// Entries past the highest Score key in the file could only be the default
// "0", and no learner records more than MaxScoreEntries ten-minute runs: a
// huge or corrupt ScoreCount must neither hang start-up nor fill memory.
constexpr qint64 MaxScoreEntries = 100000;

qsizetype scoresToRead(const IniProfile &profile, qint32 scoreCount)
{
    static const QRegularExpression scoreKeyPattern(
        QStringLiteral("^score(0|[1-9][0-9]{0,9})$"), QRegularExpression::CaseInsensitiveOption);
    qint64 highest = -1;
    for (const QByteArray &key : profile.keys("Score")) {
        const auto match = scoreKeyPattern.match(QString::fromLatin1(key));
        if (match.hasMatch())
            highest = std::max(highest, match.captured(1).toLongLong());
    }
    return qsizetype(std::min({ qint64(scoreCount), highest + 1, MaxScoreEntries }));
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

FontTexts SettingsFile::load(Settings &settings, QStringList &scores) const
{
    const IniProfile profile(m_path);
    const ProfileReader read(profile);
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
    const qsizetype count = scoresToRead(profile, read.integer("Score", "ScoreCount", 0));
    for (qsizetype i = 0; i < count; ++i)
        scores << read.string("Score", scoreKey(i), QStringLiteral("0"));
    return font;
}

QList<SettingsFile::ReplacedValue> SettingsFile::save(
    const Settings &settings, const FontTexts &font, const QStringList &scores) const
{
    IniProfile profile(m_path);
    ProfileWriter write(profile, programFolder());
    write.boolean("General", "DoubleView", settings.DoubleView);
    write.string("Font", "FontName", font.name);
    write.string("Font", "FontSize", font.size);
    write.integer("Timer", "AlarmTime", settings.AlarmTime);
    write.integer("Timer", "PreAlarmTime", settings.PreAlarmTime);
    write.boolean("Timer", "Alarm", settings.Alarm);
    write.boolean("Timer", "PreAlarm", settings.PreAlarm);
    write.boolean("General", "ShowReturnMark", settings.ShowReturnMark);
    write.boolean("General", "ShowSpaceMark", settings.ShowSpaceMark);
    write.integer("Score", "ScoreCount", qint32(scores.size()));
    write.string("Color", "LCDForeColor", settings.LCDForeColor);
    write.string("Color", "LCDBackColor", settings.LCDBackColor);
    write.string("General", "AlarmSoundFile", settings.AlarmSoundFile);
    write.string("General", "PreAlarmSoundFile", settings.PreAlarmSoundFile);
    for (qsizetype i = 0; i < scores.size(); ++i)
        write.string("Score", scoreKey(i), scores.at(i));
    if (!profile.save())
        throw VemiError(QStringLiteral("%1 に書き込めません").arg(m_path));
    return write.replaced();
}
