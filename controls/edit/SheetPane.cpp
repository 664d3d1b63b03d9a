#include "controls/edit/SheetPane.h"

#include "core/text/SheetColumns.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>

#include <cmath>

namespace {
constexpr QChar FullWidthSample(0x3042); // あ
constexpr int NumberDigits = 4;
constexpr int NumberPadding = 4; // on each side of the numbers

QFont numberFont(const QFont &paneFont)
{
    QFont font = paneFont;
    const QFontInfo info(paneFont);
    font.setPixelSize(std::max(1, info.pixelSize() * 3 / 4));
    return font;
}
} // namespace

// The margin beside the viewport that shows the line numbers.
class SheetNumbers : public QWidget
{
public:
    explicit SheetNumbers(SheetPane *pane)
        : QWidget(pane)
        , m_pane(pane)
    { }

protected:
    void paintEvent(QPaintEvent *event) override { m_pane->paintNumbers(event); }

private:
    SheetPane *m_pane;
};

SheetPane::SheetPane(QWidget *parent)
    : QPlainTextEdit(parent)
    , m_numbers(new SheetNumbers(this))
{
    m_numbers->hide();
    connect(this, &QPlainTextEdit::updateRequest, m_numbers, [this] {
        if (m_sheet)
            m_numbers->update();
    });
}

void SheetPane::showSheet(const QFont &font)
{
    if (!m_sheet) {
        m_learnerFont = this->font();
        m_learnerWrap = wordWrapMode();
        m_learnerMargins = viewportMargins();
        m_sheet = true;
    }
    m_sheetFont = font;
    // The sheet fills its squares in order: a line breaks at its last column, never at a word.
    setWordWrapMode(QTextOption::WrapAnywhere);
    if (this->font() != font)
        setSheetFont(font);
    m_numbers->show();
    placeSheet();
}

void SheetPane::hideSheet()
{
    if (!m_sheet)
        return;
    m_sheet = false;
    m_numbers->hide();
    setViewportMargins(m_learnerMargins);
    setWordWrapMode(m_learnerWrap);
    setFont(m_learnerFont);
}

void SheetPane::setSheetFont(const QFont &font)
{
    m_settingFont = true;
    setFont(font);
    m_settingFont = false;
}

int SheetPane::room() const
{
    const int scrollBar = verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff
        ? 0
        : style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, verticalScrollBar());
    return width() - 2 * frameWidth() - scrollBar;
}

int SheetPane::roomNeeded(const QFont &font) const
{
    return numberMarginWidth(font) + wrapWidth(font);
}

int SheetPane::numberMarginWidth(const QFont &font) const
{
    return int(std::ceil(
               QFontMetricsF(numberFont(font)).horizontalAdvance(QString(NumberDigits, u'0'))))
        + 2 * NumberPadding;
}

// The viewport's width for a line of exactly FullWidthColumns squares and the
// document's margins, with a hair to spare but less than half a square, so the
// line breaks where the sheet's does.
int SheetPane::wrapWidth(const QFont &font) const
{
    const qreal square = QFontMetricsF(font).horizontalAdvance(FullWidthSample);
    return int(std::ceil(
        SheetColumns::FullWidthColumns * square + 2 * document()->documentMargin() + square / 8));
}

void SheetPane::placeSheet()
{
    const int numbers = numberMarginWidth(font());
    const int right = std::max(0, room() - numbers - wrapWidth(font()));
    setViewportMargins(numbers, 0, right, 0);
    const QRect inside = contentsRect();
    m_numbers->setGeometry(inside.left(), inside.top(), numbers, inside.height());
    m_numbers->update();
}

void SheetPane::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    if (m_sheet)
        placeSheet();
}

void SheetPane::changeEvent(QEvent *event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange && m_sheet && !m_settingFont)
        takeLearnerFont();
}

// The font boxes set the pane's font from the one it shows, changing the face
// or the size: that change goes to the learner's font, and the sheet's stays.
void SheetPane::takeLearnerFont()
{
    const QFont set = font();
    if (set.families() != m_sheetFont.families())
        m_learnerFont.setFamilies(set.families());
    if (set.pointSizeF() > 0 && set.pointSizeF() != m_sheetFont.pointSizeF())
        m_learnerFont.setPointSizeF(set.pointSizeF());
    else if (set.pixelSize() > 0 && set.pixelSize() != m_sheetFont.pixelSize())
        m_learnerFont.setPixelSize(set.pixelSize());
    setSheetFont(m_sheetFont);
    emit learnerFontChanged();
}

// Every displayed line gets its number, counted from the text's first line.
void SheetPane::paintNumbers(QPaintEvent *event)
{
    QPainter painter(m_numbers);
    painter.fillRect(event->rect(), palette().color(QPalette::AlternateBase));
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.setFont(numberFont(font()));
    QTextBlock block = firstVisibleBlock();
    int number = 1;
    for (QTextBlock before = document()->firstBlock(); before != block; before = before.next()) {
        document()->documentLayout()->blockBoundingRect(before); // lays it out if not yet
        number += before.isVisible() ? before.layout()->lineCount() : 0;
    }
    const QPointF offset = contentOffset();
    const int textRight = m_numbers->width() - NumberPadding;
    for (; block.isValid(); block = block.next()) {
        const QRectF box = blockBoundingGeometry(block).translated(offset);
        if (box.top() > event->rect().bottom())
            break;
        if (!block.isVisible())
            continue;
        const QTextLayout *layout = block.layout();
        for (int i = 0; i < layout->lineCount(); ++i, ++number) {
            const QTextLine line = layout->lineAt(i);
            const QRectF place(0, box.top() + line.y(), textRight, line.height());
            painter.drawText(place, Qt::AlignRight | Qt::AlignVCenter, QString::number(number));
        }
    }
}
