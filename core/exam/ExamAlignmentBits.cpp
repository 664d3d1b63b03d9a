#include "core/exam/ExamAlignmentMethods.h"

#include <algorithm>
#include <array>
#include <unordered_map>

namespace ExamAlignmentMethods {
namespace {

using Word = std::uint64_t;
constexpr std::size_t WordBits = 64;
constexpr Word AllOnes = ~Word(0);

// Every this many columns each band's column is kept too, so the way back
// recomputes a short stretch of a band rather than the band from its start.
constexpr std::size_t MarkEvery = 256;

// The table of distances (typed prefix × practice prefix) is swept in bands of
// 64 typed characters, one word per practice character: a band's column is two
// words of vertical differences (+1 / −1 bits), advanced one practice character
// at a time (Myers 1999, Hyyrö 2001). Between bands only the row of horizontal
// differences crosses, so that row is what is kept to come back.
struct Column
{
    Word plusDown = AllOnes; // distance grows by one from the row above
    Word minusDown = 0;
    Word plusAcross = 0; // distance grows by one from the column before
    Word minusAcross = 0;
};

// A row of horizontal differences (+1, 0 or −1) along the practice text.
struct Row
{
    std::vector<Word> plus;
    std::vector<Word> minus;

    explicit Row(std::size_t columns = 0)
        : plus(columns / WordBits + 1)
        , minus(columns / WordBits + 1)
    { }
    int at(std::size_t j) const
    {
        const Word bit = Word(1) << (j % WordBits);
        return (plus[j / WordBits] & bit ? 1 : 0) - (minus[j / WordBits] & bit ? 1 : 0);
    }
};

int bitAt(Word plus, Word minus, std::size_t r)
{
    return int((plus >> r) & 1) - int((minus >> r) & 1);
}

// One practice character more for one band: `eq` has the band's rows whose
// typed character is that one, (hPlus, hMinus) the difference entering at the
// band's top. Leaves the new column's differences in c.
inline void advance(Column &c, Word eq, Word hPlus, Word hMinus)
{
    const Word xDown = eq | c.minusDown;
    const Word eqIn = eq | hMinus;
    const Word xAcross = (((eqIn & c.plusDown) + c.plusDown) ^ c.plusDown) | eqIn;
    c.plusAcross = c.minusDown | ~(xAcross | c.plusDown);
    c.minusAcross = c.plusDown & xAcross;
    const Word plusShifted = (c.plusAcross << 1) | hPlus;
    const Word minusShifted = (c.minusAcross << 1) | hMinus;
    c.plusDown = minusShifted | ~(xDown | plusShifted);
    c.minusDown = plusShifted & xDown;
}

class BitTable
{
public:
    BitTable(Text practice, Text typed, std::size_t rowBudget)
        : m_practice(practice.first(std::min(practice.size(), 2 * typed.size())))
        , m_typed(typed)
        , m_bands((typed.size() + WordBits - 1) / WordBits)
    {
        // Characters become small numbers; practice characters never typed share 0.
        std::unordered_map<char32_t, std::uint32_t> numbers;
        m_typedSymbols.reserve(typed.size());
        for (const char32_t c : typed)
            m_typedSymbols.push_back(
                numbers.try_emplace(c, std::uint32_t(numbers.size() + 1)).first->second);
        m_practiceSymbols.reserve(m_practice.size());
        for (const char32_t c : m_practice) {
            const auto found = numbers.find(c);
            m_practiceSymbols.push_back(found == numbers.end() ? 0 : found->second);
        }
        m_matches.assign(numbers.size() + 1, { 0, 0 });
        const std::size_t rowBytes = 2 * sizeof(Word) * (m_practice.size() / WordBits + 1);
        m_keepEvery = std::max<std::size_t>(
            1, m_bands * rowBytes / std::max<std::size_t>(rowBudget, 1) + 1);
        m_marksPerBand = m_practice.size() / MarkEvery + 1;
        m_marks.resize(m_bands * m_marksPerBand);
    }

