#include "core/exam/WeakPoints.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace WeakPoints {

namespace {
using ErrorKind = ExamAlignment::ErrorKind;

// A word reaches no further than the context a kept run shows around an error.
constexpr qsizetype Reach = ExamRunDetail::ContextLength;
constexpr int OkuriganaLength = 2;

enum class Script { Kanji, Hiragana, Katakana, Mark, Alnum, Other };

Script scriptOf(QChar c)
{
    const char16_t u = c.unicode();
    if (u == 0x30FC || u == 0xFF70) // ー, ｰ
        return Script::Mark;
    if (u == 0x3005 || u == 0x3006 || u == 0x30F6 || (u >= 0x3400 && u <= 0x4DBF)
        || (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF) || c.isSurrogate())
        return Script::Kanji; // a character beyond the BMP is almost always a kanji here
    if ((u >= 0x3041 && u <= 0x3096) || u == 0x309D || u == 0x309E)
        return Script::Hiragana;
    if ((u >= 0x30A1 && u <= 0x30FA) || u == 0x30FD || u == 0x30FE || (u >= 0xFF66 && u <= 0xFF9F))
        return Script::Katakana;
    if (c.isLetterOrNumber() && (u < 0x80 || (u >= 0xFF10 && u <= 0xFF5A)))
        return Script::Alnum;
    return Script::Other;
}

bool isKana(Script s)
{
    return s == Script::Katakana || s == Script::Mark;
}

bool isParticle(QChar c)
{
    return QStringView(u"をはがのへもやにと").contains(c);
}

bool isOkurigana(QChar c)
{
    return scriptOf(c) == Script::Hiragana && !isParticle(c);
}

bool hasScript(QStringView text, Script script)
{
    return std::any_of(
        text.begin(), text.end(), [script](QChar c) { return scriptOf(c) == script; });
}

// Where a word that holds [start, end) of the text begins, going no lower than floor.
qsizetype wordStart(QStringView text, qsizetype start, qsizetype floor)
{
    if (start >= text.size())
        return start;
    const auto inside = [&](qsizetype i) { return i >= floor && text[i] != u'\n'; };
    const auto over = [&](auto belongs) {
        while (inside(start - 1) && belongs(scriptOf(text[start - 1])))
            --start;
    };
    const Script edge = scriptOf(text[start]);
    if (edge == Script::Kanji) {
        over([](Script s) { return s == Script::Kanji; });
    } else if (isKana(edge)) {
        over(isKana);
    } else if (edge == Script::Alnum) {
        over([](Script s) { return s == Script::Alnum; });
    } else if (edge == Script::Hiragana) {
        qsizetype s = start;
        for (int n = 0; n < OkuriganaLength && inside(s - 1) && isOkurigana(text[s - 1]); ++n)
            --s;
        if (inside(s - 1) && scriptOf(text[s - 1]) == Script::Kanji) {
            start = s;
            over([](Script s) { return s == Script::Kanji; });
        }
    }
    return start;
}

// After a single kanji, up to two hiragana that are not particles.
qsizetype withOkurigana(QStringView text, qsizetype start, qsizetype end, qsizetype ceiling)
{
    qsizetype lastKanji = end - 1;
    while (lastKanji >= start && scriptOf(text[lastKanji]) != Script::Kanji)
        --lastKanji;
    if (lastKanji < start)
        return end;
    const bool single = lastKanji == start || scriptOf(text[lastKanji - 1]) != Script::Kanji;
    if (!single)
        return end;
    while (end < ceiling && end - lastKanji - 1 < OkuriganaLength && isOkurigana(text[end]))
        ++end;
    return end;
}

// Where the word of [start, end) ends, going no further than ceiling.
qsizetype wordEnd(QStringView text, qsizetype start, qsizetype end, qsizetype ceiling)
{
    ceiling = std::min(ceiling, text.size());
    if (end <= start || end > ceiling)
        return end;
    const auto over = [&](auto belongs) {
        while (end < ceiling && text[end] != u'\n' && belongs(scriptOf(text[end])))
            ++end;
    };
    const Script edge = scriptOf(text[end - 1]);
    if (edge == Script::Kanji) {
        over([](Script s) { return s == Script::Kanji; });
        return withOkurigana(text, start, end, ceiling);
    }
    if (edge == Script::Hiragana)
        return withOkurigana(text, start, end, ceiling);
    if (isKana(edge))
        over(isKana);
    else if (edge == Script::Alnum)
        over([](Script s) { return s == Script::Alnum; });
    return end;
}

// The core of a mistake in both texts.
struct Core
{
    qsizetype practiceStart, practiceEnd, typedStart, typedEnd;
};

Core coreOf(const ExamRunDetail::Error &error)
{
    return { error.practicePos, error.practicePos + error.expected.size(), error.typedPos,
        error.typedPos + error.typed.size() };
}

Kind kindOf(QStringView expected, QStringView typed)
{
    if (typed.isEmpty())
        return Kind::Omission;
    if (expected.isEmpty())
        return Kind::Insertion;
    if (expected.toString().normalized(QString::NormalizationForm_KC)
        == typed.toString().normalized(QString::NormalizationForm_KC))
        return Kind::Width;
    const bool allHiragana = std::all_of(typed.begin(), typed.end(),
        [](QChar c) { return scriptOf(c) == Script::Hiragana || scriptOf(c) == Script::Mark; });
    if (allHiragana && hasScript(typed, Script::Hiragana)
        && (hasScript(expected, Script::Kanji) || hasScript(expected, Script::Katakana)))
        return Kind::Hiragana;
    if (hasScript(expected, Script::Kanji) || hasScript(typed, Script::Kanji))
        return Kind::Conversion;
    return Kind::Typo;
}

// How many characters the texts share going left from (p, t), not below the floors.
qsizetype sharedBefore(QStringView practice, QStringView typed, Core core, qsizetype practiceFloor,
    qsizetype typedFloor)
{
    qsizetype n = 0;
    while (n < Reach && core.practiceStart - n - 1 >= practiceFloor
        && core.typedStart - n - 1 >= typedFloor
        && practice[core.practiceStart - n - 1] == typed[core.typedStart - n - 1])
        ++n;
    return n;
}

qsizetype sharedAfter(QStringView practice, QStringView typed, Core core)
{
    qsizetype n = 0;
    while (n < Reach && core.practiceEnd + n < practice.size() && core.typedEnd + n < typed.size()
        && practice[core.practiceEnd + n] == typed[core.typedEnd + n])
        ++n;
    return n;
}

bool touches(const Core &core, const ExamRunDetail::Error &next)
{
    return next.practicePos == core.practiceEnd && next.typedPos == core.typedEnd;
}

Mistake widened(QStringView practice, QStringView typed, Core core, const Core &previous)
{
    Mistake mistake;
    const QStringView expectedCore
        = practice.sliced(core.practiceStart, core.practiceEnd - core.practiceStart);
    const QStringView typedCore = typed.sliced(core.typedStart, core.typedEnd - core.typedStart);
    mistake.kind = kindOf(expectedCore, typedCore);
    if (mistake.kind == Kind::Conversion || mistake.kind == Kind::Hiragana
        || mistake.kind == Kind::Typo) {
        const qsizetype left = core.practiceStart
            - sharedBefore(practice, typed, core, previous.practiceEnd, previous.typedEnd);
        const qsizetype start = wordStart(practice, core.practiceStart, left);
        const qsizetype end = wordEnd(practice, start, core.practiceEnd,
            core.practiceEnd + sharedAfter(practice, typed, core));
        core.typedStart -= core.practiceStart - start;
        core.typedEnd += end - core.practiceEnd;
        core.practiceStart = start;
        core.practiceEnd = end;
    }
    mistake.expected
        = practice.sliced(core.practiceStart, core.practiceEnd - core.practiceStart).toString();
    mistake.typed = typed.sliced(core.typedStart, core.typedEnd - core.typedStart).toString();
    return mistake;
}

// A kept file is read as it is: positions that do not fit the texts are not followed.
bool fits(const ExamRunDetail &run, const ExamRunDetail::Error &error)
{
    const Core core = coreOf(error);
    return core.practiceStart >= 0 && core.practiceEnd <= run.practiceReached.size()
        && core.typedStart >= 0 && core.typedEnd <= run.typed.size();
}
} // namespace

