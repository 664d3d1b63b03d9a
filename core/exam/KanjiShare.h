#pragma once

#include "core/exam/ExamProfile.h"

#include <QString>
#include <QStringList>

// How much of a practice text is kanji, and which 日本語ワープロ検定 levels (4級 to 1級)
// print texts like it: a level suits a text whose kanji share lies in the level's
// band and that is a third longer than the level's pass mark, so that a learner
// who passes does not run out of text within the ten minutes.
namespace KanjiShare {

struct TextMeasure
{
    int length = 0; // code points other than line breaks: what the learner types
    int counted = 0; // of those, the ones that are not blanks
    int kanji = 0; // of those, the ones of the Han script (漢, 々, 〇) and 〆
};

// Line breaks are CR and LF; blanks are the space, U+3000 and the tab. A
// surrogate pair is one code point.
TextMeasure measure(const QString &text);

// kanji ÷ counted in whole percent, halves to the even neighbour; 0 for a text
// without counted characters.
int percent(const TextMeasure &measure);

// ⌈passMark × 4/3⌉.
int minimumLength(int passMark);

// The whole percent lies within the level's band, ends included, and the text
// has at least minimumLength(level.passMark) characters.
bool suits(const TextMeasure &measure, const ExamLevel &level);

// The names of the levels 4級 to 1級 that suit the text, in that order.
QStringList suitedLevels(const TextMeasure &measure);

// "漢字 27% ・ 準2級/2級向け", or "漢字 12% ・ 該当級なし" when no level suits.
QString caption(const QString &text);

} // namespace KanjiShare
