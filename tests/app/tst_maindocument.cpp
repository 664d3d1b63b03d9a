#include "core/text/Cp932.h"
#include "tests/support/Trainer.h"

#include "controls/lcd/Lcd99.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>

namespace {

const QString Question = QStringLiteral("は変更されています\n保存しますか？");

struct Document : Trainer
{
    Document() { window->RightMemo->setPlainText(QStringLiteral("abc")); }
    QString file(const char *name) const { return folder.filePath(QString::fromUtf8(name)); }
    bool modified() const { return window->RightMemo->document()->isModified(); }
    // Typed at the end of the pane, as the learner would (the edit sets the modified flag).
    void type(const QString &text)
    {
        window->RightMemo->moveCursor(QTextCursor::End);
        window->RightMemo->insertPlainText(text);
    }
};

} // namespace

class TestMainDocument final : public QObject
{
    Q_OBJECT
private slots:
    void newAsksBeforeDiscarding();
    void saveUntitledAsksForAName();
    void cancelledSaveKeepsTheQuestion();
    void saveNamedWritesWithoutDialog();
    void failedSaveKeepsNameAndCaption();
    void unencodableCharacterWarnsFirst();
    void openInTwoPaneModeFillsLeftPane();
    void openInOnePaneModeAsksFirst();
    void unreadableFileLeavesPaneAlone_data();
    void unreadableFileLeavesPaneAlone();
    void closeQuestion();
    void printsTypedTextOnChosenPrinter();
};

