#include "controls/lcd/Lcd99.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QPointer>
#include <QRandomGenerator>
#include <QTimer>

#include <algorithm>
#include <climits>

namespace {

// Eight steps, with a wait after each of the first seven.
constexpr int WaitsPerChange = 7;

class Lcd99Accessible final : public QAccessibleWidget
{
public:
    explicit Lcd99Accessible(QWidget *widget)
        : QAccessibleWidget(widget, QAccessible::StaticText)
    { }

    QString text(QAccessible::Text t) const override
    {
        const QString shown = static_cast<const TLCD99 *>(widget())->shownText();
        if (t == QAccessible::Value)
            return shown;
        const QString own = QAccessibleWidget::text(t);
        return t == QAccessible::Name && own.isEmpty() ? shown : own;
    }
};

QAccessibleInterface *lcd99AccessibleFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("TLCD99") && object && object->isWidgetType())
        return new Lcd99Accessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

TLCD99::TLCD99(QWidget *parent)
    : QWidget(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(lcd99AccessibleFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);

    // Every pixel is painted, so Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(sizeHint());
}

TLCD99::~TLCD99() = default;

QSize TLCD99::sizeHint() const
{
    return { 92, 34 };
}

QString TLCD99::shownText() const
{
    const Lcd99::CellString split = Lcd99::splitCells(m_value);
    if (split.cells.size() <= m_digitNum)
        return m_value;
    return m_value.left(split.starts.at(m_digitNum));
}

void TLCD99::setValue(const QString &text)
{
    // Compared before upper-casing: "12a" after "12A" is a new assignment and repaints.
    if (text == m_value)
        return;
    const QString accepted = Lcd99::acceptedValue(text);
    const bool changed = accepted != m_value;
    m_value = accepted;
    m_valueChanged = true;
    invalidate();
    if (changed) {
        notifyShownTextChanged();
        emit valueChanged(m_value);
    }
}

void TLCD99::setDigitNum(int count)
{
    if (setLookValue(m_digitNum, std::clamp(count, 1, MaxDigitNum)))
        notifyShownTextChanged();
}

void TLCD99::setDigitSpacing(int pixels)
{
    setLookValue(m_digitSpacing, std::clamp(pixels, -MaxExtent, MaxExtent));
}

void TLCD99::setGapX(int pixels)
{
    setLookValue(m_gapX, std::clamp(pixels, -MaxExtent, MaxExtent));
}

void TLCD99::setGapY(int pixels)
{
    setLookValue(m_gapY, std::clamp(pixels, -MaxExtent, MaxExtent));
}

void TLCD99::setSegmentSize(int pixels)
{
    setLookValue(m_segmentSize, std::clamp(pixels, -MaxExtent, MaxExtent));
}

void TLCD99::setOnColor(const QColor &color)
{
    setLookColor(m_onColor, color);
}

void TLCD99::setOffColor(const QColor &color)
{
    setLookColor(m_offColor, color);
}

void TLCD99::setColor(const QColor &color)
{
    setLookColor(m_color, color);
}

bool TLCD99::setLookValue(int &field, int value)
{
    if (field == value)
        return false;
    field = value;
    invalidate();
    return true;
}

bool TLCD99::setLookColor(QColor &field, const QColor &color)
{
    if (field == color)
        return false;
    field = color;
    invalidate();
    return true;
}

void TLCD99::invalidate()
{
    m_canvasStale = true;
    update();
}

void TLCD99::notifyShownTextChanged()
{
    if (!QAccessible::isActive())
        return;
    QAccessibleValueChangeEvent event(this, shownText());
    QAccessible::updateAccessibility(&event);
}

void TLCD99::resizeEvent(QResizeEvent *event)
{
    m_canvasStale = true;
    QWidget::resizeEvent(event);
}

void TLCD99::paintEvent(QPaintEvent *)
{
    // While an animated change waits, paints (the step's own, or the window being
    // uncovered) show the picture as far as it has got.
    if (!m_painting && m_canvasStale) {
        if (changeWillAnimate()) {
            // A paint event must not wait, so the steps run from the event loop.
            scheduleAnimatedPaint();
            if (m_canvas.size() != size())
                showLastPaintedValue();
        } else {
            renderCanvas(false);
        }
    }
    QPainter painter(this);
    if (m_canvas.isNull())
        painter.fillRect(rect(), m_color);
    else
        painter.drawImage(0, 0, m_canvas);
}

bool TLCD99::changeWillAnimate() const
{
    return m_valueChanged && m_animation != anNone && m_animationDelay / WaitsPerChange > 0;
}

void TLCD99::scheduleAnimatedPaint()
{
    if (m_animationQueued)
        return;
    m_animationQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_animationQueued = false;
            if (m_canvasStale && renderCanvas(true))
                update();
        },
        Qt::QueuedConnection);
}

void TLCD99::showLastPaintedValue()
{
    m_canvas = QImage(size(), QImage::Format_RGB32);
    if (m_canvas.isNull())
        return;
    fillBackground(m_canvas);
    const Lcd99::Geometry geometry = geometryFor(size());
    Lcd99::DrawingPass restore;
    restore.now = Lcd99::rightAligned(Lcd99::splitCells(m_lastPainted), m_digitNum);
    restore.before = Lcd99::rightAligned({}, m_digitNum);
    QElapsedTimer clock;
    clock.start();
    drawPass(m_canvas, geometry, restore, clock, false);
}

