// Measures Open of a 1 MB Shift-JIS file into the left pane and Save of 1 MB
// of typed text, through the real window. Run on demand:
//   QT_QPA_PLATFORM=offscreen build/tests/bench/bench_documentio
#include "core/text/Cp932.h"
#include "tests/support/Trainer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTextStream>

namespace {

// About `bytes` of Japanese prose in CP932: two bytes a character, a break every 40.
QString japaneseText(qsizetype bytes)
{
    const QString sample
        = QStringLiteral("十分間で打てる文字数を増やすには、正確さと速さの両方が大切です。");
    QString text;
    for (int i = 0; text.size() * 2 < bytes; ++i)
        text += (i % 40 == 39) ? QChar(u'\n') : sample.at(i % sample.size());
    return text;
}

template <typename Work> double milliseconds(Work work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Trainer t;
    const QString text = japaneseText(1024 * 1024);
    const QString problem = t.folder.filePath(QStringLiteral("problem.txt"));
    writeAll(problem, Cp932::fromPaneText(text));

    QTextStream out(stdout);
    t.dialogs.fileNames << problem;
    out << "Open 1 MB into the left pane: " << milliseconds([&] { t.window->Open1->trigger(); })
        << " ms\n";
    t.window->RightMemo->setPlainText(text);
    t.dialogs.fileNames << t.folder.filePath(QStringLiteral("typed.txt"));
    out << "Save 1 MB of typed text: " << milliseconds([&] { t.window->Save1->trigger(); })
        << " ms\n";
    return t.window->LeftMemo->toPlainText() == text && t.dialogs.messages.isEmpty() ? 0 : 1;
}
