#include "controls/grid/AdvGrid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>

int TAdvStringGrid::colLeft(int col) const
{
    int x = 0;
    for (int c = 0; c < col && c < ColCount(); ++c)
        x += m_colWidths[std::size_t(c)] + 1;
    return x;
}

int TAdvStringGrid::dataTop() const
{
    return RowHeights(0) + 1;
}

// Each row owns the grid line below it, each column the line to its right.
int TAdvStringGrid::rowAtY(int y) const
{
    if (y < 0)
        return -1;
    if (y < dataTop())
        return 0;
    int top = dataTop();
    for (int row = TopRow(); row < RowCount() && top < viewport()->height(); ++row) {
        top += RowHeights(row) + 1;
        if (y < top)
            return row;
    }
    return -1;
}

QPoint TAdvStringGrid::cellAt(const QPoint &pos) const
{
    const int row = rowAtY(pos.y());
    if (row < 0 || pos.x() < 0)
        return QPoint(-1, -1);
    int right = 0;
    for (int col = 0; col < ColCount(); ++col) {
        right += m_colWidths[std::size_t(col)] + 1;
        if (pos.x() < right)
            return QPoint(col, row);
    }
    return QPoint(-1, -1);
}

QRect TAdvStringGrid::rowRect(int row) const
{
    if (row < 0 || row >= RowCount())
        return QRect();
    int top = 0;
    if (row > 0) {
        if (row < TopRow())
            return QRect();
        top = dataTop();
        for (int r = TopRow(); r < row; ++r) {
            top += RowHeights(r) + 1;
            if (top >= viewport()->height())
                return QRect();
        }
    }
    return QRect(0, top, colLeft(ColCount()) - 1, RowHeights(row));
}

QRect TAdvStringGrid::cellRect(int col, int row) const
{
    const QRect line = rowRect(row);
    if (line.isNull() || col < 0 || col >= ColCount())
        return QRect();
    return QRect(colLeft(col), line.top(), ColWidths(col), line.height());
}

// The last data row shown whole; one less than TopRow when not even that fits.
int TAdvStringGrid::lastFullyVisibleRow() const
{
    int last = TopRow() - 1;
    int top = dataTop();
    for (int row = TopRow(); row < RowCount(); ++row) {
        if (top + RowHeights(row) > viewport()->height())
            break;
        last = row;
        top += RowHeights(row) + 1;
    }
    return last;
}

int TAdvStringGrid::visibleRowCount() const
{
    return std::max(1, lastFullyVisibleRow() - TopRow() + 1);
}

// The highest top row that still shows the last row whole; walking back from
// the end costs only as many steps as rows fit on the screen.
int TAdvStringGrid::maxTopRow() const
{
    const int space = viewport()->height() - dataTop();
    int top = RowCount() - 1;
    if (top < 1)
        return 1;
    int used = RowHeights(top);
    while (top > 1 && used + 1 + RowHeights(top - 1) <= space) {
        --top;
        used += 1 + RowHeights(top);
    }
    return top;
}

void TAdvStringGrid::updateScrollBars()
{
    QScrollBar *bar = verticalScrollBar();
    const int space = viewport()->height() - dataTop();
    bar->setPageStep(std::max(1, space / (m_defaultRowHeight + 1)));
    bar->setRange(0, maxTopRow() - 1);
}

void TAdvStringGrid::ensureRowVisible(int row)
{
    if (row < 1 || row >= RowCount())
        return;
    if (row < TopRow()) {
        setTopRow(row);
        return;
    }
    if (row <= lastFullyVisibleRow())
        return;
    const int space = viewport()->height() - dataTop();
    int top = row;
    int used = RowHeights(row);
    while (top > 1 && used + 1 + RowHeights(top - 1) <= space) {
        --top;
        used += 1 + RowHeights(top);
    }
    setTopRow(top);
}

void TAdvStringGrid::rowsChanged()
{
    updateScrollBars();
    viewport()->update();
    notifyAccessibleReset();
}

QSize TAdvStringGrid::sizeHint() const
{
    constexpr int ShownRows = 5;
    const int frame = 2 * frameWidth();
    return QSize(
        colLeft(ColCount()) + frame, dataTop() + ShownRows * (m_defaultRowHeight + 1) + frame);
}

void TAdvStringGrid::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void TAdvStringGrid::scrollContentsBy(int, int)
{
    viewport()->update();
}

void TAdvStringGrid::keyPressEvent(QKeyEvent *event)
{
    int target = m_row;
    switch (event->key()) {
    case Qt::Key_Up:
        target = m_row - 1;
        break;
    case Qt::Key_Down:
        target = m_row + 1;
        break;
    case Qt::Key_PageUp:
        target = m_row - visibleRowCount();
        break;
    case Qt::Key_PageDown:
        target = m_row + visibleRowCount();
        break;
    case Qt::Key_Home:
        target = 1;
        break;
    case Qt::Key_End:
        target = RowCount() - 1;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter in the grid chooses nothing; only the dialog's button opens a file.
        event->accept();
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    setRow(target);
    event->accept();
}

void TAdvStringGrid::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    const QPoint cell = cellAt(event->position().toPoint());
    m_pressRow = cell.y();
    m_pressOnHeader = cell.y() == 0;
    m_selecting = cell.y() >= 1;
    if (m_selecting)
        setRow(cell.y());
}

void TAdvStringGrid::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_selecting || !(event->buttons() & Qt::LeftButton)) {
        QAbstractScrollArea::mouseMoveEvent(event);
        return;
    }
    // Dragging past either end of the shown rows scrolls one row per move.
    const int y = event->position().toPoint().y();
    int row = y < dataTop() ? TopRow() - 1 : rowAtY(y);
    if (row < 0)
        row = lastFullyVisibleRow() + 1;
    setRow(row);
}

void TAdvStringGrid::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    const QPoint cell = cellAt(event->position().toPoint());
    if (m_pressOnHeader && cell.y() == 0)
        sortByHeaderClick(cell.x());
    else if (m_selecting && cell.y() >= 1 && cell.y() == m_pressRow)
        emit cellClicked(cell.x(), cell.y());
    m_pressOnHeader = false;
    m_selecting = false;
    m_pressRow = -1;
}

void TAdvStringGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    mousePressEvent(event);
    const QPoint cell = cellAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && cell.y() >= 1)
        emit cellDoubleClicked(cell.x(), cell.y());
}

void TAdvStringGrid::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
    notifyAccessibleSelection();
}

void TAdvStringGrid::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void TAdvStringGrid::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange)
        viewport()->update();
}
