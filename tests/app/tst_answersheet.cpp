#include "tests/support/Trainer.h"

#include "app/AnswerSheet.h"
#include "app/exam/ExamScoring.h"
#include "controls/edit/SheetPane.h"
#include "core/text/SheetColumns.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>

using Starts = QList<qsizetype>;

namespace {
// Where the pane's layout starts each displayed line of the block.
Starts displayedStarts(QPlainTextEdit *pane, const QTextBlock &block)
{
    pane->document()->documentLayout()->blockBoundingRect(block); // laid out if not yet
    Starts starts;
    for (int i = 0; i < block.layout()->lineCount(); ++i)
        starts << block.layout()->lineAt(i).textStart();
    return starts;
}

// The squares a displayed line fills; blanks hanging past its end take none.
int halfColumns(QStringView line)
{
    while (!line.isEmpty() && line.back().isSpace())
        line.chop(1);
    int sum = 0;
    for (const char32_t c : line.toUcs4())
        sum += SheetColumns::halfColumns(c);
    return sum;
}

struct PaneLook
{
    QFont font;
    QTextOption::WrapMode wrap;
    QRect viewport; // where the margins leave it
    bool operator==(const PaneLook &) const = default;
};

PaneLook lookOf(QPlainTextEdit *pane)
{
    return { pane->font(), pane->wordWrapMode(), pane->viewport()->geometry() };
}

SheetPane *sheetPane(QPlainTextEdit *pane)
{
    return qobject_cast<SheetPane *>(pane);
}
} // namespace

class TestAnswerSheet final : public QObject
{
    Q_OBJECT
private slots:
    void choosesAFaceWithExactColumns_data();
    void choosesAFaceWithExactColumns();
    void linesBreakWhereTheSheetDoes_data();
    void linesBreakWhereTheSheetDoes();
    void switchingOffRestoresThePanes_data();
    void switchingOffRestoresThePanes();
    void marksAndSteppingKeepWorking();
    void keptInTheSettings_data();
    void keptInTheSettings();
};

// The faces tools/build.sh installs: IPAGothic has exact columns, the
// proportional IPAPGothic does not and gives way to it.
void TestAnswerSheet::choosesAFaceWithExactColumns_data()
{
    QTest::addColumn<QString>("learnerFace");
    QTest::addColumn<bool>("exact");
    QTest::addColumn<QString>("sheetFace");
    QTest::newRow("fixed-pitch face kept")
        << QStringLiteral("IPAGothic") << true << QStringLiteral("IPAGothic");
    QTest::newRow("proportional face replaced")
        << QStringLiteral("IPAPGothic") << false << QStringLiteral("IPAGothic");
}

void TestAnswerSheet::choosesAFaceWithExactColumns()
{
    QFETCH(QString, learnerFace);
    QFETCH(bool, exact);
    QFETCH(QString, sheetFace);
    QFont learner(learnerFace);
    for (const int pixels : { 12, 16, 24 }) {
        learner.setPixelSize(pixels);
        QCOMPARE(AnswerSheet::hasExactColumns(learner), exact);
        QCOMPARE(AnswerSheet::exactFamily(learner, pixels), sheetFace);
    }
}

void TestAnswerSheet::linesBreakWhereTheSheetDoes_data()
{
    QTest::addColumn<int>("windowWidth");
    QTest::addColumn<QString>("text");
    const QString mixed
        = QStringLiteral("本日は、Word 2021 と Excel を使います。ｶﾀｶﾅも　全角も。").repeated(6);
    const QString edge = QString(79, u'a') + QStringLiteral("漢字") + QString(39, u'あ') + u'b'
        + QStringLiteral("かな");
    for (const int width : { 800, 1700 }) {
        const QByteArray at = " in a window " + QByteArray::number(width) + " wide";
        QTest::newRow("full-width only" + at) << width << QStringLiteral("漢字かな").repeated(37);
        QTest::newRow("half-width only" + at) << width << QStringLiteral("abc 12").repeated(50);
        QTest::newRow("mixed, paragraphs, an empty one" + at)
            << width << mixed + QStringLiteral("\n\n") + mixed;
        QTest::newRow("straddling the edge" + at) << width << edge;
        QTest::newRow("blanks past the edge" + at) << width
                                                   << QString(80, u'a') + QStringLiteral(" b")
                + QString(39, u'あ') + u'　' + QStringLiteral("　い");
        QTest::newRow("surrogate pairs" + at) << width << QStringLiteral("𠮷野家の𩸽").repeated(30);
    }
}

