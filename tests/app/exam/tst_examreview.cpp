#include "tests/support/Trainer.h"

#include "app/exam/ExamLevelBox.h"
#include "app/exam/ExamScoring.h"
#include "app/exam/ExamToolBar.h"
#include "controls/edit/Spin.h"
#include "core/text/Cp932.h"
#include "dialogs/exam/ExamMarkStyles.h"
#include "dialogs/exam/ExamResultWindow.h"
#include "dialogs/exam/ExamReviewPane.h"

#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTreeWidget>

using ErrorKind = ExamAlignment::ErrorKind;

namespace {

QString marked(const QTextEdit::ExtraSelection &s)
{
    return s.cursor.selectedText();
}

// What each pane marks in the way of the kind's own mark.
QStringList marksOf(const QPlainTextEdit *pane, ErrorKind kind)
{
    QStringList texts;
    for (const QTextEdit::ExtraSelection &s : pane->extraSelections())
        if (s.format.underlineStyle() == ExamMarkStyles::markFormat(kind).underlineStyle()
            && s.format.fontStrikeOut() == ExamMarkStyles::markFormat(kind).fontStrikeOut()
            && !s.format.property(QTextFormat::FullWidthSelection).toBool())
            texts << marked(s);
    return texts;
}

// The block the stepping shows, drawn over its marks.
QString currentIn(const QPlainTextEdit *pane)
{
    const QBrush shown = ExamMarkStyles::currentFormat().background();
    for (const QTextEdit::ExtraSelection &s : pane->extraSelections())
        if (s.format.background() == shown)
            return marked(s);
    return {};
}

void checked(Trainer &t, const QString &practice, const QString &typed)
{
    t.window->LeftMemo->setPlainText(practice);
    t.window->RightMemo->setPlainText(typed);
    t.window->exam().check();
}

QString withoutSpaces(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("\\s")));
    return text;
}

} // namespace

class TestExamReview final : public QObject
{
    Q_OBJECT
private slots:
    void marksSurviveAnInputMethodsEmptyEvents_data();
    void marksSurviveAnInputMethodsEmptyEvents();
    void resultGoesWithTheTextItWasMadeOf();
    void blocksAreMarkedListedAndSteppedOnce();
    void numberBoxesTakeFullWidthDigits_data();
    void numberBoxesTakeFullWidthDigits();
    void printedResultHoldsTheReview();
};

void TestExamReview::marksSurviveAnInputMethodsEmptyEvents_data()
{
    QTest::addColumn<QString>("preedit");
    QTest::addColumn<QString>("commit");
    QTest::addColumn<bool>("kept");
    QTest::newRow("empty, as at each activation") << QString() << QString() << true;
    QTest::newRow("preedit only") << QStringLiteral("かな") << QString() << true;
    QTest::newRow("a commit edits the text") << QString() << QStringLiteral("か") << false;
}

void TestExamReview::marksSurviveAnInputMethodsEmptyEvents()
{
    QFETCH(QString, preedit);
    QFETCH(QString, commit);
    QFETCH(bool, kept);
    Trainer t;
    TMainForm &w = *t.window;
    checked(t, QStringLiteral("あいうえお"), QStringLiteral("あいXえ"));
    QInputMethodEvent event(preedit, {});
    event.setCommitString(commit);
    QApplication::sendEvent(w.RightMemo, &event);
    QTest::qWait(20); // the alignment that follows an edit
    QCOMPARE(
        marksOf(w.RightMemo, ErrorKind::Substitution), kept ? QStringList { "X" } : QStringList());
    QTest::keyClick(w.RightMemo, Qt::Key_F8);
    QCOMPARE(w.exam().currentErrorIndex(), kept ? 0 : -1);
    QCOMPARE(w.exam().resultWindow()->NextButton->isEnabled(), kept);
}

// 新規作成 closes the result; an edit leaves it, with nothing left to step to.
void TestExamReview::resultGoesWithTheTextItWasMadeOf()
{
    Trainer t;
    TMainForm &w = *t.window;
    checked(t, QStringLiteral("abcdef"), QStringLiteral("abXd"));
    ExamResultWindow *result = w.exam().resultWindow();
    QVERIFY(result->isVisible() && result->NextButton->isEnabled());
    QCOMPARE(result->Review->List->topLevelItemCount(), 1);
    QTest::keyClick(w.RightMemo, Qt::Key_Z);
    QVERIFY(result->isVisible());
    QVERIFY(!result->NextButton->isEnabled() && !result->PreviousButton->isEnabled());
    QCOMPARE(result->Review->List->topLevelItemCount(), 0);
    QVERIFY(result->Review->OutdatedLabel->isVisibleTo(result));

    w.exam().check();
    QVERIFY(result->NextButton->isEnabled() && !result->Review->OutdatedLabel->isVisibleTo(result));
    w.RightMemo->document()->setModified(false); // nothing to ask about
    w.New1->trigger();
    QVERIFY(!result->isVisible());
}

