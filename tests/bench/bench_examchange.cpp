// Times one keystroke in the typing pane with exam scoring on: the change
// handlers that run at once (the live count, putting the alignment off) and
// the alignment that follows when typing pauses (figures, where-am-I band).
// Run on demand, from a release build for figures:
//   QT_QPA_PLATFORM=offscreen build/tests/bench/bench_examchange
#include "tests/support/Trainer.h"

#include "app/exam/ExamScoring.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTextStream>

#include <algorithm>

namespace {

// Japanese prose-like text: full-width characters with a line break every 40.
QString japaneseText(int characters)
{
    const QString sample = QStringLiteral(
        "日本語の文章を十分間で正確に入力する練習です。かなカナ漢字ＡＢＣ１２３を打ちます");
    QString text;
    text.reserve(characters);
    for (int i = 0; text.size() < characters; ++i)
        text += (i % 40 == 39) ? QChar(u'\n') : sample.at((i * 7) % sample.size());
    return text;
}

// The practice text's first `length` characters with one character in every
// `spacing` mistyped.
QString typedCopy(const QString &practice, int length, int spacing)
{
    QString typed = practice.left(length);
    for (int i = spacing / 2; i < typed.size(); i += spacing)
        if (typed.at(i) != u'\n')
            typed[i] = u'誤';
    return typed;
}

struct Figures
{
    double atOnceMs = 0; // the edit and the handlers that run in the keystroke
    double deferredMs = 0; // the alignment and what it shows, once typing pauses
    int errors = 0;
};

Figures perKeystroke(TMainForm &window, int practiceLength, int typedLength, int spacing)
{
    const QString practice = japaneseText(practiceLength);
    window.LeftMemo->setPlainText(practice);
    window.RightMemo->setPlainText(typedCopy(practice, typedLength, spacing));
    window.exam().alignment();
    constexpr int Keystrokes = 30;
    QElapsedTimer timer;
    qint64 atOnce = 0;
    qint64 deferred = 0;
    for (int i = 0; i < Keystrokes; ++i) {
        window.RightMemo->moveCursor(QTextCursor::End);
        const QChar next = practice.at(std::min<qsizetype>(
            practice.size() - 1, window.RightMemo->document()->characterCount() - 1));
        timer.start();
        window.RightMemo->insertPlainText(QString(next));
        atOnce += timer.nsecsElapsed();
        timer.start();
        window.exam().alignment();
        deferred += timer.nsecsElapsed();
    }
    Figures figures;
    figures.atOnceMs = atOnce / 1e6 / Keystrokes;
    figures.deferredMs = deferred / 1e6 / Keystrokes;
    figures.errors = window.exam().alignment().errorCount();
    return figures;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Trainer trainer;
    TMainForm &window = *trainer.window;

    struct Case
    {
        const char *name;
        int practice;
        int typed;
        int spacing;
    };
    const Case cases[] = {
        { "1,000 typed of 1,500, 50 errors", 1500, 1000, 20 },
        { "64K typed of 64K, 1 % errors", 64 * 1024, 64 * 1024 - 40, 100 },
    };
    QTextStream out(stdout);
    for (const Case &c : cases) {
        const Figures f = perKeystroke(window, c.practice, c.typed, c.spacing);
        out << c.name << ": at once " << f.atOnceMs << " ms, deferred alignment " << f.deferredMs
            << " ms, whole " << f.atOnceMs + f.deferredMs << " ms per keystroke (" << f.errors
            << " errors)\n";
    }
    return 0;
}
