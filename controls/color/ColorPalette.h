#pragma once

#include "core/settings/ColorNames.h"

#include <QList>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QSize>
#include <QString>

// The colour palette's contents and geometry, apart from the window that shows
// them so that they can be checked on their own.
namespace ColorPalette {

constexpr int Columns = 8;
constexpr int Rows = 5;
constexpr int CellSize = 18;
constexpr int PaletteCount = 40;
constexpr int SystemCount = 25;

// Entry indexes besides the cells 0 to 64.
constexpr int NoEntry = -1;
constexpr int CustomEntry = -2;
constexpr int DefaultEntry = -3;
// The colour the default entry stands for; matching it selects that entry.
constexpr ColorValue DefaultColor = 0x20000000;

constexpr int CombRadius = (Columns * CellSize * 7) / 16; // R = 63
constexpr int CombCellCount = 127;
constexpr int GreyCellCount = 17;

ColorValue paletteColor(int index); // 0 to 39
QString paletteName(int index);
QString systemColorName(int n); // 0 to 24

inline ColorValue rgb(int red, int green, int blue)
{
    return ColorValue(red) | ColorValue(green) << 8 | ColorValue(blue) << 16;
}

struct Options
{
    int edge = 2; // E: the 3-D edge width
    int margin = 8; // M: PopupSpacing
    bool showSystem = false;
    QSize customText; // measured caption; an empty size hides the entry
    QSize defaultText;
};

struct Layout
{
    int edge = 2;
    int margin = 8;
    int cellCount = PaletteCount;
    int width = 0;
    int paletteHeight = 0; // the window's height without the custom area
    int customHeight = 0; // with it
    int cellTop = 0; // of row 0
    int systemGap = 0; // extra space above the system rows
    int separatorY = -1; // etched line above the system cells, -1 none
    QRect defaultEntry; // null when hidden
    QRect customEntry;
    QRect customSample;
    QRect comb;
    QRect grey;
    QRect slider;

    static Layout compute(const Options &options);

    bool hasCustom() const { return !customEntry.isNull(); }
    bool hasDefault() const { return !defaultEntry.isNull(); }
    QRect cellRect(int index) const;
    int hexSize() const; // h
    QPoint combCentre() const;
    // An entry index for a point, on the cells and entries as they are drawn.
    int hitTest(QPoint point) const;
};

struct CombCell
{
    QPoint position;
    ColorValue color = 0;
    int size = 0; // the hexagon's drawing size
};

// 127 cells, centre first, positions relative to the comb's centre.
QList<CombCell> colorComb(double intensity, int radius = CombRadius);
// 17 cells, white to black, positions relative to the grey comb's top-left.
QList<CombCell> greyComb(int h);
QPolygon hexagon(QPoint centre, int size);
// The intensity slider's grey level for pixel row n of rows 0 to f.
int sliderLevel(int n, int f);

// The palette's top-left on the screen: under the owner's bottom-left corner one pixel
// left, moved up to end at the screen's bottom, above the owner when that is not
// enough, and moved left to fit the screen's width but never past its left edge.
QPoint placement(const QRect &owner, QSize size, const QRect &available);

// The hover entry after an arrow key; with no hover entry, the selected one, else cell 0.
int navigate(int hover, int key, const Layout &layout, int selected);

} // namespace ColorPalette
