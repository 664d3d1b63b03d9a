#include "core/plot/PlotScale.h"

#include "core/Rounding.h"
#include "core/text/NumberFormat.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// 10^k as the integer part of e^(k * divisor): the divisor's excess over ln 10
// keeps the result just above 10^k, so the integer part is exactly 10^k up to
// k = 13. Deep zooms need more, and there the excess would show: the plain power
// is the exact one.
double powerOfTen(int k)
{
    if (k <= 13)
        return std::trunc(std::exp(k * Tsp_Scale::Ln10Divisor));
    return std::pow(10.0, k);
}

int decadeExponent(double range)
{
    return static_cast<int>(std::floor(std::log(range) / Tsp_Scale::Ln10Divisor));
}

// Scaled tick positions beyond this no longer fall on whole numbers in a double.
constexpr double ExactIntegerLimit = 9007199254740992.0; // 2^53

int clampedPixel(double p)
{
    if (!(p <= Tsp_Scale::PixelLimit)) // also NaN: as far away as can be drawn
        return Tsp_Scale::PixelLimit;
    if (p < -Tsp_Scale::PixelLimit)
        return -Tsp_Scale::PixelLimit;
    return roundHalfEven(p);
}

// A line is at least one pixel long and runs forwards.
int lineLengthOf(int length)
{
    if (length == 0)
        return 1;
    if (length == std::numeric_limits<int>::min())
        return std::numeric_limits<int>::max();
    return std::abs(length);
}

} // namespace

Tsp_Scale::Tsp_Scale(quint32 flags)
    : m_flags(flags)
{
    SetMinMax(10, 0);
}

Tsp_Scale::~Tsp_Scale() = default;

void Tsp_Scale::setFlags(quint32 flags)
{
    m_flags = flags;
    computeMapping();
    computeTickValues();
    computeTickPixels();
}

void Tsp_Scale::setFlag(int bit, bool on)
{
    const quint32 mask = 1u << bit;
    if (mask & (sfVertical | sfOppositeSide))
        return; // the side an axis sits on is fixed when it is made
    const quint32 flags = on ? (m_flags | mask) : (m_flags & ~mask);
    if (flags == m_flags)
        return;
    m_flags = flags;
    if (mask == sfInversed)
        computeMapping();
    if (mask & (sfInversed | sfNoTicksLines | sfNoTicksLabel | sfNotAdjusted)) {
        computeTickValues();
        computeTickPixels();
    }
    FlagChanged(bit, on);
}

void Tsp_Scale::FlagChanged(int, bool) { }

void Tsp_Scale::SetLinePos(int x, int y, int length)
{
    length = lineLengthOf(length);
    if (x == m_lineX && y == m_lineY && length == m_lineLength)
        return;
    m_lineX = x;
    m_lineY = y;
    m_lineLength = length;
    computeMapping();
    computeTickPixels();
}

void Tsp_Scale::setMin(double value)
{
    m_flags &= ~quint32(sfAutoMin);
    m_saved = false;
    if (value == m_min)
        return;
    SetMinMax(value, m_max);
    RequestRepaint();
}

void Tsp_Scale::setMax(double value)
{
    m_flags &= ~quint32(sfAutoMax);
    m_saved = false;
    if (value == m_max)
        return;
    SetMinMax(m_min, value);
    RequestRepaint();
}

void Tsp_Scale::SetMinMax(double a, double b)
{
    if (!setRange(a, b))
        return;
    m_configuredMin = m_min;
    m_configuredMax = m_max;
}

void Tsp_Scale::SetAutoMinMax(double a, double b)
{
    setRange(a, b);
}

bool Tsp_Scale::RangeTooSmall(double a, double b)
{
    const double magnitude = std::max(std::abs(a), std::abs(b));
    const double width = std::abs(b - a);
    return !(width > MinRelativeRange * magnitude)
        || !(width >= std::numeric_limits<double>::min());
}

bool Tsp_Scale::setRange(double a, double b)
{
    if (!std::isfinite(a) || !std::isfinite(b))
        return false;
    double lo = std::min(a, b);
    double hi = std::max(a, b);
    if (lo == hi) {
        const double m = lo;
        if (std::abs(m) < 10) {
            hi = m + 1;
            lo = hi - 1;
        } else if (m > 0) {
            hi = m + m / 10;
            lo = hi - std::abs(hi) / 10;
        } else {
            // The mirror image of the positive rule, so that M stays inside its range.
            lo = m - std::abs(m) / 10;
            hi = lo + std::abs(lo) / 10;
        }
    }
    const double range = hi - lo;
    if (!(range > 0) || !std::isfinite(range))
        return false;

    m_min = lo;
    m_max = hi;
    m_range = range;
    const int e = decadeExponent(range);
    m_factor = e > 0 ? 1.0 / powerOfTen(e - 1) : powerOfTen(1 - e);
    m_first = std::ceil(m_min * m_factor);
    m_last = std::floor(m_max * m_factor);
    computeMapping();
    computeTickValues();
    computeTickPixels();
    return true;
}

