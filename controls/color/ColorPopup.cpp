#include "controls/color/ColorPopup.h"

#include "platform/SystemColors.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QScreen>

using namespace ColorPalette;

namespace {

constexpr int EdgeWidth = 2; // the 3-D edge of the window and of the cells

QSize captionSize(const QFontMetrics &metrics, const QString &text)
{
    if (text.isEmpty())
        return {};
    QString plain = text;
    plain.remove(QLatin1Char('&'));
    return { metrics.horizontalAdvance(plain), metrics.height() };
}

QRgb rgbOf(ColorValue color)
{
    return SystemColors::resolve(color).rgb() & 0xFFFFFF;
}

int distanceSquared(QPoint a, QPoint b)
{
    const QPoint d = a - b;
    return d.x() * d.x() + d.y() * d.y();
}

// The palette reads as a list whose value is the entry under the mouse or the keys.
class ColorPopupAccessible final : public QAccessibleWidget
{
public:
    explicit ColorPopupAccessible(QWidget *widget)
        : QAccessibleWidget(widget, QAccessible::PopupMenu)
    { }

    QString text(QAccessible::Text t) const override
    {
        const auto *popup = static_cast<const TColorPopup *>(widget());
        if (t == QAccessible::Value)
            return popup->entryName(popup->hoverIndex());
        return QAccessibleWidget::text(t);
    }
};

QAccessibleInterface *colorPopupAccessibleFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("TColorPopup") && object && object->isWidgetType())
        return new ColorPopupAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

TColorPopup::TColorPopup(QWidget *anchor)
    : QWidget(anchor, Qt::Popup | Qt::FramelessWindowHint)
    , m_anchor(anchor)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(colorPopupAccessibleFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setMouseTracking(true);
    recomputeLayout();
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        if (s != Qt::ApplicationActive)
            hide();
    });
}

TColorPopup::~TColorPopup() = default;

const QList<CombCell> &TColorPopup::combCells()
{
    if (m_comb.isEmpty())
        m_comb = colorComb(m_intensity);
    return m_comb;
}

const QList<CombCell> &TColorPopup::greyCells()
{
    if (m_grey.isEmpty())
        m_grey = greyComb(m_layout.hexSize());
    return m_grey;
}

ColorValue TColorPopup::markedColor()
{
    if (m_marked > 0)
        return combCells().at(m_marked - 1).color;
    if (m_marked < 0)
        return greyCells().at(-m_marked - 1).color;
    return 0;
}

void TColorPopup::recomputeLayout()
{
    Options options;
    options.edge = EdgeWidth;
    options.margin = m_entries.spacing;
    options.showSystem = m_entries.showSystemColors;
    const QFontMetrics metrics(font());
    options.customText = captionSize(metrics, m_entries.customText);
    options.defaultText = captionSize(metrics, m_entries.defaultText);
    m_layout = Layout::compute(options);
    if (m_selected == CustomEntry && !m_layout.hasCustom())
        m_selected = NoEntry;
    if (m_selected == DefaultEntry && !m_layout.hasDefault())
        m_selected = NoEntry;
    if (m_selected >= m_layout.cellCount)
        m_selected = NoEntry;
    if (m_hover >= m_layout.cellCount || m_hover < NoEntry)
        m_hover = NoEntry;
    fitHeight();
}

void TColorPopup::setEntries(const Entries &entries)
{
    m_entries = entries;
    m_entries.spacing = std::max(entries.spacing, 0);
    recomputeLayout();
    if (isVisible()) {
        update();
        place();
    }
}

void TColorPopup::fitHeight()
{
    const int height = isCustomMode() ? m_layout.customHeight : m_layout.paletteHeight;
    const QSize size(m_layout.width, height);
    if (size == this->size())
        return;
    resize(size);
    if (isVisible())
        place();
}

