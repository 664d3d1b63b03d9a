#include "ExamAlignmentMethods.h"

#include <algorithm>
#include <unordered_map>

namespace ExamAlignmentMethods {
namespace {

using Word = std::uint64_t;
constexpr std::size_t WordBits = 64;
constexpr Word AllOnes = ~Word(0);

// The boundary rows kept for the way back are limited to about this many bytes;
// beyond it only every few bands' boundary is kept and the rest recomputed.
constexpr std::size_t BoundaryBudget = std::size_t(32) << 20;

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

class BitTable
{
public:
    BitTable(Text practice, Text typed)
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
        m_matches.assign(numbers.size() + 1, 0);
        const std::size_t rowBytes = 2 * sizeof(Word) * (m_practice.size() / WordBits + 1);
        m_keepEvery = std::max<std::size_t>(1, m_bands * rowBytes / BoundaryBudget + 1);
    }

    Script align()
    {
        const auto [errors, end] = sweepAll();
        Script script { traceBack(errors, end), end };
        return script;
    }

private:
    // Advances band b over practice columns 1..last from the horizontal
    // differences above it, handing each column to visit(j, column).
    template <typename Visit>
    void sweep(std::size_t band, std::size_t last, const Row *above, Visit &&visit)
    {
        const std::size_t first = band * WordBits;
        const std::size_t rows = std::min(WordBits, m_typed.size() - first);
        for (std::size_t r = 0; r < rows; ++r)
            m_matches[m_typedSymbols[first + r]] |= Word(1) << r;
        Column c;
        for (std::size_t j = 1; j <= last; ++j) {
            // The top row of the table grows by one per practice character.
            const int in = above ? above->at(j) : 1;
            Word eq = m_matches[m_practiceSymbols[j - 1]];
            const Word xDown = eq | c.minusDown;
            if (in < 0)
                eq |= 1;
            const Word xAcross = (((eq & c.plusDown) + c.plusDown) ^ c.plusDown) | eq;
            c.plusAcross = c.minusDown | ~(xAcross | c.plusDown);
            c.minusAcross = c.plusDown & xAcross;
            const Word plusShifted = (c.plusAcross << 1) | Word(in > 0);
            const Word minusShifted = (c.minusAcross << 1) | Word(in < 0);
            c.plusDown = minusShifted | ~(xDown | plusShifted);
            c.minusDown = plusShifted & xDown;
            visit(j, c);
        }
        for (std::size_t r = 0; r < rows; ++r)
            m_matches[m_typedSymbols[first + r]] = 0;
    }

    // The bottom row of differences of band b, below the given row.
    Row bandBelow(std::size_t band, const Row *above)
    {
        Row below(m_practice.size());
        const std::size_t lastRow = std::min(WordBits, m_typed.size() - band * WordBits) - 1;
        sweep(band, m_practice.size(), above, [&](std::size_t j, const Column &c) {
            below.plus[j / WordBits] |= ((c.plusAcross >> lastRow) & 1) << (j % WordBits);
            below.minus[j / WordBits] |= ((c.minusAcross >> lastRow) & 1) << (j % WordBits);
        });
        return below;
    }

    // The fewest errors over all practice prefixes and the furthest prefix with them.
    std::pair<int, std::size_t> sweepAll()
    {
        m_kept.clear();
        Row above;
        for (std::size_t band = 0; band < m_bands; ++band) {
            if (band % m_keepEvery == 0)
                m_kept.push_back(above);
            above = bandBelow(band, band == 0 ? nullptr : &above);
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
            for (std::size_t b = group * m_keepEvery; b + 1 < band; ++b)
                m_groupRows.push_back(bandBelow(b, b == 0 ? nullptr : &m_groupRows.back()));
        }
        const std::size_t inGroup = band - group * m_keepEvery;
        return inGroup == 0 && band % m_keepEvery == 0 ? &m_groupRows[0] : &m_groupRows[inGroup];
    }

    std::vector<Step> traceBack(int distance, std::size_t j);

    Text m_practice;
    Text m_typed;
    std::size_t m_bands;
    std::vector<std::uint32_t> m_typedSymbols;
    std::vector<std::uint32_t> m_practiceSymbols;
    std::vector<Word> m_matches; // per character number, for the band in hand
    std::size_t m_keepEvery = 1;
    std::vector<Row> m_kept; // the row above every m_keepEvery-th band
    std::size_t m_group = 0;
    std::vector<Row> m_groupRows; // the rows above the bands of one group
};

// From the end cell back to the origin, a band at a time: each band's columns
// are recomputed up to where the path enters it, and the path steps to the
// neighbour that explains the distance, a match or substitution first.
std::vector<Step> BitTable::traceBack(int distance, std::size_t j)
{
    std::vector<Step> reversed;
    reversed.reserve(m_typed.size() + std::size_t(distance));
    std::vector<Column> columns(j + 1);
    std::size_t i = m_typed.size();
    for (std::size_t band = m_bands; band-- > 0 && j > 0;) {
        sweep(band, j, rowAbove(band), [&](std::size_t k, const Column &c) { columns[k] = c; });
        const std::size_t top = band * WordBits;
        for (; i > top && j > 0;) {
            const std::size_t r = i - top - 1;
            const int up = distance - bitAt(columns[j].plusDown, columns[j].minusDown, r);
            const int left = distance - bitAt(columns[j].plusAcross, columns[j].minusAcross, r);
            const int diagonal = left - bitAt(columns[j - 1].plusDown, columns[j - 1].minusDown, r);
            const bool same = m_typed[i - 1] == m_practice[j - 1];
            if (diagonal == distance - (same ? 0 : 1)) {
                reversed.push_back(same ? Step::Match : Step::Substitution);
                --i;
                --j;
            } else if (up == distance - 1) {
                reversed.push_back(Step::Insertion);
                --i;
            } else {
                reversed.push_back(Step::Omission);
                --j;
            }
            distance = reversed.back() == Step::Match ? distance : distance - 1;
        }
    }
    reversed.insert(reversed.end(), i, Step::Insertion);
    reversed.insert(reversed.end(), j, Step::Omission);
    return { reversed.rbegin(), reversed.rend() };
}

} // namespace

Script byBitVectors(Text practice, Text typed)
{
    if (typed.empty())
        return {};
    return BitTable(practice, typed).align();
}

} // namespace ExamAlignmentMethods
