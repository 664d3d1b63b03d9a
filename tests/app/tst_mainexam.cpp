#include "tests/support/Trainer.h"

#include "app/exam/ExamLevelBox.h"
#include "app/exam/ExamScoring.h"
#include "app/exam/ExamToolBar.h"
#include "core/exam/ExamHistory.h"
#include "core/text/Cp932.h"
#include "dialogs/exam/ExamResultWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QInputMethodEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTextBlock>
#include <QToolBar>

namespace {

// The ten-minute capture, delivered the way the window timer would.
void runTenMinutes(Trainer &t)
{
    t.clock.now = 1000;
    t.window->StartButtonClick();
    t.clock.now = 1000 + 600000;
    t.window->Timer1Timer();
}

// A practice text opened from a file, as a learner does in two-pane mode.
void openPractice(Trainer &t, const QString &name, const QString &text)
{
    const QString path = t.folder.filePath(name);
    QVERIFY(writeAll(path, Cp932::fromPaneText(text)));
    t.dialogs.fileNames << path;
    t.window->Open1Click();
}

QStringList captions(const QMenu *menu)
{
    QStringList texts;
    for (const QAction *action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

QMenu *menuNamed(const TMainForm &w, const QString &title)
{
    for (QAction *action : w.menuBar()->actions())
        if (action->text() == title)
            return action->menu();
    return nullptr;
}

// What an input method hands over when the learner confirms a conversion.
void commit(QWidget *pane, const QString &text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(pane, &event);
}

QString marked(const QTextEdit::ExtraSelection &s)
{
    return s.cursor.selectedText();
}

} // namespace

class TestMainExam final : public QObject
{
    Q_OBJECT
private slots:
    void figuresFollowTyping_data();
    void figuresFollowTyping();
    void barAndMenusKeepTheOldCaptions();
    void levelAndFiguresComeBackAtTheNextStart();
    void tenMinuteResultIsRecordedButACheckIsNot();
    void resultWindowLeavesTheKeyboardToThePane();
    void unwritableHistoryIsToldOnce();
    void markerFollowsTheAlignment_data();
    void markerFollowsTheAlignment();
    void markerFollowsAWrappedParagraph();
    void answerCheckMarksEachKindAndSteps();
    void keyboardGoesBackToThePane_data();
    void keyboardGoesBackToThePane();
    void resultWindowHidesNoTyping();
};

void TestMainExam::figuresFollowTyping_data()
{
    QTest::addColumn<QString>("practice");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("level");
    QTest::addColumn<QStringList>("figures"); // errors, net score worked out, pass mark
    QTest::newRow("exact prefix at 3級")
        << QStringLiteral("日本語の文章です") << QStringLiteral("日本語の") << 1
        << QStringList { "誤字 0  脱字 0  余字 0", "得点 4 − 0 × 1 = 4", "合格点 300 未達" };
    QTest::newRow("ネズミ for ねずみ at 2級: 3 errors of 3")
        << QStringLiteral("ねずみが走る") << QStringLiteral("ネズミが走る") << 3
        << QStringList { "誤字 3  脱字 0  余字 0", "得点 6 − 3 × 3 → 0 (0 未満は 0)",
               "合格点 500 未達" };
    QTest::newRow("line break counts once")
        << QStringLiteral("ab\ncd\nef") << QStringLiteral("ab\ncx") << 0
        << QStringList { "誤字 1  脱字 0  余字 0", "得点 5 − 1 × 1 = 4", "合格点 200 未達" };
    QTest::newRow("4級 exactly the mark passes")
        << QString(210, u'a') << u'b' + QString(200, u'a') << 0
        << QStringList { "誤字 1  脱字 0  余字 0", "得点 201 − 1 × 1 = 200", "合格点 200 到達" };
    QTest::newRow("自由設定 exactly the mark passes")
        << QStringLiteral("abcdefghijkl") << QStringLiteral("abcdefgXij")
        << ExamProfile::CustomIndex
        << QStringList { "誤字 1  脱字 0  余字 0", "得点 10 − 1 × 2 = 8", "合格点 8 到達" };
    QTest::newRow("自由設定 one under the mark")
        << QStringLiteral("abcdefghijkl") << QStringLiteral("abcdfgXijk")
        << ExamProfile::CustomIndex
        << QStringList { "誤字 1  脱字 1  余字 0", "得点 10 − 2 × 2 = 6", "合格点 8 未達" };
    QTest::newRow("typed past the end")
        << QStringLiteral("abc") << QStringLiteral("abcde") << ExamProfile::CustomIndex
        << QStringList { "誤字 0  脱字 0  余字 2", "得点 5 − 2 × 2 = 1", "合格点 8 未達" };
}

void TestMainExam::figuresFollowTyping()
{
    QFETCH(QString, practice);
    QFETCH(QString, typed);
    QFETCH(int, level);
    QFETCH(QStringList, figures);
    Trainer t;
    TMainForm &w = *t.window;
    w.exam().bar()->PenaltySpin->setValue(2);
    w.exam().bar()->PassMarkSpin->setValue(8);
    w.exam().bar()->LevelCombo->setCurrentLevel(level);
    w.LeftMemo->setPlainText(practice);
    for (const QString &line : typed.split(u'\n')) {
        if (!w.RightMemo->toPlainText().isEmpty())
            QTest::keyClick(w.RightMemo, Qt::Key_Return);
        commit(w.RightMemo, line);
    }
    QTRY_COMPARE(w.exam().bar()->ScoreLabel->text(), figures.at(1)); // once typing pauses
    QCOMPARE(w.exam().bar()->ErrorsLabel->text(), figures.at(0));
    QCOMPARE(w.exam().bar()->PassLabel->text(), figures.at(2));
}

// The new bar and items come after the old ones, whose captions and keys stay.
void TestMainExam::barAndMenusKeepTheOldCaptions()
{
    Trainer t;
    TMainForm &w = *t.window;
    QCOMPARE(captions(menuNamed(w, QStringLiteral("表示(&V)"))).mid(0, 5),
        QStringList({ "ツールバー(&B)", "フォントバー(&F)", "タイムバー(&T)", "採点バー(&E)",
            "ステータスバー(&S)" }));
    QCOMPARE(captions(menuNamed(w, QStringLiteral("タイマー(&T)"))),
        QStringList({ "開始(&B)", "停止(&S)", "-", "採点(&R)", "次の誤り(&N)", "前の誤り(&P)" }));
    QCOMPARE(w.B1->shortcut(), QKeySequence(Qt::Key_F2));
    QCOMPARE(w.S2->shortcut(), QKeySequence(Qt::Key_F3));
    QCOMPARE(w.ExamCheck->shortcut(), QKeySequence(Qt::Key_F4));
    const QList<QToolBar *> bars = w.findChildren<QToolBar *>();
    QCOMPARE(bars.size(), 4);
    QCOMPARE(bars.last(), static_cast<QToolBar *>(w.exam().bar()));
    QVERIFY(w.exam().bar()->isVisible() && w.ExamBarItem->isChecked());
    w.ExamBarItem->trigger();
    QVERIFY(!w.exam().bar()->isVisible());
    QVERIFY(w.TimeBar->isVisible());
}

void TestMainExam::levelAndFiguresComeBackAtTheNextStart()
{
    QByteArray ini
        = "[Exam]\r\nLevel=" + Cp932::encode(QStringLiteral("準1級")) + "\r\nShowFigures=0\r\n";
    {
        Trainer t(ini);
        TMainForm &w = *t.window;
        QCOMPARE(w.exam().bar()->LevelCombo->currentText(), QStringLiteral("ワープロ 準1級"));
        QTRY_VERIFY(!w.exam().bar()->ScoreLabel->isVisible()); // the bar lays itself out later
        QVERIFY(!w.exam().bar()->PenaltySpin->isVisible());
        w.exam().bar()->LevelCombo->setCurrentLevel(ExamProfile::CustomIndex);
        QTRY_VERIFY(
            w.exam().bar()->PenaltySpin->isVisible() && w.exam().bar()->PassMarkSpin->isVisible());
        w.exam().bar()->PenaltySpin->setValue(5);
        w.exam().bar()->PassMarkSpin->setValue(700);
        w.exam().bar()->Figures->trigger();
        QTRY_VERIFY(w.exam().bar()->ScoreLabel->isVisible());
        QVERIFY(w.close());
        ini = t.iniBytes();
    }
    Trainer t(ini);
    TMainForm &w = *t.window;
    QCOMPARE(w.exam().bar()->LevelCombo->currentText(), QStringLiteral("自由設定"));
    QCOMPARE(w.exam().bar()->PenaltySpin->value(), 5);
    QCOMPARE(w.exam().bar()->PassMarkSpin->value(), 700);
    QTRY_VERIFY(w.exam().bar()->ScoreLabel->isVisible());
}

void TestMainExam::tenMinuteResultIsRecordedButACheckIsNot()
{
    Trainer t;
    TMainForm &w = *t.window;
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.exam().bar()->LevelCombo->setCurrentLevel(3); // 2級: 3 characters an error, 500 to pass
    openPractice(t, QStringLiteral("問題1.txt"), QStringLiteral("わたしたちは\n走る"));
    w.RightMemo->setPlainText(QStringLiteral("私達は\n走"));
    const ExamHistory history(ExamHistory::pathBeside(t.iniPath()));

    QTest::keyClick(w.RightMemo, Qt::Key_F4);
    QVERIFY(w.exam().resultWindow() && w.exam().resultWindow()->isVisible());
    QCOMPARE(w.exam().resultWindow()->VerdictLabel->text(), QStringLiteral("不合格"));
    QVERIFY(!QFile::exists(history.path()));

    runTenMinutes(t);
    QCOMPARE(t.scores, QStringList { QStringLiteral("5") }); // the raw count, as before
    const QList<ExamResult> runs = history.read();
    QCOMPARE(runs.size(), 1);
    const ExamResult &run = runs.first();
    QCOMPARE(run.practiceName, QStringLiteral("問題1.txt"));
    QCOMPARE(run.level, QStringLiteral("ワープロ 2級")); // new rows name the exam
    QCOMPARE(QList<int>({ run.typedCount, run.substitutions, run.omissions, run.insertions,
                 run.netScore, run.passMark }),
        QList<int>({ 5, 2, 3, 0, 0, 500 })); // 私達 for わたしたち: 5 errors
    QCOMPARE(w.exam().resultWindow()->PracticeLabel->text(), QStringLiteral("問題1.txt"));
    QCOMPARE(w.exam().resultWindow()->OmissionsLabel->text(), QStringLiteral("3"));

    QTest::keyClick(w.RightMemo, Qt::Key_F4);
    QCOMPARE(history.read().size(), 1);
}

void TestMainExam::resultWindowLeavesTheKeyboardToThePane()
{
    Trainer t;
    TMainForm &w = *t.window;
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.LeftMemo->setPlainText(QStringLiteral("あいうえお"));
    commit(QApplication::focusWidget(), QStringLiteral("あい"));
    QCOMPARE(w.RightMemo->toPlainText(), QStringLiteral("あい"));

    runTenMinutes(t);
    QVERIFY(QTest::qWaitForWindowExposed(w.exam().resultWindow()));
    QTest::qWait(50); // any activation the window system makes of it comes in by now
    QCOMPARE(QApplication::activeWindow(), &w);
    QCOMPARE(QApplication::focusWidget(), w.RightMemo);
    // The learner types on through the bell.
    commit(QApplication::focusWidget(), QStringLiteral("う"));
    QTest::keyClicks(nullptr, QStringLiteral("e"));
    QCOMPARE(w.RightMemo->toPlainText(), QStringLiteral("あいうe"));
}

void TestMainExam::unwritableHistoryIsToldOnce()
{
    Trainer t;
    TMainForm &w = *t.window;
    QVERIFY(QDir().mkdir(ExamHistory::pathBeside(t.iniPath()))); // a folder in the file's place
    w.LeftMemo->setPlainText(QStringLiteral("abc"));
    w.RightMemo->setPlainText(QStringLiteral("ab"));
    runTenMinutes(t);
    // Told in the result window, which leaves the keyboard alone, not in a box that takes it.
    QVERIFY(t.dialogs.messages.isEmpty());
    QVERIFY(
        w.exam().resultWindow()->isVisible() && w.exam().resultWindow()->NoticeLabel->isVisible());
    QVERIFY(w.exam().resultWindow()->NoticeLabel->text().contains(
        QDir::toNativeSeparators(ExamHistory::pathBeside(t.iniPath()))));
    runTenMinutes(t);
    QCOMPARE(t.scores, QStringList({ "2", "2" }));
    QVERIFY(t.dialogs.messages.isEmpty());
    QVERIFY(!w.exam().resultWindow()->NoticeLabel->isVisible()); // once a session
    QVERIFY(w.exam().resultWindow()->isVisible());
}

void TestMainExam::markerFollowsTheAlignment_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("block");
    QTest::newRow("nothing typed") << QString() << 0;
    QTest::newRow("inside the first line") << QStringLiteral("ab") << 0;
    QTest::newRow("past its line break") << QStringLiteral("abc\n") << 1;
    QTest::newRow("third line, with errors") << QStringLiteral("aXc\ndef\ngh") << 2;
    QTest::newRow("far down the text")
        << QStringLiteral("abc\ndef\nghi\njkl") + QStringLiteral("\nxyz").repeated(76) << 79;
}

void TestMainExam::markerFollowsTheAlignment()
{
    QFETCH(QString, typed);
    QFETCH(int, block);
    Trainer t;
    TMainForm &w = *t.window;
    w.LeftMemo->setPlainText(
        QStringLiteral("abc\ndef\nghi\njkl") + QStringLiteral("\nxyz").repeated(96));
    w.RightMemo->setPlainText(typed);
    QTRY_COMPARE(w.exam().markerBlock(), block);
    const QList<QTextEdit::ExtraSelection> bands = w.LeftMemo->extraSelections();
    QCOMPARE(bands.size(), 1);
    QCOMPARE(bands.first().cursor.blockNumber(), block);
    QVERIFY(bands.first().format.property(QTextFormat::FullWidthSelection).toBool());
    const QTextCursor line(w.LeftMemo->document()->findBlockByNumber(block));
    QVERIFY(w.LeftMemo->viewport()->rect().contains(w.LeftMemo->cursorRect(line)));
}

// A practice text of one long paragraph: the band is on the screen line reached,
// and that line stays in view, not the paragraph's first line.
void TestMainExam::markerFollowsAWrappedParagraph()
{
    Trainer t;
    TMainForm &w = *t.window;
    const QString practice = QStringLiteral("あいうえおかきくけこ").repeated(300);
    w.LeftMemo->setPlainText(practice);
    w.RightMemo->setPlainText(practice.left(2500));
    QTRY_COMPARE(w.exam().markerBlock(), 0);
    const QList<QTextEdit::ExtraSelection> bands = w.LeftMemo->extraSelections();
    QCOMPARE(bands.size(), 1);
    QCOMPARE(bands.first().cursor.position(), 2500);
    const QRect row = w.LeftMemo->cursorRect(bands.first().cursor);
    QVERIFY(w.LeftMemo->viewport()->rect().contains(row));
    // Drawn on that screen line only.
    const QImage shot = w.LeftMemo->viewport()->grab().toImage();
    const auto banded = [&](int y) {
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixel(x, y) == bands.first().format.background().color().rgb())
                return true;
        return false;
    };
    QVERIFY(banded(row.center().y()));
    QVERIFY(!banded(row.center().y() - row.height()) && !banded(row.center().y() + row.height()));
}

