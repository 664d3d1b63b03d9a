#pragma once

#include <QString>

// A stored colour: 0x00BBGGRR for red, green and blue (red in the low byte),
// 0x80000000 + n for system colour n, or ColorNone.
using ColorValue = quint32;

namespace ColorNames {

constexpr ColorValue ColorNone = 0x1FFFFFFF;
constexpr ColorValue SystemColorBase = 0x80000000;
constexpr int NameCount = 42;

// The first name with this value, else "$" and eight upper-case hex digits.
QString colorToText(ColorValue color);

// A name (ASCII case ignored) or an integer; throws VemiError for anything else.
ColorValue textToColor(const QString &text);

} // namespace ColorNames
