#include "CVTabbedStyle.h"

TTabbedStyle::TTabbedStyle(TComponent* AOwner, TWinControl* AControl, const TTabStyleColors& Defaults,
                           const char* Background)
    : TControlStyle(AOwner, AControl), FBackground(LoadBitmap(Background))
{
    ApplyColors(Defaults, true);
}

void TTabbedStyle::ApplyColors(const TTabStyleColors& Colors, bool FontColors)
{
    SetBorderColor(Colors.BorderColor);
    SetInactiveBorderColor(Colors.InactiveBorderColor);
    SetBackColor(Colors.BackColor);
    SetActiveColor(Colors.ActiveColor);
    SetInactiveColor(Colors.InactiveColor);
    if (FontColors) {
        SetActiveFontColor(Colors.ActiveFontColor);
        SetFontColor(Colors.FontColor);
    }
    SetDividerColor(Colors.DividerColor);
}
