#pragma once

#include <QList>
#include <QStringView>

// The exam's answer sheet: 40 squares a line, a full-width character in each
// square and a half-width one in half a square. Counted in half-columns so
// that every width is a whole number.
namespace SheetColumns {
constexpr int FullWidthColumns = 40;
constexpr int HalfColumnsPerLine = 2 * FullWidthColumns;

// 2 for a character that takes a square (East Asian wide and full-width forms,
// and the symbols Japanese text sets full-width), 1 for a half-width one
// (ASCII, half-width katakana, other scripts), 0 for marks that join the
// character before them.
int halfColumns(char32_t character);

// Where each of the paragraph's sheet lines starts, as offsets into it (the
// first is 0, an empty paragraph has one line). A character that would run
// past the line's last column starts the next line, except a blank (a space or
// the ideographic space), which stays at the line's end beyond the last column
// as word processors set it; a surrogate pair is never split.
QList<qsizetype> lineStarts(QStringView paragraph, int halfColumnsPerLine = HalfColumnsPerLine);
} // namespace SheetColumns
