#include "dialogs/Q_Open.h"

#include "controls/grid/AdvGrid.h"
#include "controls/layout/FormFont.h"
#include "core/Errors.h"
#include "core/practice/ProblemCatalogue.h"
#include "core/text/ExtMemo.h"
#include "platform/Dialogs.h"
#include "platform/ErrorReport.h"

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
    : TQ_OpenForm(QStringList { problemPath(programFolder) }, dialogs, parent)
{ }

TQ_OpenForm::TQ_OpenForm(const QStringList &problemFolders, Dialogs &dialogs, QWidget *parent)
    : QDialog(parent)
    , ProblemPath(problemFolders.value(0))
    , m_problemFolders(problemFolders)
    , m_dialogs(dialogs)
{
    setupControls();
    FormCreate();
}

void TQ_OpenForm::setupControls()
{
    setWindowTitle(QStringLiteral("問題を開く"));
    setFixedSize(ClientSize);
    setFont(FormFont::font());

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
    const QList<ProblemFile> files = problemFilesOfAllFolders();
    if (files.isEmpty()) {
        m_dialogs.message(this, QMessageBox::NoIcon, QString::fromUtf8(ApplicationTitle),
            QStringLiteral("問題ファイルがありません"), QMessageBox::Ok, QMessageBox::Ok);
    }
    QStringList failures;
    QSet<QString> listed;
    int row = 1;
    // Screen readers hear of the filled and sorted grid once, not of every cell.
    StringGrid->BeginUpdate();
    for (const ProblemFile &file : files) {
        const QString &name = file.entry.name;
        QString failure;
        if (!rememberNativeName(file, listed))
            failures << name + QStringLiteral(": 同じ名前に読めるファイルがほかにあります");
        else if (AddProblemRow(file.folder + name, row, failure))
            ++row;
        else
            failures << name + QStringLiteral(": ") + failure;
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

// Every folder's texts in folder order, each folder in the file system's order,
// less those hidden by a text of the same name in a later folder.
QList<TQ_OpenForm::ProblemFile> TQ_OpenForm::problemFilesOfAllFolders() const
{
    QList<ProblemFile> files;
    QSet<QString> laterNames;
    for (qsizetype i = m_problemFolders.size() - 1; i >= 0; --i) {
        const QList<FileSearch::Entry> entries = problemFiles(m_problemFolders[i]);
        QList<ProblemFile> own;
        for (const FileSearch::Entry &entry : entries) {
            if (!laterNames.contains(entry.name))
                own << ProblemFile { m_problemFolders[i], entry };
        }
        for (const FileSearch::Entry &entry : entries)
            laterNames.insert(entry.name);
        files = own + files;
    }
    return files;
}

// A name shown in the grid must lead back to one file; false when another
// entry of the same folder already shows under the same name.
bool TQ_OpenForm::rememberNativeName(const ProblemFile &file, QSet<QString> &listed)
{
    const FileSearch::Entry &entry = file.entry;
    if (listed.contains(entry.name))
        return false;
    listed.insert(entry.name);
    m_folders.insert(entry.name, file.folder);
    if (!entry.nativeName.isEmpty())
        m_nativePaths.insert(entry.name, QFile::encodeName(file.folder) + entry.nativeName);
    return true;
}

bool TQ_OpenForm::AddProblemRow(const QString &path, int row, QString &failure)
{
    try {
        const QString name = path.mid(path.lastIndexOf(u'/') + 1);
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
    emit problemChosen(m_folders.value(name, ProblemPath) + name, m_nativePaths.value(name));
}

void TQ_OpenForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
