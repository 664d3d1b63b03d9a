#include "controls/grid/AdvGrid.h"
#include "core/practice/ProblemCatalogue.h"
#include "core/text/Cp932.h"
#include "core/text/TextFile.h"
#include "dialogs/Q_Open.h"
#include "tests/support/Trainer.h"

#include <QAccessible>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

// A program folder with a problem folder inside, filled by the test.
struct ProblemFolder
{
    ProblemFolder() { QDir(folder.path()).mkpath(QStringLiteral("問題")); }
    QString programFolder() const { return folder.path() + u'/'; }
    QString problems() const { return problemPath(programFolder()); }
    void add(const QString &name, const QByteArray &bytes) const
    {
        writeAll(problems() + name, bytes);
    }
    // One line of up to 84 half-width letters, no break: its catalogue count is `characters`.
    void addOfCount(const QString &name, int characters) const
    {
        add(name, QByteArray(characters, 'a'));
    }
    // Lines of 40 letters, each ended by CR LF: 42 bytes and one display line a line,
    // plus the empty last line, so the count is 41 per line.
    void addLines(const QString &name, int lines) const
    {
        add(name, QByteArray(40, 'a').append("\r\n").repeated(lines));
    }

    TemporaryFolder folder;
};

QStringList column(const TAdvStringGrid &grid, int col)
{
    QStringList cells;
    for (int row = 1; row < grid.RowCount(); ++row)
        cells << grid.Cells(col, row);
    return cells;
}

// The worked example: lines ab, cd and あい; catalogue count 9, visible count 8.
const QByteArray WorkedExample = "ab\r\ncd\r\n" + Cp932::encode(QStringLiteral("あい"));

} // namespace

class TestQOpen final : public QObject
{
    Q_OBJECT
private slots:
    void listsSortedByCountWithTiesInFolderOrder();
    void userTextsJoinAndHideShippedOnes_data();
    void userTextsJoinAndHideShippedOnes();
    void emptyFolderShowsMessageAndDisablesOpen();
    void unreadableEntriesAreSkippedAndNamed();
    void headerClicksResortAndOpenFollowsSelection();
    void onlyTheFocusedButtonActs();
    void openFromMainWindowLoadsLeftPane();
    void cancelChangesNothing();
    void listAndPaneSeeTheSameText_data();
    void listAndPaneSeeTheSameText();
    void skippedEntriesAreNamedInABoxThatFits();
    void gridTellsScreenReadersOnce();
};

void TestQOpen::listsSortedByCountWithTiesInFolderOrder()
{
    ProblemFolder f;
    f.addLines(QStringLiteral("long.txt"), 12);
    f.addLines(QStringLiteral("tie-a.txt"), 3);
    f.addLines(QStringLiteral("tie-b.TXT"), 3);
    f.add(QStringLiteral("notes.md"), "ignored");
    FakeDialogs dialogs;
    TQ_OpenForm form(f.programFolder(), dialogs);

    QCOMPARE(form.windowTitle(), QStringLiteral("問題を開く"));
    QCOMPARE(form.ProblemPath, f.folder.path() + QStringLiteral("//問題/"));
    QCOMPARE(column(*form.StringGrid, 2), QStringList({ "123", "123", "492" }));
    QCOMPARE(column(*form.StringGrid, 0), QStringList({ "5", "5", "3" }));
    QStringList ties = problemFileNames(f.problems());
    ties.removeAll(QStringLiteral("long.txt"));
    QCOMPARE(column(*form.StringGrid, 1).mid(0, 2), ties); // equal counts keep the folder's order
    QCOMPARE(form.StringGrid->Row(), 1);
    QCOMPARE(form.StringGrid->SortColumn(), 2);
    QCOMPARE(form.StringGrid->SortDirection(), TAdvStringGrid::sdAscending);
    QVERIFY(form.Button1->isEnabled());
    QVERIFY(dialogs.messages.isEmpty());
}

