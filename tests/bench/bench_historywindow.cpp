// Times opening the practice history window on 10,000 kept runs of 700
// characters (each with its file in the runs folder): the window reads only
// the history file, so it must be up in under a second. Also times choosing a
// level in the filter. Run on demand, from a release build:
//   build/tests/bench/bench_historywindow
#include "controls/grid/AdvGrid.h"
#include "core/exam/ExamHistory.h"
#include "core/exam/ExamProfile.h"
#include "dialogs/exam/History.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/KeptRuns.h"
#include "tests/support/RecordingShell.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    constexpr int Runs = 10000;
    QTemporaryDir dir;
    const QString history = dir.filePath(QString::fromLatin1(ExamHistory::FileName));
    if (KeptRuns::write(history, Runs).size() != Runs) {
        std::fprintf(stderr, "cannot write the runs in %s\n", qPrintable(dir.path()));
        return 1;
    }
    FakeDialogs dialogs;
    RecordingShell shell;
    const ExamLevel level = ExamProfile::levels(1, 300)[ExamProfile::DefaultIndex];

    QElapsedTimer timer;
    timer.start();
    const qsizetype rows = ExamHistory(history).read().size();
    const qint64 readMs = timer.elapsed();
    timer.restart();
    THistoryForm form(history, level, dialogs, shell);
    form.show();
    if (!QTest::qWaitForWindowExposed(&form))
        return 1;
    const qint64 openMs = timer.elapsed();

    timer.restart();
    form.LevelBox->setCurrentIndex(1);
    QCoreApplication::processEvents();
    const qint64 filterMs = timer.elapsed();

    std::printf("history window, %lld runs (the file alone read in %lld ms): opened and shown in "
                "%lld ms (limit 1000), %lld runs shown after choosing a level in %lld ms\n",
        static_cast<long long>(rows), static_cast<long long>(readMs),
        static_cast<long long>(openMs), static_cast<long long>(form.Grid->RowCount() - 1),
        static_cast<long long>(filterMs));
    return openMs < 1000 && dialogs.messages.isEmpty() ? 0 : 1;
}
