#pragma once
// The house look of a tab set: a style object that takes over the tab set's window procedure and composes the
// whole bar off-screen: a light blue strip, trapezoid tabs hanging from the top edge, the selected one open
// towards the top line with a bold red caption.

#include <string>

#include "CVTabbedStyle.h"
#include "Tabs.h"

class TTabSetStyle : public TTabbedStyle {
public:
    TTabSetStyle(TComponent* AOwner, TTabSet* AControl);

    // Back, active font, font and divider colours are kept for those who read them and paint nothing.
    using TTabbedStyle::SetActiveFontColor;
    using TTabbedStyle::SetFontColor;

    void HookWndProc(TMessage& Message);
    // Paints the whole tab set: the strip, the unselected tabs right to left, the selected one last.
    virtual bool Paint(TCanvas& Canvas);
    virtual void DrawTab(TCanvas& Canvas, int Index, const RECT& Rect, TTabDrawKind Kind);
    virtual void DrawTabText(TCanvas& Canvas, const std::string& Text, const RECT& Rect, TTabDrawKind Kind);
    virtual std::string GetTabCaption(int Index);
    virtual bool IsTabSelected(int Index);
    virtual int GetTabIndex();
    virtual int GetTabCount();
    virtual const TFont& GetFont();
    // Row by row: flat in the base colour (tdkSelected), or lightened towards the top (Direction 1) or the bottom.
    void GradientFill(TCanvas& Canvas, const RECT& Rect, TColor BaseColor, TTabDrawKind Mode, int Direction);

protected:
    bool Compose(TCanvas& Canvas) override { return Paint(Canvas); }

private:
    friend TTabSetStyle* CreateTabSetStyle(TTabSet* AControl, const TTabSetStyleColors& AColors);

    TTabSet* FTabSet = nullptr;  // FControl
};

TTabSetStyle* CreateTabSetStyle(TTabSet* AControl, const TTabSetStyleColors& AColors);

// Gives a program the tab set: its layout class, and the look pass's rule that styles each one it meets in the
// house colours. Called once at start-up by the programs that show them.
void RegisterTabSetStyle();