// Each text is "name:count"; with no texts the folder is missing.
void TestQOpen::userTextsJoinAndHideShippedOnes_data()
{
    QTest::addColumn<QStringList>("shipped");
    QTest::addColumn<QStringList>("user");
    QTest::addColumn<QStringList>("listed"); // folder/name in grid order
    QTest::newRow("the user's copy wins")
        << QStringList { "a.txt:10", "b.txt:20" } << QStringList { "a.txt:30", "c.txt:5" }
        << QStringList { "user/c.txt", "shipped/b.txt", "user/a.txt" };
    QTest::newRow("no user folder yet")
        << QStringList { "a.txt:10" } << QStringList() << QStringList { "shipped/a.txt" };
    QTest::newRow("names differing in case are two texts")
        << QStringList { "a.txt:10" } << QStringList { "A.txt:5" }
        << QStringList { "user/A.txt", "shipped/a.txt" };
    QTest::newRow("only the user's")
        << QStringList() << QStringList { "c.txt:5" } << QStringList { "user/c.txt" };
}

void TestQOpen::userTextsJoinAndHideShippedOnes()
{
    QFETCH(QStringList, shipped);
    QFETCH(QStringList, user);
    QFETCH(QStringList, listed);
    QTemporaryDir root;
    const QString shippedFolder = root.filePath(QStringLiteral("shipped/問題/"));
    const QString userFolder = root.filePath(QStringLiteral("user/問題/"));
    const std::pair<QString, QStringList> folders[]
        = { { shippedFolder, shipped }, { userFolder, user } };
    for (const auto &[folder, texts] : folders) {
        if (texts.isEmpty())
            continue;
        QDir().mkpath(folder);
        for (const QString &text : texts)
            writeAll(
                folder + text.section(u':', 0, 0), QByteArray(text.section(u':', 1).toInt(), 'a'));
    }
    FakeDialogs dialogs;
    TQ_OpenForm form(QStringList { shippedFolder, userFolder }, dialogs);
    QVERIFY(dialogs.messages.isEmpty());

    QStringList chosen;
    connect(&form, &TQ_OpenForm::problemChosen, this, [&](const QString &path) {
        chosen << path.mid(root.path().size() + 1).remove(QStringLiteral("問題/"));
    });
    for (int row = 1; row < form.StringGrid->RowCount(); ++row) {
        form.StringGrid->setRow(row);
        form.Button1Click();
    }
    QCOMPARE(chosen, listed);
}

void TestQOpen::emptyFolderShowsMessageAndDisablesOpen()
{
    for (bool folderExists : { true, false }) {
        ProblemFolder f;
        if (!folderExists)
            QDir(f.problems()).removeRecursively();
        FakeDialogs dialogs;
        TQ_OpenForm form(f.programFolder(), dialogs);
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].text, QStringLiteral("問題ファイルがありません"));
        QCOMPARE(dialogs.messages[0].caption, QStringLiteral("VemiTrainer"));
        QCOMPARE(dialogs.messages[0].icon, QMessageBox::NoIcon);
        QCOMPARE(form.StringGrid->RowCount(), 2); // the header and one empty row
        QVERIFY(!form.Button1->isEnabled());
    }
}

void TestQOpen::unreadableEntriesAreSkippedAndNamed()
{
    ProblemFolder f;
    f.addOfCount(QStringLiteral("a.txt"), 10);
    QVERIFY(QDir(f.problems()).mkdir(QStringLiteral("x.txt")));
    f.addOfCount(QStringLiteral("b.txt"), 20);
    FakeDialogs dialogs;
    TQ_OpenForm form(f.programFolder(), dialogs);
    QCOMPARE(column(*form.StringGrid, 1), QStringList({ "a.txt", "b.txt" }));
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].caption, QStringLiteral("VemiTrainer"));
    QVERIFY(dialogs.messages[0].text.contains(
        QStringLiteral("x.txt: ファイル %1x.txt は開けません").arg(f.problems())));
}

