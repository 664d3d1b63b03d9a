#include "app/exam/ExamMode.h"

#include "core/Errors.h"
#include "core/settings/ExamSettings.h"
#include "platform/Dialogs.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QPlainTextEdit>
#include <QTextCursor>

ExamMode::ExamMode(
    QPlainTextEdit *typed, const ExamSettings &settings, Dialogs &dialogs, QObject *parent)
    : QObject(parent)
    , m_typed(typed)
    , m_settings(settings)
    , m_dialogs(dialogs)
{
    m_typed->installEventFilter(this);
}

// Cleared through the pane's own editing, so Ctrl+Z brings the text back.
void ExamMode::confirmStart(QWidget *parent)
{
    if (!m_settings.ExamMode || m_typed->document()->isEmpty())
        return;
    const QMessageBox::StandardButton answer
        = m_dialogs.message(parent, QMessageBox::Question, QStringLiteral("試験モード"),
            QStringLiteral("入力欄に文字があります。消してから始めますか？\n"
                           "（消した文字は「元に戻す」(Ctrl+Z) で戻せます）"),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer != QMessageBox::Yes && answer != QMessageBox::No) // キャンセル, Esc, the close box
        throw SilentAbort();
    release();
    if (answer == QMessageBox::Yes) {
        QTextCursor cursor(m_typed->document());
        cursor.select(QTextCursor::Document);
        cursor.removeSelectedText();
    }
}

void ExamMode::timeUp()
{
    if (!m_settings.ExamMode)
        return;
    m_timeIsUp = true;
    m_typed->setReadOnly(true);
    // A conversion under way at the bell is dropped, not committed after time.
    if (m_typed->hasFocus())
        QGuiApplication::inputMethod()->reset();
}

// A read-only pane still takes an input method's commit (it stays selectable),
// and an input method may commit its conversion after the pane has closed.
bool ExamMode::eventFilter(QObject *watched, QEvent *event)
{
    if (m_timeIsUp && watched == m_typed && event->type() == QEvent::InputMethod)
        return true;
    return QObject::eventFilter(watched, event);
}

void ExamMode::release()
{
    if (!m_timeIsUp)
        return;
    m_timeIsUp = false;
    m_typed->setReadOnly(false);
}
