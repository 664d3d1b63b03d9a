#include "../support/Trainer.h"
#include "AdvGrid.h"
#include "Cp932.h"
#include "ProblemCatalogue.h"
#include "Q_Open.h"

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

    QTemporaryDir folder;
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
    void emptyFolderShowsMessageAndDisablesOpen();
    void unreadableEntriesAreSkippedAndNamed();
    void headerClicksResortAndOpenFollowsSelection();
    void onlyTheFocusedButtonActs();
    void openFromMainWindowLoadsLeftPane();
    void cancelChangesNothing();
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

QTEST_MAIN(TestQOpen)
#include "tst_q_open.moc"
