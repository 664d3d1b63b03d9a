// Times the weak-points list over 10,000 kept runs of 700 characters: the first
// list (every run file read, the cache written), the next one (all from the
// cache), and the one after a run is added and another deleted. Run on demand,
// from a release build:
//   build/tests/bench/bench_weakpoints [runs]
#include "core/exam/ExamRunStore.h"
#include "core/exam/WeakPointCache.h"
#include "tests/support/KeptRuns.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

namespace {
void timeList(WeakPointCache &cache, const char *what)
{
    QElapsedTimer timer;
    timer.start();
    const QList<WeakPoints::Row> rows = cache.rows();
    std::printf("%-34s %6lld ms  %d rows, %d run files read\n", what,
        static_cast<long long>(timer.elapsed()), int(rows.size()), cache.runsRead());
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    QTemporaryDir folder;
    const QString historyPath = folder.filePath(QStringLiteral("vemitrainer-history.csv"));
    if (KeptRuns::write(historyPath, count).size() != count) {
        std::fprintf(stderr, "could not write the kept runs\n");
        return 1;
    }
    const ExamRunStore store(historyPath);
    WeakPointCache cache(
        store.folder(), [&store](const QString &name) { return store.read(name); });
    std::printf("%d kept runs of 700 characters\n", count);
    timeList(cache, "first list (no cache)");
    timeList(cache, "from the cache");
    const QString added = store.write(KeptRuns::detail(count));
    store.remove(QDir(store.folder()).entryList({ QStringLiteral("*.json") }, QDir::Files).first());
    timeList(cache, "one run added, one deleted");
    return added.isEmpty() ? 1 : 0;
}
