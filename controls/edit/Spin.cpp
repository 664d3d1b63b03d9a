#include "controls/edit/Spin.h"

#include "controls/edit/DigitInput.h"
#include "controls/edit/SpinAccessible.h"
#include "core/text/IntegerText.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QPainter>

#include <algorithm>
#include <climits>

namespace {

constexpr int FrameWidth = 2;
constexpr int TextGap = 2;

// Rows of 9 pixels; '#' is drawn in the button text colour.
QImage arrowGlyph(bool up)
{
    static const char *const rows[] = {
        ".........",
        "....#....",
        "...###...",
        "..#####..",
        ".#######.",
        ".........",
    };
    QImage image(9, 6, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    for (int y = 0; y < 6; ++y) {
        const char *row = rows[up ? y : 5 - y];
        for (int x = 0; x < 9; ++x)
            if (row[x] == '#')
                image.setPixel(x, y, qRgb(0, 0, 0));
    }
    return image;
}

bool isEnter(QKeyEvent *event)
{
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

// Keys that would change the text: refused while the editor is disabled.
bool editsText(QKeyEvent *event)
{
    static const QKeySequence::StandardKey edits[] = { QKeySequence::Cut, QKeySequence::Paste,
        QKeySequence::Undo, QKeySequence::Redo, QKeySequence::Delete, QKeySequence::Backspace,
        QKeySequence::DeleteStartOfWord, QKeySequence::DeleteEndOfWord,
        QKeySequence::DeleteEndOfLine, QKeySequence::DeleteCompleteLine };
    for (QKeySequence::StandardKey edit : edits)
        if (event->matches(edit))
            return true;
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete)
        return true;
    const QString text = event->text();
    return !text.isEmpty() && text.front() >= u' ';
}

// The characters a spin edit lets through when typing is allowed.
bool acceptsCharacter(QChar c)
{
    if (c < u' ')
        return c != u'\r';
    return c == u'+' || c == u'-' || (c >= u'0' && c <= u'9')
        || QLocale().decimalPoint() == QString(c);
}

} // namespace

TTimerSpeedButton::TTimerSpeedButton(QWidget *parent)
    : QAbstractButton(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAutoRepeat(true);
    setAutoRepeatDelay(RepeatDelay);
    setAutoRepeatInterval(RepeatInterval);
}

void TTimerSpeedButton::setGlyph(const QImage &glyph)
{
    m_glyph = glyph;
    update();
}

void TTimerSpeedButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(rect(), palette().color(QPalette::Button));
    const bool down = isDown();
    painter.setPen(palette().color(down ? QPalette::Dark : QPalette::Light));
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(palette().color(down ? QPalette::Light : QPalette::Shadow));
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
    QPoint at((width() - m_glyph.width()) / 2, (height() - m_glyph.height()) / 2);
    if (down)
        at += QPoint(1, 1);
    if (!isEnabled())
        painter.setOpacity(0.4);
    painter.drawImage(at, m_glyph);
}

TSpinButton::TSpinButton(QWidget *parent)
    : QWidget(parent)
    , m_up(new TTimerSpeedButton(this))
    , m_down(new TTimerSpeedButton(this))
{
    m_up->setGlyph(upGlyph());
    m_down->setGlyph(downGlyph());
    connect(m_up, &QAbstractButton::clicked, this, &TSpinButton::upClick);
    connect(m_down, &QAbstractButton::clicked, this, &TSpinButton::downClick);
    resize(DefaultWidth, DefaultHeight);
}

const QImage &TSpinButton::upGlyph()
{
    static const QImage glyph = arrowGlyph(true);
    return glyph;
}

const QImage &TSpinButton::downGlyph()
{
    static const QImage glyph = arrowGlyph(false);
    return glyph;
}

void TSpinButton::resizeEvent(QResizeEvent *)
{
    // The lower button overlaps the upper one by a pixel.
    const int upper = height() / 2;
    m_up->setGeometry(0, 0, width(), upper);
    m_down->setGeometry(0, upper - 1, width(), height() - upper + 1);
}

