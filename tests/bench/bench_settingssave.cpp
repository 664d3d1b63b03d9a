// Measures the settings file's save at exit and the write at the ten-minute
// capture, through the real window, with 1,000 scores in the file. The file
// is synced to the disk each time, so run it on the disk that matters:
//   TMPDIR=$PWD QT_QPA_PLATFORM=offscreen build/tests/bench/bench_settingssave
#include "tests/support/Trainer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTextStream>

#include <algorithm>

namespace {

constexpr int Scores = 1000;
constexpr int Rounds = 21;

QByteArray settingsWithScores(int count)
{
    QByteArray file
        = "[Font]\r\nFontSize=12\r\n[Score]\r\nScoreCount=" + QByteArray::number(count) + "\r\n";
    for (int i = 0; i < count; ++i)
        file += "Score" + QByteArray::number(i) + '=' + QByteArray::number(300 + i % 500) + "\r\n";
    return file;
}

// Median and worst of the rounds, in milliseconds.
template <typename Work> QString timed(Work work)
{
    QList<double> times;
    for (int round = 0; round < Rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        work();
        times << timer.nsecsElapsed() / 1e6;
    }
    std::sort(times.begin(), times.end());
    return QStringLiteral("median %1 ms, worst %2 ms").arg(times.at(Rounds / 2)).arg(times.last());
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Trainer t(settingsWithScores(Scores));
    t.window->RightMemo->setPlainText(QString(700, u'あ'));
    QTextStream out(stdout);
    out << "Settings save at exit, " << Scores
        << " scores: " << timed([&] { t.window->saveSettingsForSessionEnd(); }) << '\n';
    out << "Write at the ten-minute capture, " << Scores << "+ scores: " << timed([&] {
        t.clock.now = 1000;
        t.window->StartButtonClick();
        t.clock.now = 601000;
        t.window->Timer1Timer();
    }) << '\n';
    const bool kept = t.scores.size() == Scores + Rounds && t.dialogs.messages.isEmpty()
        && t.iniBytes().contains("Score" + QByteArray::number(Scores + Rounds - 1) + "=700\r\n");
    return kept ? 0 : 1;
}
