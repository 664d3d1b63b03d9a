// Opens the problem-open dialog on a folder of 10,000 generated practice texts
// of mixed sizes, written in descending order of count, and times it
// (reading and measuring every file, filling and sorting the grid). On demand,
// alone and with a screen reader listening: once the bridge is up, every event
// is handed to an in-process listener that asks its object's role and name, as
// a screen reader registered for those events makes the bridge do.
//   xvfb-run -a env QT_QPA_PLATFORM=xcb build/tests/bench/bench_problemcatalogue
//   bash tests/dialogs/with_accessibility.sh build/tests/bench/bench_problemcatalogue
#include "controls/grid/AdvGrid.h"
#include "core/practice/ProblemCatalogue.h"
#include "core/text/Cp932.h"
#include "dialogs/Q_Open.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/FileBytes.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

namespace {

constexpr int Files = 10000;
constexpr int Runs = 3;
int accessibleEvents = 0;

void screenReader(QAccessibleEvent *event)
{
    ++accessibleEvents;
    if (QAccessibleInterface *target = event->accessibleInterface())
        (void)(target->role() == QAccessible::NoRole || target->text(QAccessible::Name).isNull());
}
// The fastest of a few openings, in milliseconds; false order gives -1.
qint64 timeOpening(const QString &programFolder)
{
    qint64 best = -1;
    for (int run = 0; run < Runs; ++run) {
        FakeDialogs dialogs;
        QElapsedTimer timer;
        timer.start();
        TQ_OpenForm form(programFolder, dialogs);
        const qint64 elapsed = timer.elapsed();
        const TAdvStringGrid &grid = *form.StringGrid;
        bool ascending = grid.RowCount() == Files + 1;
        for (int row = 2; ascending && row <= Files; ++row)
            ascending = grid.Cells(2, row - 1).toInt() <= grid.Cells(2, row).toInt();
        if (!ascending)
            return -1;
        best = best < 0 ? elapsed : std::min(best, elapsed);
    }
    return best;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir folder;
    const QString programFolder = folder.path() + u'/';
    const QString problems = problemPath(programFolder);
    QDir().mkpath(problems);
    const QByteArray line = Cp932::encode(QStringLiteral("練習用の文章です。")) + "\r\n";
    for (int i = 0; i < Files; ++i) {
        const int lines = 1 + (Files - i) * 97 % 400; // mixed sizes, largest counts first
        writeAll(problems + QStringLiteral("p%1.txt").arg(i, 5, 10, QLatin1Char('0')),
            line.repeated(lines));
    }

    // The bridge comes up once the event loop has met the accessibility bus.
    QElapsedTimer waited;
    waited.start();
    while (qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON") && !QAccessible::isActive()
        && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 100);

    const bool listening = QAccessible::isActive();
    if (listening)
        QAccessible::installUpdateHandler(screenReader);
    const qint64 elapsed = timeOpening(programFolder);
    QTextStream(stdout) << "Problem-open dialog over " << Files << " files (best of " << Runs
                        << "): " << elapsed << " ms"
                        << (listening ? QStringLiteral(" with a screen reader listening (%1 events "
                                                       "an opening)")
                                            .arg(accessibleEvents / Runs)
                                      : QStringLiteral(" without accessibility clients"))
                        << (elapsed < 0 ? " (WRONG ORDER)" : "") << '\n';
    return elapsed < 0 ? 1 : 0;
}
