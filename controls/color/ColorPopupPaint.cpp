#include "controls/color/ColorPopup.h"
#include "core/Rounding.h"
#include "platform/SystemColors.h"

#include <QPainter>
#include <qdrawutil.h>

using namespace ColorPalette;

namespace {

const QColor CellOutline(128, 128, 128);

void drawEtchedLine(QPainter &painter, int x1, int x2, int y, const QPalette &palette)
{
    qDrawShadeLine(&painter, x1, y, x2, y, palette, true, 1, 0);
}

} // namespace

void TColorPopup::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPalette &pal = palette();
    painter.fillRect(rect(), pal.color(QPalette::Button));
    const int left = m_layout.edge + m_layout.margin;
    const int right = m_layout.width - m_layout.edge - m_layout.margin - 1;
    if (m_layout.hasDefault())
        drawEntry(painter, m_layout.defaultEntry, DefaultEntry, m_entries.defaultText);
    for (int i = 0; i < m_layout.cellCount; ++i)
        drawCell(painter, i);
    if (m_layout.separatorY >= 0)
        drawEtchedLine(painter, left, right, m_layout.separatorY, pal);
    if (m_layout.hasCustom()) {
        drawEtchedLine(painter, left, right, m_layout.customEntry.top() - 2 * m_layout.edge, pal);
        drawEntry(painter, m_layout.customEntry, CustomEntry, m_entries.customText);
        drawCustomSample(painter);
        if (isCustomMode())
            drawCustomArea(painter);
    }
    qDrawWinPanel(&painter, rect(), pal, false);
}

void TColorPopup::drawEntryFrame(QPainter &painter, const QRect &rect, int index) const
{
    const QPalette &pal = palette();
    const bool selected = index == m_selected;
    const bool hover = index == m_hover;
    const QColor background
        = selected && !hover ? pal.color(QPalette::Light) : pal.color(QPalette::Button);
    painter.fillRect(rect, background);
    if (selected || (hover && m_leftDown))
        qDrawWinPanel(&painter, rect, pal, true);
    else if (hover)
        qDrawWinPanel(&painter, rect, pal, false);
}

void TColorPopup::drawCell(QPainter &painter, int index) const
{
    const QRect cell = m_layout.cellRect(index);
    drawEntryFrame(painter, cell, index);
    const int inset = m_layout.edge + 1;
    const QRect square = cell.adjusted(inset, inset, -inset, -inset);
    painter.fillRect(square, SystemColors::resolve(cellColor(index)));
    qDrawPlainRect(&painter, square, CellOutline);
}

void TColorPopup::drawEntry(
    QPainter &painter, const QRect &rect, int index, const QString &text) const
{
    drawEntryFrame(painter, rect, index);
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.setFont(font());
    painter.drawText(rect, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, text);
}

void TColorPopup::drawCustomSample(QPainter &painter)
{
    const QRect &sample = m_layout.customSample;
    if (m_marked == 0) {
        qDrawPlainRect(&painter, sample, palette().color(QPalette::Dark));
        return;
    }
    painter.fillRect(sample, SystemColors::resolve(markedColor()));
    qDrawPlainRect(&painter, sample, CellOutline);
}

void TColorPopup::drawCustomArea(QPainter &painter)
{
    painter.setPen(Qt::NoPen);
    const QPoint centre = m_layout.combCentre();
    for (const CombCell &cell : combCells()) {
        painter.setBrush(SystemColors::resolve(cell.color));
        painter.drawPolygon(hexagon(centre + cell.position, cell.size));
    }
    const QPoint greyOrigin = m_layout.grey.topLeft();
    for (const CombCell &cell : greyCells()) {
        painter.setBrush(SystemColors::resolve(cell.color));
        painter.drawPolygon(hexagon(greyOrigin + cell.position, cell.size));
    }
    painter.setBrush(Qt::NoBrush);
    drawSlider(painter);
    drawMark(painter);
}

void TColorPopup::drawSlider(QPainter &painter) const
{
    const QRect &slider = m_layout.slider;
    const int f = slider.height() - 1;
    for (int n = 0; n <= f; ++n) {
        const int level = sliderLevel(n, f);
        painter.setPen(QColor(level, level, level));
        painter.drawLine(slider.left(), slider.top() + n, slider.left() + 9, slider.top() + n);
    }
    const QPoint tip(slider.left() + 11, slider.top() + roundHalfEven((1 - m_intensity) * f));
    const QPoint marker[] = { tip, tip + QPoint(5, -3), tip + QPoint(5, 3) };
    painter.setPen(Qt::black);
    painter.setBrush(Qt::black);
    painter.drawPolygon(marker, 3);
    painter.setBrush(Qt::NoBrush);
}

void TColorPopup::drawMark(QPainter &painter)
{
    if (m_marked == 0)
        return;
    const CombCell &cell
        = m_marked > 0 ? combCells().at(m_marked - 1) : greyCells().at(-m_marked - 1);
    const QPoint origin = m_marked > 0 ? m_layout.combCentre() : m_layout.grey.topLeft();
    painter.save();
    // Exclusive-or keeps the outline visible on white and black cells alike.
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(Qt::white, 2));
    painter.drawPolygon(hexagon(origin + cell.position, cell.size));
    painter.restore();
}
