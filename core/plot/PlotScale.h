#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <array>
#include <utility>

// One axis's value range and what follows from it: tick values on a grid of
// simple numbers, their pixel positions, their labels and the mapping from
// values to pixels along the axis line. No drawing: the axis adds that.
class Tsp_Scale
{
public:
    // Bits of the flags word; the vertical and opposite-side bits are fixed at construction.
    enum Flag : quint32 {
        sfVertical = 1,
        sfInversed = 2,
        sfNoTicksLines = 8,
        sfNoTicksLabel = 16, // also spaces the ticks evenly
        sfOppositeSide = 32,
        sfAutoMin = 64,
        sfAutoMax = 128,
        sfLabelAsDateTime = 256,
        sfNotAdjusted = 512,
    };

    static constexpr int MaxTicks = 21; // the capacity of the tick arrays
    static constexpr int PixelLimit = 16383; // mapped coordinates stay drawable
    // Slightly larger than ln 10, so that a range of exactly 10^k (k >= 1) gets the
    // exponent k - 1 and its ticks fall on the finer grid.
    static constexpr double Ln10Divisor = 2.30258509299405;
    // Below this fraction of the values' magnitude a range has lost its digits.
    static constexpr double MinRelativeRange = 1e-9;

    explicit Tsp_Scale(quint32 flags = 0);
    virtual ~Tsp_Scale();
    Tsp_Scale(const Tsp_Scale &) = delete;
    Tsp_Scale &operator=(const Tsp_Scale &) = delete;

    quint32 flags() const { return m_flags; }
    bool vertical() const { return m_flags & sfVertical; }
    bool oppositeSide() const { return m_flags & sfOppositeSide; }
    bool inversed() const { return m_flags & sfInversed; }
    bool ticksLines() const { return !(m_flags & sfNoTicksLines); }
    bool noTicksLabel() const { return m_flags & sfNoTicksLabel; }
    bool autoMin() const { return m_flags & sfAutoMin; }
    bool autoMax() const { return m_flags & sfAutoMax; }
    bool labelAsDataTime() const { return m_flags & sfLabelAsDateTime; }
    bool ticksAdjusted() const { return !(m_flags & sfNotAdjusted); }
    bool evenTicks() const { return m_flags & (sfNoTicksLabel | sfNotAdjusted); }

    // The whole word as stored with a window: recomputes mapping and ticks, calls no
    // FlagChanged and requests no repaint.
    void setFlags(quint32 flags);
    void setInversed(bool on) { setFlag(1, on); }
    void setTicksLines(bool on) { setFlag(3, !on); }
    void setNoTicksLabel(bool on) { setFlag(4, on); }
    void setAutoMin(bool on) { setFlag(6, on); }
    void setAutoMax(bool on) { setFlag(7, on); }
    void setLabelAsDataTime(bool on) { setFlag(8, on); }
    void setTicksAdjusted(bool on) { setFlag(9, !on); }

    int lineX() const { return m_lineX; }
    int lineY() const { return m_lineY; }
    int lineLength() const { return m_lineLength; }
    // A length of 0 counts as 1, a negative one as its absolute value. Recomputes the
    // mapping and the tick pixels when anything changed; the tick values stay.
    void SetLinePos(int x, int y, int length);

    double min() const { return m_min; }
    double max() const { return m_max; }
    double range() const { return m_range; }
    // Through the properties a bound switches its automatic flag off, forgets the
    // saved range and repaints.
    void setMin(double value);
    void setMax(double value);
    // Orders and widens the two values, then recomputes everything; no repaint.
    // Non-finite values, or ones whose widening overflows, leave the range as it was.
    void SetMinMax(double a, double b);

    // The bounds last chosen by anything but the automatic range (properties,
    // SetMinMax, Assign, zoom, pan, restore). The automatic range takes the bound it
    // does not compute from here, so its result does not depend on what an earlier
    // automatic range left behind.
    double configuredMin() const { return m_configuredMin; }
    double configuredMax() const { return m_configuredMax; }
    // SetMinMax for the automatic range: the configured bounds stay.
    void SetAutoMinMax(double a, double b);
    // Whether a range from a to b is too narrow for its magnitude to keep distinct
    // ticks and pixels (used to refuse deeper zooms).
    static bool RangeTooSmall(double a, double b);

