#include "core/text/SheetColumns.h"

#include <QTest>

using Starts = QList<qsizetype>;

class TestSheetColumns final : public QObject
{
    Q_OBJECT
private slots:
    void halfColumns_data();
    void halfColumns();
    void lineStarts_data();
    void lineStarts();
};

void TestSheetColumns::halfColumns_data()
{
    QTest::addColumn<QString>("characters");
    QTest::addColumn<int>("width");
    QTest::newRow("ASCII") << QStringLiteral("Aa0 ~\\") << 1;
    QTest::newRow("half-width katakana and punctuation") << QStringLiteral("ｱﾝﾞｰ｡｢") << 1;
    QTest::newRow("Latin letters with accents") << QStringLiteral("éü") << 1;
    QTest::newRow("kana, kanji, long mark") << QStringLiteral("あア漢ー") << 2;
    QTest::newRow("ideographic space and punctuation") << QStringLiteral("　、。「」") << 2;
    QTest::newRow("full-width forms") << QStringLiteral("Ａ０！￥") << 2;
    QTest::newRow("symbols of the Japanese set") << QStringLiteral("※○■①→×…αЖ") << 2;
    QTest::newRow("beyond the first plane") << QStringLiteral("𠮷😀") << 2;
    QTest::newRow("marks on the character before") << QStringLiteral("\u3099\u0301\u200d") << 0;
}

void TestSheetColumns::halfColumns()
{
    QFETCH(QString, characters);
    QFETCH(int, width);
    for (const char32_t character : characters.toUcs4())
        QCOMPARE(SheetColumns::halfColumns(character), width);
}

void TestSheetColumns::lineStarts_data()
{
    QTest::addColumn<QString>("paragraph");
    QTest::addColumn<Starts>("starts");
    const QString kana40 = QString(40, u'あ');
    const QString ascii80 = QString(80, u'a');
    QTest::newRow("empty paragraph: one line") << QString() << Starts { 0 };
    QTest::newRow("40 full-width fill a line") << kana40 << Starts { 0 };
    QTest::newRow("the 41st starts the next") << kana40 + u'い' << Starts { 0, 40 };
    QTest::newRow("100 full-width") << QString(100, u'漢') << Starts { 0, 40, 80 };
    QTest::newRow("80 half-width fill a line") << ascii80 << Starts { 0 };
    QTest::newRow("the 81st starts the next") << ascii80 + u'b' << Starts { 0, 80 };
    QTest::newRow("half-width katakana are half") << QString(81, u'ｱ') << Starts { 0, 80 };
    QTest::newRow("mixed: 20 kana and 40 letters fill a line")
        << QString(20, u'あ') + QString(40, u'a') + u'ん' << Starts { 0, 60 };
    QTest::newRow("a full-width straddling the edge moves down")
        << QString(79, u'a') + QStringLiteral("漢b") << Starts { 0, 79 };
    QTest::newRow("a half-width takes the last half column")
        << QString(39, u'あ') + QStringLiteral("aaあ") << Starts { 0, 41 };
    QTest::newRow("surrogate pairs take a square and stay whole")
        << QString(39, u'あ') + QStringLiteral("𠮷𠮷") << Starts { 0, 41 };
    QTest::newRow("blanks past the edge stay on the line") << ascii80 + QStringLiteral("  b")
            + QString(39, u'あ') + QStringLiteral("　　い") << Starts { 0, 82, 124 };
    QTest::newRow("a no-break space does not")
        << ascii80 + QStringLiteral("\u00a0b") << Starts { 0, 80 };
    QTest::newRow("a combining mark stays with its character")
        << kana40 + QStringLiteral("\u3099い") << Starts { 0, 41 };
}

void TestSheetColumns::lineStarts()
{
    QFETCH(QString, paragraph);
    QFETCH(Starts, starts);
    QCOMPARE(SheetColumns::lineStarts(paragraph), starts);
}

QTEST_APPLESS_MAIN(TestSheetColumns)
#include "tst_sheetcolumns.moc"