void TestMainExam::answerCheckMarksEachKindAndSteps()
{
    Trainer t;
    TMainForm &w = *t.window;
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.LeftMemo->setPlainText(QStringLiteral("abcdefgh"));
    w.RightMemo->setPlainText(QStringLiteral("aXcdfgQh")); // b mistyped, e left out, Q added
    w.exam().check();

    const QList<QTextEdit::ExtraSelection> right = w.RightMemo->extraSelections();
    const QList<QTextEdit::ExtraSelection> left = w.LeftMemo->extraSelections();
    QCOMPARE(right.size(), 2);
    QCOMPARE(left.size(), 3); // the band, the mistyped character as it should be, the omission
    QCOMPARE(QStringList({ marked(right[0]), marked(right[1]), marked(left[1]), marked(left[2]) }),
        QStringList({ "X", "Q", "b", "e" }));
    QCOMPARE(left[1].format.underlineStyle(), QTextCharFormat::WaveUnderline);
    // Told apart by line as well as by colour.
    QCOMPARE(right[0].format.underlineStyle(), QTextCharFormat::WaveUnderline);
    QVERIFY(right[1].format.fontStrikeOut() && !right[0].format.fontStrikeOut());
    QCOMPARE(left[2].format.underlineStyle(), QTextCharFormat::DashUnderline);
    QCOMPARE(QSet<QRgb>({ right[0].format.background().color().rgb(),
                            right[1].format.background().color().rgb(),
                            left[2].format.background().color().rgb() })
                 .size(),
        3);

    // Round the errors in text order, each in its own pane.
    QTest::keyClick(w.RightMemo, Qt::Key_F8);
    QCOMPARE(w.RightMemo->textCursor().position(), 1);
    QTest::keyClick(w.RightMemo, Qt::Key_F8);
    QCOMPARE(w.LeftMemo->textCursor().selectedText(), QStringLiteral("e"));
    w.exam().resultWindow()->NextButton->click();
    QCOMPARE(w.RightMemo->textCursor().position(), 6);
    QVERIFY(!w.RightMemo->textCursor().hasSelection());
    QTest::keyClick(w.RightMemo, Qt::Key_F8, Qt::ShiftModifier);
    QCOMPARE(w.exam().currentErrorIndex(), 1);

    QTest::keyClick(w.RightMemo, Qt::Key_F8, Qt::ShiftModifier); // back to the omission
    QTest::keyClick(w.RightMemo, Qt::Key_Z); // the next edit clears the marks
    QVERIFY(w.RightMemo->extraSelections().isEmpty());
    QCOMPARE(w.LeftMemo->extraSelections().size(), 1);
    QVERIFY(!w.LeftMemo->textCursor().hasSelection()); // no leftover look-alike of a mark

    // A left-out line break, which has no glyph, is marked out to the pane's edge.
    w.LeftMemo->setPlainText(QStringLiteral("ab\ncd"));
    QVERIFY(!w.exam().resultWindow()->isVisible()); // it told of the text before
    w.RightMemo->setPlainText(QStringLiteral("abcd"));
    w.exam().check();
    const QTextEdit::ExtraSelection lineBreak = w.LeftMemo->extraSelections().last();
    QCOMPARE(marked(lineBreak), QString(QChar::ParagraphSeparator));
    QVERIFY(lineBreak.format.property(QTextFormat::FullWidthSelection).toBool());
    QCOMPARE(lineBreak.format.background().style(), Qt::BDiagPattern); // not by colour alone

    // With the practice text's pane hidden, a left-out character is shown where it belongs.
    w.N6Click();
    w.exam().check();
    w.RightMemo->moveCursor(QTextCursor::End);
    QTest::keyClick(w.RightMemo, Qt::Key_F8);
    QCOMPARE(w.exam().currentErrorIndex(), 0);
    QCOMPARE(w.RightMemo->textCursor().position(), 2);
}

