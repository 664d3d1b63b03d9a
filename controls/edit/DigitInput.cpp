#include "controls/edit/DigitInput.h"

#include "core/text/IntegerText.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWidget>

namespace {

// The event again with ASCII digits, sent in its place; an event with none
// to change goes on as it is.
class FullWidthDigits final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *target, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
            return resendKey(target, static_cast<QKeyEvent *>(event));
        case QEvent::InputMethod:
            return resendCommit(target, static_cast<QInputMethodEvent *>(event));
        default:
            return false;
        }
    }

private:
    static bool resendKey(QObject *target, QKeyEvent *event)
    {
        const QString text = IntegerText::halfWidthDigits(event->text());
        if (text == event->text())
            return false;
        int key = event->key();
        if (text.size() == 1 && text.front().isDigit())
            key = Qt::Key_0 + text.front().digitValue();
        QKeyEvent ascii(event->type(), key, event->modifiers(), text, event->isAutoRepeat(),
            ushort(event->count()));
        QCoreApplication::sendEvent(target, &ascii);
        event->setAccepted(ascii.isAccepted());
        return true;
    }

    static bool resendCommit(QObject *target, QInputMethodEvent *event)
    {
        const QString commit = IntegerText::halfWidthDigits(event->commitString());
        if (commit == event->commitString())
            return false;
        QInputMethodEvent ascii(event->preeditString(), event->attributes());
        ascii.setCommitString(commit, event->replacementStart(), event->replacementLength());
        QCoreApplication::sendEvent(target, &ascii);
        event->setAccepted(ascii.isAccepted());
        return true;
    }
};

void takeDigits(QWidget *widget, QObject *filter)
{
    widget->installEventFilter(filter);
    widget->setAttribute(Qt::WA_InputMethodEnabled, false);
    widget->setInputMethodHints(widget->inputMethodHints() | Qt::ImhDigitsOnly);
}

} // namespace

// A spin box or combo box hands its keys to the line edit inside; either may
// be the one the keys reach, so both are filtered.
void acceptFullWidthDigits(QWidget *box)
{
    auto *filter = new FullWidthDigits(box);
    takeDigits(box, filter);
    for (QLineEdit *edit : box->findChildren<QLineEdit *>())
        takeDigits(edit, filter);
}
