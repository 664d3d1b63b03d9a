#include "core/Errors.h"
#include "core/settings/ColorNames.h"
#include "core/text/IntegerText.h"

#include <QTest>

#include <limits>

namespace {

QString notAnInteger(const QString &text)
{
    return QStringLiteral("'%1' は整数ではありません").arg(text);
}

} // namespace

class TestIntegerText final : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void fromSetting_data();
    void fromSetting();
    void colorNames_data();
    void colorNames();
    void colorTexts_data();
    void colorTexts();
    void badColorNames_data();
    void badColorNames();
};

void TestIntegerText::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<qint32>>("expected");

    constexpr qint32 Min = std::numeric_limits<qint32>::min();
    constexpr qint32 Max = std::numeric_limits<qint32>::max();
    const std::optional<qint32> bad;

    QTest::newRow("zero") << QStringLiteral("0") << std::optional<qint32>(0);
    QTest::newRow("decimal") << QStringLiteral("123") << std::optional<qint32>(123);
    QTest::newRow("leading zeros") << QStringLiteral("007") << std::optional<qint32>(7);
    QTest::newRow("minus") << QStringLiteral("-45") << std::optional<qint32>(-45);
    QTest::newRow("plus") << QStringLiteral("+7") << std::optional<qint32>(7);
    QTest::newRow("largest") << QStringLiteral("2147483647") << std::optional<qint32>(Max);
    QTest::newRow("smallest") << QStringLiteral("-2147483648") << std::optional<qint32>(Min);
    QTest::newRow("hex") << QStringLiteral("$1E") << std::optional<qint32>(30);
    QTest::newRow("hex lower case") << QStringLiteral("$1e") << std::optional<qint32>(30);
    QTest::newRow("negative hex") << QStringLiteral("-$1E") << std::optional<qint32>(-30);
    QTest::newRow("hex all ones") << QStringLiteral("$FFFFFFFF") << std::optional<qint32>(-1);
    QTest::newRow("hex sign bit") << QStringLiteral("$80000000") << std::optional<qint32>(Min);
    QTest::newRow("hex leading zeros")
        << QStringLiteral("$000000001E") << std::optional<qint32>(30);
    QTest::newRow("leading blanks") << QStringLiteral("  12") << std::optional<qint32>(12);
    QTest::newRow("leading blanks, sign") << QStringLiteral(" -5") << std::optional<qint32>(-5);
    QTest::newRow("above largest") << QStringLiteral("2147483648") << bad;
    QTest::newRow("below smallest") << QStringLiteral("-2147483649") << bad;
    QTest::newRow("far too long") << QStringLiteral("99999999999999999999999") << bad;
    QTest::newRow("hex above 32 bits") << QStringLiteral("$100000000") << bad;
    QTest::newRow("empty") << QString() << bad;
    QTest::newRow("blank") << QStringLiteral(" ") << bad;
    QTest::newRow("word") << QStringLiteral("abc") << bad;
    QTest::newRow("trailing blank") << QStringLiteral("12 ") << bad;
    QTest::newRow("decimal point") << QStringLiteral("1.5") << bad;
    QTest::newRow("inner blank") << QStringLiteral("1 2") << bad;
    QTest::newRow("blank after sign") << QStringLiteral("- 5") << bad;
    QTest::newRow("sign only") << QStringLiteral("-") << bad;
    QTest::newRow("two signs") << QStringLiteral("--1") << bad;
    QTest::newRow("dollar only") << QStringLiteral("$") << bad;
    QTest::newRow("sign after dollar") << QStringLiteral("$-1") << bad;
    QTest::newRow("hex digit in decimal") << QStringLiteral("1E") << bad;
    QTest::newRow("non-hex letter") << QStringLiteral("$1G") << bad;
    QTest::newRow("C prefix") << QStringLiteral("0x1E") << bad;
    QTest::newRow("full-width digits") << QStringLiteral("１２") << bad;
}

void TestIntegerText::parse()
{
    QFETCH(QString, text);
    QFETCH(std::optional<qint32>, expected);

    QCOMPARE(IntegerText::parse(text), expected);
    if (expected) {
        QCOMPARE(IntegerText::toInt(text), *expected);
    } else {
        try {
            IntegerText::toInt(text);
            QFAIL("no error for a bad integer");
        } catch (const VemiError &error) {
            QCOMPARE(error.message(), notAnInteger(text));
        }
    }
}

void TestIntegerText::fromSetting_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<qint32>("expected");

    constexpr qint32 Fallback = 77;
    QTest::newRow("decimal") << QStringLiteral("12") << 12;
    QTest::newRow("zero") << QStringLiteral("0") << 0;
    QTest::newRow("negative") << QStringLiteral("-1") << -1;
    QTest::newRow("dollar hex") << QStringLiteral("$1E") << 30;
    QTest::newRow("0x") << QStringLiteral("0x1E") << 30;
    QTest::newRow("0X, lower-case digits") << QStringLiteral("0X1e") << 30;
    QTest::newRow("0x all ones") << QStringLiteral("0xFFFFFFFF") << -1;
    // Three characters are enough to be taken as hexadecimal.
    QTest::newRow("0x0") << QStringLiteral("0x0") << 0;
    QTest::newRow("0x alone") << QStringLiteral("0x") << Fallback;
    QTest::newRow("0x then sign") << QStringLiteral("0x-1") << Fallback;
    QTest::newRow("signed 0x") << QStringLiteral("-0x1E") << Fallback;
    QTest::newRow("empty") << QString() << Fallback;
    QTest::newRow("word") << QStringLiteral("yes") << Fallback;
    QTest::newRow("out of range") << QStringLiteral("4294967296") << Fallback;
}

