#include "core/exam/ExamAlignment.h"
#include "core/exam/ExamAlignmentMethods.h"
#include "core/exam/ExamProfile.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

using Kind = ExamAlignment::ErrorKind;
using ExamAlignmentMethods::Script;
using ExamAlignmentMethods::Step;

namespace {

// "S1+1:1+1" is a substitution at typed 1 (length 1) against practice 1 (length 1).
QString describe(const QList<ExamAlignment::Error> &errors)
{
    QStringList parts;
    for (const ExamAlignment::Error &e : errors) {
        const char kind = e.kind == Kind::Substitution ? 'S' : e.kind == Kind::Omission ? 'O' : 'I';
        parts << QStringLiteral("%1%2+%3:%4+%5")
                     .arg(QLatin1Char(kind))
                     .arg(e.typedPos)
                     .arg(e.typedLength)
                     .arg(e.practicePos)
                     .arg(e.practiceLength);
    }
    return parts.join(QLatin1Char(' '));
}

std::span<const char32_t> codes(const QList<uint> &text)
{
    return { reinterpret_cast<const char32_t *>(text.data()), std::size_t(text.size()) };
}

struct Best
{
    int errors = 0;
    int practiceEnd = 0; // code points
};

// The plain full table: every prefix of the practice text, the furthest on ties.
Best fullTable(const QList<uint> &practice, const QList<uint> &typed)
{
    const qsizetype n = practice.size();
    std::vector<int> row(std::size_t(n) + 1);
    for (qsizetype j = 0; j <= n; ++j)
        row[std::size_t(j)] = int(j);
    for (qsizetype i = 1; i <= typed.size(); ++i) {
        int diagonal = row[0];
        row[0] = int(i);
        for (qsizetype j = 1; j <= n; ++j) {
            const int up = row[std::size_t(j)];
            const int cost = typed[i - 1] == practice[j - 1] ? 0 : 1;
            row[std::size_t(j)]
                = std::min({ diagonal + cost, up + 1, row[std::size_t(j) - 1] + 1 });
            diagonal = up;
        }
    }
    Best best { row[0], 0 };
    for (qsizetype j = 1; j <= n; ++j) {
        if (row[std::size_t(j)] <= best.errors)
            best = { row[std::size_t(j)], int(j) };
    }
    return best;
}

// Replays the errors over the practice text up to the reached point; the typed
// text must come out, each error sitting where the output has got to.
QString replayProblem(const QString &practice, const QString &typed, const ExamAlignment::Result &r)
{
    QString out;
    qsizetype p = 0;
    int counts[3] = {};
    for (const ExamAlignment::Error &e : r.errors) {
        if (e.practicePos < p || e.practicePos > r.practiceReached)
            return QStringLiteral("error out of order at practice %1").arg(e.practicePos);
        out += practice.mid(p, e.practicePos - p);
        if (out.size() != e.typedPos)
            return QStringLiteral("error at typed %1, replay at %2")
                .arg(e.typedPos)
                .arg(out.size());
        const QString typedPart = typed.mid(e.typedPos, e.typedLength);
        const QString practicePart = practice.mid(e.practicePos, e.practiceLength);
        if (e.kind == Kind::Substitution && (typedPart == practicePart || typedPart.isEmpty()))
            return QStringLiteral("false substitution at typed %1").arg(e.typedPos);
        out += typedPart;
        p = e.practicePos + e.practiceLength;
        ++counts[int(e.kind)];
    }
    out += practice.mid(p, r.practiceReached - p);
    if (out != typed)
        return QStringLiteral("replay gives \"%1\"").arg(out);
    if (counts[0] != r.substitutions || counts[1] != r.omissions || counts[2] != r.insertions)
        return QStringLiteral("counts differ from the listed errors");
    return {};
}

// The same checks on a method's script, by code point; the fewest errors too
// unless `expected` is null.
QString scriptProblem(
    const QList<uint> &practice, const QList<uint> &typed, const Script &s, const Best *expected)
{
    qsizetype p = 0;
    qsizetype t = 0;
    int errors = 0;
    for (const Step step : s.steps) {
        const bool usesBoth = step == Step::Match || step == Step::Substitution;
        const bool usesPractice = usesBoth || step == Step::Omission;
        const bool usesTyped = usesBoth || step == Step::Insertion;
        if ((usesPractice && p >= practice.size()) || (usesTyped && t >= typed.size()))
            return QStringLiteral("script runs past a text");
        if (usesBoth && (practice[p] == typed[t]) != (step == Step::Match))
            return QStringLiteral("wrong match or substitution at typed %1").arg(t);
        errors += step == Step::Match ? 0 : 1;
        p += usesPractice ? 1 : 0;
        t += usesTyped ? 1 : 0;
    }
    if (t != typed.size() || p != qsizetype(s.practiceEnd))
        return QStringLiteral("script does not cover the texts");
    if (expected && (errors != expected->errors || p != expected->practiceEnd))
        return QStringLiteral("%1 errors to %2, expected %3 to %4")
            .arg(errors)
            .arg(p)
            .arg(expected->errors)
            .arg(expected->practiceEnd);
    return {};
}

// The fewest (errors, runs of errors) of the alignments of all of `typed` with
// the practice text's first `end` characters, by the full table: the best
// ending in a match (or at the start) and ending in an error, cell by cell.
std::pair<int, int> fewestRuns(const QList<uint> &practice, const QList<uint> &typed, int end)
{
    using Cost = std::pair<int, int>;
    const Cost none { INT_MAX / 2, 0 };
    const auto error = [](Cost c, bool afterError) {
        return Cost { c.first + 1, c.second + (afterError ? 0 : 1) };
    };
    const std::size_t width = std::size_t(end) + 1;
    std::vector<Cost> match((std::size_t(typed.size()) + 1) * width, none);
    std::vector<Cost> wrong(match.size(), none);
    match[0] = { 0, 0 };
    for (qsizetype i = 0; i <= typed.size(); ++i) {
        for (int j = 0; j <= end; ++j) {
            const std::size_t c = std::size_t(i) * width + std::size_t(j);
            const auto from = [&](std::size_t before) {
                wrong[c] = std::min(
                    { wrong[c], error(match[before], false), error(wrong[before], true) });
            };
            if (i > 0 && j > 0 && typed[i - 1] == practice[j - 1])
                match[c] = std::min(match[c - width - 1], wrong[c - width - 1]);
            else if (i > 0 && j > 0)
                from(c - width - 1);
            if (i > 0)
                from(c - width);
            if (j > 0)
                from(c - 1);
        }
    }
    return std::min(match.back(), wrong.back());
}

std::pair<int, int> errorsAndRuns(const Script &s)
{
    std::pair<int, int> out;
    for (std::size_t i = 0; i < s.steps.size(); ++i) {
        if (s.steps[i] != Step::Match) {
            ++out.first;
            out.second += i == 0 || s.steps[i - 1] == Step::Match ? 1 : 0;
        }
    }
    return out;
}

QString randomText(QRandomGenerator &random, const QStringList &symbols, int length)
{
    QString text;
    for (int i = 0; i < length; ++i)
        text += symbols[random.bounded(int(symbols.size()))];
    return text;
}

// A copy of part of the practice text with some characters changed, dropped or added.
QString mistype(QRandomGenerator &random, const QStringList &symbols, const QString &practice)
{
    const QList<uint> codes = practice.toUcs4();
    QString typed;
    const qsizetype length = random.bounded(int(codes.size()) + 1);
    for (qsizetype i = 0; i < length; ++i) {
        const uint code = codes[i];
        switch (random.bounded(8)) {
        case 0:
            typed += symbols[random.bounded(int(symbols.size()))];
            break;
        case 1:
            break;
        case 2:
            typed += symbols[random.bounded(int(symbols.size()))];
            [[fallthrough]];
        default:
            typed += QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1);
        }
    }
    return typed;
}

} // namespace

