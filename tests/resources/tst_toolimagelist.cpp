#include "resources/ToolImageList.h"

#include <QImage>
#include <QTest>

#include <array>

namespace {

constexpr std::array<int, 8> UsedIndices = {
    ToolImageList::New,
    ToolImageList::Open,
    ToolImageList::Save,
    ToolImageList::Print,
    ToolImageList::TimerStart,
    ToolImageList::TimerStop,
    ToolImageList::OnePane,
    ToolImageList::TwoPanes,
};

QImage imageOf(int index, int size)
{
    return ToolImageList::pixmap(index, size).toImage().convertToFormat(QImage::Format_ARGB32);
}

struct Coverage
{
    int solid = 0; // at least half covered
    int transparent = 0;
    int colours = 0;
};

Coverage coverageOf(const QImage &image)
{
    Coverage result;
    QList<QRgb> seen;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) == 0) {
                ++result.transparent;
                continue;
            }
            if (qAlpha(pixel) >= 128)
                ++result.solid;
            if (!seen.contains(pixel))
                seen.append(pixel);
        }
    }
    result.colours = int(seen.size());
    return result;
}

} // namespace

class TestToolImageList final : public QObject
{
    Q_OBJECT

private slots:
    void everyImageIsDrawnAtBothSizes_data();
    void everyImageIsDrawnAtBothSizes();
    void iconCarriesBothSizes();
    void usedImagesAreDistinct();
    void largeImageIsNotAnUpscale_data();
    void largeImageIsNotAnUpscale();
    void badIndexGivesNothing();
};

void TestToolImageList::everyImageIsDrawnAtBothSizes_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("size");
    for (int i = 0; i < ToolImageList::Count; ++i) {
        QTest::addRow("%d@16", i) << i << 16;
        QTest::addRow("%d@32", i) << i << 32;
    }
}

void TestToolImageList::everyImageIsDrawnAtBothSizes()
{
    QFETCH(int, index);
    QFETCH(int, size);

    const QPixmap pixmap = ToolImageList::pixmap(index, size);
    QVERIFY(!pixmap.isNull());
    QCOMPARE(pixmap.size(), QSize(size, size));

    // A real picture covers a noticeable part of the square (thin line art such
    // as scissors included), leaves background showing and uses several colours.
    const Coverage coverage = coverageOf(imageOf(index, size));
    const int area = size * size;
    QVERIFY2(coverage.solid >= area / 12, qPrintable(QString::number(coverage.solid)));
    QVERIFY2(coverage.transparent >= area / 20, qPrintable(QString::number(coverage.transparent)));
    QVERIFY(coverage.colours >= 2);
}

void TestToolImageList::iconCarriesBothSizes()
{
    for (int index : UsedIndices) {
        const QIcon icon = ToolImageList::icon(index);
        QVERIFY(!icon.isNull());
        const QList<QSize> sizes = icon.availableSizes();
        QVERIFY(sizes.contains(QSize(16, 16)));
        QVERIFY(sizes.contains(QSize(32, 32)));
        for (int size : { 16, 32 }) {
            const QImage fromIcon
                = icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32);
            QCOMPARE(fromIcon, imageOf(index, size));
        }
    }
}

void TestToolImageList::usedImagesAreDistinct()
{
    for (int size : { 16, 32 }) {
        for (std::size_t a = 0; a < UsedIndices.size(); ++a) {
            for (std::size_t b = a + 1; b < UsedIndices.size(); ++b) {
                QVERIFY2(imageOf(UsedIndices[a], size) != imageOf(UsedIndices[b], size),
                    qPrintable(QStringLiteral("%1 and %2 at %3 px")
                                   .arg(UsedIndices[a])
                                   .arg(UsedIndices[b])
                                   .arg(size)));
            }
        }
    }
}

void TestToolImageList::largeImageIsNotAnUpscale_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < ToolImageList::Count; ++i)
        QTest::addRow("%d", i) << i;
}

void TestToolImageList::largeImageIsNotAnUpscale()
{
    QFETCH(int, index);

    const QImage small = imageOf(index, 16);
    const QImage large = imageOf(index, 32);
    for (Qt::TransformationMode mode : { Qt::FastTransformation, Qt::SmoothTransformation }) {
        const QImage upscaled = small.scaled(32, 32, Qt::IgnoreAspectRatio, mode)
                                    .convertToFormat(QImage::Format_ARGB32);
        QVERIFY2(upscaled != large, mode == Qt::FastTransformation ? "fast" : "smooth");
    }
}

void TestToolImageList::badIndexGivesNothing()
{
    for (int index : { -1, ToolImageList::Count, 1000 }) {
        QVERIFY(ToolImageList::icon(index).isNull());
        QVERIFY(ToolImageList::pixmap(index, 16).isNull());
    }
    QVERIFY(ToolImageList::pixmap(ToolImageList::New, 0).isNull());
    QVERIFY(!ToolImageList::icon(0).isNull());
    QVERIFY(!ToolImageList::icon(ToolImageList::Count - 1).isNull());
}

QTEST_MAIN(TestToolImageList)
#include "tst_toolimagelist.moc"