void Tsp_Scale::computeMapping()
{
    m_pixelsPerUnit = m_lineLength / m_range;
    m_originValue = m_min;
    if (inversed()) {
        m_pixelsPerUnit = -m_pixelsPerUnit;
        m_originValue = m_max;
    }
    if (vertical()) {
        m_originPixel = m_lineY;
        m_pixelsPerUnit = -m_pixelsPerUnit; // larger values lie higher on the screen
    } else {
        m_originPixel = m_lineX;
    }
}

int Tsp_Scale::ValueToPixel(double value) const
{
    return clampedPixel((value - m_originValue) * m_pixelsPerUnit + m_originPixel);
}

double Tsp_Scale::PixelToValue(double pixel) const
{
    return (pixel - m_originPixel) / m_pixelsPerUnit + m_originValue;
}

void Tsp_Scale::setTicksCount(int count)
{
    count = std::clamp(count, 0, MaxTicks);
    if (count == m_requestedTicks)
        return;
    m_requestedTicks = count;
    computeTickValues();
    computeTickPixels();
    RequestRepaint();
}

void Tsp_Scale::computeTickValues()
{
    m_tickCount = 0;
    if (m_requestedTicks == 0)
        return;
    if (evenTicks())
        computeEvenTicks();
    else
        computeAdjustedTicks();
}

void Tsp_Scale::computeAdjustedTicks()
{
    // In units of 1 / factor the range spans 10 to 100 whole units; the positions
    // themselves may be far larger than 32 bits hold when zoomed in deep.
    if (!std::isfinite(m_first) || !std::isfinite(m_last)
        || std::max(std::abs(m_first), std::abs(m_last)) >= ExactIntegerLimit)
        return;
    const double units = std::nearbyint(m_last - m_first);
    if (units < 0)
        return;
    const auto a = static_cast<qint64>(units);
    const int n = m_requestedTicks;
    qint64 count = 1;
    if (n == 1) {
        m_step = a;
    } else {
        m_step = std::max<qint64>(a / (n - 1), 1);
        count = a / m_step + 1;
    }
    m_tickCount = static_cast<int>(std::min<qint64>(count, MaxTicks));
    m_tickStart = inversed() ? m_last : m_first;
    const double step = static_cast<double>(inversed() ? -m_step : m_step);
    for (int i = 0; i < m_tickCount; ++i)
        m_tickValues[i] = std::trunc(m_tickStart + step * i) / m_factor;
}

void Tsp_Scale::computeEvenTicks()
{
    const int n = m_requestedTicks;
    m_tickCount = n;
    for (int i = 0; i < n; ++i)
        m_tickValues[i] = n == 1 ? i : static_cast<double>(i) / (n - 1);
}

void Tsp_Scale::computeTickPixels()
{
    for (int i = 0; i < m_tickCount; ++i) {
        int p = 0;
        if (evenTicks()) {
            const double along = std::nearbyint(m_lineLength * m_tickValues[i]);
            p = clampedPixel(vertical() ? m_originPixel - along : m_originPixel + along);
        } else {
            p = ValueToPixel(m_tickValues[i]);
        }
        m_tickPixels[i] = static_cast<qint16>(p);
    }
}

double Tsp_Scale::tickValue(int index) const
{
    return index >= 0 && index < m_tickCount ? m_tickValues[index] : 0.0;
}

int Tsp_Scale::tickPixel(int index) const
{
    return index >= 0 && index < m_tickCount ? m_tickPixels[index] : 0;
}

double Tsp_Scale::tickLabelValue(int index) const
{
    const double value = tickValue(index);
    if (!evenTicks())
        return value;
    return inversed() ? m_originValue - m_range * value : m_originValue + m_range * value;
}

void Tsp_Scale::setLabelFormat(const QString &format)
{
    if (format == m_labelFormat)
        return;
    m_labelFormat = format;
    RequestRepaint();
}

QString Tsp_Scale::GetTickLabel(int index) const
{
    if (index < 0 || index >= m_tickCount)
        return {};
    const double value = tickLabelValue(index);
    if (labelAsDataTime()) {
        // Days since 30 December 1899, the fraction being the time of day.
        static const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC);
        return epoch.addMSecs(std::llround(value * 86400000.0)).toString(m_labelFormat);
    }
    return NumberFormat::format(m_labelFormat, value);
}

int Tsp_Scale::longestLabelLength() const
{
    qsizetype longest = 0;
    for (int i = 0; i < m_tickCount; ++i)
        longest = std::max(longest, GetTickLabel(i).size());
    return static_cast<int>(longest);
}

