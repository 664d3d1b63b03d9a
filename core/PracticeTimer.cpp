#include "PracticeTimer.h"

void PracticeTimer::start(quint32 startMilliseconds)
{
    m_start = startMilliseconds;
    m_preAlarmDone = m_alarmDone = m_scoreDone = false;
}

PracticeTimer::Tick PracticeTimer::tick(quint32 nowMilliseconds, const Settings &settings)
{
    // Unsigned subtraction: a clock that wrapped since the start still gives the right span.
    const quint32 seconds = (nowMilliseconds - m_start) / 1000;
    Tick tick;
    tick.display = displayText(seconds);
    tick.playPreAlarm
        = reaches(seconds, qint64(settings.PreAlarmTime) * 60, m_preAlarmDone) && settings.PreAlarm;
    tick.playAlarm
        = reaches(seconds, qint64(settings.AlarmTime) * 60, m_alarmDone) && settings.Alarm;
    tick.recordScore = reaches(seconds, ScoreSecond, m_scoreDone);
    return tick;
}

QString PracticeTimer::displayText(quint32 elapsedSeconds)
{
    return QStringLiteral("%1:%2")
        .arg(elapsedSeconds / 60, 2, 10, QLatin1Char('0'))
        .arg(elapsedSeconds % 60, 2, 10, QLatin1Char('0'));
}

bool PracticeTimer::reaches(quint32 elapsedSeconds, qint64 target, bool &done)
{
    if (done || target <= 0 || elapsedSeconds < target)
        return false;
    done = true;
    return true;
}
