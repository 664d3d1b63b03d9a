// Alignment, differential: both methods (and the whole alignment) give the
// fewest errors and the furthest reach that the plain O(N·M) table gives.
#include "core/exam/ExamAlignment.h"
#include "core/exam/ExamAlignmentMethods.h"
#include "tests/fuzz/FuzzFile.h"

#include <algorithm>
#include <cstdio>
#include <vector>

using ExamAlignmentMethods::Script;
using ExamAlignmentMethods::Step;

namespace {

struct Best
{
    int errors = 0;
    std::size_t practiceEnd = 0;
    bool operator==(const Best &) const = default;
};

// Every prefix of the practice text; the furthest on ties.
Best plainTable(const std::u32string &practice, const std::u32string &typed)
{
    const std::size_t n = practice.size();
    std::vector<std::vector<int>> cost(typed.size() + 1, std::vector<int>(n + 1));
    for (std::size_t j = 0; j <= n; ++j)
        cost[0][j] = int(j);
    for (std::size_t i = 1; i <= typed.size(); ++i) {
        cost[i][0] = int(i);
        for (std::size_t j = 1; j <= n; ++j) {
            const int change = typed[i - 1] == practice[j - 1] ? 0 : 1;
            cost[i][j]
                = std::min({ cost[i - 1][j - 1] + change, cost[i - 1][j] + 1, cost[i][j - 1] + 1 });
        }
    }
    Best best { cost[typed.size()][0], 0 };
    for (std::size_t j = 1; j <= n; ++j) {
        if (cost[typed.size()][j] <= best.errors)
            best = { cost[typed.size()][j], j };
    }
    return best;
}

Best of(const Script &script)
{
    const auto errors = std::count_if(
        script.steps.begin(), script.steps.end(), [](Step s) { return s != Step::Match; });
    return { int(errors), script.practiceEnd };
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > 200)
        return 0;
    // A small alphabet, so that matches are common; a zero byte splits the texts.
    std::u32string practice;
    std::u32string typed;
    bool inTyped = false;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0 && !inTyped)
            inTyped = true;
        else
            (inTyped ? typed : practice) += char32_t(u'a' + data[i] % 4);
    }
    const Best expected = plainTable(practice, typed);
    const ExamAlignmentMethods::Text p(practice.data(), practice.size());
    const ExamAlignmentMethods::Text t(typed.data(), typed.size());

    const auto diagonals = ExamAlignmentMethods::byDiagonals(p, t, 1000);
    FUZZ_CHECK(diagonals && of(*diagonals) == expected);
    FUZZ_CHECK(of(ExamAlignmentMethods::byBitVectors(p, t)) == expected);
    // A tiny row budget makes the bit vectors recompute rows on the way back.
    FUZZ_CHECK(of(ExamAlignmentMethods::byBitVectors(p, t, 64)) == expected);
    FUZZ_CHECK(
        expected.errors == 0 || !ExamAlignmentMethods::byDiagonals(p, t, expected.errors - 1));

    ExamAlignment alignment;
    alignment.setPracticeText(QString::fromStdU32String(practice));
    const ExamAlignment::Result result = alignment.align(QString::fromStdU32String(typed));
    FUZZ_CHECK(result.errorCount() == expected.errors);
    FUZZ_CHECK(std::size_t(result.practiceReached) == expected.practiceEnd);
    return 0;
}
