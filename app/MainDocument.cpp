#include "app/Main.h"

#include "core/Errors.h"
#include "core/text/TextFile.h"
#include "platform/Dialogs.h"

#include <QPlainTextEdit>
#include <QPrinter>

namespace {
const QString TextFilter = QStringLiteral("テキストファイル(*.txt)|*.txt");
const QString DefaultExtension = QStringLiteral("txt");
const QString WarningCaption = QStringLiteral("警告"); // the save question and the lossy save

QString filePart(const QString &path)
{
    return path.mid(path.lastIndexOf(u'/') + 1);
}
} // namespace

void TMainForm::setupDocumentCommands()
{
    const std::pair<QAction *, void (TMainForm::*)()> commands[] = {
        { New1, &TMainForm::New1Click },
        { Open1, &TMainForm::Open1Click },
        { Save1, &TMainForm::Save1Click },
        { SaveAs1, &TMainForm::SaveAs1Click },
        { Print1, &TMainForm::Print1Click },
        { PrintSetup1, &TMainForm::PrintSetup1Click },
    };
    for (const auto &[action, command] : commands)
        connect(
            action, &QAction::triggered, this, [this, command = command] { runCommand(command); });
}

// A command ends at its first error, which the error box reports; a cancelled
// question ends it without a word.
void TMainForm::runCommand(void (TMainForm::*command)())
{
    runCommand([this, command] { (this->*command)(); });
}

void TMainForm::runCommand(const std::function<void()> &command)
{
    try {
        command();
    } catch (const SilentAbort &) {
    } catch (const VemiError &error) {
        reportError(error.message());
    }
}

QMessageBox::StandardButton TMainForm::askToSave()
{
    const QString text
        = filePart(m_documentName) + QStringLiteral("は変更されています\n保存しますか？");
    return m_services.dialogs.message(this, QMessageBox::Warning, WarningCaption, text,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
}

void TMainForm::Ask()
{
    if (!RightMemo->document()->isModified())
        return;
    switch (askToSave()) {
    case QMessageBox::Yes:
        // Nothing written (the name or the lossy save declined): keep the text.
        if (!save())
            throw SilentAbort();
        break;
    case QMessageBox::No:
        break;
    default:
        throw SilentAbort();
    }
}

void TMainForm::New1Click()
{
    Ask();
    RightMemo->clear();
    setUntitled();
    RightMemo->document()->setModified(false);
    resetTimerDisplay();
    emit documentRenewed();
}

void TMainForm::Open1Click()
{
    const bool twoPanes = m_settings.DoubleView;
    if (!twoPanes)
        Ask();
    const QString path = m_services.dialogs.openFileName(this, TextFilter, QString());
    if (path.isEmpty())
        return;
    showInPane(twoPanes ? LeftMemo : RightMemo, TextFile::read(path));
    if (twoPanes)
        m_practiceName = path.mid(path.lastIndexOf(u'/') + 1);
    showLeftWordCount();
    RightMemo->setFocus();
}

// A text the pane already shows is not set again: the pane keeps its cursor,
// undo history and modified mark.
void TMainForm::showInPane(QPlainTextEdit *pane, const QString &text)
{
    if (text == pane->toPlainText())
        return;
    pane->setPlainText(text);
    pane->document()->setModified(false);
}

void TMainForm::Save1Click()
{
    save();
}

// True when the text went to disk, which clears the modified flag.
bool TMainForm::save()
{
    const bool written = isUntitled() ? saveAs() : writeTypedText(m_documentName);
    if (written)
        RightMemo->document()->setModified(false);
    return written;
}

void TMainForm::SaveAs1Click()
{
    saveAs();
}

// True when the text went to disk; the name and caption follow only then.
bool TMainForm::saveAs()
{
    const QString path
        = m_services.dialogs.saveFileName(this, TextFilter, m_documentName, DefaultExtension);
    if (path.isEmpty() || !writeTypedText(path))
        return false;
    setDocumentName(path);
    setWindowTitle(QStringLiteral("VemiTapiro--") + filePart(path));
    return true;
}

// Writes the typed text; false when the learner declined to lose characters
// that the file's encoding cannot hold. Write failures throw.
bool TMainForm::writeTypedText(const QString &path)
{
    const QString text = RightMemo->toPlainText();
    if (const auto unmappable = TextFile::firstUnmappable(text)) {
        const QString warning
            = QStringLiteral("%1 行目の「%2」は Shift-JIS のファイルに書けないため、"
                             "「?」として保存されます。\n保存しますか？")
                  .arg(unmappable->line)
                  .arg(unmappable->character);
        const auto answer = m_services.dialogs.message(this, QMessageBox::Warning, WarningCaption,
            warning, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel);
        if (answer != QMessageBox::Ok)
            return false;
    }
    TextFile::write(path, text);
    return true;
}

QPrinter &TMainForm::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>();
    return *m_printer;
}

// Prints the typed text in the panes' font on the printer and page the learner chose.
void TMainForm::Print1Click()
{
    if (!m_services.dialogs.print(this, printer()))
        return;
    RightMemo->print(&printer());
}

void TMainForm::PrintSetup1Click()
{
    m_services.dialogs.pageSetup(this, printer());
}

// The close question: true when the window may close.
bool TMainForm::FormCloseQuery()
{
    if (!RightMemo->document()->isModified())
        return true;
    switch (askToSave()) {
    case QMessageBox::No:
        return true;
    case QMessageBox::Yes:
        break;
    default:
        return false;
    }
    const QString path
        = m_services.dialogs.saveFileName(this, TextFilter, m_documentName, DefaultExtension);
    try {
        if (path.isEmpty() || !writeTypedText(path))
            return false;
    } catch (const VemiError &error) {
        reportError(error.message());
        return false;
    }
    setDocumentName(path);
    setWindowTitle(QStringLiteral("VemiTrainer--") + filePart(path));
    return true;
}
