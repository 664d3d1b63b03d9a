#include "controls/plot/sgr_def.h"

#include <QMouseEvent>
#include <QRubberBand>

#include <algorithm>
#include <cmath>

namespace {
constexpr int DragThreshold = 4; // pixels before a press becomes a zoom drag
constexpr Qt::KeyboardModifiers ShiftKeys
    = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

bool horizontally(Tsp_XYPlot::TZoomPanDirection d)
{
    return d == Tsp_XYPlot::zpdHorizontal || d == Tsp_XYPlot::zpdBoth;
}

bool vertically(Tsp_XYPlot::TZoomPanDirection d)
{
    return d == Tsp_XYPlot::zpdVertical || d == Tsp_XYPlot::zpdBoth;
}
} // namespace

// Exactly the configured keys: Ctrl+Shift is neither a zoom nor a pan.
bool Tsp_XYPlot::shiftKeysMatch(const QMouseEvent &event, Qt::KeyboardModifiers keys) const
{
    return (event.modifiers() & ShiftKeys) == keys;
}

void Tsp_XYPlot::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || event->buttons() != Qt::LeftButton
        || m_mouseState != msIdle) {
        QWidget::mousePressEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    if (m_zoom != zpdNone && shiftKeysMatch(*event, m_zoomShiftKeys)) {
        m_mouseState = msZoomPressed;
        m_start = point;
        if (m_zoom == zpdHorizontal)
            m_start.setY(m_field.top);
        else if (m_zoom == zpdVertical)
            m_start.setX(m_field.left);
        m_current = m_start;
        m_ownCursor = cursor();
        m_hadMouseTracking = hasMouseTracking();
        setMouseTracking(true); // to notice a release that went elsewhere
    } else if (m_pan != zpdNone && shiftKeysMatch(*event, m_panShiftKeys)) {
        m_mouseState = msPanPressed;
        m_start = m_current = point;
        m_ownCursor = cursor();
        setCursor(m_panCursor);
        m_hadMouseTracking = hasMouseTracking();
        setMouseTracking(true);
    } else {
        QWidget::mousePressEvent(event);
    }
}

void Tsp_XYPlot::mouseMoveEvent(QMouseEvent *event)
{
    if (m_mouseState == msIdle) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    if (!(event->buttons() & Qt::LeftButton)) {
        finishGesture(m_current); // the release went elsewhere
        return;
    }
    switch (m_mouseState) {
    case msZoomPressed:
        if (std::abs(point.x() - m_start.x()) < DragThreshold
            && std::abs(point.y() - m_start.y()) < DragThreshold)
            return;
        m_mouseState = msZoomDragging;
        setCursor(Qt::CrossCursor);
        [[fallthrough]];
    case msZoomDragging:
        m_current = point;
        if (m_zoom == zpdHorizontal)
            m_current.setY(m_field.bottom);
        else if (m_zoom == zpdVertical)
            m_current.setX(m_field.right);
        showBand();
        return;
    case msPanPressed:
    case msPanning:
        panTo(point);
        return;
    case msIdle:
        return;
    }
}

void Tsp_XYPlot::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_mouseState == msIdle || event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    if (m_mouseState == msZoomDragging) {
        m_current = event->position().toPoint();
        if (m_zoom == zpdHorizontal)
            m_current.setY(m_field.bottom);
        else if (m_zoom == zpdVertical)
            m_current.setX(m_field.right);
    }
    finishGesture(m_current);
}

// A drag whose release never arrives (the grab was lost, the window lost
// focus or was hidden) ends as if released where the mouse was last seen.
bool Tsp_XYPlot::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::FocusOut:
    case QEvent::WindowDeactivate:
    case QEvent::Hide:
    case QEvent::UngrabMouse:
        if (m_mouseState != msIdle)
            finishGesture(m_current);
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void Tsp_XYPlot::finishGesture(const QPoint &point)
{
    const MouseState state = m_mouseState;
    m_mouseState = msIdle;
    setMouseTracking(m_hadMouseTracking);
    if (m_band)
        m_band->hide();
    setCursor(m_ownCursor);
    if (state == msZoomPressed)
        restoreRanges();
    else if (state == msZoomDragging)
        applyZoom(QRect(m_start, point).normalized());
}

void Tsp_XYPlot::showBand()
{
    if (!m_band)
        m_band = new QRubberBand(QRubberBand::Rectangle, this);
    m_band->setGeometry(QRect(m_start, m_current).normalized());
    m_band->show();
}

void Tsp_XYPlot::saveRanges()
{
    const bool allSaved = std::all_of(
        m_axes.begin(), m_axes.end(), [](const auto &axis) { return axis->hasSavedRange(); });
    if (allSaved)
        return;
    for (const auto &axis : m_axes)
        axis->SaveRange(); // keeps a range already saved
}

void Tsp_XYPlot::restoreRanges()
{
    const bool allSaved = std::all_of(
        m_axes.begin(), m_axes.end(), [](const auto &axis) { return axis->hasSavedRange(); });
    if (!allSaved)
        return;
    for (const auto &axis : m_axes)
        axis->RestoreRange();
    repaintAll();
}

// The band's corners, ordered, become the new ranges. A zoom that would leave
// an axis fewer significant digits than its ticks need is refused as a whole.
void Tsp_XYPlot::applyZoom(QRect band)
{
    // QRect(p, q) includes q; the band spans from its left to its right pixel.
    const int x0 = band.left(), x1 = band.right();
    const int y0 = band.top(), y1 = band.bottom();
    const int bandWidth = x1 - x0;
    const int bandHeight = y1 - y0;
    if (bandWidth <= 2 || bandHeight <= 2)
        return;
    struct Change
    {
        Tsp_Axis *axis;
        double a, b;
    };
    std::vector<Change> changes;
    if (horizontally(m_zoom) && bandWidth > 1) {
        for (Tsp_Axis *axis : { BottomAxis(), TopAxis() })
            changes.push_back({ axis, axis->PixelToValue(x0), axis->PixelToValue(x1) });
    }
    if (vertically(m_zoom) && bandHeight > 1) {
        for (Tsp_Axis *axis : { LeftAxis(), RightAxis() })
            changes.push_back({ axis, axis->PixelToValue(y1), axis->PixelToValue(y0) });
    }
    for (const Change &c : changes) {
        if (Tsp_Scale::RangeTooSmall(std::min(c.a, c.b), std::max(c.a, c.b)))
            return;
    }
    saveRanges();
    for (const Change &c : changes)
        c.axis->SetMinMax(std::min(c.a, c.b), std::max(c.a, c.b));
    repaintAll();
}

// The data follows the mouse: the axes move against it.
void Tsp_XYPlot::panTo(const QPoint &point)
{
    if (point == m_current)
        return;
    m_mouseState = msPanning;
    const QPoint last = m_current;
    m_current = point;
    if (horizontally(m_pan) && point.x() != last.x()) {
        saveRanges();
        BottomAxis()->ShiftByPixels(last.x() - point.x());
        TopAxis()->ShiftByPixels(last.x() - point.x());
        m_frameValid = m_fieldValid = false;
    }
    if (vertically(m_pan) && point.y() != last.y()) {
        saveRanges();
        LeftAxis()->ShiftByPixels(last.y() - point.y());
        RightAxis()->ShiftByPixels(last.y() - point.y());
        m_frameValid = m_fieldValid = false;
    }
    m_updatePending = true;
    update();
}
