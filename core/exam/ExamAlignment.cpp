#include "core/exam/ExamAlignment.h"

#include "core/exam/ExamAlignmentMethods.h"

#include <algorithm>
#include <cmath>

using namespace ExamAlignmentMethods;

namespace {

// A text's code points and where each starts in UTF-16 (one entry more: the
// length), so errors found between code points are placed in the QString.
struct CodePoints
{
    std::vector<char32_t> codes;
    std::vector<qsizetype> starts;
};

CodePoints toCodePoints(const QString &text)
{
    CodePoints out;
    out.codes.reserve(std::size_t(text.size()));
    out.starts.reserve(std::size_t(text.size()) + 1);
    const char16_t *units = reinterpret_cast<const char16_t *>(text.utf16());
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size;) {
        out.starts.push_back(i);
        const char16_t unit = units[i];
        // A lone surrogate stays a character of its own rather than being dropped.
        if (QChar::isHighSurrogate(unit) && i + 1 < size && QChar::isLowSurrogate(units[i + 1])) {
            out.codes.push_back(QChar::surrogateToUcs4(unit, units[i + 1]));
            i += 2;
        } else {
            out.codes.push_back(unit);
            ++i;
        }
    }
    out.starts.push_back(size);
    return out;
}

ExamAlignment::Error error(ExamAlignment::ErrorKind kind, const CodePoints &typed, std::size_t t,
    const CodePoints &practice, std::size_t p)
{
    ExamAlignment::Error e;
    e.kind = kind;
    e.typedPos = typed.starts[t];
    if (kind != ExamAlignment::ErrorKind::Omission)
        e.typedLength = typed.starts[t + 1] - e.typedPos;
    e.practicePos = practice.starts[p];
    if (kind != ExamAlignment::ErrorKind::Insertion)
        e.practiceLength = practice.starts[p + 1] - e.practicePos;
    return e;
}

ExamAlignment::Result toResult(
    const Script &script, const CodePoints &practice, const CodePoints &typed)
{
    using Kind = ExamAlignment::ErrorKind;
    ExamAlignment::Result result;
    std::size_t p = 0;
    std::size_t t = 0;
    for (const Step step : script.steps) {
        switch (step) {
        case Step::Match:
            ++p;
            ++t;
            break;
        case Step::Substitution:
            result.errors.append(error(Kind::Substitution, typed, t++, practice, p++));
            ++result.substitutions;
            break;
        case Step::Omission:
            result.errors.append(error(Kind::Omission, typed, t, practice, p++));
            ++result.omissions;
            break;
        case Step::Insertion:
            result.errors.append(error(Kind::Insertion, typed, t++, practice, p));
            ++result.insertions;
            break;
        }
    }
    result.practiceReached = practice.starts[p];
    return result;
}

// Few errors: the diagonals are fastest and exact. Many: their cost grows with
// the square of the errors, so past a limit set by the texts' size (where they
// would cost about a third of the table) the bit-parallel table takes over.
Script alignExactly(Text practice, Text typed)
{
    const double words = double(practice.size()) * double((typed.size() + 63) / 64);
    const int limit = int(std::clamp(std::sqrt(words) / 3, 16.0, double(MostDiagonalErrors)));
    if (std::optional<Script> script = byDiagonals(practice, typed, limit))
        return std::move(*script);
    return byBitVectors(practice, typed);
}

} // namespace

namespace ExamAlignmentMethods {

Script align(Text practiceText, Text typed, const Limits &limits)
{
    // Past twice the typed length a prefix costs more errors than the empty one.
    const Text practice = practiceText.first(std::min(practiceText.size(), 2 * typed.size()));
    if (double(practice.size()) * double((typed.size() + 63) / 64) <= limits.wholeTableWords)
        return canonical(practice, typed, alignExactly(practice, typed), limits);
    if (std::optional<Script> script = byDiagonals(practice, typed, limits.diagonalErrors))
        return canonical(practice, typed, *script, limits);
    // Typing this long and this far from the text (a pasted book) is no exam:
    // each piece of the typed text is aligned against the practice text from
    // where the previous piece ended. Time and memory stay in line with the
    // length, but the count is no longer sure to be the fewest: a piece may end
    // further into the practice text than the best alignment of the whole would.
    Script whole;
    const std::size_t pieceLength = std::max<std::size_t>(limits.pieceLength, 1);
    for (std::size_t t = 0; t < typed.size(); t += pieceLength) {
        const Text piece = typed.subspan(t, std::min(pieceLength, typed.size() - t));
        const Text rest = practice.subspan(whole.practiceEnd);
        const Script part
            = alignExactly(rest.first(std::min(rest.size(), 2 * piece.size())), piece);
        whole.steps.insert(whole.steps.end(), part.steps.begin(), part.steps.end());
        whole.practiceEnd += part.practiceEnd;
    }
    return canonical(practice, typed, whole, limits);
}

} // namespace ExamAlignmentMethods

struct ExamAlignment::Prepared
{
    QString text;
    CodePoints practice;
};

ExamAlignment::ExamAlignment()
    : d(std::make_unique<Prepared>())
{
    d->practice = toCodePoints(QString());
}

ExamAlignment::~ExamAlignment() = default;

void ExamAlignment::setPracticeText(const QString &practice)
{
    d->text = practice;
    d->practice = toCodePoints(practice);
}

QString ExamAlignment::practiceText() const
{
    return d->text;
}

ExamAlignment::Result ExamAlignment::align(const QString &typed) const
{
    const CodePoints typedPoints = toCodePoints(typed);
    const Text practice(d->practice.codes);
    const Text typedText(typedPoints.codes);
    return toResult(ExamAlignmentMethods::align(practice, typedText), d->practice, typedPoints);
}
