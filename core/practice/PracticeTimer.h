#pragma once

#include "core/settings/Settings.h"

#include <QString>

// One practice run's clock arithmetic: what each tick shows, sounds and records.
// An event happens on the tick that carries the elapsed whole seconds from below
// its second to its second or past it: a late tick cannot skip it, two ticks in
// one second cannot repeat it, and minutes lowered below the elapsed time while
// the run goes on never sound.
class PracticeTimer
{
public:
    static constexpr quint32 ScoreSecond = 600;

    struct Tick
    {
        QString display; // MM:SS, the minutes never wrapped
        quint32 elapsedSeconds = 0; // whole seconds since the start
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
    // Whether the span from the previous tick to this one crosses target (in
    // seconds); a run starts at 0, so targets of 0 or less never fire.
    bool crosses(quint32 elapsedSeconds, qint64 target) const;

    quint32 m_start = 0;
    quint32 m_previousSeconds = 0; // the elapsed whole seconds of the last tick of this run
};
