#pragma once

#include "core/exam/ExamRunDetail.h"

#include <QDateTime>
#include <QList>
#include <QString>

// The mistakes of the kept runs, grouped as a learner thinks of them: one row
// per distinct mistake, with how often it was made and in which runs.
//
// A mistake is one block of errors of a run, joined with the blocks right
// after it that touch it (nothing between them in either text) and, when it
// starts with a 誤字, with the blocks inside the word around it. Its core is
// the practice text and the typed text from its first block to its last.
//
// The word around a core is found in the practice text, over characters the
// two texts share (so the typed word has the same characters around its core):
// - a kanji at an edge goes on over kanji (々〆ヶ count as kanji); after the
//   word's last kanji, when its run of kanji is one character long, over up to
//   two hiragana of okurigana (遅れて), never over a particle (をはがのへもやにと);
// - a katakana or ー at an edge goes on over katakana and ー (half-width too);
// - a hiragana at the left edge goes on over up to two hiragana (not
//   particles) only when a kanji comes before them, then over that kanji run
//   (the core is okurigana); at the right edge only as okurigana, as above;
// - a letter or digit at an edge goes on over letters and digits;
// - nothing else widens a word, and no word crosses a line.
//
// Its kind, decided on the core (the first rule that holds):
// - 脱字: nothing typed; the row is the text left out.
// - 余字: nothing in the practice text; the row is the text added.
// - 全角半角: the two differ only in width (equal under NFKC: ２ for 2,
//   ｶﾅ for カナ); the row is the core itself, not widened.
// - ひらがなのまま: the typed core is all hiragana (ー allowed) and the practice
//   core has a kanji or katakana (ねずみ for ネズミ, ほーむ for ホーム).
// - 誤変換: either core has a kanji (発想 for 発送).
// - 誤字: any other wrong character (a kana or letter typo).
// Every kind but 脱字, 余字 and 全角半角 shows the word pair. Two mistakes are
// the same row when kind, 正 and 入力 are equal.
namespace WeakPoints {

enum class Kind { Conversion, Hiragana, Width, Typo, Omission, Insertion };
QString kindName(Kind kind);

// One mistake of one run: errorIndex is the index in the run's errors of its first block.
struct Mistake
{
    Kind kind = Kind::Typo;
    QString expected; // 正: the word as the practice text has it
    QString typed; // 入力: the word as typed
    int errorIndex = 0;
    bool operator==(const Mistake &) const = default;
};

struct KeptRun
{
    QString fileName; // in the runs folder
    ExamRunDetail detail;
};

// Where a row's mistake was made.
struct Occurrence
{
    QString fileName;
    int errorIndex = 0;
    QDateTime when;
};

struct Row
{
    Kind kind = Kind::Typo;
    QString expected;
    QString typed;
    int count = 0; // times made, across all runs
    QDateTime last; // the latest run it was made in
    QList<Occurrence> occurrences; // in the order the runs were given
    int runCount() const; // distinct runs
};

// The mistakes of one run, in text order.
QList<Mistake> mistakes(const ExamRunDetail &run);

// Each run's mistakes, already found, with the run's name and time.
struct RunMistakes
{
    QString fileName;
    QDateTime when;
    QList<Mistake> mistakes;
};
RunMistakes runMistakes(const KeptRun &run);

// One row per distinct mistake, the most often made first (then the latest).
QList<Row> group(const QList<RunMistakes> &runs);
// Adds the runs' mistakes to rows already grouped, and sorts them again.
void addTo(QList<Row> &rows, const QList<RunMistakes> &runs);
inline QList<Row> group(const QList<KeptRun> &runs)
{
    QList<RunMistakes> found;
    found.reserve(runs.size());
    for (const KeptRun &run : runs)
        found.append(runMistakes(run));
    return group(found);
}

// A practice text to drill the given rows: each distinct word of 正, in the
// rows' order, on a line of its own typed three times with a full-width space
// between (発送　発送　発送); a line break inside a word is left out, and rows
// with no 正 (余字) give no line. Empty when no row has a word.
constexpr int DrillRepeats = 3;
QString drillText(const QList<Row> &rows);

} // namespace WeakPoints