void TestExamReview::blocksAreMarkedListedAndSteppedOnce()
{
    Trainer t;
    TMainForm &w = *t.window;
    // Line 2 left out, and one character mistyped on the last line.
    checked(t, QStringLiteral("ab:ijklmnop\nCDEFGHIJKLMNOPQRSTUV:xyz"),
        QStringLiteral("ab:CDEFGHIJKLMNOPQRSTUV:xYz"));
    const QString skipped = QStringLiteral("ijklmnop") + QChar::ParagraphSeparator;
    QCOMPARE(marksOf(w.LeftMemo, ErrorKind::Substitution), QStringList { "y" });
    QCOMPARE(marksOf(w.RightMemo, ErrorKind::Substitution), QStringList { "Y" });
    // The block's characters keep the plain mark; its line break is hatched out to
    // the pane's edge, plainly seen there.
    const QList<QTextEdit::ExtraSelection> left = w.LeftMemo->extraSelections();
    QCOMPARE(marked(left.at(1)), QStringLiteral("ijklmnop"));
    QCOMPARE(left.at(1).format.underlineStyle(), QTextCharFormat::DashUnderline);
    QCOMPARE(marked(left.at(2)), QString(QChar::ParagraphSeparator));
    QCOMPARE(left.at(2).format.background().style(), Qt::BDiagPattern);
    const QImage pane = w.LeftMemo->viewport()->grab().toImage();
    QTextCursor breakAt = left.at(2).cursor;
    breakAt.setPosition(breakAt.selectionStart());
    const QRect lineEnd = w.LeftMemo->cursorRect(breakAt);
    const QColor hatch = left.at(2).format.background().color();
    int hatched = 0;
    int all = 0;
    for (int y = lineEnd.top() + 2; y < lineEnd.bottom() - 1; ++y)
        for (int x = lineEnd.right() + 8; x < pane.width() - 8; ++x, ++all)
            hatched += pane.pixelColor(x, y) == hatch;
    QVERIFY2(hatched * 10 > all, qPrintable(QStringLiteral("%1 of %2").arg(hatched).arg(all)));

    // One press for the whole block, selected in the practice pane.
    w.exam().nextError(); // F8
    QCOMPARE(w.LeftMemo->textCursor().selectedText(), skipped);
    QCOMPARE(currentIn(w.LeftMemo), skipped);
    w.exam().nextError(); // F8
    QCOMPARE(w.exam().currentErrorIndex(), 1);
    QCOMPARE(currentIn(w.RightMemo), QStringLiteral("Y"));
    QCOMPARE(w.LeftMemo->textCursor().selectedText(), QStringLiteral("y"));
    QVERIFY(!w.RightMemo->textCursor().hasSelection()); // a keystroke replaces nothing
    QCOMPARE(w.RightMemo->textCursor().position(), 25);

    QTreeWidget *list = w.exam().resultWindow()->Review->List;
    QCOMPARE(list->topLevelItemCount(), 2);
    QCOMPARE(list->currentItem(), list->topLevelItem(1)); // the list follows the stepping
    QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("脱字 9字: ijklmnop↵"));
    list->setCurrentItem(list->topLevelItem(0));
    QCOMPARE(w.exam().currentErrorIndex(), 0);
    QCOMPARE(w.LeftMemo->textCursor().selectedText(), skipped);

    // The legend shows each kind in the very mark the panes use.
    QList<QTextCharFormat> samples;
    for (QTextBlock b = w.exam().resultWindow()->Review->Legend->document()->begin(); b.isValid();
         b = b.next())
        for (auto f = b.begin(); !f.atEnd(); ++f)
            if (f.fragment().text() == QStringLiteral("字"))
                samples << f.fragment().charFormat();
    QCOMPARE(samples.size(), 4);
    for (ErrorKind kind : { ErrorKind::Substitution, ErrorKind::Omission, ErrorKind::Insertion }) {
        const QTextCharFormat mark = ExamMarkStyles::markFormat(kind);
        QCOMPARE(samples.at(int(kind)).background(), mark.background());
        QCOMPARE(samples.at(int(kind)).underlineStyle(), mark.underlineStyle());
        QCOMPARE(samples.at(int(kind)).fontStrikeOut(), mark.fontStrikeOut());
    }
}

