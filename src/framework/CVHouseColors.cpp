#include "CVHouseColors.h"

#include <algorithm>

namespace {

// Each component moved by its share of Amount: Shift(c, c * Amount / (r + g + b)).
template <class F>
TColor ByShare(TColor Base, int Amount, F Shift)
{
    const COLORREF rgb = ColorToRGB(Base);
    const int r = GetRValue(rgb), g = GetGValue(rgb), b = GetBValue(rgb);
    const int sum = r + g + b;
    if (sum == 0) return clBlack;
    auto component = [&](int c) { return Shift(c, c * Amount / sum); };
    return RGBColor(component(r), component(g), component(b));
}

}  // namespace

int RoundHalfEven(int Num, int Den)
{
    const int quotient = Num / Den, twice = 2 * (Num % Den);
    if (twice > Den || (twice == Den && quotient % 2 != 0)) return quotient + 1;
    return quotient;
}

TColor Lightened(TColor Base, int Amount)
{
    return ByShare(Base, Amount, [](int c, int share) { return std::min(255, c + share); });
}

TColor Darkened(TColor Base, int Amount)
{
    return ByShare(Base, Amount, [](int c, int share) { return (c - share) & 0xFF; });
}

TColor GradientShade(TColor Base, int Strength, int Part, int Whole)
{
    return Lightened(Base, Whole > 0 ? RoundHalfEven(Strength * Part, Whole) : 0);
}
