#pragma once

#include "core/settings/ColorNames.h"

#include <QObject>
#include <QPen>

class QPainter;

// The look of one line of the plot: an axis line, its grid lines, a frame or a
// series' connecting line. Every setter stores the value and then emits
// changed(), which the owner listens to; Assign copies the four values and the
// listeners stay where they are.
class Tsp_CustomLineAttr : public QObject
{
    Q_OBJECT
    Q_PROPERTY(quint32 Color READ color WRITE setColor)
    Q_PROPERTY(TPenStyle Style READ style WRITE setStyle)
    Q_PROPERTY(int Width READ width WRITE setWidth)
    Q_PROPERTY(bool Visible READ visible WRITE setVisible)

public:
    enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
    Q_ENUM(TPenStyle)

    explicit Tsp_CustomLineAttr(QObject *parent = nullptr);
    Tsp_CustomLineAttr(ColorValue color, bool visible, QObject *parent = nullptr);

    ColorValue color() const { return m_color; }
    TPenStyle style() const { return m_style; }
    int width() const { return m_width; } // 0 to 65535 pixels
    bool visible() const { return m_visible; }

    void setColor(ColorValue color);
    void setStyle(TPenStyle style);
    void setWidth(int width); // clamped to 0..65535
    void setVisible(bool visible);

    // Copies colour, style, width and visibility; emits changed() once.
    virtual void Assign(const Tsp_CustomLineAttr &other);
    // Tells the listeners.
    virtual void Changed() { emit changed(); }

    // The pen this attribute stands for: colour, style and width.
    QPen pen() const;
    // Sets the painter's pen from it and the plain copy drawing mode.
    void applyTo(QPainter &painter) const;
    static Qt::PenStyle qtPenStyle(TPenStyle style);

signals:
    void changed();

private:
    ColorValue m_color = ColorNames::clBlack;
    TPenStyle m_style = psSolid;
    quint16 m_width = 1;
    bool m_visible = true;
};

class Tsp_LineAttr : public Tsp_CustomLineAttr
{
    Q_OBJECT

public:
    using Tsp_CustomLineAttr::Tsp_CustomLineAttr;
};
