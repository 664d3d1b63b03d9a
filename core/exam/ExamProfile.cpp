#include "core/exam/ExamProfile.h"

#include <algorithm>
#include <climits>

namespace ExamProfile {

QList<ExamLevel> levels(int customPenalty, int customPassMark)
{
    return {
        { QStringLiteral("4級"), 1, 200, 23, 26 },
        { QStringLiteral("3級"), 1, 300, 23, 26 },
        { QStringLiteral("準2級"), 3, 400, 25, 30 },
        { QStringLiteral("2級"), 3, 500, 25, 30 },
        { QStringLiteral("準1級"), 5, 600, 25, 35 },
        { QStringLiteral("1級"), 5, 700, 25, 35 },
        { QStringLiteral("自由設定"), customPenalty, customPassMark },
    };
}

int netScore(int typedCount, int errors, int penalty)
{
    // Negative inputs count as none; 64 bits hold any product of two ints.
    const long long deducted = static_cast<long long>(std::max(errors, 0)) * std::max(penalty, 0);
    return int(std::clamp(
        static_cast<long long>(typedCount) - deducted, 0LL, static_cast<long long>(INT_MAX)));
}

} // namespace ExamProfile
