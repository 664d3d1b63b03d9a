#pragma once

#include "Settings.h"

#include <QString>

// One practice run's clock arithmetic: what each tick shows, sounds and records.
// Each event happens once per run, at the first tick whose elapsed whole seconds
// reach its second, so a late tick cannot skip it and two ticks in one second
// cannot repeat it.
class PracticeTimer
{
public:
    static constexpr quint32 ScoreSecond = 600;

    struct Tick
    {
        QString display; // MM:SS, the minutes never wrapped
        bool playPreAlarm = false;
        bool playAlarm = false;
        bool recordScore = false;
    };

    // A new run: the elapsed time counts from startMilliseconds and every event is due again.
    void start(quint32 startMilliseconds);
    Tick tick(quint32 nowMilliseconds, const Settings &settings);

    // "05:07", "100:00": minutes with at least two digits, seconds with two.
    static QString displayText(quint32 elapsedSeconds);

private:
    // An event due at second target (minutes * 60 when given in minutes); targets
    // of 0 or less never fire, as a run never reaches them at a tick.
    static bool reaches(quint32 elapsedSeconds, qint64 target, bool &done);

    quint32 m_start = 0;
    bool m_preAlarmDone = false;
    bool m_alarmDone = false;
    bool m_scoreDone = false;
};