void TestMainDocument::newAsksBeforeDiscarding()
{
    Document d;
    d.type(QStringLiteral("x"));
    d.dialogs.answers << QMessageBox::Cancel;
    d.window->New1->trigger();
    QCOMPARE(d.dialogs.messages.size(), 1);
    const FakeDialogs::Message &box = d.dialogs.messages[0];
    QCOMPARE(box.text, QStringLiteral("Untitled") + Question);
    QCOMPARE(box.caption, QStringLiteral("警告"));
    QCOMPARE(box.icon, QMessageBox::Warning);
    QCOMPARE(box.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(box.defaultButton, QMessageBox::Yes);
    QCOMPARE(d.window->RightMemo->toPlainText(), QStringLiteral("abcx"));

    d.window->setStatusPanelText(0, QStringLiteral("9文字"));
    d.window->LCD99->setValue(QStringLiteral("03:00"));
    d.dialogs.answers << QMessageBox::No;
    d.window->New1->trigger();
    QVERIFY(d.window->RightMemo->toPlainText().isEmpty());
    QCOMPARE(d.window->statusPanelText(2), QStringLiteral("0文字"));
    QCOMPARE(d.window->statusPanelText(0), QStringLiteral("9文字")); // the practice text stays
    QCOMPARE(d.window->windowTitle(), QStringLiteral("VemiTapiro--[Untitled]"));
    QCOMPARE(d.window->LCD99->value(), QStringLiteral("00:00"));
    QVERIFY(!d.modified());
}

void TestMainDocument::saveUntitledAsksForAName()
{
    Document d;
    d.type(QStringLiteral("\n文字"));
    d.dialogs.fileNames << d.file("a.txt");
    d.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(d.window.get()));
    QTest::keyClick(d.window->RightMemo, Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(d.dialogs.fileDialogFilters,
        QStringList { QStringLiteral("テキストファイル(*.txt)|*.txt") });
    QCOMPARE(readAll(d.file("a.txt")), Cp932::encode(QStringLiteral("abc\r\n文字")));
    QCOMPARE(d.window->windowTitle(), QStringLiteral("VemiTapiro--a.txt"));
    QCOMPARE(d.window->documentName(), d.file("a.txt"));
    QVERIFY(!d.modified());

    // After New the document is untitled again: Save asks for a name, never writes "Untitled".
    d.window->New1->trigger();
    d.type(QStringLiteral("new"));
    d.window->Save1->trigger(); // cancelled
    QCOMPARE(d.dialogs.savePresets.size(), 2);
    QCOMPARE(d.dialogs.savePresets.last(), QStringLiteral("Untitled"));
    QVERIFY(!QFile::exists(d.file("Untitled")));
}

void TestMainDocument::cancelledSaveKeepsTheQuestion()
{
    Document d;
    d.type(QStringLiteral("x"));
    d.window->Save1->trigger(); // the file dialog is cancelled
    QVERIFY(QDir(d.folder.path()).entryList({ QStringLiteral("*.txt") }).isEmpty());
    QVERIFY(d.modified()); // nothing was written, so the text is still unsaved
    d.dialogs.answers << QMessageBox::Cancel;
    d.window->New1->trigger();
    QCOMPARE(d.dialogs.messages.size(), 1);
    QCOMPARE(d.window->RightMemo->toPlainText(), QStringLiteral("abcx"));
}

void TestMainDocument::saveNamedWritesWithoutDialog()
{
    Document d;
    d.dialogs.fileNames << d.file("named.txt");
    d.window->SaveAs1->trigger();
    d.type(QStringLiteral("def"));
    d.window->Save1->trigger();
    QCOMPARE(d.dialogs.fileDialogFilters.size(), 1); // only Save As asked for a name
    QCOMPARE(readAll(d.file("named.txt")), QByteArray("abcdef"));
    QCOMPARE(d.window->windowTitle(), QStringLiteral("VemiTapiro--named.txt"));
    QVERIFY(!d.modified());
}

void TestMainDocument::failedSaveKeepsNameAndCaption()
{
    Document d;
    d.type(QStringLiteral("x"));
    QVERIFY(writeAll(d.file("locked.txt"), "old"));
    QFile::setPermissions(d.file("locked.txt"), QFileDevice::ReadOwner);
    d.dialogs.fileNames << d.file("locked.txt");
    d.window->SaveAs1->trigger();
    QCOMPARE(d.dialogs.messages.size(), 1);
    QCOMPARE(d.dialogs.messages[0].text,
        QStringLiteral("ファイル %1 を作成できません.").arg(d.file("locked.txt")));
    QCOMPARE(d.dialogs.messages[0].caption, QStringLiteral("VemiTrainer"));
    QCOMPARE(d.window->documentName(), QStringLiteral("Untitled"));
    QCOMPARE(d.window->windowTitle(), QStringLiteral("VemiTapiro--[Untitled]"));
    QCOMPARE(readAll(d.file("locked.txt")), QByteArray("old"));
    QVERIFY(d.modified());
}

void TestMainDocument::unencodableCharacterWarnsFirst()
{
    Document d;
    d.type(QStringLiteral("\nok😀"));
    d.dialogs.fileNames << d.file("e.txt") << d.file("e.txt");
    d.dialogs.answers << QMessageBox::Cancel;
    d.window->Save1->trigger();
    QCOMPARE(d.dialogs.messages.size(), 1);
    QVERIFY(d.dialogs.messages[0].text.contains(QStringLiteral("😀")));
    QVERIFY(d.dialogs.messages[0].text.contains(QStringLiteral("2 行目")));
    QVERIFY(!QFile::exists(d.file("e.txt")));
    QVERIFY(d.modified());

    d.dialogs.answers << QMessageBox::Ok;
    d.window->Save1->trigger();
    QCOMPARE(readAll(d.file("e.txt")), QByteArray("abc\r\nok?"));
    QVERIFY(!d.modified());
}

void TestMainDocument::openInTwoPaneModeFillsLeftPane()
{
    Document d;
    d.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(d.window.get()));
    d.window->LeftMemo->setFocus();
    d.type(QStringLiteral("x")); // modified, yet two-pane Open does not ask
    QVERIFY(writeAll(d.file("p.txt"), Cp932::encode(QStringLiteral("問題文\nです"))));
    d.dialogs.fileNames << d.file("p.txt");
    d.window->Open1->trigger();
    QVERIFY(d.dialogs.messages.isEmpty());
    QCOMPARE(d.window->LeftMemo->toPlainText(), QStringLiteral("問題文\nです"));
    QCOMPARE(d.window->statusPanelText(0), QStringLiteral("6文字"));
    QCOMPARE(d.window->RightMemo->toPlainText(), QStringLiteral("abcx"));
    QVERIFY(d.window->RightMemo->hasFocus());
}

