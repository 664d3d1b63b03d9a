#include "app/exam/ExamLevelBox.h"
#include "app/exam/ExamScoring.h"
#include "app/exam/ExamToolBar.h"
#include "core/Errors.h"
#include "core/exam/ExamHistory.h"
#include "core/exam/ExamRunStore.h"
#include "dialogs/exam/ExamResultWindow.h"
#include "tests/support/Trainer.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

namespace {

// Exam scoring over two bare panes, as any window could give it them.
struct Scoring
{
    Scoring()
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(practice);
        layout->addWidget(typed);
        window.show();
    }
    QString historyPath() const { return folder.filePath(QStringLiteral("history.csv")); }

    QTemporaryDir folder;
    QWidget window;
    QPlainTextEdit *practice = new QPlainTextEdit(&window);
    QPlainTextEdit *typed = new QPlainTextEdit(&window);
    ExamSettings settings;
    QString practiceName = QStringLiteral("問題A.txt");
    ExamScoring scoring { { &window, practice, typed }, settings, [this] { return practiceName; },
        [this] { return historyPath(); } };
};

} // namespace

class TestExamScoring final : public QObject
{
    Q_OBJECT
private slots:
    void capturedCountIsScored_data();
    void capturedCountIsScored();
    void captureHandsOnTheScoreListsCount();
    void captureKeepsTheRunCheckDoesNot_data();
    void captureKeepsTheRunCheckDoesNot();
    void noPracticeTextScoresNothing();
    void barKeepsTheWindowsRecord();
};

void TestExamScoring::capturedCountIsScored_data()
{
    QTest::addColumn<QString>("practice");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("count"); // as the capture hands it on
    QTest::addColumn<QList<int>>("scored"); // typed count, errors, net score
    QTest::newRow("exact") << QStringLiteral("あいうえお") << QStringLiteral("あいう") << 3
                           << QList<int> { 3, 0, 3 };
    QTest::newRow("a pair of UTF-16 units is one character")
        << QStringLiteral("𠮟られる") << QStringLiteral("𠮟ら") << 2 << QList<int> { 2, 0, 2 };
    QTest::newRow("the given count, not the pane's length")
        << QStringLiteral("abcdef") << QStringLiteral("abXd") << 40 << QList<int> { 40, 1, 35 };
}

void TestExamScoring::capturedCountIsScored()
{
    QFETCH(QString, practice);
    QFETCH(QString, typed);
    QFETCH(int, count);
    QFETCH(QList<int>, scored);
    Scoring s;
    s.settings.Level = QStringLiteral("準1級"); // 5 characters an error
    s.scoring.applySettings();
    s.practice->setPlainText(practice);
    s.typed->setPlainText(typed);
    s.scoring.recordResult(count);
    const QList<ExamResult> runs = ExamHistory(s.historyPath()).read();
    QCOMPARE(runs.size(), 1);
    const ExamResult &run = runs.first();
    QCOMPARE(QList<int>({ run.typedCount, run.substitutions + run.omissions + run.insertions,
                 run.netScore }),
        scored);
    QCOMPARE(run.practiceName, s.practiceName);
    QCOMPARE(s.scoring.resultWindow()->TypedLabel->text(), QStringLiteral("%1 字").arg(count));
}

// The window announces the capture with the count it put in the score list.
void TestExamScoring::captureHandsOnTheScoreListsCount()
{
    Trainer t;
    TMainForm &w = *t.window;
    QSignalSpy captured(&w, &TMainForm::scoreCaptured);
    w.LeftMemo->setPlainText(QStringLiteral("𠮟られて\n走る"));
    w.RightMemo->setPlainText(QStringLiteral("𠮟られて\n走"));
    t.clock.now = 1000;
    w.StartButtonClick();
    t.clock.now = 1000 + 600000;
    w.Timer1Timer();
    QCOMPARE(t.scores, QStringList { QStringLiteral("6") });
    QCOMPARE(captured.size(), 1);
    QCOMPARE(captured.first().first(), QVariant(6));
    QCOMPARE(ExamHistory(ExamHistory::pathBeside(t.iniPath())).read().first().typedCount, 6);
}

