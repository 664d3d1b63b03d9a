#include "core/exam/ExamCalculation.h"

#include "core/exam/ExamProfile.h"

int ExamCalculation::netScore() const
{
    return ExamProfile::netScore(typedCount, errors, penalty);
}

bool ExamCalculation::passed() const
{
    return ExamProfile::passes(netScore(), passMark);
}

QString ExamCalculation::formula() const
{
    const qint64 deducted = qint64(errors) * penalty;
    const QString sum = QStringLiteral("%1 − %2 × %3").arg(typedCount).arg(errors).arg(penalty);
    if (typedCount - deducted < 0)
        return sum + QStringLiteral(" → 0 (0 未満は 0)");
    return sum + QStringLiteral(" = %1").arg(netScore());
}

QString ExamCalculation::text() const
{
    return QStringLiteral("%1 (合格点 %2: %3)")
        .arg(formula())
        .arg(passMark)
        .arg(passed() ? QStringLiteral("合格") : QStringLiteral("不合格"));
}