    // Read: the ticks actually placed. Write: the request, capped at MaxTicks.
    int ticksCount() const { return m_tickCount; }
    int requestedTicksCount() const { return m_requestedTicks; }
    void setTicksCount(int count);
    // Adjusted ticks: the value; evenly spaced ones: the fraction 0..1 of the axis.
    double tickValue(int index) const;
    int tickPixel(int index) const;
    // The value a tick stands for, also for evenly spaced ticks.
    double tickLabelValue(int index) const;

    double decadeFactor() const { return m_factor; }
    double first() const { return m_first; }
    double last() const { return m_last; }
    qint64 step() const { return m_step; }
    double originValue() const { return m_originValue; }
    int originPixel() const { return m_originPixel; }
    double pixelsPerUnit() const { return m_pixelsPerUnit; }

    // Rounded half to even, clamped to +-PixelLimit.
    int ValueToPixel(double value) const;
    double PixelToValue(double pixel) const;

    QString labelFormat() const { return m_labelFormat; }
    void setLabelFormat(const QString &format);
    // The tick's value through LabelFormat as a number picture (NumberFormat); with
    // LabelAsDataTime, the value as days since 30 December 1899 through LabelFormat
    // as a Qt date-time format.
    virtual QString GetTickLabel(int index) const;
    int longestLabelLength() const; // in characters

    // Room beside the line for tick marks and labels, W the width of "0" and H the
    // font height; the axis adds its line width to make the thickness.
    int ticksRoom(int W, int H) const;
    // How far the first (last) tick's label reaches beyond the start (end) of the line.
    int StartOverhang(int W, int H) const;
    int EndOverhang(int W, int H) const;

    // Moves the range by d pixels' worth, keeping the tick grid where it can.
    void ShiftByPixels(int d);

    bool hasSavedRange() const { return m_saved; }
    void SaveRange();
    void RestoreRange();
    void forgetSavedRange() { m_saved = false; }

    // The range, flags and line position as a window description stores them, in
    // order: "SFlags", "SLinePos" (x, y, length), "fMin" (only when not 0), "fMax".
    using StoredValue = std::pair<QString, QVariant>;
    QList<StoredValue> StoredValues() const;
    // Reading "SFlags", "SLinePos" and "fMin" only stores; "fMax" then sets the
    // range from it and the current Min, recomputing everything. Unknown names and
    // unreadable values are ignored.
    void ReadStoredValue(const QString &name, const QVariant &value);

protected:
    // Copies flags, line position, requested ticks, label format and the range.
    void assignScale(const Tsp_Scale &other);
    // A flag's bit changed through its property (after the recomputation it needs).
    virtual void FlagChanged(int bit, bool value);
    // A change that alters the look; a bare scale has nobody to tell.
    virtual void RequestRepaint() { }

private:
    void setFlag(int bit, bool on);
    bool setRange(double a, double b);
    void computeMapping();
    void computeTickValues();
    void computeAdjustedTicks();
    void computeEvenTicks();
    void computeTickPixels();
    void slideAdjustedTicks();
    void slideEvenTicks(double shift);
    int tickEdgeOverhang(int W, int H, int tick, double edgeValue) const;

    quint32 m_flags = 0;
    int m_lineX = 10;
    int m_lineY = 30;
    int m_lineLength = 25;
    double m_min = 0;
    double m_max = 10;
    double m_configuredMin = 0;
    double m_configuredMax = 10;
    int m_requestedTicks = 5;
    QString m_labelFormat = QStringLiteral("###0.##");

    double m_range = 10;
    double m_factor = 10;
    double m_first = 0;
    double m_last = 100;
    qint64 m_step = 25;
    double m_tickStart = 0; // the first adjusted tick in units of 1 / factor
    int m_tickCount = 0;
    std::array<double, MaxTicks> m_tickValues {};
    std::array<qint16, MaxTicks> m_tickPixels {};
    double m_originValue = 0;
    int m_originPixel = 0;
    double m_pixelsPerUnit = 1;

    bool m_saved = false;
    double m_savedMin = 0;
    double m_savedMax = 0;
    double m_savedConfiguredMin = 0;
    double m_savedConfiguredMax = 0;
};
