#include "core/exam/ExamAlignmentFrontier.h"

#include <array>
#include <cstdlib>
#include <optional>

// Many alignments share the fewest errors (a skipped line of 106 characters can
// be "left out" in hundreds of ways when its characters recur nearby), and each
// method would return whichever its search met first. This pass picks one by a
// rule on the texts alone: fewest errors, then fewest runs of errors, then the
// first in reading order with match < substitution < omission < insertion.
namespace ExamAlignmentMethods {
namespace {

// (errors, runs) compared as a pair: errors in the high half.
using Cost = std::uint64_t;
constexpr Cost OneError = Cost(1) << 32;
constexpr Cost Unreached = ~Cost(0);
constexpr std::size_t None = ~std::size_t(0);
// Windows taken in together at most, each choice costing the whole again.
constexpr std::size_t MostMerged = 16;

// The places (typed position t, practice position p) through which some
// alignment with the fewest errors passes; row t's practice positions ascend
// in pos[rowStart[t] .. rowStart[t + 1]). Every best alignment stays on them,
// so the choice among the best needs nothing else.
struct Places
{
    std::vector<std::size_t> rowStart;
    std::vector<int> pos;

    std::size_t find(int t, int p) const
    {
        const auto first = pos.begin() + std::ptrdiff_t(rowStart[std::size_t(t)]);
        const auto last = pos.begin() + std::ptrdiff_t(rowStart[std::size_t(t) + 1]);
        const auto it = std::lower_bound(first, last, p);
        return it != last && *it == p ? std::size_t(it - pos.begin()) : None;
    }
};

// One diagonal's stretch of places, typed positions first..last.
struct Stretch
{
    int k = 0;
    int first = 0;
    int last = -1;
};

// Along a diagonal the errors before a place never fall, nor do those after it
// rise: so the places with at most d errors before form a stretch ending at the
// forward frontier of level d, those with at most e after one starting at the
// backward frontier of level e, and a place is on a best alignment when both
// hold for some d + e equal to the fewest errors.
std::optional<std::vector<Stretch>> bestStretches(
    Text practice, Text typed, int errorLimit, std::size_t cellLimit, int hint, std::size_t &cells)
{
    const int n = int(practice.size());
    const int m = int(typed.size());
    const int kEnd = n - m;
    if (std::abs(kEnd) > errorLimit)
        return std::nullopt;
    Frontier forward(practice, typed, std::min(hint, errorLimit));
    int errors = 0;
    while (forward.at(errors, kEnd) != m) {
        if (errors >= errorLimit)
            return std::nullopt;
        forward.addLevel(++errors);
    }
    const std::vector<char32_t> practiceBack(practice.rbegin(), practice.rend());
    const std::vector<char32_t> typedBack(typed.rbegin(), typed.rend());
    Frontier backward(practiceBack, typedBack, errors);
    for (int d = 1; d <= errors; ++d)
        backward.addLevel(d);

    std::vector<Stretch> stretches;
    cells = 0;
    const auto keep = [&](const Stretch &s) {
        if (s.last < s.first)
            return true;
        stretches.push_back(s);
        cells += std::size_t(s.last - s.first + 1);
        return cells <= cellLimit;
    };
    for (int k = std::max(-errors, kEnd - errors); k <= std::min(errors, kEnd + errors); ++k) {
        Stretch open { k, 0, -1 };
        for (int d = 0; d <= errors; ++d) {
            const int last = forward.at(d, k);
            const int back = backward.at(errors - d, kEnd - k);
            if (last < 0 || back < 0 || m - back > last)
                continue;
            // Both ends only move on as d grows: stretches arrive in order.
            if (open.last >= open.first && m - back <= open.last + 1) {
                open.last = std::max(open.last, last);
            } else {
                if (!keep(open))
                    return std::nullopt;
                open = { k, m - back, last };
            }
        }
        if (!keep(open))
            return std::nullopt;
    }
    return stretches;
}

Places toRows(const std::vector<Stretch> &stretches, int m, std::size_t cells)
{
    Places places;
    places.rowStart.assign(std::size_t(m) + 2, 0);
    for (const Stretch &s : stretches) {
        for (int t = s.first; t <= s.last; ++t)
            ++places.rowStart[std::size_t(t) + 1];
    }
    for (std::size_t t = 1; t < places.rowStart.size(); ++t)
        places.rowStart[t] += places.rowStart[t - 1];
    places.pos.resize(cells);
    std::vector<std::size_t> fill(places.rowStart.begin(), places.rowStart.end() - 1);
    // Diagonals in ascending order: each row's positions ascend.
    for (const Stretch &s : stretches) {
        for (int t = s.first; t <= s.last; ++t)
            places.pos[fill[std::size_t(t)]++] = t + s.k;
    }
    return places;
}

// The best (errors, runs) from each place to the end, after a match (or at
// the start) and after an error, and the way forward that attains it.
class Choice
{
public:
    Choice(Text practice, Text typed, Places places)
        : m_practice(practice)
        , m_typed(typed)
        , m_places(std::move(places))
        , m_afterMatch(m_places.pos.size(), Unreached)
        , m_afterError(m_places.pos.size(), Unreached)
    {
        const int m = int(typed.size());
        for (int t = m; t >= 0; --t) {
            for (std::size_t c = m_places.rowStart[std::size_t(t) + 1];
                 c-- > m_places.rowStart[std::size_t(t)];)
                settle(t, c);
        }
    }

