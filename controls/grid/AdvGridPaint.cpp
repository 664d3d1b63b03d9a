#include "controls/grid/AdvGrid.h"

#include "platform/SystemColors.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QRegularExpression>

#include <algorithm>

namespace {

const QColor IndicatorLight(255, 255, 255);
const QColor IndicatorShade(128, 128, 128);
const QString Ellipsis = QStringLiteral("...");

QColor colorOf(ColorValue value)
{
    return SystemColors::resolve(value);
}

bool hasLineBreak(const QString &text)
{
    return text.contains(u'\n') || text.contains(u'\r');
}

int textWidth(const QFontMetrics &metrics, const QString &text)
{
    if (text.contains(u'\t'))
        return metrics.size(Qt::TextSingleLine | Qt::TextExpandTabs, text).width();
    return metrics.horizontalAdvance(text);
}

} // namespace

struct TAdvStringGrid::CellLayout
{
    QRect cell;
    QRect textRect;
    QFont font;
    QStringList lines;
    int textWidth = 0;
    bool rightAligned = false;
    bool header = false;
    bool indicator = false;
};

QString TAdvStringGrid::shortenedText(const QString &text, const QFontMetrics &metrics, int width)
{
    if (hasLineBreak(text) || textWidth(metrics, text) <= width)
        return text;

    // Where each prefix of whole characters ends; a character outside the
    // basic plane is two code units and must not be split either.
    std::vector<qsizetype> ends;
    for (qsizetype i = 0; i < text.size();) {
        i += text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()
            ? 2
            : 1;
        ends.push_back(i);
    }
    // Taking off one character at a time until the rest fits: as a prefix only
    // grows wider, a binary search finds the same place in far fewer measurements.
    const auto fits = [&](std::size_t characters) {
        return textWidth(metrics, text.left(ends[characters - 1]) + Ellipsis) <= width;
    };
    std::size_t low = 1;
    std::size_t high = ends.size() - 1;
    std::size_t best = 0;
    while (low <= high && high > 0) {
        const std::size_t middle = low + (high - low) / 2;
        if (fits(middle)) {
            best = middle;
            low = middle + 1;
        } else {
            high = middle - 1;
        }
    }
    return best > 0 ? text.left(ends[best - 1]) + Ellipsis : QString();
}

TAdvStringGrid::CellLayout TAdvStringGrid::layoutCell(int col, int row, const QRect &cell) const
{
    CellLayout layout;
    layout.cell = cell;
    layout.header = row == 0;
    layout.font = layout.header ? m_fixedFont : font();
    const QString text = Cells(col, row);
    layout.rightAligned = m_autoNumAlign && AdvGridSort::isNumberText(text);
    layout.textRect = cell.adjusted(TextInset, TextInset, -TextInset, 0);
    layout.indicator = layout.header && m_sortShow && col == m_sortColumn;
    if (layout.indicator) {
        // The room goes on the side where the indicator stands.
        if (layout.rightAligned)
            layout.textRect.setLeft(layout.textRect.left() + SortIndicatorRoom);
        else
            layout.textRect.setRight(layout.textRect.right() - SortIndicatorRoom);
    }

    const QFontMetrics metrics(layout.font, viewport());
    const QString shown
        = m_enhTextSize ? shortenedText(text, metrics, layout.textRect.width()) : text;
    if (m_multilineCells) {
        static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
        layout.lines = shown.split(lineBreak);
    } else {
        layout.lines = QStringList { shown };
    }
    for (const QString &line : std::as_const(layout.lines))
        layout.textWidth = std::max(layout.textWidth, textWidth(metrics, line));
    return layout;
}

QString TAdvStringGrid::shownText(int col, int row) const
{
    const QRect cell(0, 0, ColWidths(col), RowHeights(row));
    return layoutCell(col, row, cell).lines.join(QStringLiteral("\r\n"));
}

void TAdvStringGrid::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(viewport()->rect(), colorOf(ColorNames::clWindow));
    const int width = viewport()->width();
    const bool focused = hasFocus();

    const auto paintRow = [&](int row, int top) {
        const int height = RowHeights(row);
        const QColor line = colorOf(row == 0 ? ColorNames::clBlack : ColorNames::clBtnFace);
        int left = 0;
        for (int col = 0; col < ColCount() && left < width; ++col) {
            const QRect cell(left, top, ColWidths(col), height);
            drawCell(painter, col, row, cell);
            if (focused && m_hideFocusRect && row == m_row && col == m_col)
                drawFocusDots(painter, cell);
            painter.fillRect(QRect(cell.right() + 1, top, 1, height + 1), line);
            painter.fillRect(QRect(left, top + height, cell.width() + 1, 1), line);
            left += cell.width() + 1;
        }
    };

    paintRow(0, 0);
    int top = dataTop();
    for (int row = TopRow(); row < RowCount() && top < viewport()->height(); ++row) {
        paintRow(row, top);
        top += RowHeights(row) + 1;
    }
    if (focused) {
        const QRect current = rowRect(m_row);
        if (m_row < RowCount() && !current.isEmpty())
            drawFocusDots(painter, current);
    }
}

