#pragma once
// The house look's colours: the palette the styles start from (and the look pass gives them), and the arithmetic of
// the shades their gradients and captions are drawn in.

#include "Graphics.h"

// Push buttons: a grey border; the normal fill, and the one of a hot or pressed button.
constexpr TColor HouseButtonBorderColor = RGBColor(136, 136, 134);
constexpr TColor HouseButtonNormalColor = RGBColor(192, 197, 220);
constexpr TColor HouseButtonHotColor = RGBColor(154, 162, 197);
// Tab controls and tab sets: the outlines of the selected and of the other tabs, and the flat-button captions.
constexpr TColor HouseTabBorderColor = RGBColor(81, 111, 171);

// The progress bar's fill: the blue of the house's headings; its frame: the grey of its separator lines.
constexpr TColor HouseProgressColor = RGBColor(49, 106, 197);
constexpr TColor HouseProgressFrameColor = RGBColor(206, 206, 206);
constexpr TColor HouseTabInactiveBorderColor = RGBColor(144, 144, 144);
constexpr TColor HouseTabActiveFontColor = RGBColor(0, 0, 255);
constexpr TColor HouseTabFontColor = clBlack;
// The fills of tab controls (flat-button strip, selected tab and page, other tabs)...
constexpr TColor HouseTabControlBackColor = RGBColor(228, 237, 244);
constexpr TColor HouseTabControlActiveColor = RGBColor(219, 232, 249);
constexpr TColor HouseTabControlInactiveColor = RGBColor(223, 223, 223);
// ...and of tab sets.
constexpr TColor HouseTabSetBackColor = RGBColor(239, 239, 239);
constexpr TColor HouseTabSetActiveColor = RGBColor(221, 231, 243);
constexpr TColor HouseTabSetInactiveColor = RGBColor(220, 220, 220);

// Num / Den to the nearest integer, a tie to the even one (Num >= 0, Den > 0).
int RoundHalfEven(int Num, int Den);
// Each component raised by its share of Amount, c + c * Amount / (r + g + b), at most 255. Black has no shares and
// stays black (rather than dividing by zero).
TColor Lightened(TColor Base, int Amount);
// Each component lowered by its share of Amount, c - c * Amount / (r + g + b), kept to its low eight bits; black
// stays black.
TColor Darkened(TColor Base, int Amount);
// A gradient's row Part of Whole: Base lightened by Strength * Part / Whole, rounded half to even; Base itself when
// there is no height to grade over.
TColor GradientShade(TColor Base, int Strength, int Part, int Whole);
