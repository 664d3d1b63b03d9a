#pragma once

#include <QString>

// A stored colour: 0x00BBGGRR for red, green and blue (red in the low byte),
// 0x80000000 + n for system colour n, or ColorNone.
using ColorValue = quint32;

namespace ColorNames {

constexpr ColorValue ColorNone = 0x1FFFFFFF;
constexpr ColorValue SystemColorBase = 0x80000000;
constexpr int NameCount = 42;

// The named colours the program itself uses; the table of names is built from them.
constexpr ColorValue clBlack = 0x000000;
constexpr ColorValue clGreen = 0x008000;
constexpr ColorValue clGray = 0x808080;
constexpr ColorValue clRed = 0x0000FF;
constexpr ColorValue clYellow = 0x00FFFF;
constexpr ColorValue clWhite = 0xFFFFFF;
constexpr ColorValue clWindow = SystemColorBase + 5;
constexpr ColorValue clWindowText = SystemColorBase + 8;
constexpr ColorValue clHighlight = SystemColorBase + 13;
constexpr ColorValue clBtnFace = SystemColorBase + 15;
constexpr ColorValue clBtnShadow = SystemColorBase + 16;
constexpr ColorValue clBtnHighlight = SystemColorBase + 20;

// The first name with this value, else "$" and eight upper-case hex digits.
QString colorToText(ColorValue color);

// A name (ASCII case ignored) or an integer; throws VemiError for anything else.
ColorValue textToColor(const QString &text);

} // namespace ColorNames
