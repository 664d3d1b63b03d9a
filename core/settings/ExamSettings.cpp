#include "core/settings/ExamSettings.h"

#include "core/Errors.h"
#include "core/text/Cp932.h"
#include "core/text/IntegerText.h"
#include "platform/IniProfile.h"

#include <QStringDecoder>

#include <algorithm>

namespace {
constexpr const char *Section = "Exam";

// Values are CP932, or UTF-8 in a file an editor saved with a byte order mark.
QString readText(const IniProfile &profile, const char *key)
{
    const QByteArray bytes = profile.readString(Section, key, QByteArray());
    if (profile.startsWithUtf8Bom()) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
        const QString text = utf8.decode(bytes);
        if (!utf8.hasError())
            return text;
    }
    return Cp932::decode(bytes);
}

int readNumber(const IniProfile &profile, const char *key, int fallback, int low, int high)
{
    return std::clamp(int(IntegerText::fromSetting(readText(profile, key), fallback)), low, high);
}

void writeText(IniProfile &profile, const char *key, const QString &value)
{
    profile.writeString(
        Section, key, profile.startsWithUtf8Bom() ? value.toUtf8() : Cp932::encode(value));
}
} // namespace

ExamSettings ExamSettings::load(const QString &settingsFilePath)
{
    const IniProfile profile(settingsFilePath);
    ExamSettings exam;
    const QString level = readText(profile, "Level").trimmed();
    for (const ExamLevel &known : ExamProfile::levels(exam.CustomPenalty, exam.CustomPassMark))
        if (known.name == level)
            exam.Level = level;
    exam.CustomPenalty
        = readNumber(profile, "CustomPenalty", exam.CustomPenalty, MinPenalty, MaxPenalty);
    exam.CustomPassMark
        = readNumber(profile, "CustomPassMark", exam.CustomPassMark, MinPassMark, MaxPassMark);
    exam.ShowFigures = IntegerText::fromSetting(readText(profile, "ShowFigures"), 1) != 0;
    return exam;
}

// A file that never had the section gets it only once a choice differs from the
// defaults, so a learner who never scores keeps the file older versions write.
void ExamSettings::save(const QString &settingsFilePath) const
{
    IniProfile profile(settingsFilePath);
    if (profile.keys(Section).isEmpty() && *this == ExamSettings())
        return;
    writeText(profile, "Level", Level);
    writeText(profile, "CustomPenalty", QString::number(CustomPenalty));
    writeText(profile, "CustomPassMark", QString::number(CustomPassMark));
    writeText(profile, "ShowFigures", ShowFigures ? QStringLiteral("1") : QStringLiteral("0"));
    if (!profile.save())
        throw VemiError(QStringLiteral("%1 に書き込めません").arg(settingsFilePath));
}

int ExamSettings::levelIndex() const
{
    const QList<ExamLevel> levels = ExamProfile::levels(CustomPenalty, CustomPassMark);
    for (int i = 0; i < levels.size(); ++i)
        if (levels.at(i).name == Level)
            return i;
    return ExamProfile::DefaultIndex;
}

ExamLevel ExamSettings::level() const
{
    return ExamProfile::levels(CustomPenalty, CustomPassMark).at(levelIndex());
}
