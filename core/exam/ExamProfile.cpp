#include "core/exam/ExamProfile.h"

#include <algorithm>
#include <climits>

namespace {
const QString WordProcessor = QStringLiteral("日本語ワープロ検定");
const QString Business = QStringLiteral("ビジネス文書実務検定");

ExamLevel wordProcessor(const QString &name, int penalty, int passMark, int low, int high)
{
    return { name, penalty, passMark, low, high, QStringLiteral("wp:") + name, WordProcessor };
}

ExamLevel business(const QString &name, int passMark)
{
    return { name, 1, passMark, 0, 100, QStringLiteral("biz:") + name, Business };
}
} // namespace

QString ExamLevel::title() const
{
    if (exam == WordProcessor)
        return QStringLiteral("ワープロ ") + name;
    if (exam == Business)
        return QStringLiteral("ビジネス ") + name;
    return name;
}

namespace ExamProfile {

QList<ExamLevel> levels(int customPenalty, int customPassMark)
{
    return {
        wordProcessor(QStringLiteral("4級"), 1, 200, 23, 26),
        wordProcessor(QStringLiteral("3級"), 1, 300, 23, 26),
        wordProcessor(QStringLiteral("準2級"), 3, 400, 25, 30),
        wordProcessor(QStringLiteral("2級"), 3, 500, 25, 30),
        wordProcessor(QStringLiteral("準1級"), 5, 600, 25, 35),
        wordProcessor(QStringLiteral("1級"), 5, 700, 25, 35),
        business(QStringLiteral("4級"), 200),
        business(QStringLiteral("3級"), 300),
        business(QStringLiteral("2級"), 450),
        business(QStringLiteral("1級"), 700),
        { QStringLiteral("自由設定"), customPenalty, customPassMark, 0, 100,
            QStringLiteral("custom"), QString() },
    };
}

int indexOf(const QString &stored)
{
    const QList<ExamLevel> all = levels(0, 0);
    for (int i = 0; i < all.size(); ++i)
        if (all[i].key == stored)
            return i;
    // Bare names are the first exam's, as older files wrote them.
    for (int i = 0; i < WordProcessorCount; ++i)
        if (all[i].name == stored)
            return i;
    return stored == all[CustomIndex].name ? CustomIndex : -1;
}

int netScore(int typedCount, int errors, int penalty)
{
    // Negative inputs count as none; 64 bits hold any product of two ints.
    const long long deducted = static_cast<long long>(std::max(errors, 0)) * std::max(penalty, 0);
    return int(std::clamp(
        static_cast<long long>(typedCount) - deducted, 0LL, static_cast<long long>(INT_MAX)));
}

} // namespace ExamProfile
