#pragma once
// The house look of a tab set: a style object that takes over the tab set's window procedure and composes the
// whole bar off-screen: a light blue strip, trapezoid tabs hanging from the top edge, the selected one open
// towards the top line with a bold red caption.

#include <cstdint>
#include <memory>
#include <string>

#include "Classes.h"
#include "Controls.h"
#include "Graphics.h"
#include "Tabs.h"

// How a tab is drawn (and, for the gradient, how it is filled).
enum TTabKind : uint8_t { tkSelected = 0, tkUnselected = 1 };

struct TTabSetStyleColors {
    TColor BorderColor;
    TColor InactiveBorderColor;
    TColor BackColor;
    TColor ActiveColor;
    TColor InactiveColor;
    TColor ActiveFontColor;
    TColor FontColor;
    TColor DividerColor;
};

// What a style holds when nobody sets its colours.
constexpr TTabSetStyleColors TabSetStyleDefaults{11235153, 9474192, 15724527, 15984605,
                                                 14474460, 16711680, 0,       11235153};

// Owned by the tab set's owner, so it outlives the tab set's window; it never unhooks.
class TTabSetStyle : public TComponent {
public:
    TTabSetStyle(TComponent* AOwner, TTabSet* AControl);

    // Each setter only stores the colour; it shows at the next paint. Back, active font, font and divider colours
    // are kept for those who read them and paint nothing.
    void SetBorderColor(TColor Value) { FBorderColor = Value; }
    void SetInactiveBorderColor(TColor Value) { FInactiveBorderColor = Value; }
    void SetBackColor(TColor Value) { FBackColor = Value; }
    void SetActiveColor(TColor Value) { FActiveColor = Value; }
    void SetInactiveColor(TColor Value) { FInactiveColor = Value; }
    void SetActiveFontColor(TColor Value) { FActiveFontColor = Value; }
    void SetFontColor(TColor Value) { FFontColor = Value; }
    void SetDividerColor(TColor Value) { FDividerColor = Value; }

    void HookWndProc(TMessage& Message);
    // Paints the whole tab set: the strip, the unselected tabs right to left, the selected one last.
    virtual bool Paint(TCanvas& Canvas);
    virtual void DrawTab(TCanvas& Canvas, int Index, const RECT& Rect, TTabKind Kind);
    virtual void DrawTabText(TCanvas& Canvas, const std::string& Text, const RECT& Rect, TTabKind Kind);
    virtual std::string GetTabCaption(int Index);
    virtual bool IsTabSelected(int Index);
    virtual int GetTabIndex();
    virtual int GetTabCount();
    virtual const TFont& GetFont();
    // Row by row: flat in the base colour (tkSelected), or lightened towards the top (Direction 1) or the bottom.
    void GradientFill(TCanvas& Canvas, const RECT& Rect, TColor BaseColor, TTabKind Mode, int Direction);

private:
    void PaintMessage(TMessage& Message);

    TTabSet* FControl = nullptr;
    std::unique_ptr<TBitmap> FBitmap;
    std::unique_ptr<TCanvas> FCanvas;
    TWndMethod FOldWindowProc;
    TColor FBackColor = 0;
    TColor FActiveColor = 0;
    TColor FInactiveColor = 0;
    TColor FActiveFontColor = 0;
    TColor FFontColor = 0;
    TColor FBorderColor = 0;
    std::unique_ptr<TBitmap> FBackground;
    TColor FInactiveBorderColor = 0;
    TColor FDividerColor = 0;
};

TTabSetStyle* CreateTabSetStyle(TTabSet* AControl, const TTabSetStyleColors& AColors);

// Gives a program the tab set: its layout class, and the look pass's rule that styles each one it meets in the
// house colours. Called once at start-up by the programs that show them.
void RegisterTabSetStyle();
