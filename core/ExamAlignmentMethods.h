#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The two ways ExamAlignment finds a minimum-error alignment of a typed text
// against a prefix of the practice text, both over code points. Each returns
// one real alignment as a script of steps in text order.
namespace ExamAlignmentMethods {

enum class Step : std::uint8_t {
    Match, // one practice character typed as it stands
    Substitution, // one practice character typed as another
    Omission, // one practice character not typed
    Insertion, // one typed character the practice text does not have
};

struct Script
{
    std::vector<Step> steps;
    std::size_t practiceEnd = 0; // practice characters covered by the script
};

using Text = std::span<const char32_t>;

// Furthest-reaching diagonals: time grows with the errors (about the texts'
// length times the errors, far less when the texts mostly agree) and memory with
// their square. Gives up (nullopt) once more than `errorLimit` errors are needed.
std::optional<Script> byDiagonals(Text practice, Text typed, int errorLimit);

// Bit-parallel edit distance over 64 typed characters a word: time grows with
// typed × practice / 64 whatever the errors. The rows kept for the way back take
// typed × practice / 256 bytes; past `rowBudget` only some are kept and the others
// recomputed once more.
constexpr std::size_t DefaultRowBudget = std::size_t(32) << 20;
Script byBitVectors(Text practice, Text typed, std::size_t rowBudget = DefaultRowBudget);

} // namespace ExamAlignmentMethods