// Returns false when the control was destroyed during one of the waits.
bool TLCD99::renderCanvas(bool mayWait)
{
    if (m_painting)
        return true;
    m_painting = true;
    QElapsedTimer paintClock;
    paintClock.start();

    // Taken now: a value or colour assigned while the steps wait marks the canvas
    // stale again and is drawn by the next paint.
    const bool valueChanged = m_valueChanged;
    const QString value = m_value;
    const QString lastPainted = m_lastPainted;
    m_valueChanged = false;
    m_canvasStale = false;

    if (m_canvas.size() != size())
        m_canvas = QImage(size(), QImage::Format_RGB32);
    QImage buffer;
    if (m_doubleBuffer)
        buffer = QImage(size(), QImage::Format_RGB32); // null when it cannot be had
    QImage &surface = buffer.isNull() ? m_canvas : buffer;
    if (surface.isNull()) {
        m_painting = false;
        return true;
    }
    const Lcd99::Geometry geometry = geometryFor(surface.size());
    fillBackground(surface);

    TLCDAnimation chosen = m_animation;
    if (chosen == anRandom)
        chosen = TLCDAnimation(anSpiral + QRandomGenerator::global()->bounded(5));
    const auto *order = chosen == anNone ? nullptr : &Lcd99::segmentOrder(chosen);

    const Lcd99::CellString shown = Lcd99::rightAligned(Lcd99::splitCells(value), m_digitNum);
    const Lcd99::CellString previous
        = Lcd99::rightAligned(Lcd99::splitCells(lastPainted), m_digitNum);
    const Lcd99::CellString blank = Lcd99::rightAligned({}, m_digitNum);
    if (!value.isEmpty()) {
        // Put back on the fresh background what the screen showed, then draw only
        // the cells that differ from it.
        drawPass(surface, geometry, { previous, blank, nullptr, 0, false }, paintClock, false);
        Lcd99::DrawingPass change { shown, previous, nullptr, 0, true };
        if (valueChanged) {
            change.order = order;
            change.delay = std::max<qint64>(0, m_animationDelay - paintClock.elapsed());
        }
        if (!drawPass(surface, geometry, change, paintClock, mayWait))
            return false;
    } else {
        Lcd99::DrawingPass clear { blank, previous, nullptr, 0, false };
        if (valueChanged) {
            clear.order = order;
            clear.delay = m_animationDelay;
        }
        if (!drawPass(surface, geometry, clear, paintClock, mayWait))
            return false;
    }

    m_lastPainted = value;
    if (&surface != &m_canvas)
        m_canvas = std::move(buffer);
    if (m_canvasStale)
        update();
    m_paintDuration = int(std::min<qint64>(paintClock.elapsed(), INT_MAX));
    m_painting = false;
    return true;
}

// Draws one pass on the surface; returns false when the control was destroyed while
// the pass waited between steps. No painter stays open across a wait.
bool TLCD99::drawPass(QImage &surface, const Lcd99::Geometry &geometry,
    const Lcd99::DrawingPass &pass, const QElapsedTimer &paintClock, bool mayWait)
{
    const int digits = geometry.digitNum;
    {
        QPainter painter(&surface);
        for (int k = 1; k <= digits; ++k) {
            const QChar mark = pass.now.points.at(k - 1);
            if (pass.changedOnly && mark == pass.before.points.at(k - 1))
                continue;
            Lcd99::drawDecimalPoint(painter, geometry, k, mark == u'.' ? m_onColor : m_offColor);
        }
    }

    const bool animated = pass.order != nullptr;
    const auto &order = animated ? *pass.order : Lcd99::segmentOrder(anDown);
    const qint64 wait = std::max<qint64>(0, (pass.delay - paintClock.elapsed()) / WaitsPerChange);
    // How far the last wait overran; the next one is shortened by as much.
    qint64 carry = 0;
    for (int step = 1; step <= Lcd99::SegmentCount; ++step) {
        QElapsedTimer stepClock;
        stepClock.start();
        const int segment = order[step - 1];
        {
            QPainter painter(&surface);
            for (int k = 1; k <= digits; ++k) {
                const QChar cell = pass.now.cells.at(k - 1);
                if (pass.changedOnly && cell == pass.before.cells.at(k - 1))
                    continue;
                const bool lit = Lcd99::lightsSegment(cell, segment);
                Lcd99::drawSegment(painter, geometry, k, segment, lit ? m_onColor : m_offColor);
            }
        }
        if (!animated || wait <= 0 || !mayWait)
            continue;
        showStep(surface);
        if (step <= WaitsPerChange) {
            const qint64 target = wait - carry;
            if (!waitProcessingEvents(stepClock, target))
                return false;
            carry = std::min(stepClock.elapsed() - target, wait);
        }
    }
    return true;
}

void TLCD99::fillBackground(QImage &surface) const
{
    QPainter painter(&surface);
    painter.fillRect(surface.rect(), m_color);
}

void TLCD99::showStep(const QImage &surface)
{
    if (&surface != &m_canvas)
        m_canvas = surface.copy();
    repaint();
}

bool TLCD99::waitProcessingEvents(const QElapsedTimer &stepClock, qint64 milliseconds)
{
    const QPointer<TLCD99> alive(this);
    // Wakes the event loop at the deadline when nothing else arrives before it.
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    for (qint64 left = milliseconds - stepClock.elapsed(); left > 0;
         left = milliseconds - stepClock.elapsed()) {
        deadline.start(int(left));
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (!alive)
            return false;
    }
    return true;
}

Lcd99::Geometry TLCD99::geometryFor(QSize size) const
{
    return Lcd99::Geometry::of(size, m_digitNum, m_digitSpacing, m_gapX, m_gapY, m_segmentSize);
}
