#pragma once

#include "controls/plot/sgr_defAxis.h"
#include "core/settings/ColorNames.h"

#include <QCursor>
#include <QList>
#include <QPoint>
#include <QWidget>

#include <array>
#include <memory>

class QPainter;
class QRubberBand;
class Tsp_DataSeries;
class Tsp_MemBitmap;

// An XY chart: a rectangular field framed by four axes, into which attached
// data series draw themselves. The control lays the field out so that the
// axes' labels fit, can stretch an axis to the data, paints itself through an
// off-screen bitmap redrawing only the layers that changed, and lets the user
// zoom (Shift + drag, click to go back) and pan (Ctrl + drag).
class Tsp_XYPlot : public QWidget, public Tsp_AxisPlot
{
    Q_OBJECT
    Q_PROPERTY(quint32 FieldColor READ fieldColor WRITE setFieldColor)
    Q_PROPERTY(quint32 Color READ color WRITE setColor)
    Q_PROPERTY(TBorderStyle BorderStyle READ borderStyle WRITE setBorderStyle)
    Q_PROPERTY(bool BufferedDisplay READ bufferedDisplay WRITE setBufferedDisplay)
    Q_PROPERTY(TZoomPanDirection Zoom READ zoom WRITE setZoom)
    Q_PROPERTY(TZoomPanDirection Pan READ pan WRITE setPan)
    Q_PROPERTY(Qt::KeyboardModifiers ZoomShiftKeys READ zoomShiftKeys WRITE setZoomShiftKeys)
    Q_PROPERTY(Qt::KeyboardModifiers PanShiftKeys READ panShiftKeys WRITE setPanShiftKeys)
    Q_PROPERTY(QCursor PanCursor READ panCursor WRITE setPanCursor)

public:
    enum TBorderStyle {
        bs_None,
        bs_Raised,
        bs_Lowered,
        bs_Gutter,
        bs_BlackRect,
        bs_BoldRect,
        bs_FocusRect
    };
    Q_ENUM(TBorderStyle)
    enum TZoomPanDirection { zpdNone, zpdHorizontal, zpdVertical, zpdBoth };
    Q_ENUM(TZoomPanDirection)
    enum SeriesChange { scData, scAppearance };
    enum MouseState { msIdle, msZoomPressed, msZoomDragging, msPanPressed, msPanning };

    // The field covers columns left..right - 1 and rows top..bottom - 1.
    struct Field
    {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
        bool operator==(const Field &) const = default;
    };

    explicit Tsp_XYPlot(QWidget *parent = nullptr);
    ~Tsp_XYPlot() override;

    Tsp_Axis *LeftAxis() const { return m_axes[Left].get(); }
    Tsp_Axis *RightAxis() const { return m_axes[Right].get(); }
    Tsp_Axis *BottomAxis() const { return m_axes[Bottom].get(); }
    Tsp_Axis *TopAxis() const { return m_axes[Top].get(); }
    // Assigning an axis copies the given one into the plot's own.
    void setLeftAxis(const Tsp_Axis &axis);
    void setRightAxis(const Tsp_Axis &axis);
    void setBottomAxis(const Tsp_Axis &axis);
    void setTopAxis(const Tsp_Axis &axis);

    ColorValue fieldColor() const { return m_fieldColor; }
    ColorValue color() const { return m_color; }
    TBorderStyle borderStyle() const { return m_borderStyle; }
    bool bufferedDisplay() const;
    TZoomPanDirection zoom() const { return m_zoom; }
    TZoomPanDirection pan() const { return m_pan; }
    Qt::KeyboardModifiers zoomShiftKeys() const { return m_zoomShiftKeys; }
    Qt::KeyboardModifiers panShiftKeys() const { return m_panShiftKeys; }
    QCursor panCursor() const { return m_panCursor; }

