#pragma once

#include "core/settings/ColorNames.h"

#include <QObject>

class QPainter;

// How a series marks its points: a filled shape of odd width and height
// centred on the point's pixel. Sizes are kept as half-extents so that a
// marker is always symmetric about its point.
class Tsp_PointAttr : public QObject
{
    Q_OBJECT
    Q_PROPERTY(quint32 Color READ color WRITE setColor)
    Q_PROPERTY(Qt::BrushStyle Style READ style WRITE setStyle)
    Q_PROPERTY(TPointKind Kind READ kind WRITE setKind)
    Q_PROPERTY(int HSize READ hSize WRITE setHSize)
    Q_PROPERTY(int VSize READ vSize WRITE setVSize)
    Q_PROPERTY(bool Visible READ visible WRITE setVisible)
    Q_PROPERTY(int BorderWidth READ borderWidth WRITE setBorderWidth)
    Q_PROPERTY(quint32 BorderColor READ borderColor WRITE setBorderColor)

public:
    enum TPointKind {
        ptRectangle,
        ptEllipse,
        ptDiamond,
        ptCross,
        ptCustom,
        ptTriangle,
        ptDownTriangle
    };
    Q_ENUM(TPointKind)

    explicit Tsp_PointAttr(QObject *parent = nullptr);

    ColorValue color() const { return m_color; }
    Qt::BrushStyle style() const { return m_style; }
    TPointKind kind() const { return m_kind; }
    int hSize() const { return m_left + m_right; }
    int vSize() const { return m_up + m_down; }
    int halfWidth() const { return m_left; }
    int halfHeight() const { return m_up; }
    bool visible() const { return m_visible; }
    int borderWidth() const { return m_borderWidth; }
    ColorValue borderColor() const { return m_borderColor; }

    void setColor(ColorValue color);
    void setStyle(Qt::BrushStyle style);
    void setKind(TPointKind kind);
    void setHSize(int size);
    void setVSize(int size);
    void setVisible(bool visible);
    void setBorderWidth(int width);
    void setBorderColor(ColorValue color);

    // Copies kind, visibility, both sizes and the fill; the border stays.
    void Assign(const Tsp_PointAttr &other);

    // Pen from the border, brush from the fill, as the markers are drawn.
    void applyTo(QPainter &painter) const;

signals:
    void changed();

private:
    ColorValue m_color = ColorNames::clWhite;
    Qt::BrushStyle m_style = Qt::SolidPattern;
    TPointKind m_kind = ptRectangle;
    int m_left = 2;
    int m_right = 3;
    int m_up = 2;
    int m_down = 3;
    bool m_visible = false;
    int m_borderWidth = 1;
    ColorValue m_borderColor = ColorNames::clBlack;
};

// The marker shapes, drawn with the painter's current pen and brush around
// the pixel (x, y); `left` and `up` are the half-extents.
namespace PointMarker {
void draw(QPainter &painter, Tsp_PointAttr::TPointKind kind, int x, int y, int left, int up);
} // namespace PointMarker
