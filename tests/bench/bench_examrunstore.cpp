// Times keeping runs: the ten-minute capture's extra work (making a 700-character
// run's detail with about 25 errors and writing its file, synced), which must
// stay under 30 ms; then making 10,000 kept runs with their history, reading
// them all back, and removing a run from that history. Run on demand, from a
// release build, on the disk the learner uses:
//   build/tests/bench/bench_examrunstore [folder]
#include "core/exam/ExamHistory.h"
#include "core/exam/ExamRunStore.h"
#include "tests/support/KeptRuns.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int Captures = 50;
constexpr int ManyRuns = 10000;
constexpr double CaptureLimitMs = 30;

double msSince(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// Each capture in the same second as the others: the names get suffixes, as a
// run's name may.
bool timeCaptures(const QString &historyPath)
{
    const ExamRunStore store(historyPath);
    QList<double> times;
    for (int i = 0; i < Captures; ++i) {
        const KeptRuns::Capture c = KeptRuns::capture(i % 6);
        QElapsedTimer timer;
        timer.start();
        store.write(ExamRunStore::make(c.result, c.level, c.aligned, c.practice, c.typed));
        times << msSince(timer);
    }
    std::sort(times.begin(), times.end());
    const KeptRuns::Capture c = KeptRuns::capture(0);
    std::printf("capture: make + write of %lld characters, %d errors: median %.2f ms, worst "
                "%.2f ms (limit %.0f ms)\n",
        (long long)c.practice.size(), c.aligned.errorCount(), times[Captures / 2], times.last(),
        CaptureLimitMs);
    return times[Captures / 2] < CaptureLimitMs;
}

void timeManyRuns(const QString &historyPath)
{
    QElapsedTimer timer;
    timer.start();
    const QList<ExamResult> rows = KeptRuns::write(historyPath, ManyRuns);
    std::printf("KeptRuns::write: %lld runs and their history in %.0f ms\n", (long long)rows.size(),
        msSince(timer));

    timer.start();
    const ExamRunStore store(historyPath);
    qsizetype errors = 0;
    for (const ExamResult &row : ExamHistory(historyPath).read())
        errors += store.read(row.detailFile).errors.size();
    std::printf("history and every kept run read: %.0f ms (%lld error blocks)\n", msSince(timer),
        (long long)errors);

    timer.start();
    ExamHistory(historyPath).remove(rows[ManyRuns / 2]);
    std::printf("one run removed from %d: %.1f ms\n", ManyRuns, msSince(timer));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir(
        argc > 1 ? QString::fromLocal8Bit(argv[1]) + QStringLiteral("/runs-XXXXXX") : QString());
    if (!dir.isValid())
        return 2;
    // Apart: the generated runs' names would meet the captures'.
    if (!QDir(dir.path()).mkdir(QStringLiteral("captures"))
        || !QDir(dir.path()).mkdir(QStringLiteral("many")))
        return 2;
    const bool fast = timeCaptures(dir.filePath(QStringLiteral("captures/history.csv")));
    timeManyRuns(dir.filePath(QStringLiteral("many/history.csv")));
    return fast ? 0 : 1;
}