void TColorPopup::place()
{
    const QRect owner(m_anchor->mapToGlobal(QPoint(0, 0)), m_anchor->size());
    QScreen *screen = m_anchor->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect(owner.topLeft(), size());
    move(placement(owner, size(), available));
}

void TColorPopup::showBelow()
{
    m_hover = NoEntry;
    m_leftDown = false;
    m_drag = NoDrag;
    fitHeight();
    place();
    show();
}

QString TColorPopup::entryName(int index) const
{
    if (index == CustomEntry)
        return QString(m_entries.customText).remove(QLatin1Char('&'));
    if (index == DefaultEntry)
        return QString(m_entries.defaultText).remove(QLatin1Char('&'));
    if (index >= PaletteCount && index < PaletteCount + SystemCount)
        return QStringLiteral("system color: ") + systemColorName(index - PaletteCount);
    return index >= 0 && index < PaletteCount ? paletteName(index) : QString();
}

void TColorPopup::setHover(int index)
{
    if (index == m_hover)
        return;
    m_hover = index;
    update();
    if (QAccessible::isActive()) {
        QAccessibleValueChangeEvent event(this, entryName(index));
        QAccessible::updateAccessibility(&event);
    }
}

void TColorPopup::select(int index)
{
    m_selected = index;
    fitHeight();
    update();
}

ColorValue TColorPopup::cellColor(int index) const
{
    return index < PaletteCount ? paletteColor(index)
                                : ColorNames::SystemColorBase + ColorValue(index - PaletteCount);
}

void TColorPopup::matchColor(ColorValue color)
{
    select(matchIndex(color));
}

int TColorPopup::matchIndex(ColorValue color)
{
    if (color == ColorNames::ColorNone)
        return NoEntry;
    if (color == DefaultColor)
        return m_layout.hasDefault() ? DefaultEntry : NoEntry;
    const bool system = m_layout.cellCount > PaletteCount;
    if (color >= ColorNames::SystemColorBase && system) {
        const ColorValue n = color - ColorNames::SystemColorBase;
        if (n < ColorValue(SystemCount))
            return PaletteCount + int(n);
    }
    const QRgb wanted = rgbOf(color);
    for (int i = 0; i < m_layout.cellCount; ++i) {
        if (rgbOf(cellColor(i)) == wanted)
            return i;
    }
    if (!m_layout.hasCustom())
        return NoEntry;
    const QList<CombCell> &grey = greyCells();
    for (int i = 0; i < grey.size(); ++i) {
        if (rgbOf(grey.at(i).color) == wanted) {
            m_marked = -(i + 1);
            return CustomEntry;
        }
    }
    const QList<CombCell> &comb = combCells();
    for (int i = 0; i < comb.size(); ++i) {
        if (rgbOf(comb.at(i).color) == wanted) {
            m_marked = i + 1;
            return CustomEntry;
        }
    }
    return NoEntry;
}

void TColorPopup::setIntensity(double intensity)
{
    intensity = std::clamp(intensity, 0.0, 1.0);
    if (intensity == m_intensity)
        return;
    m_intensity = intensity;
    m_comb.clear(); // rebuilt at the new intensity; the mark keeps its index
    update();
}

void TColorPopup::pickEntry(int index)
{
    if (index >= 0) {
        select(index);
        pickColor(cellColor(index));
    } else if (index == CustomEntry) {
        select(CustomEntry);
    } else if (index == DefaultEntry) {
        select(DefaultEntry);
        hide();
        emit defaultPicked();
    } else {
        hide();
    }
}

void TColorPopup::pickColor(ColorValue color)
{
    hide();
    emit picked(color);
}

int TColorPopup::markAt(QPoint point) const
{
    const int h = m_layout.hexSize();
    const QPoint inGrey = point - m_layout.grey.topLeft();
    if (m_layout.grey.contains(point) && m_drag != CombDrag) {
        for (int i = 0; i < m_grey.size(); ++i) {
            const int reach = m_grey.at(i).size > h ? h : h / 2;
            if (distanceSquared(inGrey, m_grey.at(i).position) <= reach * reach)
                return -(i + 1);
        }
        return 0;
    }
    const QPoint inComb = point - m_layout.combCentre();
    for (int i = 0; i < m_comb.size(); ++i) {
        if (distanceSquared(inComb, m_comb.at(i).position) <= (h / 2) * (h / 2))
            return i + 1;
    }
    return 0;
}

