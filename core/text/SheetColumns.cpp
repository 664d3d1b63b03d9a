#include "core/text/SheetColumns.h"

#include <QChar>

#include <algorithm>
#include <iterator>

namespace {
struct Range
{
    char32_t first;
    char32_t last;
};

// Sorted, not overlapping. East Asian Wide and Fullwidth blocks, and the
// ambiguous-width symbols, Greek and Cyrillic of the Japanese character set,
// which Japanese text and fonts set in a full square.
constexpr Range FullWidth[] = {
    { 0x00A7, 0x00A8 }, // § ¨
    { 0x00B0, 0x00B1 }, // ° ±
    { 0x00B4, 0x00B4 }, // ´
    { 0x00B6, 0x00B6 }, // ¶
    { 0x00D7, 0x00D7 }, // ×
    { 0x00F7, 0x00F7 }, // ÷
    { 0x0391, 0x03C9 }, // Greek
    { 0x0401, 0x0451 }, // Cyrillic
    { 0x1100, 0x115F }, // Hangul leading consonants
    { 0x2010, 0x2027 }, // ‐ ― ‘ ’ “ ” † ‡ ‥ …
    { 0x2030, 0x203E }, // ‰ ′ ″ ※
    { 0x2100, 0x22FF }, // ℃ № Ⅰ ← ∀ ≠ and their kin
    { 0x2312, 0x2312 }, // ⌒
    { 0x2460, 0x27BF }, // ① ─ ■ ○ ★ ♪
    { 0x2E80, 0x303E }, // CJK radicals, punctuation 、。「」, the ideographic space
    { 0x3041, 0x33FF }, // kana, compatibility forms ㈱ ㎝
    { 0x3400, 0x4DBF }, // CJK extension A
    { 0x4E00, 0x9FFF }, // CJK ideographs
    { 0xA000, 0xA4CF }, // Yi
    { 0xAC00, 0xD7A3 }, // Hangul syllables
    { 0xF900, 0xFAFF }, // CJK compatibility ideographs
    { 0xFE30, 0xFE4F }, // CJK compatibility forms
    { 0xFF00, 0xFF60 }, // full-width forms Ａ ０ ！
    { 0xFFE0, 0xFFE6 }, // full-width signs ￥ ￠
    { 0x1F300, 0x1F64F }, // pictographs and emoji
    { 0x1F900, 0x1F9FF }, { 0x20000, 0x3FFFD }, // CJK extensions B and beyond
};

bool isFullWidth(char32_t character)
{
    const auto *after = std::upper_bound(std::begin(FullWidth), std::end(FullWidth), character,
        [](char32_t c, const Range &range) { return c < range.first; });
    return after != std::begin(FullWidth) && character <= std::prev(after)->last;
}

// Combining marks, variation selectors and joiners sit on the character before.
bool joinsPrevious(char32_t character)
{
    const QChar::Category category = QChar::category(character);
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing
        || category == QChar::Other_Format;
}
// A blank that does not fit stays at the line's end past the last column, as
// word processors and the panes' layout set it, and takes no square.
bool hangs(char32_t character)
{
    return QChar::isSpace(character) && QChar::decompositionTag(character) != QChar::NoBreak;
}
} // namespace

int SheetColumns::halfColumns(char32_t character)
{
    if (joinsPrevious(character))
        return 0;
    return isFullWidth(character) ? 2 : 1;
}

QList<qsizetype> SheetColumns::lineStarts(QStringView paragraph, int halfColumnsPerLine)
{
    QList<qsizetype> starts { 0 };
    int used = 0;
    for (qsizetype i = 0; i < paragraph.size();) {
        const QChar unit = paragraph.at(i);
        const bool pair = unit.isHighSurrogate() && i + 1 < paragraph.size()
            && paragraph.at(i + 1).isLowSurrogate();
        const char32_t character
            = pair ? QChar::surrogateToUcs4(unit, paragraph.at(i + 1)) : unit.unicode();
        const int width = halfColumns(character);
        i += pair ? 2 : 1;
        if (used > 0 && used + width > halfColumnsPerLine) {
            if (hangs(character))
                continue;
            starts << i - (pair ? 2 : 1);
            used = 0;
        }
        used += width;
    }
    return starts;
}