// A level picked, a figure entered, an error stepped to from the result window:
// the next keystroke is typing again.
void TestMainExam::keyboardGoesBackToThePane_data()
{
    QTest::addColumn<QString>("control");
    QTest::newRow("level combo, a level picked") << QStringLiteral("level");
    QTest::newRow("penalty, Enter") << QStringLiteral("penalty");
    QTest::newRow("pass mark, Enter") << QStringLiteral("mark");
    QTest::newRow("result window, next error") << QStringLiteral("next");
}

void TestMainExam::keyboardGoesBackToThePane()
{
    QFETCH(QString, control);
    Trainer t;
    TMainForm &w = *t.window;
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.exam().bar()->LevelCombo->setCurrentLevel(ExamProfile::CustomIndex);
    w.LeftMemo->setPlainText(QStringLiteral("abcdef"));
    w.RightMemo->setPlainText(QStringLiteral("aXc"));
    if (control == QStringLiteral("next")) {
        w.exam().check();
        QTest::qWait(600); // past the moment a window system's activation is handed back
        w.exam().resultWindow()->activateWindow(); // the learner's own click on it
        QTRY_COMPARE(QApplication::activeWindow(), w.exam().resultWindow());
        QTest::mouseClick(w.exam().resultWindow()->NextButton, Qt::LeftButton);
        QCOMPARE(w.RightMemo->textCursor().position(), 1);
    } else if (control == QStringLiteral("level")) {
        w.exam().bar()->LevelCombo->setFocus();
        QTest::keyClick(w.exam().bar()->LevelCombo, Qt::Key_Up); // as a pick from its list does
        QCOMPARE(w.exam().bar()->LevelCombo->currentLevel(), ExamProfile::CustomIndex - 1);
    } else {
        QSpinBox *spin = control == QStringLiteral("penalty") ? w.exam().bar()->PenaltySpin
                                                              : w.exam().bar()->PassMarkSpin;
        QTRY_VERIFY(spin->isVisible());
        spin->setFocus();
        QTest::keyClick(spin, Qt::Key_Up);
        QVERIFY(spin->hasFocus()); // still choosing
        QTest::keyClick(spin, Qt::Key_Return);
    }
    QTRY_COMPARE(QApplication::activeWindow(), &w);
    QCOMPARE(QApplication::focusWidget(), w.RightMemo);
}

