#include "controls/color/ColorPickerButton.h"

#include "controls/color/ColorPopup.h"
#include "platform/SystemColors.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <qdrawutil.h>

#include <utility>

namespace {

// The 3-D border the face is drawn with; the content lies inside it.
constexpr int FaceBorder = 2;

class ColorPickerAccessible final : public QAccessibleWidget
{
public:
    explicit ColorPickerAccessible(QWidget *widget)
        : QAccessibleWidget(widget, QAccessible::ButtonDropDown)
    {
        addControllingSignal(QStringLiteral("changed()"));
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return ColorNames::colorToText(button()->selectionColor());
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.hasPopup = true;
        s.expanded = button()->isDroppedDown();
        s.collapsed = !button()->isDroppedDown();
        return s;
    }

    QStringList actionNames() const override { return { showMenuAction(), pressAction() }; }

    void doAction(const QString &name) override
    {
        auto *b = const_cast<TColorPickerButton *>(button());
        if (name == showMenuAction())
            b->dropDown();
        else if (name == pressAction())
            emit b->clicked();
    }

private:
    const TColorPickerButton *button() const
    {
        return static_cast<const TColorPickerButton *>(widget());
    }
};

QAccessibleInterface *colorPickerAccessibleFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("TColorPickerButton") && object && object->isWidgetType())
        return new ColorPickerAccessible(static_cast<QWidget *>(object));
    return nullptr;
}

} // namespace

TColorPickerButton::TColorPickerButton(QWidget *parent)
    : QWidget(parent)
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(colorPickerAccessibleFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);

    // Reached by Tab so that the palette can be opened without a mouse, but a
    // click does not take the focus from the control the learner is in.
    setFocusPolicy(Qt::TabFocus);
    resize(sizeHint());
    m_popup = new TColorPopup(this);
    updatePopupEntries();
    connect(m_popup, &TColorPopup::closed, this, &TColorPickerButton::popupHidden);
    connect(m_popup, &TColorPopup::picked, this, &TColorPickerButton::setSelectionColor);
    connect(m_popup, &TColorPopup::defaultPicked, this, &TColorPickerButton::defaultSelected);
}

TColorPickerButton::~TColorPickerButton()
{
    // Gone before the button is half destroyed: its hiding must not call back.
    disconnect(m_popup, nullptr, this, nullptr);
    delete std::exchange(m_popup, nullptr);
}

QSize TColorPickerButton::sizeHint() const
{
    return { 45, 22 };
}

void TColorPickerButton::setSelectionColor(ColorValue color)
{
    if (color == m_selectionColor)
        return;
    m_selectionColor = color;
    update();
    if (m_droppedDown)
        m_popup->matchColor(color);
    notifyAccessibleValue();
    emit changed();
}

void TColorPickerButton::setCustomText(const QString &text)
{
    if (text == m_customText)
        return;
    m_customText = text;
    updatePopupEntries();
}

void TColorPickerButton::setDefaultText(const QString &text)
{
    if (text == m_defaultText)
        return;
    m_defaultText = text;
    updatePopupEntries();
}

void TColorPickerButton::setPopupSpacing(int pixels)
{
    pixels = std::max(pixels, 0);
    if (pixels == m_popupSpacing)
        return;
    m_popupSpacing = pixels;
    updatePopupEntries();
}

void TColorPickerButton::setShowSystemColors(bool show)
{
    if (show == m_showSystemColors)
        return;
    m_showSystemColors = show;
    updatePopupEntries();
}

void TColorPickerButton::setDropDownWidth(int pixels)
{
    pixels = std::clamp(pixels, 0, 1000);
    if (pixels == m_dropDownWidth)
        return;
    m_dropDownWidth = pixels;
    update();
}

void TColorPickerButton::setDropDownArrowColor(ColorValue color)
{
    if (color == m_dropDownArrowColor)
        return;
    m_dropDownArrowColor = color;
    update();
}

void TColorPickerButton::setIndicatorBorder(TIndicatorBorder border)
{
    if (border == m_indicatorBorder)
        return;
    m_indicatorBorder = border;
    update();
}

void TColorPickerButton::dropDown()
{
    if (m_droppedDown || !isEnabled())
        return;
    bool allow = true;
    emit dropChanging(&allow);
    if (!allow)
        return;
    m_droppedDown = true;
    m_down = true;
    m_popup->matchColor(m_selectionColor);
    m_popup->showBelow();
    update();
    emit dropChanged();
}

void TColorPickerButton::closeUp()
{
    if (m_droppedDown)
        m_popup->hide(); // popupHidden() follows from the hide
}

void TColorPickerButton::updatePopupEntries()
{
    m_popup->setEntries({ m_customText, m_defaultText, m_popupSpacing, m_showSystemColors });
}

void TColorPickerButton::popupHidden()
{
    if (!m_droppedDown)
        return;
    m_droppedDown = false;
    m_down = false;
    update();
    emit dropChanged();
}

