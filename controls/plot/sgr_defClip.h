#pragma once

#include <QLineF>
#include <QRectF>

#include <optional>

namespace SegmentClip {

// The part of the segment that lies inside `box` (edges included), computed
// in floating point so that far-away ends keep the segment's true slope;
// nothing when the segment misses the box.
std::optional<QLineF> clip(const QLineF &segment, const QRectF &box);

} // namespace SegmentClip