// Beside the main window where the screen has room; else over a part with no typing.
void TestMainExam::resultWindowHidesNoTyping()
{
    const QRect screen(0, 0, 1920, 1080);
    const QRect spare(10, 100, 400, 600); // the practice pane
    const QSize size(300, 200);
    const auto place = [&](const QRect &main) {
        return QRect(ExamResultWindow::clearPlace(main, size, screen, spare), size);
    };
    const QRect narrow(100, 50, 1000, 700);
    QVERIFY(!place(narrow).intersects(narrow) && screen.contains(place(narrow)));
    QCOMPARE(place(narrow).left(), narrow.right() + 5);
    const QRect wide(0, 0, 1800, 700);
    QVERIFY(!place(wide).intersects(wide) && screen.contains(place(wide)));
    QCOMPARE(place(wide).top(), wide.bottom() + 5);
    const QRect right(500, 0, 1420, 1040);
    QVERIFY(!place(right).intersects(right) && screen.contains(place(right)));
    QCOMPARE(place(right).right(), right.left() - 5);
    const QRect full(0, 0, 1920, 1040);
    QVERIFY(spare.contains(place(full)));
    QCOMPARE(place(full).bottom(), spare.bottom() - 4);

    // And on the real windows: the typing pane is left uncovered.
    Trainer t;
    TMainForm &w = *t.window;
    w.LeftMemo->setPlainText(QStringLiteral("abc"));
    w.RightMemo->setPlainText(QStringLiteral("ab"));
    w.exam().check();
    QVERIFY(QTest::qWaitForWindowExposed(w.exam().resultWindow()));
    const QRect typing(w.RightMemo->mapToGlobal(QPoint(0, 0)), w.RightMemo->size());
    QVERIFY(!w.exam().resultWindow()->frameGeometry().intersects(typing));
}

QTEST_MAIN(TestMainExam)
#include "tst_mainexam.moc"
