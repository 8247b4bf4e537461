#pragma once
// The base of the two tab looks (tab control and page control, tab set): the colours they share and the strip
// they draw the tabs over.

#include <cstdint>
#include <memory>

#include "CVControlStyle.h"
#include "CVHouseColors.h"

// How one tab (or flat button) is drawn.
enum TTabDrawKind : uint8_t { tdkSelected = 0, tdkUnselected = 1 };

// The colours of both looks, in the order of the creators' records.
struct TTabStyleColors {
    TColor BorderColor;
    TColor InactiveBorderColor;
    TColor BackColor;
    TColor ActiveColor;
    TColor InactiveColor;
    TColor ActiveFontColor;
    TColor FontColor;
    TColor DividerColor;
};
// The creators' records; the tab control's creator leaves slots 6 and 7, the font colours: the control keeps its own.
using TTabControlStyleColors = TTabStyleColors;
using TTabSetStyleColors = TTabStyleColors;

// What the styles hold when nobody sets their colours, and what the look pass gives them.
constexpr TTabControlStyleColors TabControlStyleDefaults{
    HouseTabBorderColor,          HouseTabInactiveBorderColor, HouseTabControlBackColor, HouseTabControlActiveColor,
    HouseTabControlInactiveColor, HouseTabActiveFontColor,     HouseTabFontColor,        HouseTabBorderColor};
constexpr TTabSetStyleColors TabSetStyleDefaults{
    HouseTabBorderColor,      HouseTabInactiveBorderColor, HouseTabSetBackColor, HouseTabSetActiveColor,
    HouseTabSetInactiveColor, HouseTabActiveFontColor,     HouseTabFontColor,    HouseTabBorderColor};

class TTabbedStyle : public TControlStyle {
public:
    // Each setter only stores the colour; it shows at the next paint.
    void SetBorderColor(TColor Value) { FBorderColor = Value; }
    void SetInactiveBorderColor(TColor Value) { FInactiveBorderColor = Value; }
    void SetBackColor(TColor Value) { FBackColor = Value; }
    void SetActiveColor(TColor Value) { FActiveColor = Value; }
    void SetInactiveColor(TColor Value) { FInactiveColor = Value; }
    void SetDividerColor(TColor Value) { FDividerColor = Value; }

protected:
    // Starts with the colours of Defaults and the strip of the bitmap resource Background.
    TTabbedStyle(TComponent* AOwner, TWinControl* AControl, const TTabStyleColors& Defaults, const char* Background);

    // Published by the looks that let them be set.
    void SetActiveFontColor(TColor Value) { FActiveFontColor = Value; }
    void SetFontColor(TColor Value) { FFontColor = Value; }
    // A look's creator: the style for Control, owned by the control's owner, given Colors through the setters in
    // the record's order; the font colours only when FontColors.
    template <class TStyle, class TControlType>
    static TStyle* Create(TControlType* Control, const TTabStyleColors& Colors, bool FontColors)
    {
        auto* style = new TStyle(Control->Owner(), Control);
        style->ApplyColors(Colors, FontColors);
        return style;
    }
    void ApplyColors(const TTabStyleColors& Colors, bool FontColors);

    TColor FBackColor = 0;
    TColor FActiveColor = 0;
    TColor FInactiveColor = 0;
    TColor FActiveFontColor = 0;
    TColor FFontColor = 0;
    TColor FBorderColor = 0;
    TColor FDividerColor = 0;
    TColor FInactiveBorderColor = 0;
    std::unique_ptr<TBitmap> FBackground;
};