    Script align()
    {
        const auto [errors, end] = sweepAll();
        Script script { traceBack(errors, end), end };
        return script;
    }

private:
    // Advances band b over practice columns from+1..last, starting from column
    // `from` and the horizontal differences above the band (none: the table's
    // top row, growing by one a column). Writes what is asked: the band's bottom
    // row of differences (from 0 only), every column (columns[j - from]), the
    // marked columns.
    void sweep(std::size_t band, std::size_t from, std::size_t last, Column start, const Row *above,
        Row *below, Column *columns, bool mark)
    {
        const std::size_t rows = setMatches(band, 0, true);
        Column c = start;
        Column *marks = m_marks.data() + band * m_marksPerBand;
        for (std::size_t w = from / WordBits; w <= last / WordBits; ++w) {
            const Word inPlus = above ? above->plus[w] : AllOnes;
            const Word inMinus = above ? above->minus[w] : 0;
            Word outPlus = 0;
            Word outMinus = 0;
            const std::size_t end = std::min(last + 1, (w + 1) * WordBits);
            for (std::size_t j = std::max(from + 1, w * WordBits); j < end; ++j) {
                const std::size_t bit = j % WordBits;
                advance(c, m_matches[m_practiceSymbols[j - 1]][0], (inPlus >> bit) & 1,
                    (inMinus >> bit) & 1);
                outPlus |= ((c.plusAcross >> (rows - 1)) & 1) << bit;
                outMinus |= ((c.minusAcross >> (rows - 1)) & 1) << bit;
                if (columns)
                    columns[j - from] = c;
                if (mark && j % MarkEvery == 0)
                    marks[j / MarkEvery] = c;
            }
            if (below) {
                below->plus[w] = outPlus;
                below->minus[w] = outMinus;
            }
        }
        setMatches(band, 0, false);
    }

    // Bands b and b + 1 at once, the lower fed column by column by the upper,
    // so that their two chains of dependent steps overlap in the processor.
    void sweepPair(std::size_t band, const Row *above, Row &middle, Row &below)
    {
        setMatches(band, 0, true);
        const std::size_t lowerRows = setMatches(band + 1, 1, true);
        Column upper;
        Column lower;
        Column *upperMarks = m_marks.data() + band * m_marksPerBand;
        Column *lowerMarks = upperMarks + m_marksPerBand;
        const std::size_t last = m_practice.size();
        for (std::size_t w = 0; w <= last / WordBits; ++w) {
            const Word inPlus = above ? above->plus[w] : AllOnes;
            const Word inMinus = above ? above->minus[w] : 0;
            Word midPlus = 0;
            Word midMinus = 0;
            Word outPlus = 0;
            Word outMinus = 0;
            const std::size_t end = std::min(last + 1, (w + 1) * WordBits);
            for (std::size_t j = std::max<std::size_t>(1, w * WordBits); j < end; ++j) {
                const std::size_t bit = j % WordBits;
                const std::array<Word, 2> &eq = m_matches[m_practiceSymbols[j - 1]];
                advance(upper, eq[0], (inPlus >> bit) & 1, (inMinus >> bit) & 1);
                const Word hPlus = upper.plusAcross >> (WordBits - 1);
                const Word hMinus = upper.minusAcross >> (WordBits - 1);
                midPlus |= hPlus << bit;
                midMinus |= hMinus << bit;
                advance(lower, eq[1], hPlus, hMinus);
                outPlus |= ((lower.plusAcross >> (lowerRows - 1)) & 1) << bit;
                outMinus |= ((lower.minusAcross >> (lowerRows - 1)) & 1) << bit;
                if (j % MarkEvery == 0) {
                    upperMarks[j / MarkEvery] = upper;
                    lowerMarks[j / MarkEvery] = lower;
                }
            }
            middle.plus[w] = midPlus;
            middle.minus[w] = midMinus;
            below.plus[w] = outPlus;
            below.minus[w] = outMinus;
        }
        setMatches(band, 0, false);
        setMatches(band + 1, 1, false);
    }

    // Sets (or clears) the match bits of band b's rows in slot 0 or 1; returns its row count.
    std::size_t setMatches(std::size_t band, int slot, bool on)
    {
        const std::size_t first = band * WordBits;
        const std::size_t rows = std::min(WordBits, m_typed.size() - first);
        for (std::size_t r = 0; r < rows; ++r) {
            Word &bits = m_matches[m_typedSymbols[first + r]][std::size_t(slot)];
            bits = on ? bits | Word(1) << r : 0;
        }
        return rows;
    }

    // The bottom row of differences of band b, below the given row.
    Row bandBelow(std::size_t band, const Row *above, bool mark = false)
    {
        Row below(m_practice.size());
        sweep(band, 0, m_practice.size(), Column(), above, &below, nullptr, mark);
        return below;
    }

