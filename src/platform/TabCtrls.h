#pragma once
// The controls on the system's common tab control: the tab control and the page control.

#include <string>
#include <vector>

#include "Controls.h"

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
inline constexpr const char* TabPositionNames[] = {"tpTop", "tpBottom", "tpLeft", "tpRight"};
enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };
inline constexpr const char* TabStyleNames[] = {"tsTabs", "tsButtons", "tsFlatButtons"};

// Mouse cursors a control may ask for over its client area.
using TCursor = int;
constexpr TCursor crDefault = 0, crHandPoint = -21;

// A control on the common tab control (WC_TABCONTROL): the tabs, their geometry and the selection. Every query
// goes through Perform, so a style hooked into WindowProc sees it (TCM_ADJUSTRECT above all).
class TCustomTabControl : public TWinControl {
public:
    explicit TCustomTabControl(TComponent* AOwner);
    ~TCustomTabControl() override;

    TTabPosition TabPosition() const { return FTabPosition; }
    void SetTabPosition(TTabPosition Value);
    TTabStyle Style() const { return FStyle; }
    void SetStyle(TTabStyle Value);
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool Value);
    bool HotTrack() const { return FHotTrack; }
    void SetHotTrack(bool Value);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor Value) { FCursor = Value; }

    // The selected tab as the window has it; -1 when none. Setting it does not fire OnChange.
    int TabIndex() const;
    void SetTabIndex(int Value);
    // The common control's item rectangle of tab Index (TCM_GETITEMRECT); empty for an unknown tab.
    RECT TabRect(int Index);
    // The tab under a client point; -1 outside the client area or over no tab.
    int IndexOfTabAt(int X, int Y);
    int RowCount();
    // The area inside the tabs and the frame: the client rectangle as TCM_ADJUSTRECT gives it.
    RECT DisplayRect();
    RECT AlignRect() const override;

    // Fired when the user selects another tab (by mouse or keyboard), not when TabIndex is set.
    TNotifyEvent OnChange;
    TNotifyEvent OnResize;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateHandleDone() override;
    void WndProc(TMessage& Message) override;
    // The captions the control shows, in tab order.
    virtual std::vector<std::string> TabCaptions() const = 0;
    // Puts the captions into the window again after a change of them.
    void UpdateTabs();
    // The tab selected after the captions changed from OldCount tabs with OldIndex selected: the same where it
    // still fits.
    virtual int SelectionAfterChange(int OldIndex, int OldCount) const;
    virtual void Change();
    void Resize();

private:
    void WriteTabs(int Selected);

    TTabPosition FTabPosition = tpTop;
    TTabStyle FStyle = tsTabs;
    bool FMultiLine = false;
    bool FHotTrack = false;
    TCursor FCursor = crDefault;
    int FTabIndex = -1;  // the selection while there is no window
};

// A tab control whose tabs are the strings of Tabs; the control follows every change of the list.
class TTabControl : public TCustomTabControl {
public:
    explicit TTabControl(TComponent* AOwner);
    ~TTabControl() override;
    TStringList& Tabs() { return FTabs; }

protected:
    std::vector<std::string> TabCaptions() const override;

private:
    TStringList FTabs;
};

class TPageControl;

// One page of a page control: a child of it, shown while it is the active page.
class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;

    TPageControl* PageControl() const { return FPageControl; }
    void SetParent(TWinControl* AParent) override;
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool Value);
    // Place among the page control's pages, and among its visible tabs (-1 when its tab is hidden).
    int PageIndex() const;
    int TabIndex() const;

protected:
    void WndProc(TMessage& Message) override;

private:
    friend class TPageControl;
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
};

// A tab control whose tabs are its pages (those with TabVisible); the selected page fills the display area and
// is the only one shown. Clicking a tab or pressing Ctrl+Tab / Ctrl+Shift+Tab anywhere in the form switches pages.
class TPageControl : public TCustomTabControl {
public:
    explicit TPageControl(TComponent* AOwner);
    ~TPageControl() override;

    int PageCount() const { return static_cast<int>(FPages.size()); }
    TTabSheet* Pages(int Index) const { return FPages.at(static_cast<size_t>(Index)); }
    TTabSheet* ActivePage() const { return FActivePage; }
    void SetActivePage(TTabSheet* Page);
    // The page whose tab is Index among the visible tabs; nullptr when none.
    TTabSheet* PageForTab(int Index) const;
    // The next (or previous) page with a visible tab after the active one, wrapping round; fires OnChange.
    void SelectNextPage(bool GoForward);

protected:
    std::vector<std::string> TabCaptions() const override;
    // The active page's tab stays selected.
    int SelectionAfterChange(int OldIndex, int OldCount) const override;
    void Change() override;
    void WndProc(TMessage& Message) override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* Page);
    void RemovePage(TTabSheet* Page);
    void PageChanged();

    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
};

class TClassRegistry;
// Layout class and property tables of this unit.
void RegisterTabCtrlsClasses(TClassRegistry& Registry);
