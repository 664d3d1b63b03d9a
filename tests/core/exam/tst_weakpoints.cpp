#include "core/exam/WeakPoints.h"

#include "core/Errors.h"
#include "core/exam/ExamRunStore.h"
#include "core/exam/WeakPointCache.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
// A run as the capture keeps it.
ExamRunDetail runOf(const QString &practice, const QString &typed, const QDateTime &when)
{
    ExamAlignment alignment;
    alignment.setPracticeText(practice);
    ExamResult result;
    result.when = when;
    return ExamRunStore::make(
        result, ExamProfile::levels(1, 300)[1], alignment.align(typed), practice, typed);
}

QString told(const WeakPoints::Row &row)
{
    return QStringLiteral("%1 %2→%3 ×%4 in %5")
        .arg(WeakPoints::kindName(row.kind), row.expected, row.typed)
        .arg(row.count)
        .arg(row.runCount());
}
} // namespace

class TestWeakPoints final : public QObject
{
    Q_OBJECT
private slots:
    void mistakesAreGroupedAsWords_data();
    void mistakesAreGroupedAsWords();
    void cacheFollowsNewAndDeletedRuns();
    void drillTextRepeatsEachWord();
};

void TestWeakPoints::mistakesAreGroupedAsWords_data()
{
    QTest::addColumn<QStringList>("runs"); // practice text, typed text, practice text, ...
    QTest::addColumn<QStringList>("rows"); // most often first, then the latest
    QTest::newRow("発送→発想 twice in two runs is one row")
        << QStringList { "商品を発送します。", "商品を発想します。", "発送の日時", "発想の日時" }
        << QStringList { "誤変換 発送→発想 ×2 in 2" };
    QTest::newRow("twice in one run, beside other words")
        << QStringList { "制服と発送と発送", "征服と発想と発想" }
        << QStringList { "誤変換 発送→発想 ×2 in 1", "誤変換 制服→征服 ×1 in 1" };
    QTest::newRow("a single kanji keeps its okurigana, not the particle")
        << QStringList { "電車が遅れて着く。", "電車が後れて着く。", "遅れを取る", "後れを取る" }
        << QStringList { "誤変換 遅れ→後れ ×1 in 1", "誤変換 遅れて→後れて ×1 in 1" };
    QTest::newRow("a word left in hiragana, the long mark inside it")
        << QStringList { "白いネズミがいる。", "白いねずみがいる。", "ホームに戻る",
               "ほーむに戻る" }
        << QStringList { "ひらがなのまま ホーム→ほーむ ×1 in 1",
               "ひらがなのまま ネズミ→ねずみ ×1 in 1" };
    QTest::newRow("a kanji word typed as its reading") << QStringList { "連絡を待つ。",
        "れんらくを待つ。" } << QStringList { "ひらがなのまま 連絡→れんらく ×1 in 1" };
    QTest::newRow("width either way, the character alone")
        << QStringList { "第2回と12月", "第２回と1２月", "ＡＢ社", "AB社" }
        << QStringList { "全角半角 2→２ ×2 in 1", "全角半角 ＡＢ→AB ×1 in 1" };
    QTest::newRow("a skipped clause and an extra word")
        << QStringList { "会議は来週の月曜日に本社で行います。", "会議は本社でよく行います。" }
        << QStringList { "脱字 来週の月曜日に→ ×1 in 1", "余字 →よく ×1 in 1" };
    QTest::newRow("a kana typo stays small") << QStringList { "ありがとうございます",
        "ありがどうございます" } << QStringList { "誤字 と→ど ×1 in 1" };
}

void TestWeakPoints::mistakesAreGroupedAsWords()
{
    QFETCH(QStringList, runs);
    QFETCH(QStringList, rows);
    QList<WeakPoints::KeptRun> kept;
    const QDateTime first(QDate(2026, 12, 1), QTime(9, 0));
    for (qsizetype i = 0; i + 1 < runs.size(); i += 2)
        kept.append({ QStringLiteral("run%1").arg(i / 2),
            runOf(runs[i], runs[i + 1], first.addDays(i / 2)) });
    QStringList got;
    for (const WeakPoints::Row &row : WeakPoints::group(kept))
        got.append(told(row));
    QCOMPARE(got, rows);
}

