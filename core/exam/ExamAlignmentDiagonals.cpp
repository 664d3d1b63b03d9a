#include "core/exam/ExamAlignmentFrontier.h"

namespace ExamAlignmentMethods {

std::optional<Script> byDiagonals(Text practice, Text typed, int errorLimit)
{
    Frontier frontier(practice, typed, errorLimit);
    for (int d = 0;; ++d) {
        if (const int k = frontier.furthestEnd(d); k != INT_MIN)
            return frontier.trace(d, k);
        if (d >= errorLimit)
            return std::nullopt;
        frontier.addLevel(d + 1);
    }
}

} // namespace ExamAlignmentMethods
