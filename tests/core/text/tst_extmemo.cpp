#include "core/text/ExtMemo.h"

#include "core/Errors.h"
#include "core/text/PracticeText.h"
#include "core/text/TextFile.h"
#include "core/text/VisibleCount.h"
#include "tests/support/FileBytes.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class TestExtMemo final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void laysOutPlainText_data();
    void laysOutPlainText();
    void readsRtfAsVisibleText_data();
    void readsRtfAsVisibleText();
    void takesInAtMost64KCharacters_data();
    void takesInAtMost64KCharacters();
    void lineLengthSetsWrapWidth();
    void longLineIsCutAtCharacterBoundary();
    void unreadablePathGivesOpenError_data();
    void unreadablePathGivesOpenError();
    void failingStreamGivesReadError_data();
    void failingStreamGivesReadError();
    void measuresProblemFile_data();
    void measuresProblemFile();
    void listCountsWhatThePaneCounts_data();
    void listCountsWhatThePaneCounts();
    void readsNoMoreThanThePaneLimit_data();
    void readsNoMoreThanThePaneLimit();

private:
    QString writeFile(const QString &name, const QByteArray &content);

    QTemporaryDir m_dir;
};

namespace {
const QByteArray A("\x82\xa0"); // あ
const QByteArray I("\x82\xa2"); // い

// Yields its data, then fails as a broken disk or connection would.
class FailingDevice final : public QIODevice
{
public:
    explicit FailingDevice(const QByteArray &before)
        : m_before(before)
    {
        open(QIODevice::ReadOnly);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        if (m_before.isEmpty())
            return -1;
        const qint64 size = qMin<qint64>(maxSize, m_before.size());
        memcpy(data, m_before.constData(), size_t(size));
        m_before.remove(0, size);
        return size;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_before;
};
} // namespace

QString TestExtMemo::writeFile(const QString &name, const QByteArray &content)
{
    const QString path = m_dir.filePath(name);
    if (!writeAll(path, content))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestExtMemo::init()
{
    QVERIFY(m_dir.isValid());
}

void TestExtMemo::laysOutPlainText_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArrayList>("lines");

    const QByteArray a84(84, 'a');
    QTest::newRow("empty") << QByteArray() << QByteArray() << QByteArrayList { "" };
    QTest::newRow("ab CR LF") << QByteArray("ab\r\n") << QByteArray("ab\r\n")
                              << QByteArrayList { "ab", "" };
    QTest::newRow("lone LF") << QByteArray("ab\ncd\n") << QByteArray("ab\r\ncd\r\n")
                             << QByteArrayList { "ab", "cd", "" };
    QTest::newRow("lone CR") << QByteArray("ab\rcd") << QByteArray("ab\r\ncd")
                             << QByteArrayList { "ab", "cd" };
    QTest::newRow("LF CR is two breaks")
        << QByteArray("a\n\rb") << QByteArray("a\r\n\r\nb") << QByteArrayList { "a", "", "b" };
    QTest::newRow("CR before CR LF")
        << QByteArray("a\r\r\nb") << QByteArray("a\r\n\r\nb") << QByteArrayList { "a", "", "b" };
    QTest::newRow("other bytes kept, the text ends at a zero byte")
        << bytes("a\t\x7f\0b") << bytes("a\t\x7f") << QByteArrayList { bytes("a\t\x7f") };
    QTest::newRow("84 columns fit") << a84 << a84 << QByteArrayList { a84 };
    QTest::newRow("85th column wraps") << a84 + "b" << a84 + "b" << QByteArrayList { a84, "b" };
    QTest::newRow("full line then break")
        << a84 + "\r\nb" << a84 + "\r\nb" << QByteArrayList { a84, "b" };
    const QByteArray fits = QByteArray(82, 'a') + A;
    const QByteArray straddles = QByteArray(83, 'a') + A;
    QTest::newRow("full-width char fits at 83") << fits << fits << QByteArrayList { fits };
    QTest::newRow("full-width char moves down whole")
        << straddles << straddles << QByteArrayList { QByteArray(83, 'a'), A };
    const QByteArray katakana(85, '\xb1');
    QTest::newRow("half-width katakana take half a cell")
        << katakana << katakana << QByteArrayList { katakana.left(84), "\xb1" };
    QTest::newRow("100 full-width: 42, 42, 16")
        << A.repeated(100) << A.repeated(100)
        << QByteArrayList { A.repeated(42), A.repeated(42), A.repeated(16) };
    // A stray lead byte must not swallow the break after it.
    QTest::newRow("lead byte before LF")
        << QByteArray("\x82\nx") << QByteArray("\x82\r\nx") << QByteArrayList { "\x82", "x" };
}

void TestExtMemo::laysOutPlainText()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, text);
    QFETCH(QByteArrayList, lines);

    TExtMemo memo;
    memo.loadFromFile(writeFile(QStringLiteral("plain.txt"), file));
    QCOMPARE(memo.text(), text);
    QCOMPARE(memo.lineCount(), lines.size());
    for (int i = 0; i < lines.size(); ++i)
        QCOMPARE(memo.line(i), lines[i]);
    QCOMPARE(memo.line(-1), QByteArray());
    QCOMPARE(memo.line(memo.lineCount()), QByteArray());
}

