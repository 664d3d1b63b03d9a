#include "core/text/Cp932.h"

#include <QTest>

class TestCp932 final : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void decodesAlternativeCodes_data();
    void decodesAlternativeCodes();
    void paneBreaksBecomeCrLf_data();
    void paneBreaksBecomeCrLf();
    void survivesInvalidBytes_data();
    void survivesInvalidBytes();
    void leadByteWithoutTrailIsOneCharacter_data();
    void leadByteWithoutTrailIsOneCharacter();
};

void TestCp932::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("ASCII") << QStringLiteral("Hello, 123!") << QByteArray("Hello, 123!");
    QTest::newRow("hiragana") << QStringLiteral("ひらがな")
                              << QByteArray("\x82\xd0\x82\xe7\x82\xaa\x82\xc8");
    QTest::newRow("katakana") << QStringLiteral("カタカナ")
                              << QByteArray("\x83\x4a\x83\x5e\x83\x4a\x83\x69");
    QTest::newRow("kanji") << QStringLiteral("漢字") << QByteArray("\x8a\xbf\x8e\x9a");
    QTest::newRow("half-width katakana")
        << QStringLiteral("ｶﾀｶﾅ") << QByteArray("\xb6\xc0\xb6\xc5");
    QTest::newRow("full-width space") << QStringLiteral("　") << QByteArray("\x81\x40");
    QTest::newRow("circled one") << QStringLiteral("①") << QByteArray("\x87\x40");
    QTest::newRow("roman numeral") << QStringLiteral("Ⅰ") << QByteArray("\x87\x54");
    QTest::newRow("full-width tilde") << QStringLiteral("～") << QByteArray("\x81\x60");
    QTest::newRow("parallel") << QStringLiteral("∥") << QByteArray("\x81\x61");
    QTest::newRow("full-width not") << QStringLiteral("￢") << QByteArray("\x81\xca");
    QTest::newRow("full-width minus") << QStringLiteral("－") << QByteArray("\x81\x7c");
    QTest::newRow("IBM kanji") << QStringLiteral("髙") << QByteArray("\xfb\xfc");
    QTest::newRow("IBM small roman") << QStringLiteral("ⅰ") << QByteArray("\xfa\x40");
    QTest::newRow("mixed with CR LF")
        << QStringLiteral("a文\r\nｱ①") << QByteArray("a\x95\xb6\r\n\xb1\x87\x40");
}

void TestCp932::roundTrip()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);

    QCOMPARE(Cp932::encode(text), bytes);
    QCOMPARE(Cp932::decode(bytes), text);
}

// Some characters have two codes (NEC and IBM rows); both read, one is written.
void TestCp932::decodesAlternativeCodes_data()
{
    QTest::addColumn<QByteArray>("alternative");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("preferred");

    QTest::newRow("NEC-selected kanji")
        << QByteArray("\xed\x40") << QStringLiteral("纊") << QByteArray("\xfa\x5c");
    QTest::newRow("NEC-selected small roman")
        << QByteArray("\xee\xef") << QStringLiteral("ⅰ") << QByteArray("\xfa\x40");
    QTest::newRow("NEC row 13 symbol")
        << QByteArray("\x87\x90") << QStringLiteral("≒") << QByteArray("\x81\xe0");
    QTest::newRow("IBM not sign") << QByteArray("\xfa\x54") << QStringLiteral("￢")
                                  << QByteArray("\x81\xca");
}

void TestCp932::decodesAlternativeCodes()
{
    QFETCH(QByteArray, alternative);
    QFETCH(QString, text);
    QFETCH(QByteArray, preferred);

    QCOMPARE(Cp932::decode(alternative), text);
    QCOMPARE(Cp932::encode(text), preferred);
}

void TestCp932::paneBreaksBecomeCrLf_data()
{
    QTest::addColumn<QString>("pane");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("no break") << QStringLiteral("abc") << QByteArray("abc");
    QTest::newRow("one break") << QStringLiteral("a\nb") << QByteArray("a\r\nb");
    QTest::newRow("only breaks") << QStringLiteral("\n\n") << QByteArray("\r\n\r\n");
    QTest::newRow("kanji lines") << QStringLiteral("文\n字\n")
                                 << QByteArray("\x95\xb6\r\n\x8e\x9a\r\n");
}

void TestCp932::paneBreaksBecomeCrLf()
{
    QFETCH(QString, pane);
    QFETCH(QByteArray, bytes);

    QCOMPARE(Cp932::fromPaneText(pane), bytes);
}

void TestCp932::survivesInvalidBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("tail");

    QTest::newRow("lead byte at end") << QByteArray("ok\x82") << QString();
    QTest::newRow("lead byte before CR LF") << QByteArray("ok\x82\r\n") << QStringLiteral("\n");
    QTest::newRow("unassigned pair") << QByteArray("ok\x85\x40z") << QStringLiteral("z");
    QTest::newRow("never a lead byte")
        << QByteArray("ok\x80\xa0\xfd\xfe\xffz") << QStringLiteral("z");
    QTest::newRow("NUL") << QByteArray("ok\0z", 4) << QStringLiteral("z");
}

void TestCp932::survivesInvalidBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, tail);

    const QString decoded = Cp932::decode(bytes);
    QVERIFY2(decoded.startsWith(QLatin1String("ok")), qPrintable(decoded));
    QVERIFY2(decoded.endsWith(tail), qPrintable(decoded));
    // A dangling lead byte must not be carried into the next, unrelated text.
    QCOMPARE(Cp932::decode("abc"), QStringLiteral("abc"));
}

// Each decodes to as many characters as the lead-byte rule counts in the bytes.
void TestCp932::leadByteWithoutTrailIsOneCharacter_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    const QString bad(QChar::ReplacementCharacter);
    QTest::newRow("lead byte at the end") << QByteArray("a\x81") << u'a' + bad;
    QTest::newRow("lead byte alone") << QByteArray("\x9f") << bad;
    QTest::newRow("lead byte before CR") << QByteArray("\x81\r\nA") << bad + "\nA";
    QTest::newRow("lead byte before LF") << QByteArray("\x81\nA") << bad + u'A';
    QTest::newRow("lead byte before a blank") << QByteArray("\x81 A") << bad + u'A';
    QTest::newRow("lead byte before a digit") << QByteArray("7\xe0\x39") << u'7' + bad;
    QTest::newRow("two broken pairs") << QByteArray("\x81\x7f\xfc\x3f!") << bad + bad + u'!';
    QTest::newRow("whole pair, then a lone lead")
        << QByteArray("\x82\xa0\x82") << QStringLiteral("あ") + bad;
    QTest::newRow("unassigned pair") << QByteArray("\x85\x40z") << bad + u'z';
}

void TestCp932::leadByteWithoutTrailIsOneCharacter()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);

    QCOMPARE(Cp932::decode(bytes), text);
}

QTEST_APPLESS_MAIN(TestCp932)
#include "tst_cp932.moc"
