#include "controls/edit/ToolEdit.h"
#include "tests/support/FakeDialogs.h"
#include "tests/support/FileBytes.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestToolEdit final : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void fileNameUnquotes_data();
    void fileNameUnquotes();
    void browseStartsWhereTheTextPointsAndQuotesBlanks();
    void clickKeyAndLockedEdit();
    void pathCp932CannotHoldIsRefused();
    void filtersMatchWavInBothCasesAndAllFiles();
    void buttonSitsInsideTheRightEnd();

private:
    QTemporaryDir m_folder;
    QString path(const QString &name) const { return m_folder.filePath(name); }
};

void TestToolEdit::initTestCase()
{
    // The options dialog's font, ＭＳ Ｐゴシック 12 px, as the program draws it
    // (IPAPGothic): the sizes below are the dialog's. The desktop's default
    // font depends on what else is installed and may be taller.
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(12);
    QApplication::setFont(font);
}

void TestToolEdit::fileNameUnquotes_data()
{
    QTest::addColumn<QString>("text"); // "<dir>" stands for the temporary folder
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("unquoted");

    QTest::newRow("plain missing") << "<dir>/a.wav" << false << "<dir>/a.wav"
                                   << "<dir>/a.wav";
    QTest::newRow("blank, existing") << "<dir>/My Sounds.wav" << true << "<dir>/My Sounds.wav"
                                     << "<dir>/My Sounds.wav";
    QTest::newRow("blank, missing: cut at the blank")
        << "<dir>/My Sounds/a.wav" << false << "<dir>/My"
        << "<dir>/My Sounds/a.wav";
    QTest::newRow("quoted blank, missing")
        << "\"<dir>/My Sounds/a.wav\"" << false << "<dir>/My Sounds/a.wav"
        << "<dir>/My Sounds/a.wav";
    QTest::newRow("quoted then more") << "\"<dir>/a b.wav\" -x" << false << "<dir>/a b.wav"
                                      << "\"<dir>/a b.wav\" -x";
    QTest::newRow("blanks around quotes") << "  \"<dir>/a b.wav\" " << false << "<dir>/a b.wav"
                                          << "<dir>/a b.wav";
    QTest::newRow("empty") << "" << false << ""
                           << "";
    QTest::newRow("only quotes") << "\"\"" << false << ""
                                 << "";
}

void TestToolEdit::fileNameUnquotes()
{
    QFETCH(QString, text);
    QFETCH(bool, exists);
    QFETCH(QString, fileName);
    QFETCH(QString, unquoted);
    const QString dir = m_folder.path();
    text.replace(QStringLiteral("<dir>"), dir);
    if (exists)
        writeAll(text, "RIFF");
    FakeDialogs dialogs;
    TFilenameEdit edit(dialogs);
    edit.setText(text);
    QCOMPARE(edit.fileName(), fileName.replace(QStringLiteral("<dir>"), dir));
    QCOMPARE(edit.unquotedText(), unquoted.replace(QStringLiteral("<dir>"), dir));
}

void TestToolEdit::browseStartsWhereTheTextPointsAndQuotesBlanks()
{
    QDir(m_folder.path()).mkpath(QStringLiteral("first"));
    QDir(m_folder.path()).mkpath(QStringLiteral("My Sounds"));
    const QString existing = path(QStringLiteral("first/alarm.wav"));
    writeAll(existing, "RIFF");
    const QString picked = path(QStringLiteral("My Sounds/bell.wav"));

    FakeDialogs dialogs;
    TFilenameEdit edit(dialogs);
    edit.setDialogTitle(QStringLiteral("アラーム音を選択"));
    edit.setFilter(QStringLiteral("wavファイル(*.wav)|*.wav"));
    edit.setText(existing);
    dialogs.fileNames << picked;
    edit.browse();
    QCOMPARE(dialogs.browseRequests.size(), 1);
    const FileDialogRequest first = dialogs.browseRequests.constFirst();
    QCOMPARE(first.initialDir, path(QStringLiteral("first/")));
    QCOMPARE(first.fileName, existing);
    QCOMPARE(first.title, QStringLiteral("アラーム音を選択"));
    QCOMPARE(first.filter, QStringLiteral("wavファイル(*.wav)|*.wav"));
    QCOMPARE(first.filterIndex, 1);
    QCOMPARE(edit.text(), u'"' + picked + u'"');
    QCOMPARE(edit.fileName(), picked);

    edit.browse(); // cancelled: nothing changes, but it opened in the new folder
    QCOMPARE(dialogs.browseRequests.at(1).initialDir, path(QStringLiteral("My Sounds/")));
    QCOMPARE(edit.text(), u'"' + picked + u'"');
}

