#include "core/exam/KanjiShare.h"
#include "core/text/TextFile.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTest>

#include <optional>

using KanjiShare::TextMeasure;

namespace {

// A text of `kanji` kanji and `others` kana, a line break after every 50 characters.
QString sample(int kanji, int others)
{
    QString text = QString(kanji, u'漢') + QString(others, u'あ');
    for (qsizetype i = 50; i < text.size(); i += 51)
        text.insert(i, u'\n');
    return text;
}

// The level 4級 to 1級 whose name the file name carries before its first "_", if any.
std::optional<ExamLevel> levelOfFile(const QString &fileName)
{
    const QString prefix = fileName.section(u'_', 0, 0);
    const QList<ExamLevel> levels = ExamProfile::levels(0, 0);
    for (int i = 0; i < ExamProfile::WordProcessorCount; ++i) {
        if (levels[i].name == prefix)
            return levels[i];
    }
    return std::nullopt;
}

} // namespace

class TestKanjiShare final : public QObject
{
    Q_OBJECT

private slots:
    void measure_data();
    void measure();
    void suitedLevels_data();
    void suitedLevels();
    void caption_data();
    void caption();
    void shippedTexts();
};

void TestKanjiShare::measure_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("counted");
    QTest::addColumn<int>("kanji");
    QTest::addColumn<int>("percent");

    QTest::newRow("empty") << QString() << 0 << 0 << 0 << 0;
    QTest::newRow("only breaks and blanks")
        << QStringLiteral("\r\n \u3000\t\n") << 3 << 0 << 0 << 0;
    QTest::newRow("kanji and kana") << QStringLiteral("漢字です") << 4 << 4 << 2 << 50;
    QTest::newRow("line breaks left out") << QStringLiteral("漢\r\nあ\nい\r") << 3 << 3 << 1 << 33;
    QTest::newRow("blanks typed, not counted")
        << QStringLiteral("漢 字\u3000あ\tい") << 7 << 4 << 2 << 50;
    QTest::newRow("々 and 〆 are kanji, ヶ is not")
        << QStringLiteral("人々〆切一ヶ月") << 7 << 7 << 6 << 86;
    QTest::newRow("surrogate pair once") << QStringLiteral("\U00020B9Fる😀") << 3 << 3 << 1 << 33;
    QTest::newRow("letters, digits, punctuation")
        << QStringLiteral("ABC、１２。「」") << 9 << 9 << 0 << 0;
    QTest::newRow("half to even: 12.5 → 12") << sample(1, 7) << 8 << 8 << 1 << 12;
    QTest::newRow("half to even: 37.5 → 38") << sample(3, 5) << 8 << 8 << 3 << 38;
}

void TestKanjiShare::measure()
{
    QFETCH(QString, text);
    QFETCH(int, length);
    QFETCH(int, counted);
    QFETCH(int, kanji);
    QFETCH(int, percent);

    const TextMeasure m = KanjiShare::measure(text);
    QCOMPARE(m.length, length);
    QCOMPARE(m.counted, counted);
    QCOMPARE(m.kanji, kanji);
    QCOMPARE(KanjiShare::percent(m), percent);
}

