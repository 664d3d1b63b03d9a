#pragma once

#include <QColor>
#include <QImage>
#include <QList>
#include <QPolygon>
#include <QRect>
#include <QSize>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <array>
#include <memory>

class QPainter;

namespace Lcd99 {
struct Geometry;
struct CellString;
struct DrawingPass;
} // namespace Lcd99

// A row of seven-segment character cells, the way a calculator or a stopwatch
// shows digits. Every segment is painted, lit in OnColor or unlit in OffColor,
// so a change of value can be drawn segment by segment over AnimationDelay:
// a timer draws the steps, and paints show the picture as far as it has got.
class TLCD99 : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QString Value READ value WRITE setValue NOTIFY valueChanged)
    Q_PROPERTY(int DigitNum READ digitNum WRITE setDigitNum)
    Q_PROPERTY(int DigitSpacing READ digitSpacing WRITE setDigitSpacing)
    Q_PROPERTY(int GapX READ gapX WRITE setGapX)
    Q_PROPERTY(int GapY READ gapY WRITE setGapY)
    Q_PROPERTY(int SegmentSize READ segmentSize WRITE setSegmentSize)
    Q_PROPERTY(QColor OnColor READ onColor WRITE setOnColor)
    Q_PROPERTY(QColor OffColor READ offColor WRITE setOffColor)
    Q_PROPERTY(QColor Color READ color WRITE setColor)
    Q_PROPERTY(TLCDAnimation Animation READ animation WRITE setAnimation)
    Q_PROPERTY(int AnimationDelay READ animationDelay WRITE setAnimationDelay)
    Q_PROPERTY(bool DoubleBuffer READ doubleBuffer WRITE setDoubleBuffer)
    Q_PROPERTY(int PaintDuration READ paintDuration)

public:
    enum TLCDAnimation { anNone, anSpiral, anUp, anDown, anLeft, anRight, anRandom };
    Q_ENUM(TLCDAnimation)

    // Already wider than a screen at one pixel a cell; the cap keeps a wild
    // DigitNum from padding strings to gigabytes.
    static constexpr int MaxDigitNum = 256;
    // Spacing, gaps and thickness beyond this would overflow the cell arithmetic.
    static constexpr int MaxExtent = 100000;

    explicit TLCD99(QWidget *parent = nullptr);
    ~TLCD99() override;

    QString value() const { return m_value; }
    int digitNum() const { return m_digitNum; }
    int digitSpacing() const { return m_digitSpacing; }
    int gapX() const { return m_gapX; }
    int gapY() const { return m_gapY; }
    int segmentSize() const { return m_segmentSize; }
    QColor onColor() const { return m_onColor; }
    QColor offColor() const { return m_offColor; }
    QColor color() const { return m_color; }
    TLCDAnimation animation() const { return m_animation; }
    int animationDelay() const { return m_animationDelay; }
    bool doubleBuffer() const { return m_doubleBuffer; }
    int paintDuration() const { return m_paintDuration; } // milliseconds, of the last paint
    bool isPainting() const { return m_painting; } // a change is being drawn, maybe step by step

    // The part of the value that fits the cells, as a screen reader should say it.
    QString shownText() const;

    QSize sizeHint() const override;

    void setValue(const QString &text);
    void setDigitNum(int count);
    void setDigitSpacing(int pixels);
    void setGapX(int pixels);
    void setGapY(int pixels);
    void setSegmentSize(int pixels);
    void setOnColor(const QColor &color);
    void setOffColor(const QColor &color);
    void setColor(const QColor &color);
    void setAnimation(TLCDAnimation animation) { m_animation = animation; }
    void setAnimationDelay(int milliseconds) { m_animationDelay = milliseconds; }
    void setDoubleBuffer(bool on) { m_doubleBuffer = on; }