void TestQOpen::headerClicksResortAndOpenFollowsSelection()
{
    ProblemFolder f;
    f.addOfCount(QStringLiteral("c.txt"), 30);
    f.addOfCount(QStringLiteral("a.txt"), 50);
    f.addOfCount(QStringLiteral("b.txt"), 40);
    FakeDialogs dialogs;
    TQ_OpenForm form(f.programFolder(), dialogs);
    form.show();
    TAdvStringGrid &grid = *form.StringGrid;
    QCOMPARE(grid.Cells(1, grid.Row()), QStringLiteral("c.txt")); // the smallest count

    const QPoint nameHeader = grid.cellRect(1, 0).center();
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, nameHeader);
    QCOMPARE(column(grid, 1), QStringList({ "a.txt", "b.txt", "c.txt" }));
    QCOMPARE(grid.SortColumn(), 1);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, nameHeader);
    QCOMPARE(column(grid, 1), QStringList({ "c.txt", "b.txt", "a.txt" }));
    QCOMPARE(grid.SortDirection(), TAdvStringGrid::sdDescending);

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.cellRect(1, 2).center());
    QString chosen;
    connect(&form, &TQ_OpenForm::problemChosen, this, [&](const QString &path) { chosen = path; });
    QTest::mouseClick(form.Button1, Qt::LeftButton);
    QCOMPARE(chosen, f.problems() + QStringLiteral("b.txt"));
    QCOMPARE(form.result(), int(QDialog::Accepted));
}

void TestQOpen::onlyTheFocusedButtonActs()
{
    ProblemFolder f;
    f.addOfCount(QStringLiteral("a.txt"), 10);
    FakeDialogs dialogs;
    TQ_OpenForm form(f.programFolder(), dialogs);
    int chosen = 0;
    connect(&form, &TQ_OpenForm::problemChosen, this, [&] { ++chosen; });
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(QApplication::focusWidget(), form.Button1);

    QTest::keyClick(&form, Qt::Key_Escape); // Esc does nothing
    QVERIFY(form.isVisible());
    form.StringGrid->setFocus();
    QTest::keyClick(form.StringGrid, Qt::Key_Return); // nor does Enter in the grid
    QVERIFY(form.isVisible());
    QCOMPARE(chosen, 0);

    form.Button1->setFocus();
    QTest::keyClick(form.Button1, Qt::Key_Return);
    QCOMPARE(chosen, 1);
    QVERIFY(!form.isVisible());
}

void TestQOpen::openFromMainWindowLoadsLeftPane()
{
    Trainer t;
    const QString problems = problemPath(t.folder.path() + u'/');
    QDir().mkpath(problems);
    writeAll(problems + QStringLiteral("example.txt"), WorkedExample);
    t.window->Mode1ButtonClick();
    t.window->RightMemo->setPlainText(QStringLiteral("typed"));

    QTimer::singleShot(0, this, [] {
        auto *form = qobject_cast<TQ_OpenForm *>(QApplication::activeModalWidget());
        QVERIFY(form);
        QCOMPARE(form->StringGrid->Cells(2, 1), QStringLiteral("9"));
        QTest::mouseClick(form->Button1, Qt::LeftButton);
    });
    t.window->N9->trigger();
    QVERIFY(t.window->N7->isChecked() && t.window->LeftMemo->isVisible());
    QCOMPARE(t.window->LeftMemo->toPlainText(), QStringLiteral("ab\ncd\nあい"));
    QCOMPARE(t.window->statusPanelText(0), QStringLiteral("8文字")); // not the grid's 9
    QCOMPARE(t.window->RightMemo->toPlainText(), QStringLiteral("typed"));
    QCOMPARE(t.window->windowTitle(), QStringLiteral("VemiTapiro--[Untitled]"));
}

