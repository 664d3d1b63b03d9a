#include "controls/lcd/Lcd99.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QElapsedTimer>
#include <QPainter>
#include <QRandomGenerator>

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
    m_stepTimer.setSingleShot(true);
    m_stepTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_stepTimer, &QTimer::timeout, this, &TLCD99::nextStep);
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

// A change drawn step by step: the surface it is drawn on, and where the steps are.
struct TLCD99::Run
{
    QElapsedTimer paintClock;
    QElapsedTimer stepClock;
    Lcd99::Geometry geometry;
    Lcd99::DrawingPass pass;
    QString value; // becomes the last painted value when the run ends
    QImage buffer; // null when drawing straight onto the canvas
    int step = 1;
    qint64 wait = 0; // per step
    qint64 carry = 0; // how far the last wait overran; the next one is shortened by as much
    qint64 target = 0; // the wait now running

    QImage &surface(QImage &canvas) { return buffer.isNull() ? canvas : buffer; }
};

void TLCD99::paintEvent(QPaintEvent *)
{
    // Never waits: an animated change draws its first step here and the timer the
    // rest, and paints in between show the picture as far as it has got.
    if (!m_painting && m_canvasStale)
        startRender();
    QPainter painter(this);
    if (m_canvas.isNull())
        painter.fillRect(rect(), m_color);
    else
        painter.drawImage(0, 0, m_canvas);
}

void TLCD99::startRender()
{
    m_run = std::make_unique<Run>();
    Run &run = *m_run;
    run.paintClock.start();
    // Taken now: a value or colour assigned while the steps run marks the canvas
    // stale again and is drawn by the next paint.
    const bool valueChanged = m_valueChanged;
    run.value = m_value;
    m_valueChanged = false;
    m_canvasStale = false;

    if (m_canvas.size() != size())
        m_canvas = QImage(size(), QImage::Format_RGB32);
    if (m_doubleBuffer)
        run.buffer = QImage(size(), QImage::Format_RGB32); // null when it cannot be had
    QImage &surface = run.surface(m_canvas);
    if (surface.isNull()) {
        m_run.reset();
        return;
    }
    m_painting = true;
    run.geometry = geometryFor(surface.size());
    fillBackground(surface);

    TLCDAnimation chosen = m_animation;
    if (chosen == anRandom)
        chosen = TLCDAnimation(anSpiral + QRandomGenerator::global()->bounded(5));
    const auto *order = chosen == anNone ? nullptr : &Lcd99::segmentOrder(chosen);

    const Lcd99::CellString shown = Lcd99::rightAligned(Lcd99::splitCells(run.value), m_digitNum);
    const Lcd99::CellString previous
        = Lcd99::rightAligned(Lcd99::splitCells(m_lastPainted), m_digitNum);
    const Lcd99::CellString blank = Lcd99::rightAligned({}, m_digitNum);
    if (!run.value.isEmpty()) {
        // Put back on the fresh background what the screen showed, then draw only
        // the cells that differ from it.
        drawWholePass(surface, run.geometry, { previous, blank, nullptr, 0, false });
        run.pass = { shown, previous, nullptr, 0, true };
        if (valueChanged)
            run.pass.delay = std::max<qint64>(0, m_animationDelay - run.paintClock.elapsed());
    } else {
        run.pass = { blank, previous, nullptr, 0, false };
        if (valueChanged)
            run.pass.delay = m_animationDelay;
    }
    if (valueChanged)
        run.pass.order = order;
    run.wait = std::max<qint64>(0, (run.pass.delay - run.paintClock.elapsed()) / WaitsPerChange);
    if (run.pass.order && run.wait > 0) {
        drawPoints(surface, run.geometry, run.pass);
        drawStep();
        return;
    }
    drawWholePass(surface, run.geometry, run.pass); // no time to spread it over
    finishRender();
}

// Draws the run's current step, shows it, and sets the timer for the next one.
void TLCD99::drawStep()
{
    Run &run = *m_run;
    run.stepClock.start();
    QImage &surface = run.surface(m_canvas);
    drawSegments(surface, run.geometry, run.pass, (*run.pass.order)[run.step - 1]);
    if (&surface != &m_canvas)
        m_canvas = surface.copy();
    update();
    if (run.step == Lcd99::SegmentCount) {
        finishRender();
        return;
    }
    run.target = run.wait - run.carry;
    m_stepTimer.start(int(std::clamp<qint64>(run.target, 0, INT_MAX)));
}

void TLCD99::nextStep()
{
    if (!m_run)
        return;
    Run &run = *m_run;
    run.carry = std::min(run.stepClock.elapsed() - run.target, run.wait);
    ++run.step;
    drawStep();
}

void TLCD99::finishRender()
{
    const std::unique_ptr<Run> run = std::move(m_run);
    m_lastPainted = run->value;
    if (!run->buffer.isNull())
        m_canvas = std::move(run->buffer);
    m_paintDuration = int(std::min<qint64>(run->paintClock.elapsed(), INT_MAX));
    m_painting = false;
    if (m_canvasStale)
        update(); // something changed while the steps ran
}

void TLCD99::drawPoints(
    QImage &surface, const Lcd99::Geometry &geometry, const Lcd99::DrawingPass &pass) const
{
    QPainter painter(&surface);
    for (int k = 1; k <= geometry.digitNum; ++k) {
        const QChar mark = pass.now.points.at(k - 1);
        if (pass.changedOnly && mark == pass.before.points.at(k - 1))
            continue;
        Lcd99::drawDecimalPoint(painter, geometry, k, mark == u'.' ? m_onColor : m_offColor);
    }
}

void TLCD99::drawSegments(QImage &surface, const Lcd99::Geometry &geometry,
    const Lcd99::DrawingPass &pass, int segment) const
{
    QPainter painter(&surface);
    for (int k = 1; k <= geometry.digitNum; ++k) {
        const QChar cell = pass.now.cells.at(k - 1);
        if (pass.changedOnly && cell == pass.before.cells.at(k - 1))
            continue;
        const bool lit = Lcd99::lightsSegment(cell, segment);
        Lcd99::drawSegment(painter, geometry, k, segment, lit ? m_onColor : m_offColor);
    }
}

// A pass drawn at once: its points, then its segments in the top-down order.
void TLCD99::drawWholePass(
    QImage &surface, const Lcd99::Geometry &geometry, const Lcd99::DrawingPass &pass) const
{
    drawPoints(surface, geometry, pass);
    for (const int segment : Lcd99::segmentOrder(anDown))
        drawSegments(surface, geometry, pass, segment);
}

void TLCD99::fillBackground(QImage &surface) const
{
    QPainter painter(&surface);
    painter.fillRect(surface.rect(), m_color);
}

Lcd99::Geometry TLCD99::geometryFor(QSize size) const
{
    return Lcd99::Geometry::of(size, m_digitNum, m_digitSpacing, m_gapX, m_gapY, m_segmentSize);
}