signals:
    void valueChanged(const QString &value);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    bool setLookValue(int &field, int value);
    bool setLookColor(QColor &field, const QColor &color);
    void invalidate();
    void notifyShownTextChanged();

    struct Run;
    void startRender();
    void drawStep();
    void nextStep();
    void finishRender();
    void drawPoints(
        QImage &surface, const Lcd99::Geometry &geometry, const Lcd99::DrawingPass &pass) const;
    void drawSegments(QImage &surface, const Lcd99::Geometry &geometry,
        const Lcd99::DrawingPass &pass, int segment) const;
    void drawWholePass(
        QImage &surface, const Lcd99::Geometry &geometry, const Lcd99::DrawingPass &pass) const;
    void fillBackground(QImage &surface) const;
    Lcd99::Geometry geometryFor(QSize size) const;

    QString m_value;
    int m_digitNum = 4;
    int m_digitSpacing = 5;
    int m_gapX = 2;
    int m_gapY = 2;
    int m_segmentSize = 2;
    QColor m_onColor { 0, 255, 0 };
    QColor m_offColor { 0, 0, 0 };
    QColor m_color { 0, 0, 0 };
    TLCDAnimation m_animation = anNone;
    int m_animationDelay = 0;
    bool m_doubleBuffer = true;
    int m_paintDuration = 0;

    // What the control shows; paints during an animation copy it as it stands.
    QImage m_canvas;
    QString m_lastPainted;
    bool m_valueChanged = false;
    bool m_canvasStale = true;
    bool m_painting = false;
    std::unique_ptr<Run> m_run; // the change being drawn step by step
    QTimer m_stepTimer; // the wait after each step
};

// The drawing's arithmetic, apart from the widget so that it can be checked on its own.
namespace Lcd99 {

constexpr int SegmentCount = 8; // seven bars and the colon
constexpr int ColonSegment = 8;

struct Geometry
{
    int digitNum = 1;
    int digitSpacing = 0;
    int gapX = 0;
    int gapY = 0;
    int pitch = 1; // p: a cell's spacing plus the cell's own left line
    int digitWidth = 0; // dw
    int ymax = 0; // bottom line
    int mid = 0; // middle line
    int horizontalLength = 0; // hl
    int verticalLength = 0; // vl
    int thickness = 0; // T

    static Geometry of(
        QSize size, int digitNum, int digitSpacing, int gapX, int gapY, int segmentSize);
    int cellLeft(int k) const; // x(k), k counted from 1
};

// Segments 1 to 7 as six-corner polygons, corners in drawing order.
QPolygon segmentPolygon(const Geometry &geometry, int k, int segment);
// Bounding rectangles of the colon's dots and of the decimal point, right and bottom
// lines excluded (QRect's own convention).
QRect colonDotRect(const Geometry &geometry, int k, bool upper);
QRect decimalPointRect(const Geometry &geometry, int k);
// The pixels of the ellipse that fills a bounding rectangle, one rectangle per row.
QList<QRect> ellipseRows(const QRect &bounds);

bool lightsSegment(QChar cell, int segment); // a blank, or anything unknown, lights nothing
const std::array<int, SegmentCount> &segmentOrder(TLCD99::TLCDAnimation animation);

// Upper-cases a to z; anything outside digits, A-Z, '-', ' ', '.' and ':' empties the
// text; one trailing full stop is dropped.
QString acceptedValue(const QString &text);

// A full stop takes no cell: it marks the cell after it. cells and points have equal
// length; starts[i] is where cell i (with its point) begins in the text.
struct CellString
{
    QString cells;
    QString points;
    QList<int> starts;
};
CellString splitCells(const QString &value);
CellString rightAligned(CellString split, int digitNum);

struct DrawingPass
{
    CellString now;
    CellString before;
    const std::array<int, SegmentCount> *order = nullptr; // null: not animated
    qint64 delay = 0;
    bool changedOnly = false;
};

void drawSegment(
    QPainter &painter, const Geometry &geometry, int k, int segment, const QColor &color);
void drawColon(QPainter &painter, const Geometry &geometry, int k, const QColor &color);
void drawDecimalPoint(QPainter &painter, const Geometry &geometry, int k, const QColor &color);

} // namespace Lcd99
