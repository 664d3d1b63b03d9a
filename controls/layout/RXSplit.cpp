#include "controls/layout/RXSplit.h"

#include "controls/layout/RXSplitAccessible.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QMouseEvent>
#include <QToolTip>

namespace {
constexpr int DesignWidth = 185;
constexpr int DesignHeight = 3;
constexpr int AlignedThickness = 3;

bool isVertical(TAlign align)
{
    return align == TAlign::alTop || align == TAlign::alBottom;
}

bool isHorizontal(TAlign align)
{
    return align == TAlign::alLeft || align == TAlign::alRight;
}

// A control may not shrink to nothing, and it leaves the bar some room
// when dragged against the far side.
int resizedSize(int size, int delta, int room)
{
    int result = std::max(1, size + delta);
    if (result >= room)
        result = std::max(1, room - 3);
    return result;
}
} // namespace

TRxSplitter::TRxSplitter(QWidget *parent)
    : QFrame(parent)
{
    RXSplitAccessible::install();
    setAccessibleName(QStringLiteral("区切り"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(1);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    resize(DesignWidth, DesignHeight);
}

TRxSplitter::~TRxSplitter()
{
    cancelDrag();
}

QWidget *TRxSplitter::acceptable(QWidget *control) const
{
    return control == this || (control && control->isWindow()) ? nullptr : control;
}

void TRxSplitter::setControlFirst(QWidget *control)
{
    m_first = acceptable(control);
    updateCursor();
}

void TRxSplitter::setControlSecond(QWidget *control)
{
    m_second = acceptable(control);
    updateCursor();
}

void TRxSplitter::setLimitOffset(int limit)
{
    m_topLeftLimit = limit;
    m_bottomRightLimit = limit;
}

void TRxSplitter::setAlign(TAlign align)
{
    const TAlign old = Align();
    const bool wasEdgeAligned = isVertical(old) || isHorizontal(old);
    setAlignOf(this, align);
    if (!wasEdgeAligned && isVertical(align))
        resize(width(), AlignedThickness);
    else if (!wasEdgeAligned && isHorizontal(align))
        resize(AlignedThickness, height());

    if (!m_first && !m_second && parentWidget()) {
        const QRect r = geometry();
        QPoint outside;
        switch (align) {
        case TAlign::alTop:
            outside = { r.left(), r.top() - 1 };
            break;
        case TAlign::alBottom:
            outside = { r.left(), r.bottom() + 1 };
            break;
        case TAlign::alLeft:
            outside = { r.left() - 1, r.top() };
            break;
        case TAlign::alRight:
            outside = { r.right() + 1, r.top() };
            break;
        default:
            updateCursor();
            return;
        }
        for (QObject *child : parentWidget()->children()) {
            auto *w = qobject_cast<QWidget *>(child);
            if (w && w != this && w->geometry().contains(outside)) {
                m_first = w;
                break;
            }
        }
    }
    updateCursor();
}

TRxSplitter::Kind TRxSplitter::kind() const
{
    if (!m_first)
        return NoKind;
    const TAlign first = alignOf(m_first);
    const TAlign second = alignOf(m_second);
    const bool secondAbsentOrClient = !m_second || second == TAlign::alClient;
    Kind result = NoKind;
    if (isVertical(first) && secondAbsentOrClient)
        result = FirstHeight;
    else if (first == TAlign::alClient && m_second && isVertical(second))
        result = SecondHeight;
    else if (isHorizontal(first) && secondAbsentOrClient)
        result = FirstWidth;
    else if (first == TAlign::alClient && m_second && isHorizontal(second))
        result = SecondWidth;
    const QWidget *resized = result == SecondHeight || result == SecondWidth ? m_second : m_first;
    return result != NoKind && alignOf(resized) == Align() ? result : NoKind;
}

bool TRxSplitter::movesHorizontally() const
{
    const Kind k = kind();
    return k == FirstWidth || k == SecondWidth;
}

void TRxSplitter::updateCursor()
{
    switch (kind()) {
    case FirstHeight:
    case SecondHeight:
        setCursor(Qt::SplitVCursor);
        break;
    case FirstWidth:
    case SecondWidth:
        setCursor(Qt::SplitHCursor);
        break;
    default:
        unsetCursor();
        break;
    }
}

void TRxSplitter::showLimitCursor(bool reached)
{
    if (reached)
        setCursor(Qt::ForbiddenCursor);
    else
        updateCursor();
}

void TRxSplitter::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || kind() == NoKind || m_dragging || !parentWidget()) {
        QFrame::mousePressEvent(event);
        return;
    }
    m_dragging = true;
    m_limitReached = false;
    // Hints off, Esc watched and a lost mouse noticed, all through one filter.
    QToolTip::hideText();
    qApp->installEventFilter(this);
    setMouseTracking(true); // so a move without the button shows the release was lost
    // Focus moving from one control to another means something else took over;
    // focus arriving from nowhere is only the window being activated by this press.
    m_focusWatch = connect(qApp, &QApplication::focusChanged, this, [this](QWidget *old) {
        if (old)
            cancelDrag();
    });
    m_pressPoint = event->position().toPoint();

    const QRect client = parentWidget()->rect();
    m_minimum
        = mapFromParent(QPoint(client.left() + m_topLeftLimit, client.top() + m_topLeftLimit));
    m_maximum = mapFromParent(
        QPoint(client.width() - m_bottomRightLimit, client.height() - m_bottomRightLimit));

    m_line = new QWidget(window());
    m_line->setObjectName(QStringLiteral("dragLine"));
    m_line->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_line->setAutoFillBackground(true);
    QPalette palette = m_line->palette();
    palette.setColor(QPalette::Window, Qt::darkGray);
    m_line->setPalette(palette);
    m_lastLine = QPoint(width() / 2, height() / 2);
    moveDragLine(m_lastLine);
    m_line->raise();
    m_line->show();
}

