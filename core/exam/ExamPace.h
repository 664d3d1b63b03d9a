#pragma once

#include <QList>
#include <QString>

// The pace a ten-minute speed test asks for, and how far a run is ahead of it.
namespace ExamPace {

constexpr int RunSeconds = 600;
constexpr int RunMinutes = RunSeconds / 60;

// The pass mark spread evenly over the ten minutes: "30字/分", "33.3字/分".
double perMinute(int passMark);
QString neededText(int passMark);

// The net score the even pace has reached after elapsedSeconds (held to the
// ten minutes), to the nearest character, halves up.
int dueBy(int passMark, qint64 elapsedSeconds);
// netScore − dueBy(): above 0 the run is ahead of the pace.
int lead(int netScore, int passMark, qint64 elapsedSeconds);
// "+12", "−8" (U+2212), "±0".
QString leadText(int lead);

// The typed count at each minute mark of one run, taken on the timer's ticks.
class MinuteMarks
{
public:
    // A new run, with typedCount characters in the pane at its start.
    void start(int typedCount);
    // Whether a tick at elapsedSeconds reaches a minute mark not yet taken;
    // the count is read only then.
    bool due(qint64 elapsedSeconds) const;
    // Takes typedCount for every mark up to elapsedSeconds not yet taken (a
    // late tick gives the marks it passed the same count), the tenth the last.
    void take(qint64 elapsedSeconds, int typedCount);
    // The characters typed within each minute taken: the count's rise over the
    // minute, 0 where it fell (text deleted).
    QList<int> perMinute() const;

private:
    int m_startCount = 0;
    QList<int> m_counts; // the count at 1:00, 2:00, ...
};

} // namespace ExamPace
