#include "app/exam/ExamLevelBox.h"
#include "app/exam/ExamPaceLabels.h"
#include "app/exam/ExamScoring.h"
#include "app/exam/ExamToolBar.h"
#include "core/exam/KanjiShare.h"
#include "dialogs/exam/ExamMinuteChart.h"
#include "dialogs/exam/ExamResultWindow.h"
#include "tests/support/Trainer.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStandardItemModel>
#include <QTest>
#include <QTimer>

namespace {

// The window's timer tick at `seconds` after a start at 1 s.
void tickAt(Trainer &t, int seconds)
{
    t.clock.now = 1000 + seconds * 1000;
    t.window->Timer1Timer();
}

void typeInto(QPlainTextEdit *pane, const QString &keys, const QString &committed)
{
    QTest::keyClicks(pane, keys);
    QInputMethodEvent event;
    event.setCommitString(committed);
    QApplication::sendEvent(pane, &event);
}

} // namespace

// The exam bar's pace and kanji share, 試験モード, the two exams' levels, and
// the result's minute chart, in the trainer window under the test clock.
class TestExamMode final : public QObject
{
    Q_OBJECT
private slots:
    void startAsksWithTextInThePane_data();
    void startAsksWithTextInThePane();
    void paneClosesAtTenMinutes_data();
    void paneClosesAtTenMinutes();
    void paceLeadAndMinuteChart();
    void levelBoxGroupsTheExams();
};

void TestExamMode::startAsksWithTextInThePane_data()
{
    QTest::addColumn<bool>("examMode");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("questions");
    QTest::addColumn<QString>("left"); // in the pane after F2
    QTest::addColumn<bool>("started");
    QTest::newRow("はい clears") << true << "abc" << int(QMessageBox::Yes) << 1 << "" << true;
    QTest::newRow("いいえ keeps") << true << "abc" << int(QMessageBox::No) << 1 << "abc" << true;
    QTest::newRow("キャンセル does not start")
        << true << "abc" << int(QMessageBox::Cancel) << 1 << "abc" << false;
    QTest::newRow("an empty pane is not asked about")
        << true << "" << int(QMessageBox::Cancel) << 0 << "" << true;
    QTest::newRow("without the mode as ever")
        << false << "abc" << int(QMessageBox::Cancel) << 0 << "abc" << true;
}