TSpinEdit::TSpinEdit(QWidget *parent)
    : QLineEdit(parent)
    , m_button(new TSpinButton(this))
{
    SpinAccessible::install();
    m_button->setCursor(Qt::ArrowCursor);
    setText(QStringLiteral("0"));
    connect(m_button, &TSpinButton::upClick, this, &TSpinEdit::UpClick);
    connect(m_button, &TSpinButton::downClick, this, &TSpinEdit::DownClick);
    for (QAbstractButton *arrow : { static_cast<QAbstractButton *>(m_button->upButton()),
             static_cast<QAbstractButton *>(m_button->downButton()) })
        connect(arrow, &QAbstractButton::pressed, this, [this] { setFocus(); });
    connect(this, &QLineEdit::textChanged, this, [this] {
        SpinAccessible::notifyValueChanged(this);
        emit changed();
    });
    setMinimumHeight(minimumSizeHint().height());
    layoutButton();
    acceptFullWidthDigits(this);
}

int TSpinEdit::value() const
{
    return IntegerText::parse(text()).value_or(m_minValue);
}

int TSpinEdit::checkValue(int value) const
{
    if (m_minValue == m_maxValue)
        return value;
    return qBound(qMin(m_minValue, m_maxValue), value, qMax(m_minValue, m_maxValue));
}

void TSpinEdit::setValue(int value)
{
    setText(QString::number(checkValue(value)));
}

void TSpinEdit::setMinValue(int value)
{
    m_minValue = value;
}

void TSpinEdit::setMaxValue(int value)
{
    m_maxValue = value;
}

void TSpinEdit::setEditorEnabled(bool on)
{
    m_editorEnabled = on;
    updateEditable();
}

void TSpinEdit::setLocked(bool on)
{
    m_locked = on;
    updateEditable();
}

// Qt's read-only flag refuses every edit, menu, drag and middle-click paste included;
// setText() from the arrows still works.
void TSpinEdit::updateEditable()
{
    QLineEdit::setReadOnly(m_locked || !m_editorEnabled);
    setAttribute(Qt::WA_InputMethodEnabled, false); // which setReadOnly turns back on
}

void TSpinEdit::step(int delta)
{
    if (m_locked) {
        QApplication::beep();
        return;
    }
    // In 64 bits, so that a step past the int range clamps instead of wrapping.
    const qint64 next = qint64(value()) + delta;
    setValue(int(std::clamp<qint64>(next, INT_MIN, INT_MAX)));
}

void TSpinEdit::UpClick()
{
    step(m_increment);
}

void TSpinEdit::DownClick()
{
    step(-m_increment);
}

bool TSpinEdit::refuses(QKeyEvent *event) const
{
    if (!m_editorEnabled || m_locked)
        return editsText(event);
    const QString text = event->text();
    return !text.isEmpty() && !acceptsCharacter(text.front());
}

void TSpinEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
        event->key() == Qt::Key_Up ? UpClick() : DownClick();
        event->accept();
        return;
    }
    if (isEnter(event)) {
        QLineEdit::keyPressEvent(event); // left to the dialog's default button
        return;
    }
    if (refuses(event)) {
        QApplication::beep();
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TSpinEdit::focusOutEvent(QFocusEvent *event)
{
    // Only a number outside the limits is corrected; an empty text stays empty.
    if (const auto shown = IntegerText::parse(text()); shown && checkValue(*shown) != *shown)
        setValue(*shown);
    QLineEdit::focusOutEvent(event);
}

QSize TSpinEdit::minimumSizeHint() const
{
    // Four border widths, the font's height and a quarter of the smaller text height.
    const int fontHeight = fontMetrics().height();
    const int smaller = qMin(fontHeight, QFontMetrics(QApplication::font()).height());
    return QSize(QLineEdit::minimumSizeHint().width(), 4 + fontHeight + smaller / 4 + 2);
}

void TSpinEdit::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    layoutButton();
}

void TSpinEdit::changeEvent(QEvent *event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        setMinimumHeight(minimumSizeHint().height());
}

void TSpinEdit::layoutButton()
{
    // Inside the sunken frame: x = width - 15 - 5, y = 0 and height - 5 in client terms.
    const int left = width() - TSpinButton::DefaultWidth - 5 + FrameWidth;
    m_button->setGeometry(left, FrameWidth, TSpinButton::DefaultWidth, height() - 5);
    setTextMargins(0, 0, width() - FrameWidth - left + TextGap, 0);
}
