#include "dialogs/exam/ExamMinuteChart.h"

#include <QTest>

namespace {

// Rows from the bottom up: a column's run of bar colour (the pace line may
// cross it) starting at the baseline.
int barHeight(const QImage &image, int x, int baseline)
{
    int h = 0;
    for (int y = baseline; y >= 0; --y, ++h) {
        const QRgb p = image.pixel(x, y);
        if (p != ExamMinuteChart::BarColor && p != ExamMinuteChart::PaceColor)
            break;
    }
    return h;
}

} // namespace

// The chart as painted: bars as tall as their counts, the pace line at its height.
class TestExamMinuteChart final : public QObject
{
    Q_OBJECT
private slots:
    void barsAndPaceLine_data();
    void barsAndPaceLine();
};

void TestExamMinuteChart::barsAndPaceLine_data()
{
    QTest::addColumn<QList<int>>("counts");
    QTest::addColumn<double>("pace");
    QTest::newRow("ten minutes around 3級's pace")
        << QList<int> { 10, 20, 28, 40, 50, 25, 35, 45, 15, 5 } << 30.0;
    QTest::newRow("three minutes, pace above every bar") << QList<int> { 12, 36, 24 } << 70.0;
}

void TestExamMinuteChart::barsAndPaceLine()
{
    QFETCH(QList<int>, counts);
    QFETCH(double, pace);
    ExamMinuteChart chart;
    chart.setCounts(counts, pace);
    QVERIFY(!chart.isHidden());
    chart.resize(500, 260);
    const QImage image = chart.grab().toImage().convertToFormat(QImage::Format_RGB32);

    // The baseline: the lowest row with bar colour; each bar a run on it.
    int baseline = image.height() - 1;
    const auto barColourIn = [&](int y) {
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == ExamMinuteChart::BarColor)
                return true;
        return false;
    };
    while (baseline > 0 && !barColourIn(baseline))
        --baseline;
    QList<int> centres;
    for (int x = 0; x < image.width(); ++x) {
        if (image.pixel(x, baseline) != ExamMinuteChart::BarColor)
            continue;
        const int start = x;
        while (x < image.width() && image.pixel(x, baseline) == ExamMinuteChart::BarColor)
            ++x;
        centres << (start + x) / 2;
    }
    QCOMPARE(centres.size(), counts.size());

    // Heights in proportion to the counts, a pixel either way for rounding.
    const int highest = *std::max_element(counts.begin(), counts.end());
    const double scale
        = barHeight(image, centres[counts.indexOf(highest)], baseline) / double(highest);
    QVERIFY(scale > 1);
    for (int i = 0; i < counts.size(); ++i)
        QVERIFY2(qAbs(barHeight(image, centres[i], baseline) - counts[i] * scale) <= 1.5,
            qPrintable(QStringLiteral("minute %1").arg(i + 1)));

    // The pace line, between the first two bars, at the pace's height on the same scale.
    const int x = (centres[0] + centres[1]) / 2;
    int lineY = -1;
    for (int y = baseline; y >= 0 && lineY < 0; --y)
        if (image.pixel(x, y) == ExamMinuteChart::PaceColor)
            lineY = y;
    QVERIFY(lineY >= 0);
    QVERIFY2(qAbs((baseline - lineY) - pace * scale) <= 2.0,
        qPrintable(QStringLiteral("line %1 above the baseline").arg(baseline - lineY)));

    chart.setCounts({}, pace);
    QVERIFY(chart.isHidden());
}

QTEST_MAIN(TestExamMinuteChart)
#include "tst_examminutechart.moc"