// The cache file stands in for reading the runs, until a run is added or deleted.
void TestWeakPoints::cacheFollowsNewAndDeletedRuns()
{
    QTemporaryDir folder;
    QHash<QString, ExamRunDetail> stored;
    const auto keep = [&](const QString &name, const QString &practice, const QString &typed) {
        stored.insert(name, runOf(practice, typed, QDateTime(QDate(2026, 12, 1), QTime(9, 0))));
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(name.toUtf8()); // its size and time are what the cache looks at
    };
    WeakPointCache cache(folder.path(), [&](const QString &name) {
        if (!stored.contains(name))
            throw VemiError(QStringLiteral("読めません"));
        return stored.value(name);
    });
    const auto listed = [&] {
        QStringList got;
        for (const WeakPoints::Row &row : cache.rows())
            got.append(told(row));
        return got;
    };
    keep(QStringLiteral("20261201-090000.json"), QStringLiteral("発送"), QStringLiteral("発想"));
    keep(QStringLiteral("20261201-091500.json"), QStringLiteral("発送"), QStringLiteral("発想"));
    QCOMPARE(listed(), QStringList { "誤変換 発送→発想 ×2 in 2" });
    QCOMPARE(cache.runsRead(), 2);
    QVERIFY(QFile::exists(folder.filePath(WeakPointCache::FileName)));

    stored.clear(); // from now on only the cache knows the first two runs
    QCOMPARE(listed(), QStringList { "誤変換 発送→発想 ×2 in 2" });
    QCOMPARE(cache.runsRead(), 0);

    keep(
        QStringLiteral("20261202-090000.json"), QStringLiteral("ネズミ"), QStringLiteral("ねずみ"));
    QCOMPARE(listed(),
        (QStringList { "誤変換 発送→発想 ×2 in 2", "ひらがなのまま ネズミ→ねずみ ×1 in 1" }));
    QCOMPARE(cache.runsRead(), 1);

    QVERIFY(QFile::remove(folder.filePath(QStringLiteral("20261201-090000.json"))));
    QCOMPARE(listed(),
        (QStringList { "誤変換 発送→発想 ×1 in 1", "ひらがなのまま ネズミ→ねずみ ×1 in 1" }));
    QCOMPARE(cache.runsRead(), 0);

    // A damaged cache is made again from the runs.
    QFile damaged(folder.filePath(WeakPointCache::FileName));
    QVERIFY(damaged.open(QIODevice::ReadWrite));
    damaged.resize(damaged.size() / 2);
    damaged.close();
    QCOMPARE(listed(), QStringList { "ひらがなのまま ネズミ→ねずみ ×1 in 1" });
    QCOMPARE(cache.runsRead(), 2);
    QCOMPARE(cache.unreadable().size(), 1);
}

void TestWeakPoints::drillTextRepeatsEachWord()
{
    using WeakPoints::Kind;
    const QList<WeakPoints::Row> rows { { Kind::Conversion, "発送", "発想", 2, {}, {} },
        { Kind::Hiragana, "発送", "はっそう", 1, {}, {} },
        { Kind::Insertion, "", "よく", 1, {}, {} },
        { Kind::Omission, "来週の\n月曜日", "", 1, {}, {} } };
    QCOMPARE(WeakPoints::drillText(rows),
        QStringLiteral("発送　発送　発送\n来週の月曜日　来週の月曜日　来週の月曜日\n"));
    QCOMPARE(WeakPoints::drillText(rows.mid(2, 1)), QString());
}

QTEST_GUILESS_MAIN(TestWeakPoints)
#include "tst_weakpoints.moc"
