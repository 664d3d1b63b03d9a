#pragma once

// Lets screen readers and tests read the string grid as a table: its cells,
// its header and its current row. Safe to call more than once.
void installAdvGridAccessibility();
