// History: any file reads without fault, and a row appended to it reads back
// as written (a line break in a text as a blank).
#include "core/exam/ExamHistory.h"
#include "tests/fuzz/FuzzFile.h"

#include <QTimeZone>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>

namespace {

QString text(FuzzedDataProvider &input)
{
    return QString::fromStdString(input.ConsumeRandomLengthString(40));
}

QString asWritten(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral(" "))
        .replace(u'\r', u' ')
        .replace(u'\n', u' ');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    ExamResult run;
    const qint64 seconds = input.ConsumeIntegralInRange<qint64>(946684800, 4102444799);
    const int offset = 60 * input.ConsumeIntegralInRange(-14 * 60, 14 * 60);
    run.when = QDateTime::fromSecsSinceEpoch(seconds, QTimeZone(offset));
    run.practiceName = text(input);
    run.level = text(input);
    for (int *count : { &run.typedCount, &run.substitutions, &run.omissions, &run.insertions,
             &run.netScore, &run.passMark })
        *count = input.ConsumeIntegralInRange(0, 999999999);
    run.passed = input.ConsumeBool();
    run.detailFile = text(input);
    const std::string rest = input.ConsumeRemainingBytesAsString();

    const ExamHistory history(scratchFile(
        ExamHistory::FileName, reinterpret_cast<const uint8_t *>(rest.data()), rest.size()));
    const qsizetype before = history.read().size();
    history.append(run);
    const QList<ExamResult> after = history.read();
    FUZZ_CHECK(after.size() >= before + 1);
    const ExamResult &back = after.last();
    FUZZ_CHECK(back.when == run.when);
    FUZZ_CHECK(back.practiceName == asWritten(run.practiceName));
    FUZZ_CHECK(back.level == asWritten(run.level));
    FUZZ_CHECK(back.typedCount == run.typedCount && back.substitutions == run.substitutions
        && back.omissions == run.omissions && back.insertions == run.insertions
        && back.netScore == run.netScore && back.passMark == run.passMark
        && back.passed == run.passed);
    FUZZ_CHECK(back.detailFile == asWritten(run.detailFile));
    return 0;
}