// A press (starting) or drag in the custom area; false when the point is for the cells.
bool TColorPopup::customAreaPress(QPoint point, bool starting)
{
    if (!isCustomMode())
        return false;
    if (starting && point.y() < m_layout.paletteHeight)
        return false;
    const QRect &slider = m_layout.slider;
    if (m_drag == SliderDrag || (starting && slider.contains(point))) {
        // Wandering off the slider sideways leaves everything as it was.
        if (point.x() >= slider.left() && point.x() <= slider.right()) {
            m_drag = SliderDrag;
            const double span = slider.height();
            setIntensity(1.0 - (point.y() - slider.top()) / span);
        }
        return true;
    }
    combCells();
    greyCells();
    if (starting) {
        if (m_layout.grey.contains(point))
            m_drag = GreyDrag;
        else if (m_layout.comb.contains(point))
            m_drag = CombDrag;
    }
    const bool inGrey = m_layout.grey.contains(point) && m_drag != CombDrag;
    const bool inComb = m_layout.comb.contains(point) && m_drag != GreyDrag;
    const int mark = inGrey || inComb ? markAt(point) : 0;
    if (mark != m_marked) {
        m_marked = mark;
        update();
    }
    return true;
}

void TColorPopup::mousePressEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    if (!rect().contains(point)) {
        // The press that closes the palette must not reach the button again and reopen it.
        const QPoint onAnchor = m_anchor->mapFromGlobal(event->globalPosition().toPoint());
        if (m_anchor->rect().contains(onAnchor))
            setAttribute(Qt::WA_NoMouseReplay);
        hide();
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    m_leftDown = true;
    if (customAreaPress(point, true))
        return;
    setHover(m_layout.hitTest(point));
    update(); // the hover entry is drawn pressed now
}

void TColorPopup::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    if (m_drag != NoDrag) {
        customAreaPress(point, false);
        return;
    }
    setHover(rect().contains(point) ? m_layout.hitTest(point) : NoEntry);
}

void TColorPopup::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_leftDown = false;
    const DragMode drag = m_drag;
    m_drag = NoDrag;
    if (drag == CombDrag || drag == GreyDrag) {
        // Without a marked cell there is no colour to take: stay open, change nothing.
        if (m_marked != 0)
            pickColor(markedColor());
        return;
    }
    const QPoint point = event->position().toPoint();
    const int index = rect().contains(point) ? m_layout.hitTest(point) : NoEntry;
    if (drag == NoDrag && index != NoEntry)
        pickEntry(index);
    else
        update();
}

bool TColorPopup::acceleratorPressed(const QKeyEvent *event)
{
    if (!(event->modifiers() & Qt::AltModifier))
        return false;
    const QKeySequence key(event->key() | Qt::AltModifier);
    if (m_layout.hasCustom() && QKeySequence::mnemonic(m_entries.customText) == key) {
        pickEntry(CustomEntry);
        return true;
    }
    if (m_layout.hasDefault() && QKeySequence::mnemonic(m_entries.defaultText) == key) {
        pickEntry(DefaultEntry);
        return true;
    }
    return false;
}

void TColorPopup::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        hide();
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
        setHover(navigate(m_hover, event->key(), m_layout, m_selected));
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        pickEntry(m_hover);
        return;
    default:
        if (!acceleratorPressed(event))
            QWidget::keyPressEvent(event);
    }
}

void TColorPopup::hideEvent(QHideEvent *event)
{
    m_leftDown = false;
    m_drag = NoDrag;
    QWidget::hideEvent(event);
    emit closed();
}
