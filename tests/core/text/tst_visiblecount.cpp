#include "core/text/TextFile.h"
#include "core/text/VisibleCount.h"

#include <QTest>

class TestVisibleCount final : public QObject
{
    Q_OBJECT

private slots:
    void countsBytes_data();
    void countsBytes();
    void countsPaneText_data();
    void countsPaneText();
};

void TestVisibleCount::countsBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("expected");

    // 20 lines of 30 full-width hiragana "a" (0x82 0xA0), each closed by CR LF.
    const QByteArray page = (QByteArray("\x82\xa0").repeated(30) + "\r\n").repeated(20);

    QTest::newRow("empty") << QByteArray() << 0;
    QTest::newRow("ASCII") << QByteArray("abc") << 3;
    QTest::newRow("two kanji") << QByteArray("\x95\xb6\x8e\x9a") << 2;
    QTest::newRow("CR LF between lines") << QByteArray("ab\r\ncd") << 5;
    QTest::newRow("CR LF after last line") << QByteArray("ab\r\ncd\r\n") << 6;
    QTest::newRow("half-width katakana") << QByteArray("\xb1") << 1;
    QTest::newRow("full-width space") << QByteArray("\x81\x40") << 1;
    QTest::newRow("full page") << page << 620;
    QTest::newRow("lone LF") << QByteArray("a\nb") << 3;
    QTest::newRow("tab") << QByteArray("\t") << 1;
    QTest::newRow("lone CR") << QByteArray("\r") << 0;
    QTest::newRow("lone CR inside") << QByteArray("a\rb") << 2;
    QTest::newRow("lead byte last") << QByteArray("a\x82") << 2;
    // The CR is swallowed as a trail byte, yet still subtracted.
    QTest::newRow("CR after lead byte") << QByteArray("\x82\r") << 0;
    QTest::newRow("CR LF after lead byte") << QByteArray("\x82\r\nx") << 2;
    QTest::newRow("ASCII trail byte") << QByteArray("\x83\x41") << 1;
    QTest::newRow("trail bytes with lead values") << QByteArray("\x81\x81\x81\x81") << 2;
    // Lead byte ranges are 0x81-0x9F and 0xE0-0xFC; each row puts "a" after the byte.
    QTest::newRow("0x80 alone") << QByteArray("\x80"
                                              "a")
                                << 2;
    QTest::newRow("0x81 leads") << QByteArray("\x81"
                                              "a")
                                << 1;
    QTest::newRow("0x9F leads") << QByteArray("\x9f"
                                              "a")
                                << 1;
    QTest::newRow("0xA0 alone") << QByteArray("\xa0"
                                              "a")
                                << 2;
    QTest::newRow("0xDF alone") << QByteArray("\xdf"
                                              "a")
                                << 2;
    QTest::newRow("0xE0 leads") << QByteArray("\xe0"
                                              "a")
                                << 1;
    QTest::newRow("0xFC leads") << QByteArray("\xfc"
                                              "a")
                                << 1;
    QTest::newRow("0xFD alone") << QByteArray("\xfd"
                                              "a")
                                << 2;
    QTest::newRow("NUL") << QByteArray("a\0b", 3) << 3;
}

void TestVisibleCount::countsBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, expected);

    QCOMPARE(visibleCharacterCount(bytes), expected);
}

void TestVisibleCount::countsPaneText_data()
{
    QTest::addColumn<QString>("pane");
    QTest::addColumn<QByteArray>("crLfBytes");
    QTest::addColumn<int>("expected");

    QTest::newRow("empty") << QString() << QByteArray() << 0;
    QTest::newRow("ASCII lines") << QStringLiteral("ab\ncd") << QByteArray("ab\r\ncd") << 5;
    QTest::newRow("final break") << QStringLiteral("ab\ncd\n") << QByteArray("ab\r\ncd\r\n") << 6;
    QTest::newRow("blank lines") << QStringLiteral("\n\n\n") << QByteArray("\r\n\r\n\r\n") << 3;
    QTest::newRow("kanji and full-width space")
        << QStringLiteral("文字\n　x") << QByteArray("\x95\xb6\x8e\x9a\r\n\x81\x40x") << 5;
    QTest::newRow("half-width katakana")
        << QStringLiteral("ｶﾀｶﾅ\n") << QByteArray("\xb6\xc0\xb6\xc5\r\n") << 5;
    QTest::newRow("extension characters")
        << QStringLiteral("①～髙") << QByteArray("\x87\x40\x81\x60\xfb\xfc") << 3;
    // The codec drops some characters without a trace and substitutes others; a
    // save writes each as one "?", and the count agrees with the saved file.
    QTest::newRow("characters a save writes as ?")
        << QString::fromUtf8("a\u200b\u200c\u200d\ufeff\u00ad\u2764\ufe0f\u00e9\U0001F600b")
        << QByteArray("a?????????b") << 11;
    QTest::newRow("lone surrogate")
        << QStringLiteral("a") + QChar(0xd800) + QStringLiteral("b") << QByteArray("a?b") << 3;
    QTest::newRow("CR held by the pane") << QStringLiteral("a\rb\n") << QByteArray("a\rb\r\n") << 3;
}

void TestVisibleCount::countsPaneText()
{
    QFETCH(QString, pane);
    QFETCH(QByteArray, crLfBytes);
    QFETCH(int, expected);

    QCOMPARE(visibleCharacterCount(crLfBytes), expected);
    QCOMPARE(visibleCountText(pane), QString::number(expected));
    QCOMPARE(TextFile::encode(pane), crLfBytes);
}

QTEST_APPLESS_MAIN(TestVisibleCount)
#include "tst_visiblecount.moc"
