// Settings file: whatever a file holds, what loads from it is saved and loads
// back the same, unless the save reported a value it had to replace.
#include "core/settings/SettingsFile.h"
#include "tests/fuzz/FuzzFile.h"

#include <cstdio>

namespace {

QStringList snapshot(const Settings &s, const FontTexts &font, const QStringList &scores)
{
    return QStringList { QString::number(s.AlarmTime), QString::number(s.PreAlarmTime),
        QString::number(s.Alarm), QString::number(s.PreAlarm), QString::number(s.DoubleView),
        QString::number(s.ShowReturnMark), QString::number(s.ShowSpaceMark), s.LCDForeColor,
        s.LCDBackColor, s.AlarmSoundFile, s.PreAlarmSoundFile, font.name, font.size }
    + scores;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = scratchFile("vemitrainer.ini", data, size);
    const QString soundFolder = QStringLiteral("/opt/vemi/");
    SettingsFile file(path, soundFolder);
    Settings settings;
    QStringList scores;
    ExamSettings exam;
    const FontTexts font = file.load(settings, scores, exam);
    if (!file.save(settings, font, exam, scores).isEmpty())
        return 0;
    Settings again;
    QStringList scoresAgain;
    ExamSettings examAgain;
    const FontTexts fontAgain = SettingsFile(path, soundFolder).load(again, scoresAgain, examAgain);
    FUZZ_CHECK(snapshot(again, fontAgain, scoresAgain) == snapshot(settings, font, scores));
    FUZZ_CHECK(examAgain == exam);
    return 0;
}
