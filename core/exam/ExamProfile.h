#pragma once

#include <QList>
#include <QString>

// A level of a ten-minute speed test: each error costs `penalty` characters of
// the typed count, and the net score passes at `passMark` or more. The texts the
// level is tested on hold kanjiLow to kanjiHigh percent kanji (whole percent).
struct ExamLevel
{
    QString name; // "4級", "3級", "準2級", "2級", "準1級", "1級", "自由設定"
    int penalty = 1;
    int passMark = 300;
    int kanjiLow = 0;
    int kanjiHigh = 100;
};

namespace ExamProfile {

// ワープロ検定 4級 to 1級 in that order, then 自由設定 with the given penalty and mark
// and no kanji band of its own (0 to 100 percent).
QList<ExamLevel> levels(int customPenalty, int customPassMark);
constexpr int CustomIndex = 6;
constexpr int DefaultIndex = 1; // 3級

// The typed count less penalty × errors, never below 0.
int netScore(int typedCount, int errors, int penalty);
inline bool passes(int netScore, int passMark)
{
    return netScore >= passMark;
}

} // namespace ExamProfile