QString kindName(Kind kind)
{
    switch (kind) {
    case Kind::Conversion:
        return QStringLiteral("誤変換");
    case Kind::Hiragana:
        return QStringLiteral("ひらがなのまま");
    case Kind::Width:
        return QStringLiteral("全角半角");
    case Kind::Typo:
        return QStringLiteral("誤字");
    case Kind::Omission:
        return QStringLiteral("脱字");
    case Kind::Insertion:
        return QStringLiteral("余字");
    }
    return {};
}

int Row::runCount() const
{
    QSet<QString> runs;
    for (const Occurrence &occurrence : occurrences)
        runs.insert(occurrence.fileName);
    return int(runs.size());
}

QList<Mistake> mistakes(const ExamRunDetail &run)
{
    const QStringView practice(run.practiceReached);
    const QStringView typed(run.typed);
    const QList<ExamRunDetail::Error> &errors = run.errors;
    QList<Mistake> found;
    Core previous { 0, 0, 0, 0 };
    qsizetype i = 0;
    while (i < errors.size()) {
        if (!fits(run, errors[i])) {
            ++i;
            continue;
        }
        const int first = int(i);
        Core core = coreOf(errors[i++]);
        const bool widens = errors[first].kind == ErrorKind::Substitution;
        while (i < errors.size() && fits(run, errors[i])) {
            const bool inWord = widens
                && errors[i].practicePos < wordEnd(practice,
                       wordStart(practice, core.practiceStart, previous.practiceEnd),
                       core.practiceEnd, core.practiceEnd + Reach);
            if (!touches(core, errors[i]) && !inWord)
                break;
            const Core next = coreOf(errors[i++]);
            core.practiceEnd = next.practiceEnd;
            core.typedEnd = next.typedEnd;
        }
        Mistake mistake = widened(practice, typed, core, previous);
        mistake.errorIndex = first;
        found.append(mistake);
        previous = core;
    }
    return found;
}

