#pragma once

#include <QPixmap>
#include <QString>

// The font combo box's small type glyphs, 20 x 12 with a transparent
// background: "TRUETYPE_FNT" (outline fonts) and "DEVICE_FNT" (fonts of a
// device such as a printer).
namespace FontGlyphs {

constexpr int Width = 20;
constexpr int Height = 12;

// The named glyph, or a null pixmap for a name the program does not carry.
QPixmap glyph(const QString &name);

} // namespace FontGlyphs