    std::optional<Script> walk() const
    {
        Script script { {}, m_practice.size() };
        int t = 0;
        int p = 0;
        bool afterError = false;
        std::size_t c = m_places.find(0, 0);
        if (c == None || m_afterMatch[c] == Unreached)
            return std::nullopt;
        script.steps.reserve(m_typed.size() + m_practice.size());
        while (t < int(m_typed.size()) || p < int(m_practice.size())) {
            const Cost want = afterError ? m_afterError[c] : m_afterMatch[c];
            bool moved = false;
            for (const Next &next : nexts(t, p, c)) {
                if (next.place == None || cost(next, afterError) != want)
                    continue;
                script.steps.push_back(next.step);
                t += next.step == Step::Omission ? 0 : 1;
                p += next.step == Step::Insertion ? 0 : 1;
                afterError = next.step != Step::Match;
                c = next.place;
                moved = true;
                break;
            }
            if (!moved)
                return std::nullopt; // cannot happen: every cost is attained by a step
        }
        return script;
    }

private:
    struct Next
    {
        Step step;
        std::size_t place;
    };

    // The steps from (t, p) in the order ties are broken.
    std::array<Next, 3> nexts(int t, int p, std::size_t c) const
    {
        const int m = int(m_typed.size());
        const int n = int(m_practice.size());
        std::array<Next, 3> out { Next { Step::Match, None }, Next { Step::Omission, None },
            Next { Step::Insertion, None } };
        if (t < m && p < n) {
            const bool same = m_typed[std::size_t(t)] == m_practice[std::size_t(p)];
            out[0] = { same ? Step::Match : Step::Substitution, m_places.find(t + 1, p + 1) };
        }
        if (p < n && c + 1 < m_places.rowStart[std::size_t(t) + 1] && m_places.pos[c + 1] == p + 1)
            out[1].place = c + 1;
        if (t < m)
            out[2].place = m_places.find(t + 1, p);
        return out;
    }

    Cost cost(const Next &next, bool afterError) const
    {
        if (next.step == Step::Match)
            return m_afterMatch[next.place];
        const Cost rest = m_afterError[next.place];
        return rest == Unreached ? Unreached : rest + OneError + (afterError ? 0 : 1);
    }

    void settle(int t, std::size_t c)
    {
        const int p = m_places.pos[c];
        if (t == int(m_typed.size()) && p == int(m_practice.size())) {
            m_afterMatch[c] = m_afterError[c] = 0;
            return;
        }
        for (const Next &next : nexts(t, p, c)) {
            if (next.place == None)
                continue;
            m_afterMatch[c] = std::min(m_afterMatch[c], cost(next, false));
            m_afterError[c] = std::min(m_afterError[c], cost(next, true));
        }
    }

