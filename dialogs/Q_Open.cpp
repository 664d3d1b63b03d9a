#include "Q_Open.h"

#include "AdvGrid.h"
#include "Dialogs.h"
#include "ErrorReport.h"
#include "Errors.h"
#include "ExtMemo.h"
#include "ProblemCatalogue.h"

#include <QFile>
#include <QKeyEvent>
#include <QPushButton>

namespace {
constexpr QSize ClientSize(429, 184);
constexpr int GridHeight = 137;
constexpr int CountColumn = 2;
constexpr int NameColumn = 1;
constexpr int ColumnWidths[] = { 33, 102, 60, 227 };
constexpr qsizetype MaxNamedFailures = 10;
} // namespace

TQ_OpenForm::TQ_OpenForm(const QString &programFolder, Dialogs &dialogs, QWidget *parent)
    : QDialog(parent)
    , ProblemPath(problemPath(programFolder))
    , m_dialogs(dialogs)
{
    setupControls();
    FormCreate();
}

void TQ_OpenForm::setupControls()
{
    setWindowTitle(QStringLiteral("問題を開く"));
    setFixedSize(ClientSize);
    QFont formFont(QStringLiteral("ＭＳ Ｐゴシック"));
    formFont.setPixelSize(12);
    setFont(formFont);

    // Tab order as created: open, cancel, grid. Neither button is the default:
    // Enter presses only the focused button, and Esc does nothing.
    Button1 = new QPushButton(QStringLiteral("開く"), this);
    Button1->setGeometry(120, 152, 75, 25);
    Button2 = new QPushButton(QStringLiteral("キャンセル"), this);
    Button2->setGeometry(216, 152, 75, 25);
    StringGrid = new TAdvStringGrid(this);
    StringGrid->setGeometry(0, 0, ClientSize.width(), GridHeight);
    StringGrid->setColCount(int(std::size(ColumnWidths)));
    for (int col = 0; col < int(std::size(ColumnWidths)); ++col)
        StringGrid->setColWidths(col, ColumnWidths[col]);
    StringGrid->setColumnHeaders({ QStringLiteral("級"), QStringLiteral("ファイル名"),
        QStringLiteral("文字数"), QStringLiteral("先頭部分") });
    StringGrid->setSortColumn(CountColumn);
    StringGrid->setAccessibleName(QStringLiteral("問題の一覧"));
    setTabOrder(Button1, Button2);
    setTabOrder(Button2, StringGrid);
    Button1->setFocus();

    connect(Button1, &QPushButton::clicked, this, &TQ_OpenForm::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

// Lists every readable practice text, ascending by count, equal counts in the
// order the folder listed them; the first row is selected. Unreadable entries
// are left out and named together afterwards.
void TQ_OpenForm::FormCreate()
{
    const QList<FileSearch::Entry> entries = problemFiles(ProblemPath);
    if (entries.isEmpty()) {
        m_dialogs.message(this, QMessageBox::NoIcon, QString::fromUtf8(ApplicationTitle),
            QStringLiteral("問題ファイルがありません"), QMessageBox::Ok, QMessageBox::Ok);
    }
    QStringList failures;
    QSet<QString> listed;
    int row = 1;
    // Screen readers hear of the filled and sorted grid once, not of every cell.
    StringGrid->BeginUpdate();
    for (const FileSearch::Entry &entry : entries) {
        QString failure;
        if (!rememberNativeName(entry, listed))
            failures << entry.name + QStringLiteral(": 同じ名前に読めるファイルがほかにあります");
        else if (AddProblemRow(ProblemPath + entry.name, row, failure))
            ++row;
        else
            failures << entry.name + QStringLiteral(": ") + failure;
    }
    if (row == 1)
        StringGrid->setRowCount(2); // the header and one empty row
    // One stable sort at the end orders the rows exactly as sorting after each row would.
    StringGrid->SortRowsByColumn(CountColumn);
    StringGrid->EndUpdate();
    StringGrid->setRow(1);
    Button1->setEnabled(row > 1); // with nothing listed there is nothing to open
    if (!failures.isEmpty())
        reportUnreadable(failures);
}

// A name shown in the grid must lead back to one file; false when another
// entry already shows under the same name.
bool TQ_OpenForm::rememberNativeName(const FileSearch::Entry &entry, QSet<QString> &listed)
{
    if (listed.contains(entry.name))
        return false;
    listed.insert(entry.name);
    if (!entry.nativeName.isEmpty())
        m_nativePaths.insert(entry.name, QFile::encodeName(ProblemPath) + entry.nativeName);
    return true;
}

bool TQ_OpenForm::AddProblemRow(const QString &path, int row, QString &failure)
{
    try {
        const QString name = path.mid(ProblemPath.size());
        const CatalogueEntry entry = TExtMemo::measureProblem(path, m_nativePaths.value(name));
        StringGrid->setRowCount(row + 1);
        const QString cells[] = { entry.grade, entry.fileName, entry.countText, entry.firstPart };
        for (int col = 0; col < int(std::size(cells)); ++col)
            StringGrid->setCells(col, row, cells[col]);
        return true;
    } catch (const VemiError &error) {
        failure = error.message();
        return false;
    }
}

// However many entries fail, the box stays on the screen: the first few by
// name, then how many more.
void TQ_OpenForm::reportUnreadable(QStringList failures)
{
    failures.sort();
    const qsizetype more = failures.size() - MaxNamedFailures;
    if (more > 0) {
        failures.resize(MaxNamedFailures);
        failures << QStringLiteral("ほか %1 件").arg(more);
    }
    m_dialogs.message(this, QMessageBox::Warning, QString::fromUtf8(ApplicationTitle),
        QStringLiteral("次のファイルは読み込めないため一覧にありません。\n\n")
            + failures.join(u'\n'),
        QMessageBox::Ok, QMessageBox::Ok);
}

void TQ_OpenForm::Button1Click()
{
    if (StringGrid->Row() < 1)
        return;
    const QString name = StringGrid->Cells(NameColumn, StringGrid->Row());
    accept(); // the dialog closes even when the main window cannot load the file
    emit problemChosen(ProblemPath + name, m_nativePaths.value(name));
}

void TQ_OpenForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
