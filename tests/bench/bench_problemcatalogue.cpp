// Opens the problem-open dialog on a folder of 10,000 generated practice texts
// of mixed sizes, written in descending order of count, and times it
// (reading and measuring every file, filling and sorting the grid). On demand:
//   QT_QPA_PLATFORM=offscreen build/tests/bench/bench_problemcatalogue
#include "../support/FakeDialogs.h"
#include "../support/FileBytes.h"
#include "AdvGrid.h"
#include "Cp932.h"
#include "ProblemCatalogue.h"
#include "Q_Open.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    constexpr int Files = 10000;
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

    FakeDialogs dialogs;
    QElapsedTimer timer;
    timer.start();
    TQ_OpenForm form(programFolder, dialogs);
    const qint64 elapsed = timer.elapsed();

    bool ascending = form.StringGrid->RowCount() == Files + 1;
    for (int row = 2; ascending && row <= Files; ++row)
        ascending
            = form.StringGrid->Cells(2, row - 1).toInt() <= form.StringGrid->Cells(2, row).toInt();
    QTextStream(stdout) << "Problem-open dialog over " << Files << " files: " << elapsed << " ms"
                        << (ascending ? "" : " (WRONG ORDER)") << '\n';
    return ascending ? 0 : 1;
}
