#include "controls/color/ColorPalette.h"

#include "core/Rounding.h"

#include <QtMath>

#include <array>

namespace ColorPalette {

namespace {

struct NamedRgb
{
    const char *name;
    int red, green, blue;
};

constexpr NamedRgb Palette[PaletteCount] = {
    { "Black", 0, 0, 0 },
    { "Brown", 153, 51, 0 },
    { "Olive Green", 51, 51, 0 },
    { "Dark Green", 0, 51, 0 },
    { "Dark Teal", 0, 51, 102 },
    { "Dark blue", 0, 0, 128 },
    { "Indigo", 51, 51, 153 },
    { "Gray-80%", 51, 51, 51 },
    { "Dark Red", 128, 0, 0 },
    { "Orange", 255, 102, 0 },
    { "Dark Yellow", 128, 128, 0 },
    { "Green", 0, 128, 0 },
    { "Teal", 0, 128, 128 },
    { "Blue", 0, 0, 255 },
    { "Blue-Gray", 102, 102, 153 },
    { "Gray-50%", 128, 128, 128 },
    { "Red", 255, 0, 0 },
    { "Light Orange", 255, 153, 0 },
    { "Lime", 153, 204, 0 },
    { "Sea Green", 51, 153, 102 },
    { "Aqua", 51, 204, 204 },
    { "Light Blue", 51, 102, 255 },
    { "Violet", 128, 0, 128 },
    { "Grey-40%", 150, 150, 150 },
    { "Pink", 255, 0, 255 },
    { "Gold", 255, 204, 0 },
    { "Yellow", 255, 255, 0 },
    { "Bright Green", 0, 255, 0 },
    { "Turquoise", 0, 255, 255 },
    { "Sky Blue", 0, 204, 255 },
    { "Plum", 153, 51, 102 },
    { "Gray-25%", 192, 192, 192 },
    { "Rose", 255, 153, 204 },
    { "Tan", 255, 204, 153 },
    { "Light Yellow", 255, 255, 153 },
    { "Light Green", 204, 255, 204 },
    { "Light Turquoise", 204, 255, 255 },
    { "Pale Blue", 153, 204, 255 },
    { "Lavender", 204, 153, 255 },
    { "White", 255, 255, 255 },
};

constexpr const char *SystemNames[SystemCount] = {
    "scroll bar",
    "background",
    "active caption",
    "inactive caption",
    "menu",
    "window",
    "window frame",
    "menu text",
    "window text",
    "caption text",
    "active border",
    "inactive border",
    "application workspace",
    "highlight",
    "highlight text",
    "button face",
    "button shadow",
    "gray text",
    "button text",
    "inactive caption text",
    "button highlight",
    "3-D dark shadow",
    "3-D light",
    "info text",
    "info background",
};

constexpr int SystemRows = (SystemCount + Columns - 1) / Columns;

struct Fraction
{
    double red, green, blue;
};

// Magenta, red, yellow, green, cyan, blue: the corners east, south-east and on round.
constexpr std::array<Fraction, 6> Corners = { {
    { 1, 0, 1 },
    { 1, 0, 0 },
    { 1, 1, 0 },
    { 0, 1, 0 },
    { 0, 1, 1 },
    { 0, 0, 1 },
} };

ColorValue toValue(const Fraction &f)
{
    return rgb(
        roundHalfEven(255 * f.red), roundHalfEven(255 * f.green), roundHalfEven(255 * f.blue));
}

Fraction between(const Fraction &from, const Fraction &to, double part)
{
    return { from.red + part * (to.red - from.red), from.green + part * (to.green - from.green),
        from.blue + part * (to.blue - from.blue) };
}

int entryHeight(const QSize &text, int edge)
{
    return text.height() + 4 * edge + 2;
}

} // namespace

ColorValue paletteColor(int index)
{
    const NamedRgb &c = Palette[index];
    return rgb(c.red, c.green, c.blue);
}

QString paletteName(int index)
{
    return QString::fromLatin1(Palette[index].name);
}

QString systemColorName(int n)
{
    return QString::fromLatin1(SystemNames[n]);
}

Layout Layout::compute(const Options &options)
{
    Layout l;
    const int e = options.edge;
    const int m = std::max(options.margin, 0);
    l.edge = e;
    l.margin = m;
    l.width = Columns * CellSize + 2 * e + 2 * m;
    const bool custom = !options.customText.isEmpty();
    const bool byDefault = !options.defaultText.isEmpty();
    if (custom)
        l.width = std::max(l.width, options.customText.width() + 2 * e);
    if (byDefault)
        l.width = std::max(l.width, options.defaultText.width() + 2 * e);
    const int entryWidth = l.width - 2 * (e + m);

    int bottom = 0;
    if (byDefault) {
        const int dh = entryHeight(options.defaultText, e);
        l.defaultEntry = QRect(e + m, 2 * e, entryWidth, dh - 2 * e);
        bottom = dh;
    }
    l.cellTop = bottom + 2 * e;
    bottom += Rows * CellSize + 4 * e;
    if (options.showSystem) {
        l.cellCount = PaletteCount + SystemCount;
        l.systemGap = 3 * e;
        l.separatorY = bottom - 2 * e + (3 * e) / 2;
        bottom += SystemRows * CellSize + 3 * e;
    }
    if (custom) {
        const int eh = entryHeight(options.customText, e);
        l.customEntry = QRect(e + m, bottom, entryWidth, eh);
        const int side = CellSize - 2 * (e + 1);
        const int sampleTop = l.customEntry.top() + 3 + (eh - 16 - e) / 2;
        const int sampleRight = l.customEntry.left() + entryWidth - (e + 3); // exclusive
        l.customSample = QRect(sampleRight - side, sampleTop, side, side);
        bottom += eh + 2 * e;
    }
    l.paletteHeight = bottom;

    const int h = l.hexSize();
    l.comb = QRect(e + m, bottom, 2 * CombRadius, 2 * CombRadius);
    const int combBottom = l.comb.top() + 2 * CombRadius;
    const int greyRight = roundHalfEven(qCos(qDegreesToRadians(30.0)) * 17 * h / 2) + 6 * h;
    l.grey = QRect(
        QPoint(l.comb.left(), combBottom - 4), QPoint(greyRight - 1, combBottom + 2 * h - 1));
    l.slider = QRect(l.comb.left() + 2 * CombRadius, l.comb.top() + h, 20, 2 * CombRadius - 2 * h);
    l.customHeight = custom ? combBottom + 2 * h + 2 * e : l.paletteHeight;
    return l;
}

QRect Layout::cellRect(int index) const
{
    const int row = index / Columns;
    const int column = index % Columns;
    const int gap = index >= PaletteCount ? systemGap : 0;
    return { column * CellSize + edge + margin, row * CellSize + cellTop + gap, CellSize,
        CellSize };
}

int Layout::hexSize() const
{
    return roundHalfEven(CombRadius / 6.0 + 0.5);
}

QPoint Layout::combCentre() const
{
    return comb.topLeft() + QPoint(CombRadius, CombRadius);
}

int Layout::hitTest(QPoint point) const
{
    if (customEntry.contains(point))
        return CustomEntry;
    if (defaultEntry.contains(point))
        return DefaultEntry;
    for (int i = 0; i < cellCount; ++i) {
        if (cellRect(i).contains(point))
            return i;
    }
    return NoEntry;
}

QList<CombCell> colorComb(double intensity, int radius)
{
    const int h = roundHalfEven(radius / 6.0 + 0.5);
    const Fraction centre { intensity, intensity, intensity };
    const double step = qCos(qDegreesToRadians(30.0)) * radius / 6;
    const auto unit = [step](int s) {
        const double theta = qDegreesToRadians(90.0 - 60.0 * (s % 6));
        return QPointF(qSin(theta) * step, qCos(theta) * step);
    };
    QList<CombCell> cells;
    cells.reserve(CombCellCount);
    cells.append({ QPoint(0, 0), toValue(centre), h });
    for (int s = 0; s < 6; ++s) {
        for (int j = 1; j <= 6; ++j) {
            const QPointF a = j * unit(s);
            const QPointF b = j * unit(s + 1);
            const Fraction colorA = between(centre, Corners[s], j / 6.0);
            const Fraction colorB = between(centre, Corners[(s + 1) % 6], j / 6.0);
            for (int k = 0; k < j; ++k) {
                const QPointF p = a + k * (b - a) / j;
                const QPoint rounded(roundHalfEven(p.x()), roundHalfEven(p.y()));
                cells.append({ rounded, toValue(between(colorA, colorB, double(k) / j)), h });
            }
        }
    }
    return cells;
}

QList<CombCell> greyComb(int h)
{
    const int dx = roundHalfEven(qCos(qDegreesToRadians(30.0)) * h / 2);
    const int dy = roundHalfEven(1.5 * h / 2);
    QList<CombCell> cells;
    cells.reserve(GreyCellCount);
    cells.append({ QPoint(h, h), rgb(255, 255, 255), 2 * h });
    for (int n = 1; n <= 15; ++n) {
        const int level = (16 - n) * 15;
        const int y = (h / 4) * 3 + (n % 2 == 0 ? dy : 0);
        cells.append({ QPoint(3 * h + (n - 1) * dx, y), rgb(level, level, level), h });
    }
    cells.append({ QPoint(16 * dx + 3 * h + h, h), rgb(0, 0, 0), 2 * h });
    return cells;
}

QPolygon hexagon(QPoint centre, int size)
{
    static constexpr int Angles[] = { 90, 30, -30, -90, -150, -210 };
    QPolygon corners;
    for (const int phi : Angles) {
        const double radians = qDegreesToRadians(double(phi));
        corners << QPoint(centre.x() + roundHalfEven(size * qCos(radians) / 2),
            centre.y() + roundHalfEven(size * qSin(radians) / 2));
    }
    return corners;
}

int sliderLevel(int n, int f)
{
    return f <= 0 ? 255 : roundHalfEven(double(f - n) * 255 / f);
}

QPoint placement(const QRect &owner, QSize size, const QRect &available)
{
    int x = owner.left() - 1;
    int y = owner.top() + owner.height();
    const int screenBottom = available.top() + available.height();
    if (y + size.height() > screenBottom) {
        y = screenBottom - size.height();
        if (y < owner.top())
            y = owner.top() - size.height();
    }
    const int screenRight = available.left() + available.width();
    if (x + size.width() > screenRight)
        x = screenRight - size.width();
    return { std::max(x, available.left()), y };
}

namespace {

// Where a move off the cells lands: the default entry when shown, else the custom entry.
int headEntry(const Layout &layout, int fallback)
{
    if (layout.hasDefault())
        return DefaultEntry;
    return layout.hasCustom() ? CustomEntry : fallback;
}

int footEntry(const Layout &layout, int fallback)
{
    return layout.hasCustom() ? CustomEntry : fallback;
}

int fromEntry(int key, int entry, const Layout &layout)
{
    const int last = layout.cellCount - 1;
    const bool back = key == Qt::Key_Left || key == Qt::Key_Up;
    if (entry == CustomEntry)
        return back ? last : (layout.hasDefault() ? DefaultEntry : 0);
    return back ? footEntry(layout, last) : 0; // the default entry
}

} // namespace

int navigate(int hover, int key, const Layout &layout, int selected)
{
    if (hover == NoEntry)
        return selected == NoEntry ? 0 : selected;
    if (hover < 0)
        return fromEntry(key, hover, layout);
    const int last = layout.cellCount - 1;
    switch (key) {
    case Qt::Key_Left:
        return hover > 0 ? hover - 1 : headEntry(layout, last);
    case Qt::Key_Right:
        return hover < last ? hover + 1 : footEntry(layout, 0);
    case Qt::Key_Up:
        return hover >= Columns ? hover - Columns : headEntry(layout, hover);
    case Qt::Key_Down:
        return hover + Columns <= last ? hover + Columns : footEntry(layout, hover);
    default:
        return hover;
    }
}

} // namespace ColorPalette