void TestIntegerText::fromSetting()
{
    QFETCH(QString, value);
    QFETCH(qint32, expected);

    QCOMPARE(IntegerText::fromSetting(value, 77), expected);
}

void TestIntegerText::colorNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<ColorValue>("value");

    const std::pair<const char *, ColorValue> fixed[] = {
        { "clBlack", 0x000000 },
        { "clMaroon", 0x000080 },
        { "clGreen", 0x008000 },
        { "clOlive", 0x008080 },
        { "clNavy", 0x800000 },
        { "clPurple", 0x800080 },
        { "clTeal", 0x808000 },
        { "clGray", 0x808080 },
        { "clSilver", 0xC0C0C0 },
        { "clRed", 0x0000FF },
        { "clLime", 0x00FF00 },
        { "clYellow", 0x00FFFF },
        { "clBlue", 0xFF0000 },
        { "clFuchsia", 0xFF00FF },
        { "clAqua", 0xFFFF00 },
        { "clWhite", 0xFFFFFF },
        { "clNone", 0x1FFFFFFF },
    };
    for (const auto &[name, value] : fixed)
        QTest::newRow(name) << QString::fromLatin1(name) << value;

    const char *const system[] = { "clScrollBar", "clBackground", "clActiveCaption",
        "clInactiveCaption", "clMenu", "clWindow", "clWindowFrame", "clMenuText", "clWindowText",
        "clCaptionText", "clActiveBorder", "clInactiveBorder", "clAppWorkSpace", "clHighlight",
        "clHighlightText", "clBtnFace", "clBtnShadow", "clGrayText", "clBtnText",
        "clInactiveCaptionText", "clBtnHighlight", "cl3DDkShadow", "cl3DLight", "clInfoText",
        "clInfoBk" };
    ColorValue value = 0x80000000;
    for (const char *name : system)
        QTest::newRow(name) << QString::fromLatin1(name) << value++;

    static_assert(std::size(fixed) + std::size(system) == ColorNames::NameCount);
}

void TestIntegerText::colorNames()
{
    QFETCH(QString, name);
    QFETCH(ColorValue, value);

    QCOMPARE(ColorNames::textToColor(name), value);
    QCOMPARE(ColorNames::textToColor(name.toUpper()), value);
    QCOMPARE(ColorNames::textToColor(name.toLower()), value);
    QCOMPARE(ColorNames::colorToText(value), name);
}

void TestIntegerText::colorTexts_data()
{
    QTest::addColumn<ColorValue>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("custom colour") << ColorValue(0x00563412) << QStringLiteral("$00563412");
    QTest::newRow("upper-case digits") << ColorValue(0x00ABCDEF) << QStringLiteral("$00ABCDEF");
    QTest::newRow("past system colours") << ColorValue(0x80000019) << QStringLiteral("$80000019");
    QTest::newRow("all ones") << ColorValue(0xFFFFFFFF) << QStringLiteral("$FFFFFFFF");
    QTest::newRow("near white") << ColorValue(0x00FFFFFE) << QStringLiteral("$00FFFFFE");
}

void TestIntegerText::colorTexts()
{
    QFETCH(ColorValue, value);
    QFETCH(QString, text);

    QCOMPARE(ColorNames::colorToText(value), text);
    QCOMPARE(ColorNames::textToColor(text), value);
}

void TestIntegerText::badColorNames_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("unknown name") << QStringLiteral("clPink");
    QTest::newRow("empty") << QString();
    QTest::newRow("prefix of a name") << QStringLiteral("clWhit");
    QTest::newRow("name and more") << QStringLiteral("clWhites");
    // Look-alikes that fold to ASCII under Unicode case rules.
    QTest::newRow("Kelvin sign") << QStringLiteral("clBlac\u212A");
    QTest::newRow("dotted capital I") << QStringLiteral("CLWH\u0130TE");
    QTest::newRow("full-width letters") << QStringLiteral("ｃｌＷｈｉｔｅ");
}

void TestIntegerText::badColorNames()
{
    QFETCH(QString, text);

    try {
        const ColorValue value = ColorNames::textToColor(text);
        QFAIL(qPrintable(QStringLiteral("read as %1").arg(value, 0, 16)));
    } catch (const VemiError &error) {
        QCOMPARE(error.message(), notAnInteger(text));
    }
}

QTEST_APPLESS_MAIN(TestIntegerText)
#include "tst_integertext.moc"