void TestMainDocument::openInOnePaneModeAsksFirst()
{
    Document d;
    d.window->Mode1ButtonClick();
    d.type(QStringLiteral("x"));
    d.dialogs.answers << QMessageBox::Cancel;
    d.window->Open1->trigger();
    QVERIFY(d.dialogs.fileDialogFilters.isEmpty()); // Cancel came before the dialog

    const QByteArray bytes = Cp932::encode(QStringLiteral("一\r\n二\r\n"));
    QVERIFY(writeAll(d.file("o.txt"), bytes));
    d.dialogs.answers << QMessageBox::No;
    d.dialogs.fileNames << d.file("o.txt");
    d.window->Open1->trigger();
    QCOMPARE(d.window->RightMemo->toPlainText(), QStringLiteral("一\n二\n"));
    QCOMPARE(d.window->statusPanelText(2), QStringLiteral("4文字"));
    QCOMPARE(d.window->windowTitle(), QStringLiteral("VemiTapiro--[Untitled]"));
    QVERIFY(!d.modified());

    // A file saved by the trainer reopens byte-identical.
    d.dialogs.fileNames << d.file("copy.txt");
    d.window->SaveAs1->trigger();
    QCOMPARE(readAll(d.file("copy.txt")), bytes);
}

void TestMainDocument::unreadableFileLeavesPaneAlone_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("folder") << "dir.txt";
    QTest::newRow("vanished") << "gone.txt";
}

void TestMainDocument::unreadableFileLeavesPaneAlone()
{
    QFETCH(QString, name);
    Document d;
    QVERIFY(QDir(d.folder.path()).mkdir(QStringLiteral("dir.txt")));
    d.window->LeftMemo->setPlainText(QStringLiteral("practice"));
    d.dialogs.fileNames << d.folder.filePath(name);
    d.window->Open1->trigger();
    QCOMPARE(d.dialogs.messages.size(), 1);
    QCOMPARE(d.dialogs.messages[0].text,
        QStringLiteral("ファイル %1 は開けません.").arg(d.folder.filePath(name)));
    QCOMPARE(d.window->LeftMemo->toPlainText(), QStringLiteral("practice"));
    QVERIFY(d.window->statusPanelText(0).isEmpty());
}

void TestMainDocument::closeQuestion()
{
    Document d;
    d.type(QStringLiteral("x"));
    d.dialogs.fileNames << d.file("first.txt");
    d.window->SaveAs1->trigger(); // Save As leaves the text marked unsaved
    d.dialogs.answers << QMessageBox::Cancel;
    QVERIFY(!d.window->close());
    QCOMPARE(d.dialogs.messages.size(), 1);
    QCOMPARE(d.dialogs.messages[0].text, QStringLiteral("first.txt") + Question);

    d.dialogs.answers << QMessageBox::Yes; // then the save dialog is cancelled
    QVERIFY(!d.window->close());
    QVERIFY(d.window->isVisible());
    QCOMPARE(d.window->RightMemo->toPlainText(), QStringLiteral("abcx"));

    d.dialogs.answers << QMessageBox::Cancel;
    QVERIFY(!d.window->close());

    d.dialogs.answers << QMessageBox::Yes;
    d.dialogs.fileNames << d.file("kept.txt");
    QVERIFY(d.window->close());
    QCOMPARE(d.window->windowTitle(), QStringLiteral("VemiTrainer--kept.txt"));
    QCOMPARE(readAll(d.file("kept.txt")), QByteArray("abcx"));
    QVERIFY(QFile::exists(d.iniPath())); // the settings follow the close
}

void TestMainDocument::printsTypedTextOnChosenPrinter()
{
    Document d;
    const QString pdf = d.file("out.pdf");
    d.dialogs.choosePrinter = [&](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
    };
    QTest::mouseClick(d.window->ToolButton4, Qt::LeftButton); // cancelled: nothing printed
    QCOMPARE(d.dialogs.printDialogs, 1);
    QVERIFY(!QFile::exists(pdf));

    d.dialogs.printAccepted = true;
    d.window->PrintSetup1->trigger();
    QCOMPARE(d.dialogs.pageSetupDialogs, 1);
    d.window->Print1->trigger();
    const QByteArray printed = readAll(pdf);
    QVERIFY(printed.startsWith("%PDF"));
    QVERIFY(printed.contains("/Font"));
}

QTEST_MAIN(TestMainDocument)
#include "tst_maindocument.moc"