void TestExtMemo::readsRtfAsVisibleText_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("tables skipped, paragraphs")
        << QByteArray("{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fnil\\fcharset128 MS;}}"
                      "{\\colortbl;\\red0\\green0\\blue0;}{\\stylesheet{\\s0 Normal;}}"
                      "{\\info{\\title T}}{\\*\\generator Riched20;}\\f0 ab\\par\r\ncd\\par\r\n}")
        << QByteArray("ab\r\ncd\r\n");
    QTest::newRow("hex bytes") << QByteArray("{\\rtf1 \\'82\\'a0\\'82\\'A2}") << A + I;
    QTest::newRow("unicode, default fallback of one")
        << QByteArray("{\\rtf1 \\u12354?b}") << A + "b";
    QTest::newRow("unicode, two-byte fallback")
        << QByteArray("{\\rtf1\\uc2 \\u12354\\'82\\'a0x}") << A + "x";
    QTest::newRow("negative code") << QByteArray("{\\rtf1 \\u-223?}") << QByteArray("\x82\x60");
    QTest::newRow("fallback length scoped to group")
        << QByteArray("{\\rtf1 {\\uc2 \\u12354 xy}\\u12356 zw}") << A + I + "w";
    // Code page 932 has neither; the writer's fallback stands in.
    QTest::newRow("unmappable keeps fallback")
        << QByteArray("{\\rtf1 \\u8226*\\u-10179?\\u-8576?}") << QByteArray("*??");
    QTest::newRow("control symbols")
        << QByteArray("{\\rtf1 a\\\\b\\{c\\}\\~d\\-e}") << QByteArray("a\\b{c} de");
    QTest::newRow("line and tab") << QByteArray("{\\rtf1 a\\line b\\tab c}")
                                  << QByteArray("a\r\nb\tc");
    QTest::newRow("raw breaks ignored") << QByteArray("{\\rtf1 a\r\nb\nc}") << QByteArray("abc");
    // ソ is 0x83 0x5C: its trail byte is a backslash.
    QTest::newRow("raw Shift-JIS")
        << QByteArray("{\\rtf1 \x83\x5c\x95\x7b}") << QByteArray("\x83\x5c\x95\x7b");
    QTest::newRow("after the outer group") << QByteArray("{\\rtf1 a}b") << QByteArray("a");
    QTest::newRow("unterminated") << QByteArray("{\\rtf1 ab") << QByteArray("ab");
    QTest::newRow("binary data skipped")
        << QByteArray("{\\rtf1 a\\bin3 }{\\b}") << QByteArray("ab");
    QTest::newRow("hex line breaks")
        << QByteArray("{\\rtf1 a\\'0d\\'0ab\\'0ac}") << QByteArray("a\r\nb\r\nc");
    QTest::newRow("field result shown")
        << QByteArray("{\\rtf1 {\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt link}}}")
        << QByteArray("link");
    QTest::newRow("not RTF: upper case") << QByteArray("{\\RTF1 a}") << QByteArray("{\\RTF1 a}");
}

void TestExtMemo::readsRtfAsVisibleText()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, text);

    TExtMemo memo;
    memo.loadFromFile(writeFile(QStringLiteral("doc.txt"), file));
    QCOMPARE(memo.text(), text);
}

