#include "tests/support/KeptRuns.h"
#include "tests/support/Trainer.h"

#include "core/exam/ExamHistory.h"
#include "core/exam/WeakPointCache.h"
#include "dialogs/exam/WeakPointsWindow.h"

#include <QApplication>
#include <QDirIterator>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

namespace {
QStringList filesUnder(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    files.sort();
    return files;
}
} // namespace

class TestMainWeakPoints final : public QObject
{
    Q_OBJECT
private slots:
    void drillGoesToTheLeftPaneWithNoFileWritten();
};

// 表示 → 弱点一覧: the chosen rows become the practice text, as a problem opened
// from the list would be, and no file but the list's own cache is written.
void TestMainWeakPoints::drillGoesToTheLeftPaneWithNoFileWritten()
{
    Trainer trainer;
    TMainForm &window = *trainer.window;
    const QString historyPath = ExamHistory::pathBeside(window.settingsFilePath());
    QCOMPARE(KeptRuns::write(historyPath, 4).size(), 4);
    window.RightMemo->setPlainText(QStringLiteral("打った文"));
    window.Mode1ButtonClick();
    QStringList before = filesUnder(trainer.folder.path());

    QList<WeakPoints::Row> chosen;
    bool shown = false;
    QTimer::singleShot(0, [&] {
        auto *list = qobject_cast<WeakPointsWindow *>(QApplication::activeModalWidget());
        if (!list)
            return;
        shown = true;
        list->List->sortByColumn(WeakPointsWindow::ExpectedColumn, Qt::AscendingOrder);
        list->List->topLevelItem(0)->setSelected(true);
        list->List->topLevelItem(2)->setSelected(true);
        chosen = list->selectedRows();
        list->DrillButton->click();
    });
    window.WeakPointsItem->trigger();
    QVERIFY(shown);
    QCOMPARE(chosen.size(), 2);

    const QString drill = WeakPoints::drillText(chosen);
    QVERIFY(drill.contains(u'\u3000'));
    QCOMPARE(window.LeftMemo->toPlainText(), drill);
    QVERIFY(window.N7->isChecked()); // two-pane mode, as 問題を開く
    QCOMPARE(window.RightMemo->toPlainText(), QStringLiteral("打った文"));
    QVERIFY(!window.LeftMemo->document()->isModified());
    QCOMPARE(window.statusPanelText(0), window.LeftWordCount() + QStringLiteral("文字"));

    before.append(QDir(ExamRunStore(historyPath).folder()).filePath(WeakPointCache::FileName));
    before.sort();
    QCOMPARE(filesUnder(trainer.folder.path()), before);
}

QTEST_MAIN(TestMainWeakPoints)
#include "tst_mainweakpoints.moc"
