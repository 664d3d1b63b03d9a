#pragma once

#include "core/exam/ExamAlignmentMethods.h"

#include <algorithm>
#include <climits>

// The furthest-reaching diagonals, shared by the method that aligns with them
// and the pass that picks the one canonical alignment among the best.
namespace ExamAlignmentMethods {

// How a run on a diagonal starts: a position reached by one more error from
// the previous level, or (at the practice text's end) the same position kept.
struct Move
{
    int typedPos = -1; // -1: the diagonal cannot be reached
    int fromDiagonal = 0;
    bool edit = true;
    Step step = Step::Substitution;
};

// Diagonal k holds the points where practice position − typed position = k.
// For each error count d and diagonal, the furthest typed position reached with
// at most d errors. Level d keeps diagonals −d−1..d+1 from index d² + 2d on, the
// outer two always unreachable so that the next level needs no range checks.
class Frontier
{
public:
    Frontier(Text practice, Text typed, int errorLimit)
        : m_practice(practice)
        , m_typed(typed)
        , m_n(int(practice.size()))
        , m_m(int(typed.size()))
    {
        // Room for the levels up front: growing by copies costs more than the levels.
        const std::size_t levels = std::size_t(std::clamp(errorLimit, 0, std::min(m_m, 4096))) + 2;
        m_reach.reserve(levels * levels);
        m_reach = { -1, slide(0, 0), -1 };
    }

    int at(int d, int k) const
    {
        return k < -d || k > d
            ? -1
            : m_reach[std::size_t(d) * std::size_t(d + 2) + std::size_t(d + 1 + k)];
    }

    // The diagonal reaching the typed text's end with d errors that goes furthest
    // into the practice text, or INT_MIN when none does.
    int furthestEnd(int d) const
    {
        for (int k = d; k >= -d; --k) {
            if (at(d, k) == m_m)
                return k;
        }
        return INT_MIN;
    }

    // The furthest reach of level d from level d − 1 (entry() without the choice).
    void addLevel(int d)
    {
        const std::size_t previous = std::size_t(d - 1) * std::size_t(d + 1) + std::size_t(d);
        m_reach.push_back(-1);
        for (int k = -d; k <= d; ++k) {
            const int *before = m_reach.data() + previous + k; // level d − 1, diagonal k
            int t = before[0];
            if (t >= 0 && t < m_m && t + k < m_n)
                ++t;
            // Level d − 1 holds diagonals −d..d: the outer neighbours of its ends are unreachable.
            if (const int omitted = k > -d ? before[-1] : -1; omitted > t && omitted + k - 1 < m_n)
                t = omitted;
            if (const int inserted = k < d ? before[1] : -1;
                inserted >= 0 && inserted >= t && inserted < m_m)
                t = inserted + 1;
            m_reach.push_back(t < 0 ? -1 : slide(k, t));
        }
        m_reach.push_back(-1);
    }

    Script trace(int d, int k) const
    {
        const std::size_t practiceEnd = std::size_t(m_m + k);
        std::vector<Step> reversed;
        reversed.reserve(std::size_t(m_m) + std::size_t(d));
        int t = m_m;
        for (; d > 0; --d) {
            const Move move = entry(d, k);
            reversed.insert(reversed.end(), std::size_t(t - move.typedPos), Step::Match);
            if (move.edit)
                reversed.push_back(move.step);
            k = move.fromDiagonal;
            t = at(d - 1, k);
        }
        reversed.insert(reversed.end(), std::size_t(t), Step::Match);
        return Script { { reversed.rbegin(), reversed.rend() }, practiceEnd };
    }

private:
    // Matching characters cost nothing: follow the diagonal while they agree.
    int slide(int k, int t) const
    {
        while (t < m_m && t + k < m_n && m_typed[std::size_t(t)] == m_practice[std::size_t(t + k)])
            ++t;
        return t;
    }

    // The furthest start of level d's run on diagonal k. On ties an omission or
    // insertion before a substitution: the way back runs from the end, so the
    // substitution comes first in reading order (飴降り for 雨が降り: 雨→飴, が left out).
    Move entry(int d, int k) const
    {
        Move best;
        if (const int t = at(d - 1, k); t >= 0) {
            best = t < m_m && t + k < m_n ? Move { t + 1, k } : Move { t, k, false };
        }
        const auto better = [&best](int typedPos) {
            return typedPos > best.typedPos
                || (typedPos == best.typedPos && best.edit && best.step == Step::Substitution);
        };
        if (const int t = at(d - 1, k - 1); t >= 0 && t + k - 1 < m_n && better(t))
            best = Move { t, k - 1, true, Step::Omission };
        if (const int t = at(d - 1, k + 1); t >= 0 && t < m_m && better(t + 1))
            best = Move { t + 1, k + 1, true, Step::Insertion };
        return best;
    }

    Text m_practice;
    Text m_typed;
    int m_n;
    int m_m;
    std::vector<int> m_reach;
};

} // namespace ExamAlignmentMethods