void TestExtMemo::takesInAtMost64KCharacters_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("text");

    const QByteArray full(65536, 'a');
    QTest::newRow("exactly 64K") << full << full;
    QTest::newRow("beyond 64K") << QByteArray(70000, 'a') + "\r\nb" << full;
    QTest::newRow("double-byte count once") << A.repeated(40000) << A.repeated(40000);
    QTest::newRow("last double-byte fits") << full.left(65535) + A + "b" << full.left(65535) + A;
    QTest::newRow("break not split") << full.left(65535) + "\r\nb" << full.left(65535);
    QTest::newRow("converted break at the end")
        << full.left(65534) + "\nbc" << full.left(65534) + "\r\n";
    // Every lone LF grows by a byte: 21845 lines of three characters, then one more.
    QTest::newRow("conversion counts")
        << QByteArray("a\n").repeated(40000) << QByteArray("a\r\n").repeated(21845) + "a";
    QTest::newRow("RTF") << "{\\rtf1 " + QByteArray(70000, 'a') + "}" << full;
    QTest::newRow("large file") << QByteArray(4 << 20, 'a') << full;
}

void TestExtMemo::takesInAtMost64KCharacters()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, text);

    TExtMemo memo;
    memo.loadFromFile(writeFile(QStringLiteral("long.txt"), file));
    QCOMPARE(memo.text().size(), text.size());
    QVERIFY(memo.text() == text);
}

void TestExtMemo::lineLengthSetsWrapWidth()
{
    TExtMemo memo;
    memo.loadFromFile(writeFile(QStringLiteral("w.txt"), "abcdefghi"));
    QCOMPARE(memo.lineCount(), 1);

    memo.setLineLength(0);
    QCOMPARE(memo.lineCount(), 3);
    QCOMPARE(memo.line(0), QByteArray("abcd"));
    QCOMPARE(memo.line(2), QByteArray("i"));

    memo.setLineLength(-1);
    QCOMPARE(memo.lineLength(), 0);
    QCOMPARE(memo.lineCount(), 3);

    memo.setLineLength(2);
    QCOMPARE(memo.line(0), QByteArray("abcdef"));
    QCOMPARE(memo.lineCount(), 2);
}

void TestExtMemo::longLineIsCutAtCharacterBoundary()
{
    TExtMemo memo;
    memo.setLineLength(8000);
    memo.loadFromFile(writeFile(QStringLiteral("wide.txt"), "a" + A.repeated(3000)));
    QCOMPARE(memo.lineCount(), 1);
    QCOMPARE(memo.line(0), "a" + A.repeated(2047));
}

void TestExtMemo::unreadablePathGivesOpenError_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << QStringLiteral("missing");
    QTest::newRow("folder") << QStringLiteral("folder");
    QTest::newRow("named pipe") << QStringLiteral("pipe");
}

void TestExtMemo::unreadablePathGivesOpenError()
{
    QFETCH(QString, kind);

    const QString path = m_dir.filePath(kind + QStringLiteral(".txt"));
    if (kind == u"folder")
        QVERIFY(QDir(m_dir.path()).mkdir(kind + QStringLiteral(".txt")));
    else if (kind == u"pipe")
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);

    TExtMemo memo;
    memo.loadFromFile(writeFile(QStringLiteral("before.txt"), "kept\n"));
    try {
        memo.loadFromFile(path);
        QFAIL("loaded an unreadable path");
    } catch (const VemiError &error) {
        QCOMPARE(error.message(), QStringLiteral("ファイル %1 は開けません").arg(path));
    }
    QCOMPARE(memo.text(), QByteArray("kept\r\n"));
    QCOMPARE(memo.lineCount(), 2);
}

void TestExtMemo::failingStreamGivesReadError_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::newRow("plain") << QByteArray("abc");
    QTest::newRow("RTF") << QByteArray("{\\rtf1 abc");
}

void TestExtMemo::failingStreamGivesReadError()
{
    QFETCH(QByteArray, before);

    TExtMemo memo;
    memo.loadFromFile(writeFile(QStringLiteral("before.txt"), "kept"));
    FailingDevice device(before);
    try {
        memo.loadFromStream(device);
        QFAIL("a failing read went unnoticed");
    } catch (const VemiError &error) {
        QCOMPARE(error.message(), QStringLiteral("ストリームからの読み込みに失敗しました"));
    }
    QCOMPARE(memo.text(), QByteArray("kept"));
}