void TestToolEdit::clickKeyAndLockedEdit()
{
    FakeDialogs dialogs;
    TFilenameEdit edit(dialogs);
    edit.show();
    QTest::keyClick(&edit, Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(dialogs.browseRequests.size(), 1);
    QTest::mouseClick(edit.button(), Qt::LeftButton);
    QCOMPARE(dialogs.browseRequests.size(), 2);

    edit.setLocked(true);
    QTest::keyClick(&edit, Qt::Key_Down, Qt::AltModifier);
    QTest::mouseClick(edit.button(), Qt::LeftButton);
    QTest::keyClicks(&edit, QStringLiteral("x"));
    QCOMPARE(dialogs.browseRequests.size(), 2);
    QCOMPARE(edit.text(), QString());

    edit.setLocked(false);
    edit.setDirectInput(false); // no typing, but the button still browses
    QTest::keyClicks(&edit, QStringLiteral("x"));
    QTest::keyClick(&edit, Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(edit.text(), QString());
    QCOMPARE(dialogs.browseRequests.size(), 3);
}

void TestToolEdit::pathCp932CannotHoldIsRefused()
{
    FakeDialogs dialogs;
    TFilenameEdit edit(dialogs);
    edit.setText(QStringLiteral("/old/アラーム.wav"));
    dialogs.fileNames << QStringLiteral("/home/u/café/bell.wav");
    edit.browse();
    QCOMPARE(edit.text(), QStringLiteral("/old/アラーム.wav"));
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages.constFirst().icon, QMessageBox::Warning);
    QVERIFY2(dialogs.messages.constFirst().text.contains(QStringLiteral("「é」")),
        qPrintable(dialogs.messages.constFirst().text));
    QVERIFY(TFilenameEdit::unholdablePathMessage(QStringLiteral("/音/①.wav")).isEmpty());
}

void TestToolEdit::filtersMatchWavInBothCasesAndAllFiles()
{
    const QStringList filters = qtNameFilters(
        QStringLiteral("wavファイル(*.wav)|*.wav|すぺてのファイル (*.*)|*.*|テキスト|*.txt;*.log"));
    QCOMPARE(filters,
        QStringList({ QStringLiteral("wavファイル(*.wav) (*.wav *.WAV)"),
            QStringLiteral("すぺてのファイル (*.*) (*)"),
            QStringLiteral("テキスト (*.txt *.log)") }));
}

void TestToolEdit::buttonSitsInsideTheRightEnd()
{
    FakeDialogs dialogs;
    TFilenameEdit edit(dialogs);
    QCOMPARE(TFilenameEdit::defaultGlyph().size(), QSize(14, 12));
    QCOMPARE(edit.buttonWidth(), 21);
    edit.setButtonWidth(20);
    edit.setGeometry(0, 0, 249, 21);
    edit.show();
    QCOMPARE(edit.button()->geometry(), QRect(249 - 20 - 2, 2, 20, 21 - 4));
    QCOMPARE(edit.textMargins().right(), 20 + 2);

    const QImage image = edit.grab().toImage();
    const QColor face = edit.palette().color(QPalette::Button);
    const QColor light = edit.palette().color(QPalette::Light);
    QCOMPARE(image.pixelColor(249 - 20 - 2, 10), face); // leftmost column
    QCOMPARE(image.pixelColor(249 - 20 - 1, 10), light); // the highlight beside it

    edit.setButtonWidth(1);
    QVERIFY(edit.button()->isHidden());
    QCOMPARE(edit.textMargins().right(), 0);
}

QTEST_MAIN(TestToolEdit)
#include "tst_tooledit.moc"
