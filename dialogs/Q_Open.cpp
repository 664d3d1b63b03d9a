#include "Q_Open.h"

#include "AdvGrid.h"
#include "Dialogs.h"
#include "ErrorReport.h"
#include "Errors.h"
#include "ExtMemo.h"
#include "ProblemCatalogue.h"

#include <QKeyEvent>
#include <QPushButton>

namespace {
constexpr QSize ClientSize(429, 184);
constexpr int GridHeight = 137;
constexpr int CountColumn = 2;
constexpr int NameColumn = 1;
constexpr int ColumnWidths[] = { 33, 102, 60, 227 };
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
    const QStringList names = problemFileNames(ProblemPath);
    if (names.isEmpty()) {
        m_dialogs.message(this, QMessageBox::NoIcon, QString::fromUtf8(ApplicationTitle),
            QStringLiteral("問題ファイルがありません"), QMessageBox::Ok, QMessageBox::Ok);
    }
    QStringList failures;
    int row = 1;
    for (const QString &name : names) {
        QString failure;
        if (AddProblemRow(ProblemPath + name, row, failure))
            ++row;
        else
            failures << name + QStringLiteral(": ") + failure;
    }
    const bool listed = row > 1;
    if (!listed)
        StringGrid->setRowCount(2); // the header and one empty row
    // One stable sort at the end orders the rows exactly as sorting after each row would.
    StringGrid->SortRowsByColumn(CountColumn);
    StringGrid->setRow(1);
    Button1->setEnabled(listed); // with nothing listed there is nothing to open
    if (!failures.isEmpty())
        reportUnreadable(failures);
}

bool TQ_OpenForm::AddProblemRow(const QString &path, int row, QString &failure)
{
    try {
        const CatalogueEntry entry = TExtMemo::measureProblem(path);
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

void TQ_OpenForm::reportUnreadable(const QStringList &failures)
{
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
    emit problemChosen(ProblemPath + name);
}

void TQ_OpenForm::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
