#include "core/practice/PracticeTimer.h"

void PracticeTimer::start(quint32 startMilliseconds)
{
    m_start = startMilliseconds;
    m_previousSeconds = 0;
}

PracticeTimer::Tick PracticeTimer::tick(quint32 nowMilliseconds, const Settings &settings)
{
    // Unsigned subtraction: a clock that wrapped since the start still gives the right span.
    const quint32 seconds = (nowMilliseconds - m_start) / 1000;
    Tick tick;
    tick.display = displayText(seconds);
    tick.elapsedSeconds = seconds;
    tick.playPreAlarm = settings.PreAlarm && crosses(seconds, qint64(settings.PreAlarmTime) * 60);
    tick.playAlarm = settings.Alarm && crosses(seconds, qint64(settings.AlarmTime) * 60);
    tick.recordScore = crosses(seconds, ScoreSecond);
    m_previousSeconds = seconds;
    return tick;
}

QString PracticeTimer::displayText(quint32 elapsedSeconds)
{
    return QStringLiteral("%1:%2")
        .arg(elapsedSeconds / 60, 2, 10, QLatin1Char('0'))
        .arg(elapsedSeconds % 60, 2, 10, QLatin1Char('0'));
}

bool PracticeTimer::crosses(quint32 elapsedSeconds, qint64 target) const
{
    return m_previousSeconds < target && target <= elapsedSeconds;
}
