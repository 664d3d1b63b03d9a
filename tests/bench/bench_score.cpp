// Times the score chart at 100,000 scores: opening it (create, fill, first
// paint), repainting it unchanged, and one pan step. Run on demand:
//   QT_QPA_PLATFORM=offscreen build/tests/bench/bench_score
#include "controls/plot/sgr_def.h"
#include "dialogs/score/Score.h"
#include "tests/support/FakeDialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QRandomGenerator>
#include <QWindow>

#include <cstdio>

namespace {

constexpr int Scores = 100000;
constexpr int Repeats = 20;

// Ten-minute counts as a learner's might run: 300 to 900 characters.
QStringList scoreList()
{
    QRandomGenerator random(12);
    QStringList scores;
    scores.reserve(Scores);
    for (int i = 0; i < Scores; ++i)
        scores << QString::number(300 + random.bounded(600));
    return scores;
}

void send(QWidget &w, QEvent::Type type, QPoint at, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, at, w.mapToGlobal(at), Qt::LeftButton, buttons, Qt::ControlModifier);
    QApplication::sendEvent(&w, &event);
}

double millisecondsSince(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList scores = scoreList();
    FakeDialogs dialogs;

    QElapsedTimer timer;
    timer.start();
    TScoreForm form(&scores, dialogs);
    const double created = millisecondsSince(timer);
    form.show();
    while (!form.windowHandle() || !form.windowHandle()->isExposed())
        QApplication::processEvents();
    form.XYPlot->repaint();
    const double opened = millisecondsSince(timer);
    if (form.XYPlot->fieldDraws() != 1) {
        std::printf("the chart was not painted once but %d times\n", form.XYPlot->fieldDraws());
        return 1;
    }
    std::printf("open %d scores: %.1f ms (create and fill %.1f ms, first paint %.1f ms)\n", Scores,
        opened, created, opened - created);

    Tsp_XYPlot &plot = *form.XYPlot;
    const int frames = plot.frameDraws();
    const int fields = plot.fieldDraws();
    timer.restart();
    for (int i = 0; i < Repeats; ++i) {
        plot.update();
        plot.repaint();
    }
    std::printf("unchanged repaint: %.3f ms (layers redrawn: %d)\n",
        millisecondsSince(timer) / Repeats,
        plot.frameDraws() - frames + plot.fieldDraws() - fields);

    QPoint at(300, 200);
    send(plot, QEvent::MouseButtonPress, at, Qt::LeftButton);
    timer.restart();
    for (int i = 0; i < Repeats; ++i) {
        at += QPoint(1, 0);
        send(plot, QEvent::MouseMove, at, Qt::LeftButton);
        plot.repaint();
    }
    std::printf("pan step repaint: %.1f ms (field drawn %d times)\n",
        millisecondsSince(timer) / Repeats, plot.fieldDraws() - fields);
    send(plot, QEvent::MouseButtonRelease, at, Qt::NoButton);
    return 0;
}
