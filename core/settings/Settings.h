#pragma once

#include <QString>

// The learner's settings between start-up and exit. Each field bears the name
// of its key in the settings file.
struct Settings
{
    qint32 AlarmTime = 0; // minutes
    qint32 PreAlarmTime = 0; // minutes
    bool Alarm = false;
    bool PreAlarm = false;
    bool DoubleView = false;
    bool ShowReturnMark = false;
    bool ShowSpaceMark = false;
    QString LCDForeColor;
    QString LCDBackColor;
    QString AlarmSoundFile;
    QString PreAlarmSoundFile;

    // The values used when there is no settings file; programFolder ends in a separator.
    void applyDefaults(const QString &programFolder);

    static QString defaultAlarmSoundFile(const QString &programFolder);
    static QString defaultPreAlarmSoundFile(const QString &programFolder);
};