void TestKanjiShare::suitedLevels_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("blanks");
    QTest::addColumn<int>("kanji");
    QTest::addColumn<QStringList>("levels");

    const QStringList none;
    // 4級 and 3級: 23 to 26 %, at least 267 and 400 characters.
    QTest::newRow("267 at 24 %") << 267 << 0 << 64 << QStringList { "4級" };
    QTest::newRow("266 at 24 %") << 266 << 0 << 64 << none;
    QTest::newRow("400 at 23 %") << 400 << 0 << 92 << QStringList { "4級", "3級" };
    QTest::newRow("400 at 22.5 % → 22") << 400 << 0 << 90 << none;
    QTest::newRow("400 at 26.5 % → 26") << 400 << 0 << 106 << QStringList { "4級", "3級" };
    QTest::newRow("blanks count in the length only") << 280 << 30 << 58 << QStringList { "4級" };
    // 準2級 and 2級: 25 to 30 %, at least 534 and 667.
    QTest::newRow("534 at 30 %") << 534 << 0 << 160 << QStringList { "準2級" };
    QTest::newRow("533 at 30 %") << 533 << 0 << 160 << none;
    QTest::newRow("667 at 30.5 % → 30") << 667 << 0 << 203 << QStringList { "準2級", "2級" };
    // 準1級 and 1級: 25 to 35 %, at least 800 and 934.
    QTest::newRow("934 at 35 %") << 934 << 0 << 327 << QStringList { "準1級", "1級" };
    QTest::newRow("933 at 35 %") << 933 << 0 << 327 << QStringList { "準1級" };
    QTest::newRow("800 at 35.6 % → 36") << 800 << 0 << 285 << none;
    QTest::newRow("1000 at 25 %: every level")
        << 1000 << 0 << 250 << QStringList { "4級", "3級", "準2級", "2級", "準1級", "1級" };
}

void TestKanjiShare::suitedLevels()
{
    QFETCH(int, length);
    QFETCH(int, blanks);
    QFETCH(int, kanji);
    QFETCH(QStringList, levels);

    QString text = sample(kanji, length - blanks - kanji) + QString(blanks, u'\u3000');
    QCOMPARE(KanjiShare::suitedLevels(KanjiShare::measure(text)), levels);
}

void TestKanjiShare::caption_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("caption");

    QTest::newRow("empty") << QString() << QStringLiteral("漢字 0% ・ 該当級なし");
    QTest::newRow("too few kanji") << sample(120, 880) << QStringLiteral("漢字 12% ・ 該当級なし");
    QTest::newRow("two levels") << sample(180, 487) << QStringLiteral("漢字 27% ・ 準2級/2級向け");
    QTest::newRow("one level") << sample(75, 225) << QStringLiteral("漢字 25% ・ 4級向け");
}

void TestKanjiShare::caption()
{
    QFETCH(QString, text);
    QFETCH(QString, caption);
    QCOMPARE(KanjiShare::caption(text), caption);
}

// Every "<level>_*.txt" shipped for practice: CP932 with CR LF, long enough and in the
// kanji band of the level it is named for; at least 3 a level and 30 in all.
void TestKanjiShare::shippedTexts()
{
    const QDir folder(QStringLiteral(VEMI_SOURCE_DIR "/resources/問題"));
    QMap<QString, int> perLevel;
    QStringList faults;
    for (const QString &name : folder.entryList({ QStringLiteral("*.txt") }, QDir::Files)) {
        const std::optional<ExamLevel> level = levelOfFile(name);
        if (!level)
            continue;
        ++perLevel[level->name];
        QFile file(folder.filePath(name));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(name));
        const QByteArray bytes = file.readAll();
        const QString text = TextFile::decodeCp932(bytes);
        const TextMeasure m = KanjiShare::measure(text);
        if (TextFile::encode(text) != bytes)
            faults << name + QStringLiteral(": not CP932 with CR LF throughout");
        if (!bytes.endsWith("\r\n") || bytes.endsWith("\r\n\r\n"))
            faults << name + QStringLiteral(": does not end in one CR LF");
        if (!KanjiShare::suits(m, *level))
            faults << QStringLiteral("%1: %2 characters, %3% kanji")
                          .arg(name)
                          .arg(m.length)
                          .arg(KanjiShare::percent(m));
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));

    const QList<ExamLevel> levels = ExamProfile::levels(0, 0);
    int total = 0;
    for (int i = 0; i < ExamProfile::WordProcessorCount; ++i) {
        QVERIFY2(perLevel.value(levels[i].name) >= 3, qPrintable(levels[i].name));
        total += perLevel.value(levels[i].name);
    }
    QVERIFY2(total >= 30, qPrintable(QString::number(total)));
}

QTEST_APPLESS_MAIN(TestKanjiShare)
#include "tst_kanjishare.moc"