int Tsp_Scale::ticksRoom(int W, int H) const
{
    if (m_tickCount == 0)
        return 0;
    if (!noTicksLabel())
        return vertical() ? longestLabelLength() * W + 5 : H + 5;
    return ticksLines() ? 4 : 0;
}

int Tsp_Scale::tickEdgeOverhang(int W, int H, int tick, double edgeValue) const
{
    if (m_tickCount == 0 || noTicksLabel())
        return 0;
    const int half = vertical() ? H / 2 : static_cast<int>(GetTickLabel(tick).size()) * W / 2;
    const double distance = std::abs((edgeValue - tickLabelValue(tick)) * m_pixelsPerUnit);
    if (!(distance < half))
        return 0;
    return std::max(0, half - roundHalfEven(distance));
}

int Tsp_Scale::StartOverhang(int W, int H) const
{
    return tickEdgeOverhang(W, H, 0, m_originValue);
}

int Tsp_Scale::EndOverhang(int W, int H) const
{
    return tickEdgeOverhang(W, H, m_tickCount - 1, inversed() ? m_min : m_max);
}

void Tsp_Scale::ShiftByPixels(int d)
{
    const double shift = d / m_pixelsPerUnit;
    if (shift == 0 || !std::isfinite(shift))
        return;
    const double min = m_min + shift;
    const double max = min + m_range;
    if (!std::isfinite(min) || !std::isfinite(max) || !(max > min))
        return; // so far out that the range would lose its width
    m_min = min;
    m_max = max;
    m_configuredMin = min;
    m_configuredMax = max;
    m_originValue = inversed() ? m_max : m_min;
    m_first = std::ceil(m_min * m_factor);
    m_last = std::floor(m_max * m_factor);
    if (std::abs(shift) > m_range)
        computeTickValues();
    else if (evenTicks())
        slideEvenTicks(shift);
    else
        slideAdjustedTicks();
    computeTickPixels();
}

// The old grid (old ticks plus whole steps) laid over the new range.
void Tsp_Scale::slideAdjustedTicks()
{
    if (m_tickCount == 0 || m_step <= 0 || m_requestedTicks < 2) {
        computeTickValues();
        return;
    }
    const double step = static_cast<double>(m_step);
    double start = 0;
    double room = 0;
    if (inversed()) {
        start = m_tickStart - std::ceil((m_tickStart - m_last) / step) * step;
        room = start - m_first;
    } else {
        start = m_tickStart + std::ceil((m_first - m_tickStart) / step) * step;
        room = m_last - start;
    }
    if (!std::isfinite(start) || std::abs(start) >= ExactIntegerLimit) {
        computeTickValues();
        return;
    }
    m_tickStart = start;
    m_tickCount
        = room < 0 ? 0 : static_cast<int>(std::min<double>(std::floor(room / step) + 1, MaxTicks));
    const double signedStep = inversed() ? -step : step;
    for (int i = 0; i < m_tickCount; ++i)
        m_tickValues[i] = std::trunc(m_tickStart + signedStep * i) / m_factor;
}

// Fractions of the axis, moved with the values and wrapped to stay on the axis.
void Tsp_Scale::slideEvenTicks(double shift)
{
    const int n = m_requestedTicks;
    if (n < 2 || m_tickCount == 0) {
        computeTickValues();
        return;
    }
    const double spacing = 1.0 / (n - 1);
    const double moved = m_tickValues[0] + (inversed() ? shift : -shift) / m_range;
    const double start = moved - std::floor(moved / spacing) * spacing;
    m_tickCount = 0;
    for (int i = 0; i < n; ++i) {
        const double fraction = start + spacing * i;
        if (fraction > 1 + 1e-12)
            break;
        m_tickValues[m_tickCount++] = fraction;
    }
}

void Tsp_Scale::SaveRange()
{
    if (m_saved)
        return;
    m_saved = true;
    m_savedMin = m_min;
    m_savedMax = m_max;
    m_savedConfiguredMin = m_configuredMin;
    m_savedConfiguredMax = m_configuredMax;
}

void Tsp_Scale::RestoreRange()
{
    if (!m_saved)
        return;
    m_saved = false;
    SetMinMax(m_savedMin, m_savedMax);
    m_configuredMin = m_savedConfiguredMin;
    m_configuredMax = m_savedConfiguredMax;
}

void Tsp_Scale::assignScale(const Tsp_Scale &other)
{
    m_flags = other.m_flags;
    m_lineX = other.m_lineX;
    m_lineY = other.m_lineY;
    m_lineLength = other.m_lineLength;
    m_requestedTicks = other.m_requestedTicks;
    m_labelFormat = other.m_labelFormat;
    m_saved = false;
    SetMinMax(other.m_min, other.m_max);
}
