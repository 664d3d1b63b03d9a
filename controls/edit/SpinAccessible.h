#pragma once

class TSpinEdit;

// Lets screen readers and tests read a spin edit as a spin box: its value and
// its limits (no limits when they are equal).
namespace SpinAccessible {

void install(); // safe to call more than once
void notifyValueChanged(TSpinEdit *edit);

} // namespace SpinAccessible