class TestExamAlignment final : public QObject
{
    Q_OBJECT

private slots:
    void countsErrors_data();
    void countsErrors();
    void errorsFormOneBlock_data();
    void errorsFormOneBlock();
    void agreesWithFullTable_data();
    void agreesWithFullTable();
    void scoresLevels_data();
    void scoresLevels();
};

void TestExamAlignment::countsErrors_data()
{
    QTest::addColumn<QString>("practice");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("substitutions");
    QTest::addColumn<int>("omissions");
    QTest::addColumn<int>("insertions");
    QTest::addColumn<int>("reached");
    QTest::addColumn<QString>("errors"); // as describe() writes them

    const QString yoshi = QString::fromUcs4(U"𠮷");
    QTest::newRow("prefix typed exactly") << "あいうえお\nかきく"
                                          << "あいうえお\nか" << 0 << 0 << 0 << 7 << "";
    QTest::newRow("one substitution") << "あいうえお"
                                      << "あかう" << 1 << 0 << 0 << 3 << "S1+1:1+1";
    QTest::newRow("one omission") << "あいうえお"
                                  << "あうえ" << 0 << 1 << 0 << 4 << "O1+0:1+1";
    QTest::newRow("one insertion") << "あいうえお"
                                   << "あいかう" << 0 << 0 << 1 << 3 << "I2+1:2+0";
    QTest::newRow("line break missing") << "あい\nうえ"
                                        << "あいうえ" << 0 << 1 << 0 << 5 << "O2+0:2+1";
    QTest::newRow("line break extra") << "あいうえ"
                                      << "あい\nうえ" << 0 << 0 << 1 << 4 << "I2+1:2+0";
    QTest::newRow("line end typed short") << "あいう\nえお"
                                          << "あい\nえ" << 0 << 1 << 0 << 5 << "O2+0:2+1";
    QTest::newRow("line break typed over") << "あい\nう"
                                           << "あいかう" << 1 << 0 << 0 << 4 << "S2+1:2+1";
    QTest::newRow("hiragana as katakana")
        << "ねずみ"
        << "ネズミ" << 3 << 0 << 0 << 3 << "S0+1:0+1 S1+1:1+1 S2+1:2+1";
    QTest::newRow("kana as kanji") << "わたしたちは学生です。"
                                   << "私達は学生です。" << 2 << 3 << 0 << 11 << "";
    QTest::newRow("full-width and half-width") << "ＡＢＣ"
                                               << "AＢC" << 2 << 0 << 0 << 3 << "S0+1:0+1 S2+1:2+1";
    QTest::newRow("surrogate pair substituted") << yoshi + "野家です"
                                                << "吉野家です" << 1 << 0 << 0 << 6 << "S0+1:0+2";
    QTest::newRow("surrogate pair omitted") << "a" + yoshi + "b"
                                            << "ab" << 0 << 1 << 0 << 4 << "O1+0:1+2";
    QTest::newRow("surrogate pair inserted") << "ab"
                                             << "a" + yoshi + "b" << 0 << 0 << 1 << 2 << "I1+2:1+0";
    // A broken pair (from a damaged file) still counts as one character.
    QTest::newRow("lone surrogate omitted") << "a" + QString(QChar(0xD842)) + "b"
                                            << "ab" << 0 << 1 << 0 << 3 << "O1+0:1+1";
    QTest::newRow("empty practice text") << ""
                                         << "あい" << 0 << 0 << 2 << 0 << "I0+1:0+0 I1+1:0+0";
    QTest::newRow("empty typed text") << "あい"
                                      << "" << 0 << 0 << 0 << 0 << "";
    QTest::newRow("both empty") << ""
                                << "" << 0 << 0 << 0 << 0 << "";
    QTest::newRow("typed past the end") << "あい"
                                        << "あいうえ" << 0 << 0 << 2 << 2 << "I2+1:2+0 I3+1:2+0";
    QTest::newRow("tie: substitution reaches further") << "あい"
                                                       << "あか" << 1 << 0 << 0 << 2 << "S1+1:1+1";
    QTest::newRow("tie: substitution read before omission")
        << "雨が降り"
        << "飴降り" << 1 << 1 << 0 << 4 << "S0+1:0+1 O1+0:1+1";
    QTest::newRow("tie: omission reaches further") << "あいう"
                                                   << "あう" << 0 << 1 << 0 << 3 << "O1+0:1+1";
    // Three errors reach the end either as one run (\n→c, a→b, c left out) or
    // as two (\n and a left out, b extra): one run, the substitutions first.
    QTest::newRow("tie: fewest runs, then substitutions first")
        << "\nacd"
        << "cbd" << 2 << 1 << 0 << 4 << "S0+1:0+1 S1+1:1+1 O2+0:2+1";
}

