// Opens the problem-open dialog on a folder of 10,000 generated practice texts
// of mixed sizes, written in descending order of count, and times it
// (reading and measuring every file, filling and sorting the grid), first with
// no accessibility client, then with one listening as a screen reader would
// (every event's object asked for its name). On demand:
//   QT_QPA_PLATFORM=offscreen build/tests/bench/bench_problemcatalogue
#include "../support/FakeDialogs.h"
#include "../support/FileBytes.h"
#include "AdvGrid.h"
#include "Cp932.h"
#include "ProblemCatalogue.h"
#include "Q_Open.h"

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
        (void)target->text(QAccessible::Name);
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

    const qint64 alone = timeOpening(programFolder);
    QAccessible::installUpdateHandler(screenReader);
    QAccessible::setActive(true);
    const qint64 listened = timeOpening(programFolder);

    QTextStream out(stdout);
    out << "Problem-open dialog over " << Files << " files (best of " << Runs << "): " << alone
        << " ms alone, " << listened << " ms with a screen reader listening ("
        << accessibleEvents / Runs << " accessibility events an opening, "
        << QString::number(double(listened) / double(std::max<qint64>(alone, 1)), 'f', 2)
        << " times)\n";
    return alone < 0 || listened < 0 ? 1 : 0;
}
