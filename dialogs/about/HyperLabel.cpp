#include "dialogs/about/HyperLabel.h"

#include "platform/Shell.h"

#include <QMouseEvent>
#include <QPainter>
#include <QUrl>

THyperLabel::THyperLabel(Shell &shell, QWidget *parent)
    : QLabel(parent)
    , m_shell(shell)
{
    setTextFormat(Qt::PlainText);
    setTextColor(Qt::blue);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    setCursor(Qt::PointingHandCursor);
}

void THyperLabel::setTextColor(const QColor &color)
{
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

void THyperLabel::enterEvent(QEnterEvent *event)
{
    setTextColor(Qt::red);
    QLabel::enterEvent(event);
}

void THyperLabel::leaveEvent(QEvent *event)
{
    setTextColor(Qt::blue);
    QLabel::leaveEvent(event);
}

// A long address (a file deep in the install folder) is shortened in the
// middle rather than cut off; the label still opens the whole address.
void THyperLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect r = contentsRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideMiddle, r.width());
    painter.drawText(r, int(alignment() | Qt::TextSingleLine), shown);
}

void THyperLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint()))
        return;
    emit clicked();
    // A bare "www.example.org" means the web page, not a file of that name.
    const QUrl address = QUrl::fromUserInput(text());
    if (!m_shell.open(address))
        emit openFailed(address);
}