void TestExamAlignment::countsErrors()
{
    QFETCH(QString, practice);
    QFETCH(QString, typed);
    QFETCH(int, substitutions);
    QFETCH(int, omissions);
    QFETCH(int, insertions);
    QFETCH(int, reached);
    QFETCH(QString, errors);

    ExamAlignment alignment;
    alignment.setPracticeText(practice);
    const ExamAlignment::Result result = alignment.align(typed);
    QCOMPARE(result.substitutions, substitutions);
    QCOMPARE(result.omissions, omissions);
    QCOMPARE(result.insertions, insertions);
    QCOMPARE(result.practiceReached, reached);
    if (!errors.isEmpty())
        QCOMPARE(describe(result.errors), errors);
    const QString problem = replayProblem(practice, typed, result);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));

    // Whichever method finds the fewest errors, the same ones.
    const QList<uint> p = practice.toUcs4();
    const QList<uint> t = typed.toUcs4();
    const Script chosen = ExamAlignmentMethods::align(codes(p), codes(t));
    const Script bits = ExamAlignmentMethods::byBitVectors(codes(p), codes(t));
    QVERIFY(ExamAlignmentMethods::canonical(codes(p), codes(t), bits).steps == chosen.steps);
    const auto diagonals = ExamAlignmentMethods::byDiagonals(codes(p), codes(t), INT_MAX);
    QVERIFY(ExamAlignmentMethods::canonical(codes(p), codes(t), *diagonals).steps == chosen.steps);
}