void TestExamScoring::captureKeepsTheRunCheckDoesNot_data()
{
    QTest::addColumn<QStringList>("blocked"); // folders or files in the way
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("kept"); // a run file named by the row
    QTest::addColumn<QString>("told"); // in the result window's notice
    const QString runs = QStringLiteral("vemitrainer-runs"),
                  history = QStringLiteral("history.csv");
    QTest::newRow("both written") << QStringList() << 1 << true << QString();
    QTest::newRow("runs folder blocked: the row all the same")
        << QStringList { runs } << 1 << false << runs;
    QTest::newRow("history blocked: no run file left that nothing names")
        << QStringList { history } << 0 << false << history;
    QTest::newRow("both blocked: the history's loss told alone")
        << QStringList { runs, history } << 0 << false << history;
}

void TestExamScoring::captureKeepsTheRunCheckDoesNot()
{
    QFETCH(QStringList, blocked);
    QFETCH(int, rows);
    QFETCH(bool, kept);
    QFETCH(QString, told);
    Scoring s;
    const ExamRunStore store(s.historyPath());
    for (const QString &name :
        blocked) // a folder under the history's name, a file under the folder's
        QVERIFY(name.endsWith(".csv") ? QDir().mkdir(s.folder.filePath(name))
                                      : QFile(s.folder.filePath(name)).open(QIODevice::WriteOnly));
    s.practice->setPlainText(QStringLiteral("発送する\nネズミ"));
    s.typed->setPlainText(QStringLiteral("発想する\nねずみ"));
    s.scoring.check(); // F4: nothing kept
    QCOMPARE(QFileInfo(store.folder()).isDir(), false);
    QVERIFY(QFileInfo(s.historyPath()).isDir() || !QFile::exists(s.historyPath()));

    s.scoring.recordResult(7);
    const QList<ExamResult> history = QFileInfo(s.historyPath()).isDir()
        ? QList<ExamResult>()
        : ExamHistory(s.historyPath()).read();
    QCOMPARE(history.size(), rows);
    const QStringList files = QDir(store.folder()).entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(files.size(), kept ? 1 : 0);
    if (kept) {
        const ExamRunDetail run = store.read(history.first().detailFile);
        QCOMPARE(run.result, history.first());
        QCOMPARE(run.typed, s.typed->toPlainText());
        QCOMPARE(run.errors.size(), 2); // 想, ねずみ: adjacent errors are one block
    } else if (rows) {
        QCOMPARE(history.first().detailFile, QString());
    }
    const QLabel *notice = s.scoring.resultWindow()->NoticeLabel;
    QCOMPARE(notice->isVisibleTo(s.scoring.resultWindow()), !told.isEmpty());
    QVERIFY2(notice->text().contains(told), qPrintable(notice->text()));
    QCOMPARE(
        notice->text().contains(QStringLiteral("練習履歴に残ります")), rows && !told.isEmpty());
}

void TestExamScoring::noPracticeTextScoresNothing()
{
    Scoring s;
    s.typed->setPlainText(QStringLiteral("あいう"));
    QVERIFY_THROWS_EXCEPTION(VemiError, s.scoring.check());
    s.scoring.recordResult(3);
    QVERIFY(!QFile::exists(s.historyPath()));
    QVERIFY(!s.scoring.resultWindow());
    QTRY_COMPARE(s.scoring.bar()->ErrorsLabel->text(), QStringLiteral("練習文なし"));
}

// The bar writes the learner's choice into the record the window saves.
void TestExamScoring::barKeepsTheWindowsRecord()
{
    Scoring s;
    s.settings.Level = QStringLiteral("9級"); // not a level: shown and kept as the default
    s.scoring.applySettings();
    QCOMPARE(s.settings.Level, QStringLiteral("wp:3級"));
    s.scoring.bar()->LevelCombo->setCurrentLevel(3);
    QCOMPARE(s.settings.Level, QStringLiteral("wp:2級"));
    s.practice->setPlainText(QStringLiteral("abc"));
    s.typed->setPlainText(QStringLiteral("ab"));
    QTRY_COMPARE(s.scoring.bar()->PassLabel->text(), QStringLiteral("合格点 500 未達"));
}

QTEST_MAIN(TestExamScoring)
#include "tst_examscoring.moc"
