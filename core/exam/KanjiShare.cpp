#include "core/exam/KanjiShare.h"

#include "core/Rounding.h"

#include <QChar>
#include <QStringView>

namespace KanjiShare {

namespace {

bool isLineBreak(char32_t c)
{
    return c == U'\r' || c == U'\n';
}

bool isBlank(char32_t c)
{
    return c == U' ' || c == U'\t' || c == U'\u3000';
}

// 〆 (U+3006) belongs to the Common script, yet like 々 it stands for a kanji (締め).
bool isKanji(char32_t c)
{
    return QChar::script(c) == QChar::Script_Han || c == U'\u3006';
}

} // namespace

TextMeasure measure(const QString &text)
{
    TextMeasure m;
    for (const char32_t c : QStringView(text).toUcs4()) {
        if (isLineBreak(c))
            continue;
        ++m.length;
        if (isBlank(c))
            continue;
        ++m.counted;
        if (isKanji(c))
            ++m.kanji;
    }
    return m;
}

int percent(const TextMeasure &measure)
{
    if (measure.counted == 0)
        return 0;
    return roundHalfEven(100.0 * measure.kanji / measure.counted);
}

int minimumLength(int passMark)
{
    return (passMark * 4 + 2) / 3;
}

bool suits(const TextMeasure &measure, const ExamLevel &level)
{
    const int share = percent(measure);
    return share >= level.kanjiLow && share <= level.kanjiHigh
        && measure.length >= minimumLength(level.passMark);
}

QStringList suitedLevels(const TextMeasure &measure)
{
    const QList<ExamLevel> levels = ExamProfile::levels(0, 0);
    QStringList names;
    for (int i = 0; i < ExamProfile::WordProcessorCount; ++i) {
        if (suits(measure, levels[i]))
            names << levels[i].name;
    }
    return names;
}

QString caption(const QString &text)
{
    const TextMeasure m = measure(text);
    const QStringList levels = suitedLevels(m);
    const QString suited = levels.isEmpty() ? QStringLiteral("該当級なし")
                                            : levels.join(u'/') + QStringLiteral("向け");
    return QStringLiteral("漢字 %1% ・ %2").arg(percent(m)).arg(suited);
}

} // namespace KanjiShare
