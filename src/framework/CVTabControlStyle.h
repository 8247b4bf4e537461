#pragma once
// The house look of the controls on the common tab control (tab control, page control): a style object that takes
// over the control's window procedure and paints the whole control off-screen. Two looks: slanted gradient tabs
// over a light strip, or, for Style = flat buttons, a flat strip of captions between short dividers.

#include <string>

#include "CVTabbedStyle.h"
#include "TabCtrls.h"

// Like every style it never unhooks; it never gives OnResize back either.
class TTabControlStyle : public TTabbedStyle {
public:
    TTabControlStyle(TComponent* AOwner, TWinControl* AControl);

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

protected:
    bool Compose(TCanvas& Canvas) override;

private:
    friend TTabControlStyle* CreateTabControlStyle(TWinControl* AControl, const TTabControlStyleColors& AColors);

    RECT TabRect(int Index);
    int SelectedTabHeight();
    // The band that the rows of tabs in view take, and the height of one row.
    struct TTabRows {
        RECT Band{};
        int RowHeight = 0;
    };
    TTabRows TabRows();
    // The page area beside the tabs: the client area without the rows of tabs; with one row, without the selected
    // tab's height and one pixel more.
    RECT PageRect(const RECT& Client);
    // The stock control's dotted mark on the selected tab's Rect, while the control has the focus.
    void DrawFocusMark(TCanvas& Canvas, const RECT& Rect);
    // A button's rectangle: a plain single-line tab control's buttons span its full height.
    RECT ButtonRect(int Index, const RECT& Client);
    bool TabsAtTopOrBottom() { return GetTabPosition() == tpTop || GetTabPosition() == tpBottom; }

    TCustomTabControl* FTabControl = nullptr;  // FControl when it is a tab or page control
    TNotifyEvent FOldOnResize;
    std::unique_ptr<TStringList> FHints;
    std::unique_ptr<TStringList> FVisited;
};

TTabControlStyle* CreateTabControlStyle(TWinControl* AControl, const TTabControlStyleColors& AColors);

// Gives a program the tab control and the page control: their layout classes, and the look pass's rule that
// styles each one it meets in the house colours. Called once at start-up by the programs that show them.
void RegisterTabControlStyle();