namespace {

// Four lines of text made of a few common characters, so that a line's
// characters recur all around it and many alignments share the fewest errors.
QStringList fourLines(int length)
{
    QRandomGenerator random(21);
    const QStringList kana { "の", "は", "に", "を", "が", "、", "い", "た" };
    QStringList lines;
    for (const QString start : { "一", "二", "三", "四" })
        lines << start + randomText(random, kana, length) + "。\n";
    return lines;
}

} // namespace

void TestExamAlignment::errorsFormOneBlock_data()
{
    QTest::addColumn<QString>("practice");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("practiceFrom");
    QTest::addColumn<int>("typedFrom");
    QTest::addColumn<int>("length");

    const QStringList l = fourLines(103);
    const QString all = l.join(QString());
    const int omission = int(Kind::Omission);
    const int insertion = int(Kind::Insertion);
    QTest::newRow("line 2 skipped") << all << l[0] + l[2] + l[3] << omission << int(l[0].size())
                                    << int(l[0].size()) << int(l[1].size());
    QTest::newRow("line 2 typed twice")
        << all << l[0] + l[1] + l[1] + l[2] << insertion << int(l[0].size() + l[1].size())
        << int(l[0].size() + l[1].size()) << int(l[1].size());
    const QString clause = "雨が降りそうなので、";
    QTest::newRow("clause skipped")
        << "今日は、" + clause + "傘を持って出かけます。"
        << "今日は、傘を持って出かけます。" << omission << 4 << 4 << int(clause.size());
}

