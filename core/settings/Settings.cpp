#include "core/settings/Settings.h"

void Settings::applyDefaults(const QString &programFolder)
{
    AlarmTime = 10;
    PreAlarmTime = 8;
    DoubleView = true;
    ShowReturnMark = false;
    ShowSpaceMark = false;
    LCDForeColor = QStringLiteral("clBlack");
    LCDBackColor = QStringLiteral("clWhite");
    Alarm = true;
    PreAlarm = true;
    // The folder keeps its trailing separator, so the stored path has "//"
    // before Sound; settings files written so far carry that shape.
    AlarmSoundFile = defaultAlarmSoundFile(programFolder);
    PreAlarmSoundFile = defaultPreAlarmSoundFile(programFolder);
}

QString Settings::defaultAlarmSoundFile(const QString &programFolder)
{
    return programFolder + QStringLiteral("/Sound/Timeup.wav");
}

QString Settings::defaultPreAlarmSoundFile(const QString &programFolder)
{
    return programFolder + QStringLiteral("/Sound/Hurryup.wav");
}