void TestExtMemo::measuresProblemFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("grade");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("firstPart");

    const QByteArray example = "ab\r\ncd\r\n" + A + I;
    const QString ab = QStringLiteral("ab");
    QTest::newRow("worked example") << "rei.txt" << example << "5"
                                    << "9" << ab;
    QTest::newRow("worked example, break at end") << "rei.txt" << example + "\r\n"
                                                  << "5"
                                                  << "10" << ab;
    QTest::newRow("worked example, lone LF") << "rei.txt"
                                             << "ab\ncd\n" + A + I + "\n"
                                             << "5"
                                             << "10" << ab;
    QTest::newRow("worked example as RTF")
        << "rei.txt" << QByteArray("{\\rtf1 ab\\par cd\\par \\'82\\'a0\\'82\\'a2}") << "5"
        << "9" << ab;
    QTest::newRow("empty") << "empty.txt" << QByteArray() << "5"
                           << "0" << QString();
    QTest::newRow("abc") << "abc.txt" << QByteArray("abc") << "5"
                         << "3"
                         << "abc";
    QTest::newRow("abc CR LF") << "abc.txt" << QByteArray("abc\r\n") << "5"
                               << "4"
                               << "abc";
    QTest::newRow("empty first line") << "e.txt" << QByteArray("\r\nab") << "5"
                                      << "3" << QString();
    QTest::newRow("long first line") << "long.txt" << A.repeated(100) << "5"
                                     << "99" << QStringLiteral("あ").repeated(42);
    // 300 columns take 4 display lines: 297 counted.
    QTest::newRow("grade 4") << "UPPER.TXT" << QByteArray(300, 'x') << "4"
                             << "297" << QString(84, u'x');
    // 65536 characters in 781 display lines.
    QTest::newRow("beyond 64K") << "big.txt" << QByteArray(70000, 'x') << "1"
                                << "64756" << QString(84, u'x');
}

void TestExtMemo::measuresProblemFile()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, file);
    QFETCH(QString, grade);
    QFETCH(QString, count);
    QFETCH(QString, firstPart);

    QDir(m_dir.path()).mkdir(QStringLiteral("問題"));
    const QString path = m_dir.path() + QStringLiteral("//問題/") + name;
    QVERIFY(writeAll(path, file));

    const CatalogueEntry entry = TExtMemo::measureProblem(path);
    QCOMPARE(entry.grade, grade);
    QCOMPARE(entry.fileName, name);
    QCOMPARE(entry.countText, count);
    QCOMPARE(entry.firstPart, firstPart);
}

// One-line texts, where the list's count is the pane's count.
void TestExtMemo::listCountsWhatThePaneCounts_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("count");

    QTest::newRow("whole pairs") << A + I << "2";
    QTest::newRow("lead byte at the end") << QByteArray("a\x81") << "2";
    QTest::newRow("lead byte before CR LF") << QByteArray("\x81\r\nA") << "2";
    QTest::newRow("lead byte before a blank") << QByteArray("\x81 A") << "2";
}

void TestExtMemo::listCountsWhatThePaneCounts()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, count);

    const QString path = m_dir.filePath(QStringLiteral("p.txt"));
    QVERIFY(writeAll(path, file));
    QCOMPARE(TExtMemo::measureProblem(path).countText, count);
    QCOMPARE(visibleCountText(PracticeText::load(path)), count);
}

void TestExtMemo::readsNoMoreThanThePaneLimit_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<QByteArray>("tail"); // after the limit

    QTest::newRow("plain text") << QByteArray("x") << QByteArray("tail");
    QTest::newRow("RTF with hidden data")
        << QByteArray("{\\rtf1 {\\*\\pict ") << QByteArray("}tail}");
}

void TestExtMemo::readsNoMoreThanThePaneLimit()
{
    QFETCH(QByteArray, head);
    QFETCH(QByteArray, tail);

    QByteArray data = head;
    data.append(QByteArray(TextFile::MaxFileBytes + 1024 - head.size(), 'a')).append(tail);
    QBuffer device(&data);
    QVERIFY(device.open(QIODevice::ReadOnly));
    TExtMemo memo;
    memo.loadFromStream(device);
    QVERIFY(device.pos() <= TextFile::MaxFileBytes);
    QVERIFY(!memo.text().contains("tail"));
}

QTEST_APPLESS_MAIN(TestExtMemo)

#include "tst_extmemo.moc"