RunMistakes runMistakes(const KeptRun &run)
{
    return { run.fileName, run.detail.result.when, mistakes(run.detail) };
}

QList<Row> group(const QList<RunMistakes> &runs)
{
    QList<Row> rows;
    addTo(rows, runs);
    return rows;
}

void addTo(QList<Row> &rows, const QList<RunMistakes> &runs)
{
    const auto keyOf = [](Kind kind, const QString &expected, const QString &typed) {
        return QString::number(int(kind)) + QChar(0x1F) + expected + QChar(0x1F) + typed;
    };
    QHash<QString, qsizetype> index;
    for (qsizetype i = 0; i < rows.size(); ++i)
        index.insert(keyOf(rows[i].kind, rows[i].expected, rows[i].typed), i);
    for (const RunMistakes &run : runs) {
        for (const Mistake &mistake : run.mistakes) {
            const QString key = keyOf(mistake.kind, mistake.expected, mistake.typed);
            auto at = index.constFind(key);
            if (at == index.constEnd()) {
                at = index.insert(key, rows.size());
                rows.append({ mistake.kind, mistake.expected, mistake.typed, 0, {}, {} });
            }
            Row &row = rows[*at];
            ++row.count;
            if (!row.last.isValid() || run.when > row.last)
                row.last = run.when;
            row.occurrences.append({ run.fileName, mistake.errorIndex, run.when });
        }
    }
    std::stable_sort(rows.begin(), rows.end(), [](const Row &a, const Row &b) {
        return a.count != b.count ? a.count > b.count : a.last > b.last;
    });
}

QString drillText(const QList<Row> &rows)
{
    QStringList lines;
    QSet<QString> seen;
    for (const Row &row : rows) {
        QString word = row.expected;
        word.remove(u'\n');
        if (word.isEmpty() || seen.contains(word))
            continue;
        seen.insert(word);
        lines.append(QStringList(DrillRepeats, word).join(u'\u3000'));
    }
    return lines.isEmpty() ? QString() : lines.join(u'\n') + u'\n';
}

} // namespace WeakPoints
