#pragma once

#include <QString>

// The net score worked out as an exam works it out, for the learner to follow:
// "524 − 3 × 8 = 500 (合格点 500: 合格)".
struct ExamCalculation
{
    int typedCount = 0;
    int errors = 0;
    int penalty = 1;
    int passMark = 0;

    int netScore() const; // never below 0
    bool passed() const;
    // "524 − 3 × 8 = 500"; a score that would fall below 0 shows as "→ 0".
    QString formula() const;
    // The formula with the pass mark and the verdict.
    QString text() const;
};