// A skipped or repeated passage is one block of errors in both texts.
void TestExamAlignment::errorsFormOneBlock()
{
    QFETCH(QString, practice);
    QFETCH(QString, typed);
    QFETCH(int, kind);
    QFETCH(int, practiceFrom);
    QFETCH(int, typedFrom);
    QFETCH(int, length);

    ExamAlignment alignment;
    alignment.setPracticeText(practice);
    const ExamAlignment::Result result = alignment.align(typed);
    QCOMPARE(result.errors.size(), length);
    const bool omitted = kind == int(Kind::Omission);
    for (int i = 0; i < length; ++i) {
        const ExamAlignment::Error &e = result.errors[i];
        QCOMPARE(int(e.kind), kind);
        QCOMPARE(e.practicePos, practiceFrom + (omitted ? i : 0));
        QCOMPARE(e.typedPos, typedFrom + (omitted ? 0 : i));
    }
    // The same in windows, as in texts with too many errors to choose over whole.
    const QList<uint> p = practice.toUcs4();
    const QList<uint> t = typed.toUcs4();
    ExamAlignmentMethods::Limits windows;
    windows.canonicalErrors = 0;
    QVERIFY(ExamAlignmentMethods::align(codes(p), codes(t), windows).steps
        == ExamAlignmentMethods::align(codes(p), codes(t)).steps);
}

void TestExamAlignment::agreesWithFullTable_data()
{
    QTest::addColumn<QStringList>("symbols");
    QTest::addColumn<int>("maxLength");
    QTest::addColumn<int>("cases");

    const QString yoshi = QString::fromUcs4(U"𠮷");
    QTest::newRow("few symbols, short") << QStringList { "あ", "い", "\n" } << 10 << 300;
    QTest::newRow("surrogate pairs") << QStringList { "あ", yoshi, "\n", "A" } << 14 << 200;
    // Longer than one 64-character word, so the bit-parallel bands meet.
    QTest::newRow("across words") << QStringList { "あ", "い", "う", "漢", "\n" } << 200 << 60;
    QTest::newRow("across stretches") << QStringList { "あ", "い", "う", "漢", "\n" } << 900 << 12;
}

// Each case is aligned as a caller does and by each method alone.
void TestExamAlignment::agreesWithFullTable()
{
    QFETCH(QStringList, symbols);
    QFETCH(int, maxLength);
    QFETCH(int, cases);

    QRandomGenerator random(20261209);
    ExamAlignment alignment;
    for (int c = 0; c < cases; ++c) {
        const QString practice = randomText(random, symbols, random.bounded(maxLength + 1));
        const QString typed = c % 3 == 0
            ? randomText(random, symbols, random.bounded(maxLength + 1))
            : mistype(random, symbols, practice);
        const QList<uint> p = practice.toUcs4();
        const QList<uint> t = typed.toUcs4();
        const Best expected = fullTable(p, t);
        const QByteArray where = "case " + QByteArray::number(c);

        alignment.setPracticeText(practice);
        const ExamAlignment::Result result = alignment.align(typed);
        QVERIFY2(result.errorCount() == expected.errors, where);
        QVERIFY2(result.practiceReached
                == QString::fromUcs4(
                    reinterpret_cast<const char32_t *>(p.data()), expected.practiceEnd)
                       .size(),
            where);
        QString problem = replayProblem(practice, typed, result);
        QVERIFY2(problem.isEmpty(), where + ": " + problem.toUtf8());

        const std::span<const char32_t> pc(reinterpret_cast<const char32_t *>(p.data()), p.size());
        const std::span<const char32_t> tc(reinterpret_cast<const char32_t *>(t.data()), t.size());
        const std::optional<Script> diagonals = ExamAlignmentMethods::byDiagonals(pc, tc, INT_MAX);
        QVERIFY2(diagonals, where);
        problem = scriptProblem(p, t, *diagonals, &expected);
        QVERIFY2(problem.isEmpty(), where + " by diagonals: " + problem.toUtf8());
        // With room for all the rows kept, for some, for one.
        for (const std::size_t budget :
            { ExamAlignmentMethods::DefaultRowBudget, std::size_t(2048), std::size_t(1) }) {
            const Script bits = ExamAlignmentMethods::byBitVectors(pc, tc, budget);
            problem = scriptProblem(p, t, bits, &expected);
            QVERIFY2(problem.isEmpty(), where + " by bit vectors: " + problem.toUtf8());
        }
        // In pieces, as very long texts far apart are: a real alignment, if not the best.
        const Script pieces = ExamAlignmentMethods::align(pc, tc, { 0, 7, 1 });
        problem = scriptProblem(p, t, pieces, nullptr);
        QVERIFY2(problem.isEmpty(), where + " in pieces: " + problem.toUtf8());

        // One alignment among the best, whichever method found them: the fewest
        // runs (chosen over the whole texts however many the errors).
        ExamAlignmentMethods::Limits whole;
        whole.canonicalErrors = INT_MAX;
        const Script chosen = ExamAlignmentMethods::align(pc, tc, whole);
        QVERIFY2(errorsAndRuns(chosen) == fewestRuns(p, t, expected.practiceEnd), where);
        QVERIFY2(ExamAlignmentMethods::canonical(pc, tc, *diagonals, whole).steps == chosen.steps,
            where + " by diagonals");
        const Script bits = ExamAlignmentMethods::byBitVectors(pc, tc, 2048);
        QVERIFY2(ExamAlignmentMethods::canonical(pc, tc, bits, whole).steps == chosen.steps,
            where + " by bit vectors");
        ExamAlignmentMethods::Limits inPieces = whole;
        inPieces.wholeTableWords = 0;
        inPieces.pieceLength = 7;
        inPieces.diagonalErrors = 1;
        const Script piecesWhole = ExamAlignmentMethods::align(pc, tc, inPieces);
        if (piecesWhole.practiceEnd == chosen.practiceEnd)
            QVERIFY2(piecesWhole.steps == chosen.steps, where + " in pieces");
        // Past the limits, window by window: still among the best.
        ExamAlignmentMethods::Limits tight;
        tight.canonicalCells = 64;
        tight.anchorMatches = 2;
        const Script windows = ExamAlignmentMethods::canonical(pc, tc, bits, tight);
        problem = scriptProblem(p, t, windows, &expected);
        QVERIFY2(problem.isEmpty(), where + " in windows: " + problem.toUtf8());
    }
}

