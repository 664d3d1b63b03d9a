#include "controls/plot/sgr_def.h"
#include "controls/plot/sgr_defSeries.h"
#include "core/Errors.h"
#include "dialogs/score/Score.h"
#include "tests/support/Trainer.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

constexpr QRgb Green = 0xFF008000;
constexpr QRgb Yellow = 0xFFFFFF00;

QStringList labels(const Tsp_Axis &axis)
{
    QStringList texts;
    for (int i = 0; i < axis.ticksCount(); ++i)
        texts << axis.GetTickLabel(i);
    return texts;
}

// "first, second .. last (count)", enough to pin down a regular run of labels.
QString run(const Tsp_Axis &axis)
{
    const QStringList all = labels(axis);
    if (all.size() < 3)
        return all.join(u',') + QStringLiteral(" (%1)").arg(all.size());
    return QStringLiteral("%1,%2..%3 (%4)").arg(all[0], all[1], all.last()).arg(all.size());
}

QStringList repeated(const QString &entry, int times)
{
    QStringList list;
    for (int i = 0; i < times; ++i)
        list << entry;
    return list;
}

} // namespace

class TestScore final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void drawsTheScoresAsAGreenLineWithYellowMarkers();
    void verticalAxisFitsTheScores_data();
    void verticalAxisFitsTheScores();
    void horizontalAxisLabelsTheRuns_data();
    void horizontalAxisLabelsTheRuns();
    void badEntriesAreSkippedAndTheFirstNamed();
    void scoresReadAsTheyAreStored_data();
    void scoresReadAsTheyAreStored();
    void scoresMenuOpensAFreshChart();
};

void TestScore::initTestCase()
{
    QFont::insertSubstitutions(QStringLiteral("ＭＳ Ｐゴシック"),
        { QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic") });
}

void TestScore::drawsTheScoresAsAGreenLineWithYellowMarkers()
{
    FakeDialogs dialogs;
    const QStringList scores { QStringLiteral("120"), QStringLiteral("340"),
        QStringLiteral("280") };
    TScoreForm form(&scores, dialogs);
    QCOMPARE(form.windowTitle(), QStringLiteral("10分間に打った文字数"));
    QCOMPARE(form.size(), QSize(600, 433));
    QCOMPARE(form.Button1->text(), QStringLiteral("閉じる"));
    QCOMPARE(form.Button1->geometry(), QRect(264, 400, 75, 25));
    QCOMPARE(form.XYPlot->geometry(), QRect(0, 0, 600, 377));
    QVERIFY(form.XYPlot->bufferedDisplay());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QImage image = form.XYPlot->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const Tsp_XYPlot::Field f = form.XYPlot->field();
    const Tsp_Axis &bottom = *form.XYPlot->BottomAxis();
    const Tsp_Axis &left = *form.XYPlot->LeftAxis();
    QCOMPARE(labels(bottom), QStringList({ "1", "2", "3" }));
    QCOMPARE(left.max(), 348.5);
    QCOMPARE(run(left), QStringLiteral("0,30..330 (12)"));

    auto at
        = [&](double x, double y) { return QPoint(bottom.ValueToPixel(x), left.ValueToPixel(y)); };
    const QPoint first = at(1, 120), second = at(2, 340), third = at(3, 280);
    QCOMPARE(first.x(), f.left);
    QCOMPARE(third.x(), f.right - 1);
    for (const QPoint &p : { first, second, third })
        QCOMPARE(image.pixel(p), Yellow);
    // The outer markers are cut in half by the field's edges.
    QVERIFY(image.pixel(first + QPoint(3, 0)) == Yellow);
    QVERIFY(image.pixel(first - QPoint(3, 0)) != Yellow);
    QVERIFY(image.pixel(third - QPoint(3, 0)) == Yellow);
    QVERIFY(image.pixel(third + QPoint(3, 0)) != Yellow);
    // The line, 3 pixels wide, half way between the markers.
    for (const auto &[a, b] : { std::pair(first, second), std::pair(second, third) }) {
        const QPoint middle = (a + b) / 2;
        for (int dy = -1; dy <= 1; ++dy)
            QCOMPARE(image.pixel(middle + QPoint(0, dy)), Green);
        QVERIFY(image.pixel(middle + QPoint(0, 4)) != Green);
        QVERIFY(image.pixel(middle - QPoint(0, 4)) != Green);
    }
}

void TestScore::verticalAxisFitsTheScores_data()
{
    QTest::addColumn<QStringList>("scores");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<QString>("labels");
    QTest::newRow("none") << QStringList() << 0.0 << 10.25 << "0,1..10 (11)";
    QTest::newRow("120 340 280") << QStringList { "120", "340", "280" } << 0.0 << 348.5
                                 << "0,30..330 (12)";
    QTest::newRow("250") << QStringList { "250" } << 0.0 << 256.25 << "0,20..240 (13)";
    QTest::newRow("1234") << QStringList { "5", "1234" } << 0.0 << 1264.85 << "0,100..1200 (13)";
    QTest::newRow("9") << QStringList { "9", "1" } << 0.0 << 9.225 << "0,0.9..9 (11)";
    QTest::newRow("all zero") << QStringList { "0", "0", "0" } << 0.0 << 1.0 << "0,0.1..1 (11)";
    // However many equal negative scores, and in whatever order mixed ones come.
    QTest::newRow("one -5") << QStringList { "-5" } << -5.125 << 0.0 << "";
    QTest::newRow("three -5") << repeated("-5", 3) << -5.125 << 0.0 << "";
    QTest::newRow("-5 then 10") << QStringList { "-5", "10" } << 0.0 << 10.25 << "0,1..10 (11)";
    QTest::newRow("10 then -5") << QStringList { "10", "-5" } << 0.0 << 10.25 << "0,1..10 (11)";
}

void TestScore::verticalAxisFitsTheScores()
{
    QFETCH(QStringList, scores);
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(QString, labels);
    FakeDialogs dialogs;
    TScoreForm form(&scores, dialogs);
    const Tsp_Axis &left = *form.XYPlot->LeftAxis();
    QCOMPARE(left.min(), min);
    QCOMPARE(left.max(), max);
    if (!labels.isEmpty())
        QCOMPARE(run(left), labels);
    QCOMPARE(form.XYLine->Count(), scores.size());
    QVERIFY(dialogs.messages.isEmpty());
}

void TestScore::horizontalAxisLabelsTheRuns_data()
{
    QTest::addColumn<int>("n");
    QTest::addColumn<double>("max");
    QTest::addColumn<QString>("labels");
    QTest::newRow("none") << 0 << 1.0 << " (0)"; // 0 to 1, no labels, no grid lines
    QTest::newRow("1") << 1 << 2.0 << "1 (1)";
    QTest::newRow("2") << 2 << 2.0 << "1,2 (2)";
    QTest::newRow("21") << 21 << 21.0 << "1,2..21 (21)";
    QTest::newRow("22") << 22 << 22.0 << "1,2..21 (21)";
    QTest::newRow("30") << 30 << 30.0 << "1,2..21 (21)";
    QTest::newRow("50") << 50 << 50.0 << "1,3..41 (21)";
    QTest::newRow("100") << 100 << 100.0 << "1,5..81 (21)";
    QTest::newRow("101") << 101 << 101.0 << "1,6..101 (21)";
    QTest::newRow("102") << 102 << 102.0 << "10,20..100 (10)";
    QTest::newRow("150") << 150 << 150.0 << "10,20..150 (15)";
    QTest::newRow("250") << 250 << 250.0 << "10,20..210 (21)";
}

void TestScore::horizontalAxisLabelsTheRuns()
{
    QFETCH(int, n);
    QFETCH(double, max);
    QFETCH(QString, labels);
    FakeDialogs dialogs;
    const QStringList scores = repeated(QStringLiteral("300"), n);
    TScoreForm form(&scores, dialogs);
    const Tsp_Axis &bottom = *form.XYPlot->BottomAxis();
    QCOMPARE(bottom.min(), n == 0 ? 0.0 : 1.0);
    QCOMPARE(bottom.max(), max);
    QCOMPARE(run(bottom), labels);
}

void TestScore::badEntriesAreSkippedAndTheFirstNamed()
{
    FakeDialogs dialogs;
    const QStringList scores { "10", "abc", "30", "42 ", " 42", "" };
    TScoreForm form(&scores, dialogs);
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].icon, QMessageBox::Critical);
    QCOMPARE(dialogs.messages[0].caption, QStringLiteral("VemiTrainer"));
    QCOMPARE(dialogs.messages[0].text, QStringLiteral("'abc' は整数ではありません."));
    // The valid entries keep their own places.
    QCOMPARE(form.XYLine->Count(), 3);
    const QList<QPointF> points { { form.XYLine->X(0), form.XYLine->Y(0) },
        { form.XYLine->X(1), form.XYLine->Y(1) }, { form.XYLine->X(2), form.XYLine->Y(2) } };
    QCOMPARE(points, (QList<QPointF> { { 1, 10 }, { 3, 30 }, { 5, 42 } }));
    QCOMPARE(form.XYPlot->BottomAxis()->max(), 6.0);

    // Without a score list nothing is plotted and nothing is said.
    FakeDialogs quiet;
    TScoreForm empty(nullptr, quiet);
    QCOMPARE(empty.XYLine->Count(), 0);
    QCOMPARE(empty.XYPlot->BottomAxis()->max(), 9.2);
    QVERIFY(quiet.messages.isEmpty());
}