void TestQOpen::cancelChangesNothing()
{
    Trainer t;
    const QString problems = problemPath(t.folder.path() + u'/');
    QDir().mkpath(problems);
    writeAll(problems + QStringLiteral("example.txt"), WorkedExample);
    t.window->Mode1ButtonClick();
    QTimer::singleShot(0, this, [] {
        auto *form = qobject_cast<TQ_OpenForm *>(QApplication::activeModalWidget());
        QVERIFY(form);
        QTest::mouseClick(form->Button2, Qt::LeftButton);
    });
    t.window->N9->trigger();
    QVERIFY(t.window->N6->isChecked());
    QVERIFY(t.window->LeftMemo->toPlainText().isEmpty());
    QVERIFY(t.window->statusPanelText(0).isEmpty());
}

void TestQOpen::listAndPaneSeeTheSameText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("nativeName"); // the name's bytes, where UTF-8 cannot spell it
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("pane");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("firstPart");
    QTest::addColumn<QString>("visible");

    QTest::newRow("Shift-JIS half-width kana, also valid UTF-8")
        << "kana.txt" << QByteArray() << QByteArray("\xca\xb2 \xc8\xba \xce\xbc\r\n")
        << "ﾊｲ ﾈｺ ﾎｼ\n"
        << "9"
        << "ﾊｲ ﾈｺ ﾎｼ"
        << "9";
    QTest::newRow("UTF-8") << "utf8.txt" << QByteArray()
                           << QStringLiteral("これは練習です。\r\n二行目").toUtf8()
                           << "これは練習です。\n二行目"
                           << "13"
                           << "これは練習です。"
                           << "12";
    // Measured as a save would write it: "?" for é and for the zero-width space.
    QTest::newRow("UTF-8 with BOM, characters CP932 lacks")
        << "bom.txt" << QByteArray() << "\xef\xbb\xbf" + QString::fromUtf8("café\u200b").toUtf8()
        << QString::fromUtf8("café\u200b") << "5"
        << "caf??"
        << "5";
    QTest::newRow("RTF") << "doc.txt" << QByteArray()
                         << QByteArray("{\\rtf1 ab\\par cd\\par \\'82\\'a0\\'82\\'a2}")
                         << "ab\ncd\nあい"
                         << "9"
                         << "ab"
                         << "8";
    QTest::newRow("zero byte") << "nul.txt" << QByteArray()
                               << Cp932::encode(QStringLiteral("前半")) + '\0'
            + Cp932::encode(QStringLiteral("後半です。"))
                               << "前半"
                               << "2"
                               << "前半"
                               << "2";
    QTest::newRow("Shift-JIS file name") << "練習.txt" << QByteArray("\x97\xfb\x8f\x4b.txt")
                                         << Cp932::encode(QStringLiteral("練習")) << "練習"
                                         << "2"
                                         << "練習"
                                         << "2";
}

// Whatever shape a practice text comes in, the list measures the text that
// "開く" puts into the pane, and measures it exactly as a Shift-JIS file of the
// same characters.
void TestQOpen::listAndPaneSeeTheSameText()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, nativeName);
    QFETCH(QByteArray, file);
    QFETCH(QString, pane);
    QFETCH(QString, count);
    QFETCH(QString, firstPart);
    QFETCH(QString, visible);
    Trainer t;
    const QString problems = problemPath(t.folder.path() + u'/');
    QDir().mkpath(problems);
    QVERIFY(nativeName.isEmpty() ? writeAll(problems + name, file)
                                 : writeAllNative(QFile::encodeName(problems) + nativeName, file));
    QVERIFY(writeAll(problems + QStringLiteral("same-in-shift-jis.txt"), TextFile::encode(pane)));

    QStringList listed;
    QStringList reference;
    QTimer::singleShot(0, this, [&] {
        auto *form = qobject_cast<TQ_OpenForm *>(QApplication::activeModalWidget());
        QVERIFY(form);
        TAdvStringGrid &grid = *form->StringGrid;
        for (int row = 1; row < grid.RowCount(); ++row) {
            const QStringList cells { grid.Cells(2, row), grid.Cells(3, row) };
            if (grid.Cells(1, row) == name) {
                listed = cells;
                grid.setRow(row);
            } else {
                reference = cells;
            }
        }
        QTest::mouseClick(form->Button1, Qt::LeftButton);
    });
    t.window->N9->trigger();
    QCOMPARE(listed, QStringList({ count, firstPart }));
    QCOMPARE(reference, listed);
    QCOMPARE(t.window->LeftMemo->toPlainText(), pane);
    QCOMPARE(t.window->statusPanelText(0), visible + QStringLiteral("文字"));
    QVERIFY(t.dialogs.messages.isEmpty());
}

