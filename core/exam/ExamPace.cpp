#include "core/exam/ExamPace.h"

#include <algorithm>

namespace ExamPace {

double perMinute(int passMark)
{
    return passMark / double(RunMinutes);
}

QString neededText(int passMark)
{
    const QString figure = passMark % RunMinutes == 0
        ? QString::number(passMark / RunMinutes)
        : QString::number(perMinute(passMark), 'f', 1);
    return figure + QStringLiteral("字/分");
}

int dueBy(int passMark, qint64 elapsedSeconds)
{
    const qint64 seconds = std::clamp<qint64>(elapsedSeconds, 0, RunSeconds);
    return int((qint64(passMark) * seconds * 2 + RunSeconds) / (2 * RunSeconds));
}

int lead(int netScore, int passMark, qint64 elapsedSeconds)
{
    return netScore - dueBy(passMark, elapsedSeconds);
}

QString leadText(int lead)
{
    if (lead == 0)
        return QStringLiteral("±0");
    return (lead > 0 ? QStringLiteral("+") : QStringLiteral("\u2212"))
        + QString::number(qAbs(qint64(lead)));
}

void MinuteMarks::start(int typedCount)
{
    m_startCount = typedCount;
    m_counts.clear();
}

bool MinuteMarks::due(qint64 elapsedSeconds) const
{
    const qint64 reached = std::min<qint64>(elapsedSeconds / 60, RunMinutes);
    return reached > m_counts.size();
}

void MinuteMarks::take(qint64 elapsedSeconds, int typedCount)
{
    while (due(elapsedSeconds))
        m_counts.append(typedCount);
}

QList<int> MinuteMarks::perMinute() const
{
    QList<int> typed;
    int before = m_startCount;
    for (int count : m_counts) {
        typed.append(std::max(count - before, 0));
        before = count;
    }
    return typed;
}

} // namespace ExamPace
