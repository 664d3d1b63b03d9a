#include "controls/plot/sgr_defClip.h"

#include <array>

namespace SegmentClip {

// Liang-Barsky: shrink the parameter interval [t0, t1] of p0 + t (p1 - p0)
// against each of the four edges.
std::optional<QLineF> clip(const QLineF &segment, const QRectF &box)
{
    const double dx = segment.dx();
    const double dy = segment.dy();
    const double x0 = segment.x1();
    const double y0 = segment.y1();
    const std::array<double, 4> p = { -dx, dx, -dy, dy };
    const std::array<double, 4> q
        = { x0 - box.left(), box.right() - x0, y0 - box.top(), box.bottom() - y0 };
    double t0 = 0.0;
    double t1 = 1.0;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0.0) {
            if (q[i] < 0.0)
                return std::nullopt; // parallel to this edge and outside it
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0) {
            if (t > t1)
                return std::nullopt;
            if (t > t0)
                t0 = t;
        } else {
            if (t < t0)
                return std::nullopt;
            if (t < t1)
                t1 = t;
        }
    }
    return QLineF(x0 + t0 * dx, y0 + t0 * dy, x0 + t1 * dx, y0 + t1 * dy);
}

} // namespace SegmentClip