// Both panes wrap every paragraph where the column rule does, in a font whose
// columns are exact, and the text stays as it was.
void TestAnswerSheet::linesBreakWhereTheSheetDoes()
{
    QFETCH(int, windowWidth);
    QFETCH(QString, text);
    Trainer t;
    TMainForm &w = *t.window;
    w.resize(windowWidth, 700);
    w.LeftMemo->setPlainText(text);
    w.RightMemo->setPlainText(text);
    const QString count = w.RightWordCount();
    w.SheetItem->trigger();
    QVERIFY(w.answerSheet().isShown());
    QVERIFY2(AnswerSheet::hasExactColumns(w.answerSheet().sheetFont()),
        qPrintable(w.answerSheet().sheetFont().toString()));
    for (QPlainTextEdit *pane : { w.LeftMemo, w.RightMemo }) {
        QCOMPARE(pane->font(), w.answerSheet().sheetFont());
        for (QTextBlock block = pane->document()->firstBlock(); block.isValid();
             block = block.next()) {
            const Starts starts = displayedStarts(pane, block);
            QCOMPARE(starts, SheetColumns::lineStarts(block.text()));
            for (qsizetype i = 0; i < starts.size(); ++i) {
                const qsizetype end = i + 1 < starts.size() ? starts[i + 1] : block.length() - 1;
                QVERIFY(halfColumns(QStringView(block.text()).sliced(starts[i], end - starts[i]))
                    <= SheetColumns::HalfColumnsPerLine);
            }
        }
        QCOMPARE(pane->toPlainText(), text);
    }
    QCOMPARE(w.RightWordCount(), count);
    // The margin shows the numbers: more than its background is painted.
    const QImage margin = sheetPane(w.RightMemo)->numberMargin()->grab().toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < margin.height(); ++y)
        for (int x = 0; x < margin.width(); ++x)
            colours << margin.pixel(x, y);
    QVERIFY(colours.size() > 2);
}

void TestAnswerSheet::switchingOffRestoresThePanes_data()
{
    QTest::addColumn<QString>("sizeWhileOn"); // chosen in the font bar while the sheet shows
    QTest::addColumn<int>("pointsAfter");
    QTest::newRow("nothing chosen meanwhile") << QString() << 12;
    QTest::newRow("a size chosen meanwhile") << QStringLiteral("18") << 18;
}

void TestAnswerSheet::switchingOffRestoresThePanes()
{
    QFETCH(QString, sizeWhileOn);
    QFETCH(int, pointsAfter);
    Trainer t;
    TMainForm &w = *t.window;
    w.LeftMemo->setPlainText(QStringLiteral("あいうえお").repeated(20));
    const PaneLook left = lookOf(w.LeftMemo);
    const PaneLook right = lookOf(w.RightMemo);
    QCOMPARE(right.font.pointSize(), 12);

    w.SheetItem->trigger();
    QVERIFY(sheetPane(w.RightMemo)->numberMargin()->isVisible());
    QVERIFY(lookOf(w.RightMemo) != right);
    if (!sizeWhileOn.isEmpty()) {
        w.FontSizeCombo->setCurrentText(sizeWhileOn);
        QCOMPARE(w.RightMemo->font(), w.answerSheet().sheetFont()); // the sheet keeps its font
    }
    w.SheetItem->trigger();
    QVERIFY(!w.answerSheet().isShown());
    QVERIFY(!sheetPane(w.RightMemo)->numberMargin()->isVisible());
    for (auto [pane, before] :
        { std::pair { w.LeftMemo, left }, std::pair { w.RightMemo, right } }) {
        PaneLook expected = before;
        expected.font.setPointSize(pointsAfter);
        QCOMPARE(lookOf(pane).font, expected.font);
        QCOMPARE(lookOf(pane).wrap, expected.wrap);
        QCOMPARE(lookOf(pane).viewport, expected.viewport);
    }
}

// The band is on the sheet line reached, and the answer check's marks and
// stepping work on the sheet as off it.
void TestAnswerSheet::marksAndSteppingKeepWorking()
{
    Trainer t;
    TMainForm &w = *t.window;
    w.resize(1700, 700);
    w.SheetItem->trigger();
    const QString practice = QString(100, u'あ');
    w.LeftMemo->setPlainText(practice);
    w.RightMemo->setPlainText(practice.left(45));
    QTRY_COMPARE(w.LeftMemo->extraSelections().size(), 1);
    QTextCursor band = w.LeftMemo->extraSelections().first().cursor;
    band.movePosition(QTextCursor::StartOfLine);
    QCOMPARE(band.position(), 40); // the second sheet line

    w.RightMemo->setPlainText(practice.left(41) + u'X' + practice.left(10));
    w.exam().check();
    QCOMPARE(w.RightMemo->extraSelections().size(), 1);
    QTest::keyClick(w.RightMemo, Qt::Key_F8);
    QCOMPARE(w.RightMemo->textCursor().position(), 41);
}

void TestAnswerSheet::keptInTheSettings_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("shown");
    QTest::newRow("older file: off") << QByteArray("[General]\r\nDoubleView=1\r\n") << false;
    QTest::newRow("switched on last time") << QByteArray("[Sheet]\r\nEnabled=1\r\n") << true;
}

// The window starts as the file says and the close writes the switch back.
void TestAnswerSheet::keptInTheSettings()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, shown);
    Trainer t(file);
    TMainForm &w = *t.window;
    QCOMPARE(w.SheetItem->isChecked(), shown);
    QCOMPARE(sheetPane(w.LeftMemo)->showsSheet(), shown);
    QCOMPARE(sheetPane(w.RightMemo)->showsSheet(), shown);
    w.SheetItem->trigger();
    QVERIFY(w.close());
    QVERIFY(t.iniBytes().contains(shown ? "[Sheet]\r\nEnabled=0" : "[Sheet]\r\nEnabled=1"));
}

QTEST_MAIN(TestAnswerSheet)
#include "tst_answersheet.moc"