void TestQOpen::skippedEntriesAreNamedInABoxThatFits()
{
    ProblemFolder f;
    // The same name in UTF-8 and in Shift-JIS: only one can be listed under it.
    f.add(QStringLiteral("練習.txt"), "utf8");
    QVERIFY(writeAllNative(QFile::encodeName(f.problems()) + "\x97\xfb\x8f\x4b.txt", "sjis"));
    for (int i = 24; i >= 0; --i)
        QVERIFY(
            QDir(f.problems()).mkdir(QStringLiteral("x%1.txt").arg(i, 2, 10, QLatin1Char('0'))));
    FakeDialogs dialogs;
    TQ_OpenForm form(f.programFolder(), dialogs);
    QCOMPARE(column(*form.StringGrid, 1), QStringList({ "練習.txt" }));
    QCOMPARE(dialogs.messages.size(), 1);

    const QString text = dialogs.messages[0].text;
    QStringList lines = text.split(u'\n').mid(2);
    QCOMPARE(lines.size(), 11);
    for (int i = 0; i < 10; ++i)
        QVERIFY2(lines[i].startsWith(QStringLiteral("x%1.txt: ").arg(i, 2, 10, QLatin1Char('0'))),
            qPrintable(lines[i]));
    QCOMPARE(lines[10], QStringLiteral("ほか 16 件")); // 15 folders and the second 練習.txt

    QMessageBox box(QMessageBox::Warning, dialogs.messages[0].caption, text, QMessageBox::Ok);
    QVERIFY(box.sizeHint().height() < 480);
}

void TestQOpen::gridTellsScreenReadersOnce()
{
    ProblemFolder f;
    for (int i = 0; i < 30; ++i)
        f.addOfCount(QStringLiteral("p%1.txt").arg(i), 100 - i);
    {
        FakeDialogs dialogs;
        TQ_OpenForm form(f.programFolder(), dialogs);
        QCOMPARE(QAccessible::queryAccessibleInterface(form.StringGrid)->text(QAccessible::Name),
            QStringLiteral("問題の一覧"));
    }
    // The bridge comes up once the event loop has met the accessibility bus.
    if (qEnvironmentVariableIsSet("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"))
        QTRY_VERIFY_WITH_TIMEOUT(QAccessible::isActive(), 10000);
    if (!QAccessible::isActive())
        QSKIP("no screen reader bridge: the tst_q_open_accessibility run checks this");

    static QList<QAccessible::Event> gridEvents;
    gridEvents.clear();
    const auto previous = QAccessible::installUpdateHandler([](QAccessibleEvent *event) {
        // Events about the grid's cells, and about the table as a whole.
        if (qobject_cast<TAdvStringGrid *>(event->object())
            && (event->child() >= 0 || event->type() == QAccessible::TableModelChanged))
            gridEvents << event->type();
    });
    FakeDialogs dialogs;
    TQ_OpenForm form(f.programFolder(), dialogs);
    QAccessible::installUpdateHandler(previous);
    QCOMPARE(form.StringGrid->RowCount(), 31);
    QCOMPARE(gridEvents.count(QAccessible::NameChanged), 0);
    // The table as a whole: while it is set up, and once when it is filled and sorted.
    QVERIFY2(gridEvents.count(QAccessible::TableModelChanged) <= 3,
        qPrintable(QString::number(gridEvents.count(QAccessible::TableModelChanged))));
}

QTEST_MAIN(TestQOpen)
#include "tst_q_open.moc"