void TestScore::scoresReadAsTheyAreStored_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("value");
    QTest::newRow("decimal") << "340" << 340;
    QTest::newRow("leading spaces") << "  42" << 42;
    QTest::newRow("signs") << "-5" << -5;
    QTest::newRow("plus") << "+7" << 7;
    QTest::newRow("dollar") << "$1F" << 31;
    QTest::newRow("x") << "x1f" << 31;
    QTest::newRow("0X") << "0X10" << 16;
    QTest::newRow("signed hex") << "-0x10" << -16;
    QTest::newRow("largest") << "2147483647" << 2147483647;
}

void TestScore::scoresReadAsTheyAreStored()
{
    QFETCH(QString, entry);
    QFETCH(int, value);
    QCOMPARE(TScoreForm::scoreValue(entry), value);
    for (const QString &bad :
        { entry + u' ', entry + u'z', QStringLiteral("0x"), QStringLiteral("2147483648") }) {
        QVERIFY_THROWS_EXCEPTION(VemiError, TScoreForm::scoreValue(bad));
    }
}

void TestScore::scoresMenuOpensAFreshChart()
{
    Trainer trainer;
    trainer.scores = QStringList { "100", "200" };
    int shown = -1;
    QString title;
    QTimer::singleShot(0, [&] {
        auto *form = qobject_cast<TScoreForm *>(QApplication::activeModalWidget());
        QVERIFY(form);
        shown = form->XYLine->Count();
        title = form->windowTitle();
        form->Button1->click();
    });
    trainer.window->N11->trigger();
    QCOMPARE(shown, 2);
    QCOMPARE(title, QStringLiteral("10分間に打った文字数"));
    QCOMPARE(trainer.scores, QStringList({ "100", "200" }));
}

QTEST_MAIN(TestScore)
#include "tst_score.moc"
