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
    // The settings file's name for it: "wp:3級", "biz:3級", "custom".
    QString key = QStringLiteral("custom");
    QString exam = {}; // "日本語ワープロ検定", "ビジネス文書実務検定", empty for 自由設定

    // The name with its exam, as the level box and the history show it:
    // "ワープロ 3級", "ビジネス 3級", "自由設定".
    QString title() const;
};

namespace ExamProfile {

// 日本語ワープロ検定 4級 to 1級, then ビジネス文書実務検定 4級 to 1級 (no kanji band
// of their own), in that order, then 自由設定 with the given penalty and mark.
QList<ExamLevel> levels(int customPenalty, int customPassMark);
constexpr int WordProcessorCount = 6; // the first exam's levels lead the list
constexpr int CustomIndex = 10;
constexpr int DefaultIndex = 1; // ワープロ 3級

// The index in levels() of a settings file's level: a key, or a bare name as
// files written before the second exam hold it ("3級", "自由設定"), which is
// the first exam's; -1 for a name the program does not know.
int indexOf(const QString &stored);

// The typed count less penalty × errors, never below 0.
int netScore(int typedCount, int errors, int penalty);
inline bool passes(int netScore, int passMark)
{
    return netScore >= passMark;
}

} // namespace ExamProfile
