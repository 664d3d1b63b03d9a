#pragma once

#include <cmath>

// Halves go to the even neighbour: roundHalfEven(0.5) == 0, roundHalfEven(348.5) == 348.
inline int roundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(value)); // the default rounding mode is to nearest-even
}
