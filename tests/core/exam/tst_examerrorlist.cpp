#include "core/exam/ExamCalculation.h"
#include "core/exam/ExamErrorList.h"

#include <QTest>

using ErrorKind = ExamAlignment::ErrorKind;

class TestExamErrorList final : public QObject
{
    Q_OBJECT
private slots:
    void rowsTellEachBlock_data();
    void rowsTellEachBlock();
    void adjacentErrorsOfOneKindAreOneBlock();
    void calculationIsWorkedOut_data();
    void calculationIsWorkedOut();
};

void TestExamErrorList::rowsTellEachBlock_data()
{
    QTest::addColumn<QString>("practice");
    QTest::addColumn<QString>("typed");
    // Each row as "summary | 正 | 入力 | line:column".
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("one 誤字") << QStringLiteral("あいうえおか") << QStringLiteral("あいXえおか")
                              << QStringList {
                                     "誤字 1字: X | あい【う】えおか | あい【X】えおか | 1:3"
                                 };
    // Typed on past it: only then is leaving it out the fewest errors.
    QTest::newRow("a skipped line is one 脱字 block")
        << QStringLiteral("ab:ijklmnop\nCDEFGHIJKLMNOPQRSTUV")
        << QStringLiteral("ab:CDEFGHIJKLMNOPQRSTUV")
        << QStringList { "脱字 9字: ijklmnop↵ | ab:【ijklmnop↵】CDEF | ab:【】CDEF | 1:4" };
    QTest::newRow("two 誤字 side by side")
        << QStringLiteral("abcdef") << QStringLiteral("abXYef")
        << QStringList { "誤字 2字: XY | ab【cd】ef | ab【XY】ef | 1:3" };
    QTest::newRow("余字 on the second line, context across the break")
        << QStringLiteral("ab\ncd") << QStringLiteral("ab\ncQd")
        << QStringList { "余字 1字: Q | ab↵c【】d | ab↵c【Q】d | 2:2" };
    QTest::newRow("kinds stay apart")
        << QStringLiteral("abcdefghij") << QStringLiteral("aXcefghij")
        << QStringList { "誤字 1字: X | a【b】cdef | a【X】cefg | 1:2",
               "脱字 1字: d | abc【d】efgh | aXc【】efgh | 1:4" };
    QTest::newRow("a column counts characters, not UTF-16 units")
        << QStringLiteral("𠮟abc") << QStringLiteral("𠮟aXc")
        << QStringList { "誤字 1字: X | 𠮟a【b】c | 𠮟a【X】c | 1:3" };
    QTest::newRow("a long block is shortened in the middle")
        << QStringLiteral("a") + QString(30, u'x')
            + QStringLiteral("bBCDEFGHIJKLMNOPQRSTUVWXYZ0123456789")
        << QStringLiteral("abBCDEFGHIJKLMNOPQRSTUVWXYZ0123456789")
        << QStringList { QStringLiteral("脱字 30字: %1…%1 | a【%1…%1】bBCD | a【】bBCD | 1:2")
                             .arg(QString(12, u'x')) };
}

void TestExamErrorList::rowsTellEachBlock()
{
    QFETCH(QString, practice);
    QFETCH(QString, typed);
    QFETCH(QStringList, rows);
    ExamAlignment alignment;
    alignment.setPracticeText(practice);
    QStringList shown;
    for (const ExamErrorList::Row &row :
        ExamErrorList::rows(alignment.align(typed), practice, typed))
        shown << QStringLiteral("%1 | %2 | %3 | %4:%5")
                     .arg(row.summary, row.expected, row.typed)
                     .arg(row.line)
                     .arg(row.column);
    QCOMPARE(shown, rows);
}

// Errors as the alignment lists them, one a character: a block ends where the
// kind changes or the places stop following on.
void TestExamErrorList::adjacentErrorsOfOneKindAreOneBlock()
{
    const QList<ExamAlignment::Error> errors {
        { ErrorKind::Omission, 2, 0, 2, 1 },
        { ErrorKind::Omission, 2, 0, 3, 1 }, // follows on in the practice text
        { ErrorKind::Insertion, 2, 1, 4, 0 }, // another kind
        { ErrorKind::Insertion, 3, 1, 4, 0 },
        { ErrorKind::Substitution, 5, 1, 5, 1 }, // a gap of one matched character before it
        { ErrorKind::Substitution, 7, 1, 7, 1 }, // and again
    };
    QList<QList<qsizetype>> found; // kind, count, typed span, practice span
    for (const ExamErrorList::Block &b : ExamErrorList::blocks(errors))
        found.append({ qsizetype(b.kind), b.count, b.typedPos, b.typedLength, b.practicePos,
            b.practiceLength });
    const QList<QList<qsizetype>> expected {
        { qsizetype(ErrorKind::Omission), 2, 2, 0, 2, 2 },
        { qsizetype(ErrorKind::Insertion), 2, 2, 2, 4, 0 },
        { qsizetype(ErrorKind::Substitution), 1, 5, 1, 5, 1 },
        { qsizetype(ErrorKind::Substitution), 1, 7, 1, 7, 1 },
    };
    QCOMPARE(found, expected);
}

void TestExamErrorList::calculationIsWorkedOut_data()
{
    QTest::addColumn<QList<int>>("figures"); // typed count, errors, penalty, pass mark
    QTest::addColumn<int>("netScore");
    QTest::addColumn<QString>("text");
    QTest::newRow("passes") << QList<int> { 524, 3, 8, 500 } << 500
                            << QStringLiteral("524 − 3 × 8 = 500 (合格点 500: 合格)");
    QTest::newRow("one short") << QList<int> { 523, 3, 8, 500 } << 499
                               << QStringLiteral("523 − 3 × 8 = 499 (合格点 500: 不合格)");
    QTest::newRow("no errors") << QList<int> { 310, 0, 1, 300 } << 310
                               << QStringLiteral("310 − 0 × 1 = 310 (合格点 300: 合格)");
    QTest::newRow("down to exactly 0")
        << QList<int> { 24, 3, 8, 0 } << 0 << QStringLiteral("24 − 3 × 8 = 0 (合格点 0: 合格)");
    QTest::newRow("never below 0") << QList<int> { 10, 3, 8,
        500 } << 0 << QStringLiteral("10 − 3 × 8 → 0 (0 未満は 0) (合格点 500: 不合格)");
    QTest::newRow("a product past int range")
        << QList<int> { 5, 100000, 100000, 1 } << 0
        << QStringLiteral("5 − 100000 × 100000 → 0 (0 未満は 0) "
                          "(合格点 1: 不合格)");
}

void TestExamErrorList::calculationIsWorkedOut()
{
    QFETCH(QList<int>, figures);
    QFETCH(int, netScore);
    QFETCH(QString, text);
    const ExamCalculation calculation { figures[0], figures[1], figures[2], figures[3] };
    QCOMPARE(calculation.netScore(), netScore);
    QCOMPARE(calculation.text(), text);
}

QTEST_GUILESS_MAIN(TestExamErrorList)
#include "tst_examerrorlist.moc"