bool TRxSplitter::askPosChanging(QPoint at)
{
    bool allow = true;
    emit OnPosChanging(this, at.x(), at.y(), &allow);
    return allow;
}

QPoint TRxSplitter::clamped(QPoint at) const
{
    const QPoint p = m_pressPoint;
    if (at.x() - p.x() < m_minimum.x())
        at.setX(p.x() + m_minimum.x());
    else if (at.x() + width() - p.x() > m_maximum.x())
        at.setX(m_maximum.x() + p.x() - width());
    if (at.y() - p.y() < m_minimum.y())
        at.setY(p.y() + m_minimum.y());
    else if (at.y() + height() - p.y() > m_maximum.y())
        at.setY(m_maximum.y() + p.y() - height());
    return at;
}

void TRxSplitter::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging) {
        QFrame::mouseMoveEvent(event);
        return;
    }
    if (!(event->buttons() & Qt::LeftButton)) {
        cancelDrag(); // the release went elsewhere: the drag is lost
        return;
    }
    const QPoint at = event->position().toPoint();
    if (!askPosChanging(at)) {
        setCursor(Qt::ForbiddenCursor);
        return;
    }
    const QPoint allowed = clamped(at);
    const bool reached = movesHorizontally() ? allowed.x() != at.x() : allowed.y() != at.y();
    m_limitReached = reached;
    showLimitCursor(reached);
    moveDragLine(allowed + QPoint(width() / 2, height() / 2) - m_pressPoint);
}

// The line runs across the bar's thickness only along its axis; it never
// leaves the parent's client area.
void TRxSplitter::moveDragLine(QPoint splitterPoint)
{
    const bool horizontal = movesHorizontally();
    if (m_line->isVisible()
        && (horizontal ? splitterPoint.x() == m_lastLine.x() : splitterPoint.y() == m_lastLine.y()))
        return;
    m_lastLine = splitterPoint;
    const int thickness = horizontal ? width() : height();
    const int pen = thickness < 4 ? 2 : thickness - 2;
    const QRect line = horizontal ? QRect(splitterPoint.x() - pen / 2, 0, pen, height())
                                  : QRect(0, splitterPoint.y() - pen / 2, width(), pen);
    const QRect inParent = line.translated(pos()) & parentWidget()->rect();
    m_line->setGeometry(
        QRect(parentWidget()->mapTo(window(), inParent.topLeft()), inParent.size()));
}

QRect TRxSplitter::dragLineGeometry() const
{
    return m_line ? m_line->geometry() : QRect();
}

void TRxSplitter::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_dragging || event->button() != Qt::LeftButton) {
        QFrame::mouseReleaseEvent(event);
        return;
    }
    QPoint at = event->position().toPoint();
    const bool allow = askPosChanging(at);
    if (!allow)
        at = m_lastLine - QPoint(width() / 2, height() / 2) + m_pressPoint;
    resizeControl(clamped(at));
    endDrag();
    emit OnPosChanged(this);
}

void TRxSplitter::resizeControl(QPoint at)
{
    QWidget *parent = parentWidget();
    QPoint press = m_pressPoint;
    if (alignOf(m_first) == TAlign::alRight || alignOf(m_second) == TAlign::alRight) {
        at.setX(-at.x());
        press.setX(-press.x());
    }
    if (alignOf(m_first) == TAlign::alBottom || alignOf(m_second) == TAlign::alBottom) {
        at.setY(-at.y());
        press.setY(-press.y());
    }
    const QPoint delta = at - press;
    QLayout *layout = parent->layout();
    if (layout)
        layout->setEnabled(false);
    const int roomX = parent->width() - width();
    const int roomY = parent->height() - height();
    switch (kind()) {
    case FirstHeight:
        m_first->resize(m_first->width(), resizedSize(m_first->height(), delta.y(), roomY));
        break;
    case SecondHeight:
        m_second->resize(m_second->width(), resizedSize(m_second->height(), delta.y(), roomY));
        break;
    case FirstWidth:
        m_first->resize(resizedSize(m_first->width(), delta.x(), roomX), m_first->height());
        break;
    case SecondWidth:
        m_second->resize(resizedSize(m_second->width(), delta.x(), roomX), m_second->height());
        break;
    case NoKind:
        break;
    }
    if (layout) {
        layout->setEnabled(true);
        layout->invalidate();
        layout->activate();
    }
}

void TRxSplitter::endDrag()
{
    m_dragging = false;
    qApp->removeEventFilter(this);
    setMouseTracking(false);
    disconnect(m_focusWatch);
    delete m_line;
    m_line = nullptr;
    m_limitReached = false;
    updateCursor();
}

void TRxSplitter::cancelDrag()
{
    if (m_dragging)
        endDrag();
}

void TRxSplitter::hideEvent(QHideEvent *event)
{
    cancelDrag();
    QFrame::hideEvent(event);
}

// While dragging: no hints, Esc cancels, and anything that takes the mouse
// or the focus away (another window, a focus move) cancels as Esc would.
bool TRxSplitter::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_dragging)
        return false;
    switch (event->type()) {
    case QEvent::ToolTip:
        return true;
    case QEvent::KeyPress:
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
            cancelDrag();
            return true;
        }
        return false;
    case QEvent::WindowDeactivate:
        if (watched == window())
            cancelDrag();
        return false;
    case QEvent::Show:
        if (watched->isWidgetType() && static_cast<QWidget *>(watched)->isWindow()
            && watched != window())
            cancelDrag();
        return false;
    default:
        return false;
    }
}