void TestExamReview::numberBoxesTakeFullWidthDigits_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("byKeys"); // else an input method's commit
    for (const char *box : { "penalty", "pass mark", "font size", "minutes" }) {
        QTest::addRow("%s, keys", box) << QString::fromLatin1(box) << true;
        QTest::addRow("%s, commit", box) << QString::fromLatin1(box) << false;
    }
}

void TestExamReview::numberBoxesTakeFullWidthDigits()
{
    QFETCH(QString, box);
    QFETCH(bool, byKeys);
    Trainer t;
    TMainForm &w = *t.window;
    TSpinEdit minutes; // the kind of box 環境設定 takes its minutes in
    w.exam().bar()->LevelCombo->setCurrentLevel(ExamProfile::CustomIndex); // the spins shown
    QWidget *target = box == "penalty" ? static_cast<QWidget *>(w.exam().bar()->PenaltySpin)
        : box == "pass mark"           ? w.exam().bar()->PassMarkSpin
        : box == "font size"           ? static_cast<QWidget *>(w.FontSizeCombo)
                                       : &minutes;
    QVERIFY(!target->testAttribute(Qt::WA_InputMethodEnabled));
    if (auto *spin = qobject_cast<QSpinBox *>(target))
        spin->selectAll();
    else if (auto *combo = qobject_cast<QComboBox *>(target))
        combo->lineEdit()->selectAll();
    else
        minutes.selectAll();
    if (byKeys) {
        for (const QString &digit : { QStringLiteral("１"), QStringLiteral("４") }) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, digit);
            QApplication::sendEvent(target, &press);
        }
    } else {
        QInputMethodEvent event;
        event.setCommitString(QStringLiteral("１４"));
        QApplication::sendEvent(target, &event);
    }
    if (box == "penalty")
        QCOMPARE(w.exam().bar()->PenaltySpin->value(), 14);
    else if (box == "pass mark")
        QCOMPARE(w.exam().bar()->PassMarkSpin->value(), 14);
    else if (box == "font size")
        QCOMPARE(w.RightMemo->font().pointSize(), 14);
    else
        QCOMPARE(minutes.value(), 14);
}

void TestExamReview::printedResultHoldsTheReview()
{
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    QVERIFY2(!pdftotext.isEmpty(), "pdftotext (poppler-utils) reads the printed result back");
    Trainer t;
    TMainForm &w = *t.window;
    const QString practicePath = t.folder.filePath(QStringLiteral("問題A.txt"));
    QVERIFY(writeAll(practicePath, Cp932::fromPaneText(QStringLiteral("あいうえおかきく"))));
    t.dialogs.fileNames << practicePath;
    w.Open1Click();
    w.RightMemo->setPlainText(QStringLiteral("あいXえおか"));

    w.ExamPrint->trigger(); // the print dialog cancelled: nothing printed
    QCOMPARE(t.dialogs.printDialogs, 1);

    const QString pdf = t.folder.filePath(QStringLiteral("result.pdf"));
    t.dialogs.choosePrinter = [&](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
    };
    t.dialogs.printAccepted = true;
    w.ExamPrint->trigger();
    QProcess reader;
    reader.start(pdftotext, { pdf, QStringLiteral("-") });
    QVERIFY(reader.waitForFinished(20000));
    const QString text = withoutSpaces(QString::fromUtf8(reader.readAllStandardOutput()));
    for (const QString &part : { QStringLiteral("採点結果"), QStringLiteral("問題A.txt"),
             QStringLiteral("3級"), QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd")),
             QStringLiteral("誤字1脱字0余字0"), QStringLiteral("6−1×1=5(合格点300:不合格)"),
             QStringLiteral("あいXえおか"), QStringLiteral("誤字1字:X"),
             QStringLiteral("あい【う】えおかき") })
        QVERIFY2(text.contains(part), qPrintable(part + QStringLiteral(" not in ") + text));

    // The typed text carries the panes' marks.
    const std::unique_ptr<QTextDocument> report = w.exam().report();
    const QTextCursor x = report->find(QStringLiteral("X"), 0, QTextDocument::FindCaseSensitively);
    QCOMPARE(x.charFormat().underlineStyle(), QTextCharFormat::WaveUnderline);
    QCOMPARE(x.charFormat().background(),
        ExamMarkStyles::markFormat(ErrorKind::Substitution).background());
}

QTEST_MAIN(TestExamReview)
#include "tst_examreview.moc"
