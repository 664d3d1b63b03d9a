#include "app/CaretBlink.h"

#include <QApplication>
#include <QEvent>

namespace {
bool isInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride: // a key that ends as a shortcut is never a key press
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::InputMethod:
    case QEvent::TabletPress:
    case QEvent::TouchBegin:
        return true;
    default:
        return false;
    }
}
} // namespace

CaretBlink::CaretBlink(QObject *parent, int timeout)
    : QObject(parent)
    , m_flashTime(QApplication::cursorFlashTime())
{
    m_quiet.setSingleShot(true);
    m_quiet.setInterval(timeout);
    connect(&m_quiet, &QTimer::timeout, this, &CaretBlink::stop);
    qApp->installEventFilter(this);
    m_quiet.start();
}

CaretBlink::~CaretBlink()
{
    if (m_stopped)
        QApplication::setCursorFlashTime(m_flashTime);
}

// Text controls follow the flash time as it changes: 0 stops their blink
// timers and leaves the caret shown. The flash time to hand back is taken now,
// not at start-up, so a desktop setting changed meanwhile is the one restored.
void CaretBlink::stop()
{
    if (m_stopped)
        return;
    m_flashTime = QApplication::cursorFlashTime();
    m_stopped = true;
    QApplication::setCursorFlashTime(0);
}

bool CaretBlink::eventFilter(QObject *watched, QEvent *event)
{
    if (isInput(event->type())) {
        if (m_stopped) {
            m_stopped = false;
            QApplication::setCursorFlashTime(m_flashTime);
        }
        m_quiet.start();
    }
    return QObject::eventFilter(watched, event);
}