void TestExamMode::startAsksWithTextInThePane()
{
    QFETCH(bool, examMode);
    QFETCH(QString, typed);
    QFETCH(int, answer);
    QFETCH(int, questions);
    QFETCH(QString, left);
    QFETCH(bool, started);
    Trainer t;
    TMainForm &w = *t.window;
    w.exam().bar()->ExamModeAction->setChecked(examMode);
    QCOMPARE(w.examSettings().ExamMode, examMode);
    QTest::keyClicks(w.RightMemo, typed);
    t.dialogs.answers << QMessageBox::StandardButton(answer);
    w.B1->trigger();
    QCOMPARE(t.dialogs.messages.size(), questions);
    QCOMPARE(w.RightMemo->toPlainText(), left);
    QCOMPARE(w.Timer1->isActive(), started);
    if (questions > 0)
        QCOMPARE(t.dialogs.messages.first().buttons,
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (left != typed) {
        w.RightMemo->undo(); // a cleared pane comes back
        QCOMPARE(w.RightMemo->toPlainText(), typed);
    }
}

void TestExamMode::paneClosesAtTenMinutes_data()
{
    QTest::addColumn<bool>("examMode");
    QTest::addColumn<QString>("release");
    QTest::newRow("until F3") << true << "F3";
    QTest::newRow("until 新規作成") << true << "new";
    QTest::newRow("until F2 again") << true << "F2";
    QTest::newRow("without the mode the pane stays open") << false << "F3";
}

void TestExamMode::paneClosesAtTenMinutes()
{
    QFETCH(bool, examMode);
    QFETCH(QString, release);
    Trainer t;
    TMainForm &w = *t.window;
    w.exam().bar()->ExamModeAction->setChecked(examMode);
    t.clock.now = 1000;
    w.B1->trigger();
    tickAt(t, 599);
    typeInto(w.RightMemo, QStringLiteral("ab"), QStringLiteral("漢"));
    QVERIFY(!w.RightMemo->isReadOnly());
    tickAt(t, 600);
    QCOMPARE(t.scores, QStringList { QStringLiteral("3") });
    QCOMPARE(w.RightMemo->isReadOnly(), examMode);
    typeInto(w.RightMemo, QStringLiteral("cd"), QStringLiteral("字"));
    QCOMPARE(w.RightMemo->toPlainText(), examMode ? "ab漢" : "ab漢cd字");
    tickAt(t, 700); // the timer goes on counting, the pane stays closed
    QCOMPARE(w.RightMemo->isReadOnly(), examMode);

    t.dialogs.answers << QMessageBox::No; // F2: keep the text
    if (release == QStringLiteral("F3"))
        w.S2->trigger();
    else if (release == QStringLiteral("new"))
        w.New1->trigger();
    else
        w.B1->trigger();
    QVERIFY(!w.RightMemo->isReadOnly());
    QTest::keyClicks(w.RightMemo, QStringLiteral("z"));
    QVERIFY(w.RightMemo->toPlainText().endsWith(u'z'));
}

// 3級 over a text it suits, then the lead at the minute marks and the chart.
void TestExamMode::paceLeadAndMinuteChart()
{
    Trainer t;
    TMainForm &w = *t.window;
    ExamPaceLabels *pace = w.exam().bar()->Pace;
    QCOMPARE(pace->PaceLabel->text(), QStringLiteral("必要ペース 30字/分"));
    QVERIFY(pace->KanjiLabel->isHidden());
    const QString practice = QString(240, u'漢') + QString(760, u'か');
    w.LeftMemo->setPlainText(practice);
    QTRY_COMPARE(pace->KanjiLabel->text(), KanjiShare::caption(practice));
    QCOMPARE(pace->KanjiLabel->text(), QStringLiteral("漢字 24% ・ 4級/3級向け"));
    QVERIFY(!pace->KanjiLabel->isHidden());

    w.exam().bar()->LevelCombo->setCurrentKey(QStringLiteral("biz:2級"));
    QCOMPARE(pace->PaceLabel->text(), QStringLiteral("必要ペース 45字/分"));
    QVERIFY(pace->LeadLabel->isHidden()); // no run yet
    t.clock.now = 1000;
    w.B1->trigger();
    // Minute by minute: 50, 35, 50 right, then one error in the fourth minute.
    const QList<int> typed { 50, 35, 50, 30 };
    const QStringList leads { "+5", "\u22125", "±0", "\u221216" };
    int sum = 0;
    for (int minute = 0; minute < typed.size(); ++minute) {
        sum += typed[minute];
        QString text = practice.left(sum);
        if (minute == 3)
            text[sum - 1] = u'x';
        w.RightMemo->setPlainText(text);
        tickAt(t, (minute + 1) * 60);
        QTRY_COMPARE(pace->LeadLabel->text(), leads[minute]);
    }
    QCOMPARE(pace->LeadLabel->styleSheet(), QStringLiteral("color: darkred"));
    w.S2->trigger();
    QVERIFY(pace->LeadLabel->isHidden());

    w.exam().check(); // F4 mid-run: the minutes so far
    ExamMinuteChart *chart = w.exam().resultWindow()->MinuteChart;
    QCOMPARE(chart->counts(), typed);
    QVERIFY(chart->isVisible());
    t.clock.now = 1000;
    w.B1->trigger(); // a new run counts from the text already there
    tickAt(t, 600);
    QCOMPARE(chart->counts(), QList<int>(10, 0));
    QCOMPARE(w.exam().resultWindow()->LevelLabel->text(), QStringLiteral("ビジネス 2級"));

    w.LeftMemo->clear();
    QTRY_VERIFY(pace->KanjiLabel->isHidden());
}

// Headings name the exams and are never chosen; each level says its exam.
void TestExamMode::levelBoxGroupsTheExams()
{
    Trainer t;
    ExamLevelBox *box = t.window->exam().bar()->LevelCombo;
    QStringList headings, titles;
    const auto *items = qobject_cast<QStandardItemModel *>(box->model());
    for (int i = 0; i < box->count(); ++i) {
        const bool chosen = items->item(i)->flags() & Qt::ItemIsSelectable;
        (chosen ? titles : headings) << box->itemText(i);
    }
    QCOMPARE(headings,
        QStringList({ "日本語ワープロ検定", "ビジネス文書実務検定", "" })); // "" the separator
    QStringList expected;
    for (const ExamLevel &level : ExamProfile::levels(0, 0))
        expected << level.title();
    QCOMPARE(titles, expected);
    QVERIFY(titles.contains(QStringLiteral("ワープロ 1級")) && titles.contains("ビジネス 4級"));
    box->setCurrentKey(QStringLiteral("biz:4級"));
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Up); // past the heading
    QCOMPARE(box->currentKey(), QStringLiteral("wp:1級"));
    QCOMPARE(t.window->examSettings().Level, QStringLiteral("wp:1級"));
}

QTEST_MAIN(TestExamMode)
#include "tst_exammode.moc"