    Text m_practice;
    Text m_typed;
    Places m_places;
    std::vector<Cost> m_afterMatch;
    std::vector<Cost> m_afterError;
};

// The canonical alignment of all of `typed` against all of `practice`, or
// nullopt beyond the limits. `hint`: the errors of some alignment of the two.
std::optional<Script> exactly(
    Text practice, Text typed, int errorLimit, std::size_t cellLimit, int hint)
{
    std::size_t cells = 0;
    const std::optional<std::vector<Stretch>> stretches
        = bestStretches(practice, typed, errorLimit, cellLimit, hint, cells);
    if (!stretches)
        return std::nullopt;
    return Choice(practice, typed, toRows(*stretches, int(typed.size()), cells)).walk();
}

int errorsOf(std::span<const Step> steps)
{
    return int(std::count_if(steps.begin(), steps.end(), [](Step s) { return s != Step::Match; }));
}

std::size_t matchesFrom(auto first, auto last)
{
    return std::size_t(std::find_if(first, last, [](Step s) { return s != Step::Match; }) - first);
}

// Whether the chosen steps begin or end with fewer matches than those found.
bool nearerEnds(std::span<const Step> chosen, std::span<const Step> found)
{
    return matchesFrom(chosen.begin(), chosen.end()) < matchesFrom(found.begin(), found.end())
        || matchesFrom(chosen.rbegin(), chosen.rend()) < matchesFrom(found.rbegin(), found.rend());
}

// Beyond the limits: windows around the errors of the alignment found, cut
// within its long runs of matches, each window made canonical within the
// limits or kept. A long run is cut twice, a margin in from either end, so the
// windows hold little more than the errors and the matches between are copied.
Script inWindows(Text practice, Text typed, const Script &found, const Limits &limits)
{
    struct Cut
    {
        std::size_t step = 0;
        std::size_t t = 0;
        std::size_t p = 0;
    };
    std::vector<Cut> cuts { Cut {} };
    std::size_t t = 0;
    std::size_t p = 0;
    std::size_t matches = 0;
    const std::size_t margin = std::max<std::size_t>(limits.anchorMatches / 2, 1);
    for (std::size_t i = 0; i <= found.steps.size(); ++i) {
        const bool match = i < found.steps.size() && found.steps[i] == Step::Match;
        if (!match && matches >= 2 * margin) {
            for (const std::size_t back : { matches - margin, margin })
                cuts.push_back({ i - back, t - back, p - back });
        }
        matches = match ? matches + 1 : 0;
        if (i == found.steps.size())
            break;
        t += found.steps[i] == Step::Omission ? 0 : 1;
        p += found.steps[i] == Step::Insertion ? 0 : 1;
    }
    cuts.push_back({ found.steps.size(), t, p });

    // A window whose choice moves its errors closer to a cut than they were
    // found (a line typed twice: the second copy is the extra one) may want
    // them further still: it takes in the next window and is chosen again.
    const auto window = [&](std::size_t a, std::size_t b) {
        const Cut &from = cuts[a];
        const Cut &to = cuts[b];
        return std::span<const Step>(found.steps.data() + from.step, to.step - from.step);
    };
    Script whole { {}, found.practiceEnd };
    whole.steps.reserve(found.steps.size());
    for (std::size_t a = 0; a + 1 < cuts.size();) {
        std::size_t b = a + 1;
        std::optional<Script> chosen;
        for (std::size_t end = b; end < std::min(cuts.size(), b + MostMerged); ++end) {
            const std::span<const Step> steps = window(a, end);
            const int errors = errorsOf(steps);
            // Found by a method that finds the fewest, each window has the
            // fewest between its ends: too many are not worth a try.
            if (errors == 0 || errors > limits.windowErrors)
                break;
            std::optional<Script> better
                = exactly(practice.subspan(cuts[a].p, cuts[end].p - cuts[a].p),
                    typed.subspan(cuts[a].t, cuts[end].t - cuts[a].t), limits.windowErrors,
                    limits.canonicalCells, errors);
            if (!better)
                break;
            chosen = std::move(better);
            b = end;
            if (!nearerEnds(chosen->steps, steps))
                break;
        }
        const std::span<const Step> steps = window(a, b);
        if (chosen)
            whole.steps.insert(whole.steps.end(), chosen->steps.begin(), chosen->steps.end());
        else
            whole.steps.insert(whole.steps.end(), steps.begin(), steps.end());
        a = b;
    }
    return whole;
}

} // namespace

Script canonical(Text practice, Text typed, const Script &found, const Limits &limits)
{
    const Text reached = practice.first(std::min(practice.size(), found.practiceEnd));
    // The errors found are the fewest unless the typing was aligned in pieces.
    if (const int errors = errorsOf(found.steps); errors <= limits.canonicalErrors) {
        if (std::optional<Script> script
            = exactly(reached, typed, limits.canonicalErrors, limits.canonicalCells, errors))
            return std::move(*script);
    }
    return inWindows(reached, typed, found, limits);
}

} // namespace ExamAlignmentMethods
