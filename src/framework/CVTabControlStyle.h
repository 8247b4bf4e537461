#pragma once
// The house look of the controls on the common tab control (tab control, page control): a style object that takes
// over the control's window procedure and paints the whole control off-screen. Two looks: slanted gradient tabs
// over a light strip, or, for Style = flat buttons, a flat strip of captions between short dividers.

#include <cstdint>
#include <memory>
#include <string>

#include "Classes.h"
#include "Controls.h"
#include "Graphics.h"
#include "TabCtrls.h"

// How one tab or button is drawn.
enum TTabDrawKind : uint8_t { tdkSelected = 0, tdkUnselected = 1 };

// The creator's record. Slots 6 and 7 are not read; the look pass leaves them and puts the border colour into
// the divider slot.
struct TTabControlStyleColors {
    TColor BorderColor;
    TColor InactiveBorderColor;
    TColor BackColor;
    TColor ActiveColor;
    TColor InactiveColor;
    TColor Unused6;
    TColor Unused7;
    TColor DividerColor;
};

// Owned by the control's owner, so it outlives the control's window; it never unhooks (nor gives OnResize back),
// so stacked hooks installed after it keep a valid chain.
class TTabControlStyle : public TComponent {
public:
    TTabControlStyle(TComponent* AOwner, TWinControl* AControl);
    ~TTabControlStyle() override;

    // Each setter only stores the colour; it shows at the next paint.
    void SetBorderColor(TColor Value) { FBorderColor = Value; }
    void SetInactiveBorderColor(TColor Value) { FInactiveBorderColor = Value; }
    void SetBackColor(TColor Value) { FBackColor = Value; }
    void SetActiveColor(TColor Value) { FActiveColor = Value; }
    void SetInactiveColor(TColor Value) { FInactiveColor = Value; }
    void SetDividerColor(TColor Value) { FDividerColor = Value; }

    void HookWndProc(TMessage& Message);
    // Compose the whole control into Canvas; false when the tabs are at the left or right, which keep the
    // stock painting.
    virtual bool PaintTabs(TCanvas& Canvas);
    virtual bool PaintButtons(TCanvas& Canvas);
    virtual void DrawTab(TCanvas& Canvas, int Index, const RECT& Rect, TTabDrawKind Kind);
    virtual void DrawButton(TCanvas& Canvas, int Index, const RECT& Rect, TTabDrawKind Kind, bool Visited);
    virtual void DrawTabText(TCanvas& Canvas, int Index, const std::string& Text, const RECT& Rect,
                             TTabDrawKind Kind);
    virtual void DrawButtonText(TCanvas& Canvas, int Index, const std::string& Text, const RECT& Rect,
                                TTabDrawKind Kind, bool Visited);
    // What the style knows of the control's tabs; a control of another kind has none.
    virtual std::string GetTabCaption(int Index);
    virtual bool GetTabVisible(int Index);
    virtual int GetTabIndex();
    virtual int GetTabCount();
    virtual const TFont& GetFont();
    virtual TTabPosition GetTabPosition();
    virtual TTabStyle GetTabStyle();
    // The tab gradient over Rect, lightest at the edge away from the page.
    void GradientFill(TCanvas& Canvas, const RECT& Rect, TColor BaseColor, TTabDrawKind Kind, int Direction);
    // Chained into a multi-line tab control's OnResize: the control is exactly as high as its rows.
    void ControlResize(TObject* Sender);

    // The per-tab hints, read from the control's Hint at construction.
    const TStringList& Hints() const { return *FHints; }

private:
    void PaintMessage(TMessage& Message);
    RECT TabRect(int Index);
    int SelectedTabHeight();
    // The page area beside the tabs: the client area without the selected tab's height and one more row.
    RECT PageRect(const RECT& Client);
    // A button's rectangle: a plain single-line tab control's buttons span its full height.
    RECT ButtonRect(int Index, const RECT& Client);
    bool TabsAtTopOrBottom() { return GetTabPosition() == tpTop || GetTabPosition() == tpBottom; }

    TWinControl* FControl = nullptr;
    TCustomTabControl* FTabControl = nullptr;  // FControl when it is a tab or page control
    std::unique_ptr<TBitmap> FBitmap;
    std::unique_ptr<TCanvas> FCanvas;
    TWndMethod FOldWindowProc;
    TColor FBackColor = 0;
    TColor FActiveColor = 0;
    TColor FInactiveColor = 0;
    TColor FActiveFontColor = 0;
    TColor FFontColor = 0;
    TColor FBorderColor = 0;
    TColor FDividerColor = 0;
    std::unique_ptr<TBitmap> FBackground;
    TColor FInactiveBorderColor = 0;
    TNotifyEvent FOldOnResize;
    std::unique_ptr<TStringList> FHints;
    std::unique_ptr<TStringList> FVisited;
};

TTabControlStyle* CreateTabControlStyle(TWinControl* AControl, const TTabControlStyleColors& AColors);

// Gives a program the tab control and the page control: their layout classes, and the look pass's rule that
// styles each one it meets in the house colours. Called once at start-up by the programs that show them.
void RegisterTabControlStyle();