    // The fewest errors over all practice prefixes and the furthest prefix with them.
    std::pair<int, std::size_t> sweepAll()
    {
        m_kept.clear();
        Row above;
        for (std::size_t band = 0; band < m_bands;) {
            if (band % m_keepEvery == 0)
                m_kept.push_back(above);
            if (band + 1 == m_bands) {
                above = bandBelow(band, band == 0 ? nullptr : &above, true);
                break;
            }
            Row middle(m_practice.size());
            Row below(m_practice.size());
            sweepPair(band, band == 0 ? nullptr : &above, middle, below);
            if ((band + 1) % m_keepEvery == 0)
                m_kept.push_back(std::move(middle));
            above = std::move(below);
            band += 2;
        }
        int distance = int(m_typed.size());
        std::pair<int, std::size_t> best { distance, 0 };
        for (std::size_t j = 1; j <= m_practice.size(); ++j) {
            distance += above.at(j);
            if (distance <= best.first)
                best = { distance, j };
        }
        return best;
    }

    // The row of differences above band b: kept, or recomputed with the rest of
    // its group of bands (the way back visits the bands from the last one up).
    const Row *rowAbove(std::size_t band)
    {
        if (band == 0)
            return nullptr;
        const std::size_t group = band / m_keepEvery;
        if (m_keepEvery == 1)
            return &m_kept[group];
        if (m_groupRows.empty() || m_group != group) {
            m_group = group;
            m_groupRows.assign(1, m_kept[group]);
            for (std::size_t b = group * m_keepEvery; b < band; ++b)
                m_groupRows.push_back(bandBelow(b, b == 0 ? nullptr : &m_groupRows.back()));
        }
        return &m_groupRows[band - group * m_keepEvery];
    }

    std::vector<Step> traceBack(int distance, std::size_t j);

    Text m_practice;
    Text m_typed;
    std::size_t m_bands;
    std::vector<std::uint32_t> m_typedSymbols;
    std::vector<std::uint32_t> m_practiceSymbols;
    std::vector<std::array<Word, 2>> m_matches; // per character number, for the bands in hand
    std::size_t m_keepEvery = 1;
    std::vector<Row> m_kept; // the row above every m_keepEvery-th band
    std::size_t m_group = 0;
    std::vector<Row> m_groupRows; // the rows above the bands of one group
    std::size_t m_marksPerBand = 1;
    std::vector<Column> m_marks; // each band's column at every MarkEvery-th column
};

// From the end cell back to the origin, a band at a time: the band's columns
// are recomputed from the kept column before the path, and the path steps to
// the neighbour that explains the distance: a match first, then an insertion
// or omission before a substitution, so that read forwards the substitution
// comes first (飴降り for 雨が降り: 雨→飴, が left out).
std::vector<Step> BitTable::traceBack(int distance, std::size_t j)
{
    std::vector<Step> reversed;
    reversed.reserve(m_typed.size() + std::size_t(distance));
    std::vector<Column> columns(MarkEvery + 1);
    std::size_t i = m_typed.size();
    for (std::size_t band = m_bands; band-- > 0 && j > 0;) {
        const Row *above = rowAbove(band);
        const std::size_t top = band * WordBits;
        while (i > top && j > 0) {
            // The stretch of the band from the mark before j.
            const std::size_t from = (j - 1) / MarkEvery * MarkEvery;
            columns[0] = from == 0 ? Column() : m_marks[band * m_marksPerBand + from / MarkEvery];
            sweep(band, from, j, columns[0], above, nullptr, columns.data(), false);
            for (; i > top && j > from;) {
                const Column &here = columns[j - from];
                const Column &before = columns[j - from - 1];
                const std::size_t r = i - top - 1;
                const int up = distance - bitAt(here.plusDown, here.minusDown, r);
                const int left = distance - bitAt(here.plusAcross, here.minusAcross, r);
                const int diagonal = left - bitAt(before.plusDown, before.minusDown, r);
                const bool same = m_typed[i - 1] == m_practice[j - 1];
                if (same && diagonal == distance) {
                    reversed.push_back(Step::Match);
                    --i;
                    --j;
                } else if (up == distance - 1) {
                    reversed.push_back(Step::Insertion);
                    --i;
                } else if (left == distance - 1) {
                    reversed.push_back(Step::Omission);
                    --j;
                } else {
                    reversed.push_back(Step::Substitution);
                    --i;
                    --j;
                }
                distance = reversed.back() == Step::Match ? distance : distance - 1;
            }
        }
    }
    reversed.insert(reversed.end(), i, Step::Insertion);
    reversed.insert(reversed.end(), j, Step::Omission);
    return { reversed.rbegin(), reversed.rend() };
}

} // namespace

Script byBitVectors(Text practice, Text typed, std::size_t rowBudget)
{
    if (typed.empty())
        return {};
    return BitTable(practice, typed, rowBudget).align();
}

} // namespace ExamAlignmentMethods
