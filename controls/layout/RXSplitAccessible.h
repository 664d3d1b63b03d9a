#pragma once

// Screen readers see the bar as a splitter whose value is the size, in pixels,
// of the control it resizes.
namespace RXSplitAccessible {
void install();
}
