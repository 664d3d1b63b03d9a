#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The two ways ExamAlignment finds a minimum-error alignment of a typed text
// against a prefix of the practice text, both over code points. Each returns
// one real alignment as a script of steps in text order; many alignments may
// share the fewest errors, and canonical() then picks the same one whichever
// method found them.
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

// The diagonals' memory grows with the square of the errors: past this many
// the other method is used.
constexpr int MostDiagonalErrors = 2048;

struct Limits
{
    // The largest bit-parallel table worked whole, in words (64K typed against
    // 64K practice characters): a few tenths of a second, a few tens of megabytes.
    double wholeTableWords = 65536.0 * 1024.0;
    // Beyond it, unless the errors are few, the typed text is aligned in pieces
    // of this many characters, no longer sure to give the fewest errors.
    std::size_t pieceLength = 16384;
    // Before the pieces, the diagonals are tried up to this many errors.
    int diagonalErrors = MostDiagonalErrors;
    // The canonical pass over the whole texts: up to this many errors (it
    // follows the diagonals forwards and backwards, so its time grows with their
    // square: about a millisecond at 256) and this many places on some best
    // alignment (about the typed length when the errors stand apart).
    int canonicalErrors = 256;
    std::size_t canonicalCells = std::size_t(1) << 22;
    // Beyond them, the alignment found is cut within each run of at least
    // this many matches, and each window between cuts made canonical on its own
    // (up to windowErrors errors, a skipped paragraph; a window beyond stays as found).
    // Such a long run is all but always on every best alignment, and then the
    // windows give the canonical alignment of the whole.
    std::size_t anchorMatches = 32;
    int windowErrors = 1024;
};

// Among the alignments of `typed` against the practice text's first
// found.practiceEnd characters with the fewest errors, the one with the fewest
// runs of errors (a run: consecutive steps that are not matches, so a skipped
// line is one run), and among those the first in reading order when a match
// comes before a substitution, a substitution before an omission and an
// omission before an insertion (飴降り for 雨が降り: 雨→飴, then が left out).
// A function of the texts and that end alone, unless the limits are exceeded:
// then the rule holds within each window, and the windows come from `found`.
Script canonical(Text practice, Text typed, const Script &found, const Limits &limits = {});

// The method that suits the texts' size and errors, made canonical.
Script align(Text practice, Text typed, const Limits &limits = {});

} // namespace ExamAlignmentMethods
