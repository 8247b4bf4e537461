#pragma once
// The house look of progress bars: the house blue filling a light grey frame on white. A bar paints itself, so the
// look is its colours only; it is given once, by the look pass for a program that registered it, or directly.

#include "ComCtrls.h"

struct TProgressBarStyleColors {
    TColor Bar;
    TColor Frame;
    TColor Back;
};

extern const TProgressBarStyleColors ProgressBarStyleDefaults;

// Gives the bar the colours.
void StyleProgressBar(TProgressBar* Bar, const TProgressBarStyleColors& Colors);
// Adds the look pass's rule for progress bars: each gets the house colours at its form's first show.
void RegisterProgressBarStyle();