void TAdvStringGrid::drawCell(QPainter &painter, int col, int row, const QRect &cell) const
{
    const CellLayout layout = layoutCell(col, row, cell);
    painter.setClipRect(cell);
    QColor textColor;
    if (layout.header) {
        painter.fillRect(cell, colorOf(ColorNames::clBtnFace));
        drawRaisedEdge(painter, cell);
        textColor = colorOf(ColorNames::clBlack);
    } else if (row == m_row && (m_showSelection || hasFocus())) {
        painter.fillRect(cell, colorOf(m_selectionColor));
        textColor = colorOf(m_selectionTextColor);
    } else {
        painter.fillRect(cell, colorOf(ColorNames::clWindow));
        textColor = colorOf(ColorNames::clWindowText);
    }
    drawCellText(painter, layout, textColor);
    if (layout.indicator)
        drawSortIndicator(painter, layout);
    painter.setClipping(false);
}

void TAdvStringGrid::drawRaisedEdge(QPainter &painter, const QRect &cell) const
{
    const QColor light = colorOf(ColorNames::clBtnHighlight);
    const QColor shade = colorOf(ColorNames::clBtnShadow);
    painter.fillRect(QRect(cell.left(), cell.top(), cell.width(), 1), light);
    painter.fillRect(QRect(cell.left(), cell.top(), 1, cell.height()), light);
    painter.fillRect(QRect(cell.left(), cell.bottom(), cell.width(), 1), shade);
    painter.fillRect(QRect(cell.right(), cell.top(), 1, cell.height()), shade);
}

void TAdvStringGrid::drawCellText(
    QPainter &painter, const CellLayout &layout, const QColor &color) const
{
    painter.setFont(layout.font);
    painter.setPen(color);
    const QFontMetrics metrics = painter.fontMetrics();
    // The cell clips, not the insets: unshortened text runs on to the cell edge.
    const int flags = Qt::TextSingleLine | Qt::TextExpandTabs | Qt::TextDontClip
        | (layout.rightAligned ? Qt::AlignRight : Qt::AlignLeft);
    const QRect &area = layout.textRect;
    if (m_multilineCells) {
        // Vertical alignment has no say over multi-line text: it starts at the top.
        int top = area.top();
        for (const QString &line : layout.lines) {
            painter.drawText(QRect(area.left(), top, area.width(), metrics.height()),
                flags | Qt::AlignTop, line);
            top += metrics.lineSpacing();
        }
        return;
    }
    const int vertical = m_vAlignment == vtaTop ? Qt::AlignTop
        : m_vAlignment == vtaBottom             ? Qt::AlignBottom
                                                : Qt::AlignVCenter;
    painter.drawText(area, flags | vertical, layout.lines.value(0));
}

void TAdvStringGrid::drawSortIndicator(QPainter &painter, const CellLayout &layout) const
{
    const QRect &cell = layout.cell;
    const int right = cell.left() + cell.width();
    const int bottom = cell.top() + cell.height();
    const int x
        = layout.rightAligned ? right - layout.textWidth - 14 : cell.left() + layout.textWidth + 10;
    const int y = m_vAlignment == vtaTop ? cell.top() + 8
        : m_vAlignment == vtaBottom      ? bottom - 8
                                         : cell.top() + (bottom - cell.top()) / 2;

    // Drawn so that each shared corner ends up in the colour of the line that
    // owns it: the apex is shaded, the other corners light.
    painter.setPen(IndicatorShade);
    if (m_sortDirection == sdAscending) {
        painter.drawLine(QPoint(x, y - 4), QPoint(x - 4, y + 4));
        painter.setPen(IndicatorLight);
        painter.drawLine(QPoint(x - 4, y + 4), QPoint(x + 4, y + 4));
        painter.drawLine(QPoint(x + 4, y + 4), QPoint(x, y - 4));
        painter.setPen(IndicatorShade);
        painter.drawPoint(x, y - 4);
    } else {
        painter.drawLine(QPoint(x, y + 4), QPoint(x - 4, y - 4));
        painter.drawLine(QPoint(x - 4, y - 4), QPoint(x + 4, y - 4));
        painter.setPen(IndicatorLight);
        painter.drawLine(QPoint(x + 4, y - 4), QPoint(x, y + 4));
        painter.setPen(IndicatorShade);
        painter.drawPoint(x, y + 4);
    }
}

// Every other pixel of the rectangle's border inverted, each pixel once, on a
// pattern fixed to the viewport: a second rectangle over the same pixels
// undoes the first.
void TAdvStringGrid::drawFocusDots(QPainter &painter, const QRect &rect)
{
    if (rect.isEmpty())
        return;
    QList<QPoint> dots;
    const auto dot = [&dots](int x, int y) {
        if ((x + y) % 2 == 0)
            dots.append(QPoint(x, y));
    };
    for (int x = rect.left(); x <= rect.right(); ++x) {
        dot(x, rect.top());
        if (rect.bottom() > rect.top())
            dot(x, rect.bottom());
    }
    for (int y = rect.top() + 1; y < rect.bottom(); ++y) {
        dot(rect.left(), y);
        if (rect.right() > rect.left())
            dot(rect.right(), y);
    }
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    for (const QPoint &p : std::as_const(dots))
        painter.fillRect(QRect(p, QSize(1, 1)), Qt::black);
    painter.restore();
}
