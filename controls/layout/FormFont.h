#pragma once

#include <QFont>
#include <QString>

// The font every window of the program is laid out in, and the grid's fixed
// cells too: the pixel positions of the forms assume it.
namespace FormFont {

inline const QString Family = QStringLiteral("ＭＳ Ｐゴシック");
constexpr int PixelSize = 12;

inline QFont font(int pixelSize = PixelSize)
{
    QFont font(Family);
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace FormFont