    void setFieldColor(ColorValue color);
    void setColor(ColorValue color);
    void setBorderStyle(TBorderStyle style);
    void setBufferedDisplay(bool buffered);
    void setZoom(TZoomPanDirection zoom) { m_zoom = zoom; }
    void setPan(TZoomPanDirection pan) { m_pan = pan; }
    void setZoomShiftKeys(Qt::KeyboardModifiers keys) { m_zoomShiftKeys = keys; }
    void setPanShiftKeys(Qt::KeyboardModifiers keys) { m_panShiftKeys = keys; }
    void setPanCursor(const QCursor &cursor) { m_panCursor = cursor; }

    // Stretches the axis to the data of the series drawn on it; true when it
    // has automatic bounds and data to apply them to.
    bool Autoscale(Tsp_Axis &axis) override;
    void AxisChanged(Tsp_Axis &axis, bool fieldOnly) override;
    // Places the field so that the axes fit; w and h are the width of "0"
    // and the height of the font.
    void Layout(int w, int h);

    void AttachSeries(Tsp_DataSeries *series);
    void DetachSeries(Tsp_DataSeries *series);
    void SeriesChanged(Tsp_DataSeries *series, SeriesChange kind);
    // Rescales the series' two axes and repaints, active or not.
    void AutoscaleFor(Tsp_DataSeries *series);
    const QList<Tsp_DataSeries *> &seriesList() const { return m_series; }
    int pointCount() const; // over the active series

    // What a series reads while it draws.
    Field field() const { return m_field; }

    // Repaint requests: they only mark the window; painting follows later,
    // or at once on Update().
    void repaintAll();
    void repaintField();
    void Update();

    bool layoutValid() const { return m_layoutValid; }
    bool frameValid() const { return m_frameValid; }
    bool fieldValid() const { return m_fieldValid; }
    MouseState mouseState() const { return m_mouseState; }
    // How many times each layer has been drawn; lets a caller see that an
    // unchanged plot repaints as one bitmap copy.
    int frameDraws() const { return m_frameDraws; }
    int fieldDraws() const { return m_fieldDraws; }

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    enum AxisIndex { Left, Right, Bottom, Top, AxisCount };
    void createAxes();
    int indexOf(const Tsp_Axis *axis) const;
    void settleLayout();
    void paintDirect(QPainter &painter);
    void paintLayers(QPainter &painter);
    void DrawFrame(QPainter &painter);
    void DrawField(QPainter &painter);
    void DrawBorder(QPainter &painter);
    void drawGridLines(QPainter &painter, const Tsp_Axis &axis);

    bool shiftKeysMatch(const QMouseEvent &event, Qt::KeyboardModifiers keys) const;
    void finishGesture(const QPoint &point);
    void panTo(const QPoint &point);
    void applyZoom(QRect band);
    void restoreRanges();
    void saveRanges();
    void showBand();

    std::array<std::unique_ptr<Tsp_Axis>, AxisCount> m_axes;
    QList<Tsp_DataSeries *> m_series;
    std::unique_ptr<Tsp_MemBitmap> m_bitmap;
    Field m_field;
    QSize m_paintSize; // the size the layers were last painted at
    ColorValue m_fieldColor = ColorNames::clWhite;
    ColorValue m_color;
    TBorderStyle m_borderStyle = bs_None;
    TZoomPanDirection m_zoom = zpdBoth;
    TZoomPanDirection m_pan = zpdBoth;
    Qt::KeyboardModifiers m_zoomShiftKeys = Qt::ShiftModifier;
    Qt::KeyboardModifiers m_panShiftKeys = Qt::ControlModifier;
    QCursor m_panCursor;
    QCursor m_ownCursor;
    bool m_hadMouseTracking = false;
    bool m_layoutValid = false;
    bool m_frameValid = false;
    bool m_fieldValid = false;
    bool m_updatePending = false;
    int m_frameDraws = 0;
    int m_fieldDraws = 0;
    MouseState m_mouseState = msIdle;
    QPoint m_start;
    QPoint m_current;
    QRubberBand *m_band = nullptr;
};