bool TColorPickerButton::inDropDownPart(int x) const
{
    // The same 15 pixels the face draws as the drop-down part.
    return x >= width() - m_dropDownWidth && x < width();
}

void TColorPickerButton::setDown(bool down)
{
    if (down == m_down)
        return;
    m_down = down;
    update();
}

void TColorPickerButton::notifyAccessibleValue()
{
    if (!QAccessible::isActive())
        return;
    QAccessibleValueChangeEvent event(this, ColorNames::colorToText(m_selectionColor));
    QAccessible::updateAccessibility(&event);
}

void TColorPickerButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !isEnabled()) {
        QWidget::mousePressEvent(event);
        return;
    }
    const int x = event->position().toPoint().x();
    if (inDropDownPart(x)) {
        m_dropDownPressed = true;
        dropDown();
        return;
    }
    m_dropDownPressed = false;
    m_tracking = true;
    setDown(true);
}

void TColorPickerButton::mouseMoveEvent(QMouseEvent *event)
{
    if (m_tracking)
        setDown(rect().contains(event->position().toPoint()));
}

void TColorPickerButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_tracking || event->button() != Qt::LeftButton)
        return;
    m_tracking = false;
    setDown(false);
    if (rect().contains(event->position().toPoint()))
        emit clicked();
}

void TColorPickerButton::keyPressEvent(QKeyEvent *event)
{
    const bool altDown = event->key() == Qt::Key_Down && (event->modifiers() & Qt::AltModifier);
    if (altDown || event->key() == Qt::Key_F4 || event->key() == Qt::Key_Space) {
        m_dropDownPressed = true;
        dropDown();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TColorPickerButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled()) {
            m_tracking = false;
            m_down = false;
            closeUp();
        }
        update();
    }
    QWidget::changeEvent(event);
}

void TColorPickerButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawFace(painter);
}

void TColorPickerButton::drawFace(QPainter &painter) const
{
    const int w = width();
    const int h = height();
    const int d = m_dropDownWidth;
    const QPalette &pal = palette();
    const bool dropPartDown = m_dropDownPressed && m_droppedDown;
    const bool facePressed = !dropPartDown && m_down && !m_dropDownPressed;

    qDrawWinButton(&painter, rect(), pal, facePressed, &pal.brush(QPalette::Button));
    if (dropPartDown) {
        qDrawWinButton(&painter, QRect(w - d, 0, d, h), pal, true, &pal.brush(QPalette::Button));
    } else {
        const int shift = facePressed ? 1 : 0;
        const int top = 1 + shift;
        const int bottom = h - 3 - shift; // the last row of the line
        painter.setPen(pal.color(QPalette::Dark));
        painter.drawLine(w - d - 1 + shift, top, w - d - 1 + shift, bottom);
        painter.setPen(pal.color(QPalette::Light));
        painter.drawLine(w - d + shift, top, w - d + shift, bottom);
    }
    QRect content = rect().adjusted(FaceBorder, FaceBorder, -FaceBorder, -FaceBorder);
    if (facePressed)
        content.translate(1, 1);
    drawSwatch(painter, content);
    drawArrow(painter, dropPartDown || facePressed);
    if (hasFocus())
        qDrawPlainRect(&painter, content.adjusted(0, 0, -d - 2, 0), pal.color(QPalette::Dark));
}

void TColorPickerButton::drawSwatch(QPainter &painter, const QRect &content) const
{
    const QRect swatch = content.adjusted(2, 2, -(m_dropDownWidth + 2) - 2, -2);
    if (swatch.isEmpty())
        return;
    const QColor fill = SystemColors::resolve(m_selectionColor);
    const QPalette &pal = palette();
    switch (m_indicatorBorder) {
    case ibNone:
        painter.fillRect(swatch, fill);
        break;
    case ibFlat:
        painter.fillRect(swatch, fill);
        qDrawPlainRect(&painter, swatch, pal.color(QPalette::Dark));
        break;
    case ibSunken:
    case ibRaised:
        qDrawShadePanel(&painter, swatch, pal, m_indicatorBorder == ibSunken, 1);
        painter.fillRect(swatch.adjusted(1, 1, -1, -1), fill);
        break;
    }
}

void TColorPickerButton::drawArrow(QPainter &painter, bool shifted) const
{
    const int d = m_dropDownWidth;
    int x = width() - d + (d + 5) / 2 - 6;
    int y = height() / 2;
    if (shifted) {
        ++x;
        ++y;
    }
    const QPoint corners[] = { { x, y }, { x + 6, y }, { x + 3, y + 3 } };
    if (isEnabled()) {
        const QColor color = SystemColors::resolve(m_dropDownArrowColor);
        painter.setPen(color);
        painter.setBrush(color);
    } else {
        painter.setPen(Qt::NoPen);
        painter.setBrush(palette().color(QPalette::Dark));
    }
    painter.drawPolygon(corners, 3);
    painter.setBrush(Qt::NoBrush);
}
