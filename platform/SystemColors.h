#pragma once

#include <QColor>

namespace SystemColors {

// A stored colour value (0x00BBGGRR, 0x80000000 + system colour index, or
// "none") as the colour to paint with; system colours follow the palette.
QColor resolve(quint32 value);

} // namespace SystemColors
