#include "app/AnswerSheet.h"

#include "controls/edit/SheetPane.h"
#include "core/text/SheetColumns.h"

#include <QEvent>
#include <QFontDatabase>
#include <QFontMetricsF>

#include <algorithm>

namespace {
// Japanese faces whose Latin letters and half-width kana are half a square wide.
const char *const ExactFaces[]
    = { "IPAGothic", "IPAMincho", "Noto Sans Mono CJK JP", "VL Gothic", "TakaoGothic" };
// Below this the sheet does not shrink: the lines wrap short instead.
constexpr int SmallestPixelSize = 8;
} // namespace

AnswerSheet::AnswerSheet(
    const QList<SheetPane *> &panes, std::function<void(const QString &)> tell, QObject *parent)
    : QObject(parent)
    , m_panes(panes)
    , m_tell(std::move(tell))
{
    for (SheetPane *pane : m_panes) {
        pane->installEventFilter(this);
        connect(pane, &SheetPane::learnerFontChanged, this, &AnswerSheet::apply);
    }
}

void AnswerSheet::setShown(bool shown)
{
    if (shown == m_shown)
        return;
    m_shown = shown;
    if (shown) {
        apply();
        if (!hasExactColumns(m_font) && !m_toldFont) {
            m_toldFont = true;
            m_tell(QStringLiteral("答案用紙の桁を正確にそろえるには等幅の日本語フォント"
                                  "（fonts-ipafont-gothic の IPAGothic など）が必要です。"));
        }
        return;
    }
    for (SheetPane *pane : m_panes)
        pane->hideSheet();
}

bool AnswerSheet::hasExactColumns(const QFont &font)
{
    const QFontMetricsF metrics(font);
    const qreal square = metrics.horizontalAdvance(QChar(0x3042));
    const auto all = [&](const char16_t *sample, qreal width) {
        return std::all_of(sample, sample + std::char_traits<char16_t>::length(sample),
            [&](char16_t c) { return metrics.horizontalAdvance(QChar(c)) == width; });
    };
    return square > 0 && all(u"漢ア　Ａ、", square) && all(u"AiW0 .,ｱﾝ", square / 2);
}

QString AnswerSheet::exactFamily(const QFont &learnerFont, int pixelSize)
{
    QFont font = learnerFont;
    font.setPixelSize(pixelSize);
    font.setKerning(false);
    if (hasExactColumns(font))
        return font.family();
    for (const char *face : ExactFaces) {
        const QString family = QString::fromLatin1(face);
        font.setFamilies({ family });
        if (QFontDatabase::hasFamily(family) && hasExactColumns(font))
            return family;
    }
    return QString();
}

QFont AnswerSheet::fontAt(const QFont &learnerFont, int pixelSize) const
{
    QFont font = learnerFont;
    font.setPixelSize(pixelSize);
    font.setKerning(false); // a pair set closer would shift every column after it
    if (const QString family = exactFamily(learnerFont, pixelSize); !family.isEmpty())
        font.setFamilies({ family });
    return font;
}

// One font for both panes, so their lines keep the same height: the learner's
// size, or the largest smaller one at which the narrowest shown pane holds a
// line; a size with exact columns before one without.
void AnswerSheet::apply()
{
    if (!m_shown)
        return;
    const QFont learner = m_panes.first()->learnerFont();
    QList<SheetPane *> shown;
    std::ranges::copy_if(m_panes, std::back_inserter(shown),
        [](SheetPane *pane) { return pane->isVisibleTo(pane->parentWidget()); });
    if (shown.isEmpty())
        shown = m_panes;
    const auto fits = [&shown](const QFont &font) {
        return std::ranges::all_of(
            shown, [&font](SheetPane *pane) { return pane->roomNeeded(font) <= pane->room(); });
    };
    // A square is about the pixel size wide: no larger size can fit, so the
    // search starts there instead of at every size down from the learner's.
    const int narrowest = std::ranges::min(shown, {}, &SheetPane::room)->room();
    const int largest = std::max(SmallestPixelSize,
        std::min(QFontInfo(learner).pixelSize(), narrowest / SheetColumns::FullWidthColumns + 1));
    m_font = fontAt(learner, SmallestPixelSize);
    [&] {
        for (const bool exactOnly : { true, false })
            for (int size = largest; size >= SmallestPixelSize; --size)
                if (QFont font = fontAt(learner, size);
                    fits(font) && (!exactOnly || hasExactColumns(font))) {
                    m_font = font;
                    return;
                }
    }();
    for (SheetPane *pane : m_panes)
        pane->showSheet(m_font);
}

bool AnswerSheet::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (m_shown
        && (type == QEvent::Resize || type == QEvent::ShowToParent || type == QEvent::HideToParent))
        apply();
    return QObject::eventFilter(watched, event);
}
