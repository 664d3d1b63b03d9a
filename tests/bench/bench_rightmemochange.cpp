// Measures the live count of the typed text on large panes: the time one
// keystroke's RightMemoChange takes. Run on demand:
//   QT_QPA_PLATFORM=offscreen build/tests/bench/bench_rightmemochange
#include "app/Main.h"

#include "tests/support/FakeClock.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/RecordingSoundPlayer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

// Japanese prose-like text: full-width characters with a line break every 40.
QString japaneseText(int characters)
{
    const QString sample = QStringLiteral(
        "日本語の文章を十分間で正確に入力する練習です。、かなカナ漢字ＡＢＣ１２３");
    QString text;
    text.reserve(characters);
    for (int i = 0; text.size() < characters; ++i)
        text += (i % 40 == 39) ? QChar(u'\n') : sample.at(i % sample.size());
    return text;
}

double millisecondsPerKeystroke(TMainForm &window, int characters)
{
    window.RightMemo->setPlainText(japaneseText(characters));
    constexpr int Keystrokes = 50;
    QElapsedTimer timer;
    qint64 spent = 0;
    for (int i = 0; i < Keystrokes; ++i) {
        window.RightMemo->moveCursor(QTextCursor::End);
        window.RightMemo->blockSignals(true); // time the count alone, not the edit itself
        window.RightMemo->insertPlainText(QStringLiteral("字"));
        window.RightMemo->blockSignals(false);
        timer.start();
        window.RightMemoChange();
        spent += timer.nsecsElapsed();
    }
    return spent / 1e6 / Keystrokes;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTemporaryDir folder;
    FakeClock clock;
    RecordingSoundPlayer sound;
    FakeDialogs dialogs;
    const Services services { clock, sound, dialogs,
        folder.filePath(QStringLiteral("vemitrainer")) };
    Settings settings;
    QStringList scores;
    TMainForm window(services, settings, scores);
    window.show();

    QTextStream out(stdout);
    for (int characters : { 64 * 1024, 1024 * 1024 }) {
        out << "RightMemoChange with " << characters
            << " characters: " << millisecondsPerKeystroke(window, characters)
            << " ms per keystroke\n";
    }
    return 0;
}