void TestExamAlignment::scoresLevels_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("typed");
    QTest::addColumn<int>("errors");
    QTest::addColumn<int>("net");
    QTest::addColumn<bool>("passes");

    QTest::newRow("4級 exactly the mark") << 0 << "4級" << 210 << 10 << 200 << true;
    QTest::newRow("4級 one short") << 0 << "4級" << 210 << 11 << 199 << false;
    QTest::newRow("3級 exactly the mark") << 1 << "3級" << 300 << 0 << 300 << true;
    QTest::newRow("準2級 exactly the mark") << 2 << "準2級" << 430 << 10 << 400 << true;
    QTest::newRow("2級 the learner who typed 520") << 3 << "2級" << 520 << 12 << 484 << false;
    QTest::newRow("2級 exactly the mark") << 3 << "2級" << 536 << 12 << 500 << true;
    QTest::newRow("準1級 one short") << 4 << "準1級" << 649 << 10 << 599 << false;
    QTest::newRow("1級 exactly the mark") << 5 << "1級" << 750 << 10 << 700 << true;
    QTest::newRow("never below 0") << 5 << "1級" << 10 << 3 << 0 << false;
    QTest::newRow("custom") << ExamProfile::CustomIndex << "自由設定" << 120 << 2 << 100 << true;
    QTest::newRow("absurd errors") << 5 << "1級" << 700 << INT_MAX << 0 << false;
}

void TestExamAlignment::scoresLevels()
{
    QFETCH(int, level);
    QFETCH(QString, name);
    QFETCH(int, typed);
    QFETCH(int, errors);
    QFETCH(int, net);
    QFETCH(bool, passes);

    // The custom level here costs 10 an error and passes at 100.
    const QList<ExamLevel> levels = ExamProfile::levels(10, 100);
    QCOMPARE(levels.size(), ExamProfile::CustomIndex + 1);
    QCOMPARE(levels[ExamProfile::DefaultIndex].name, QStringLiteral("3級"));
    const ExamLevel &l = levels[level];
    QCOMPARE(l.name, name);
    QCOMPARE(ExamProfile::netScore(typed, errors, l.penalty), net);
    QCOMPARE(ExamProfile::passes(net, l.passMark), passes);
}

QTEST_APPLESS_MAIN(TestExamAlignment)
#include "tst_examalignment.moc"
