#include "TabCtrls.h"

#include <commctrl.h>

#include <algorithm>

#include "LayoutReader.h"

namespace {

constexpr int DefaultTabControlWidth = 289, DefaultTabControlHeight = 193;

DWORD TabPositionStyle(TTabPosition Value)
{
    switch (Value) {
    case tpBottom: return TCS_BOTTOM;
    // The common control draws side tabs only in several rows.
    case tpLeft: return TCS_VERTICAL | TCS_MULTILINE;
    case tpRight: return TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE;
    default: return 0;
    }
}

DWORD TabStyleStyle(TTabStyle Value)
{
    switch (Value) {
    case tsButtons: return TCS_BUTTONS;
    case tsFlatButtons: return TCS_BUTTONS | TCS_FLATBUTTONS;
    default: return TCS_TABS;
    }
}

}  // namespace

// ---- Tab controls ----

TCustomTabControl::TCustomTabControl(TComponent* AOwner) : TWinControl(AOwner)
{
    SetBounds(0, 0, DefaultTabControlWidth, DefaultTabControlHeight);
    SetTabStop(true);
}

TCustomTabControl::~TCustomTabControl() = default;

// Position, style and rows are read by the common control only when its window is made.
void TCustomTabControl::SetTabPosition(TTabPosition Value)
{
    if (Value == FTabPosition) return;
    FTabPosition = Value;
    RecreateWnd();
}

void TCustomTabControl::SetStyle(TTabStyle Value)
{
    if (Value == FStyle) return;
    FStyle = Value;
    RecreateWnd();
}

void TCustomTabControl::SetMultiLine(bool Value)
{
    if (Value == FMultiLine) return;
    FMultiLine = Value;
    RecreateWnd();
}

// Hot tracking is switched in place: a style may turn it on while it paints, when no window may be remade.
void TCustomTabControl::SetHotTrack(bool Value)
{
    if (Value == FHotTrack) return;
    FHotTrack = Value;
    if (!HandleAllocated()) return;
    LONG_PTR style = GetWindowLongPtrA(Handle(), GWL_STYLE);
    style = Value ? (style | TCS_HOTTRACK) : (style & ~static_cast<LONG_PTR>(TCS_HOTTRACK));
    SetWindowLongPtrA(Handle(), GWL_STYLE, style);
}

int TCustomTabControl::TabIndex() const
{
    if (!HandleAllocated()) return FTabIndex;
    return static_cast<int>(const_cast<TCustomTabControl*>(this)->Perform(TCM_GETCURSEL));
}

void TCustomTabControl::SetTabIndex(int Value)
{
    FTabIndex = Value;
    if (HandleAllocated()) Perform(TCM_SETCURSEL, static_cast<WPARAM>(Value));
}

RECT TCustomTabControl::TabRect(int Index)
{
    RECT r{};
    if (!HandleAllocated() || !Perform(TCM_GETITEMRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&r)))
        return RECT{};
    return r;
}

int TCustomTabControl::IndexOfTabAt(int X, int Y)
{
    const RECT client = ClientRect();
    if (!HandleAllocated() || !PtInRect(&client, POINT{X, Y})) return -1;
    TCHITTESTINFO hit{POINT{X, Y}, 0};
    return static_cast<int>(Perform(TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
}

int TCustomTabControl::RowCount() { return HandleAllocated() ? static_cast<int>(Perform(TCM_GETROWCOUNT)) : 0; }

RECT TCustomTabControl::DisplayRect()
{
    RECT r = ClientRect();
    if (HandleAllocated()) Perform(TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return r;
}

RECT TCustomTabControl::AlignRect() const { return const_cast<TCustomTabControl*>(this)->DisplayRect(); }

void TCustomTabControl::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.StockClass = WC_TABCONTROLA;
    Params.Style |= TabPositionStyle(FTabPosition) | TabStyleStyle(FStyle);
    if (FMultiLine) Params.Style |= TCS_MULTILINE;
    if (FHotTrack) Params.Style |= TCS_HOTTRACK;
}

void TCustomTabControl::CreateHandleDone()
{
    TWinControl::CreateHandleDone();
    WriteTabs(SelectionAfterChange(FTabIndex, 0));
}

int TCustomTabControl::SelectionAfterChange(int OldIndex, int OldCount) const
{
    const int count = static_cast<int>(TabCaptions().size());
    if (count == 0) return -1;
    // The first tabs of an empty control come selected, as the common control does it.
    if (OldIndex < 0) return OldCount == 0 ? 0 : -1;
    return std::min(OldIndex, count - 1);
}

void TCustomTabControl::UpdateTabs()
{
    if (!HandleAllocated()) return;
    WriteTabs(SelectionAfterChange(TabIndex(), static_cast<int>(Perform(TCM_GETITEMCOUNT))));
}

void TCustomTabControl::WriteTabs(int Selected)
{
    Perform(TCM_DELETEALLITEMS);
    const std::vector<std::string> captions = TabCaptions();
    for (size_t i = 0; i < captions.size(); ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(captions[i].c_str());
        Perform(TCM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
    SetTabIndex(Selected);
    // Another number of rows moves the display area.
    Realign();
    Invalidate();
}

void TCustomTabControl::Change()
{
    if (OnChange) OnChange(this);
}

void TCustomTabControl::Resize()
{
    if (OnResize) OnResize(this);
}

void TCustomTabControl::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_BASE + WM_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(Message.LParam)->code == static_cast<UINT>(TCN_SELCHANGE)) Change();
        Message.Result = 0;
        return;
    case WM_SIZE:
        TWinControl::WndProc(Message);
        // The common control has laid its tabs out for the new size only now.
        Realign();
        Resize();
        return;
    case WM_SETCURSOR:
        if (FCursor == crHandPoint && LOWORD(Message.LParam) == HTCLIENT) {
            ::SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
            Message.Result = TRUE;
            return;
        }
        break;
    case WM_DESTROY:
        // The selection lives on for a window made later.
        FTabIndex = TabIndex();
        break;
    default: break;
    }
    TWinControl::WndProc(Message);
}

TTabControl::TTabControl(TComponent* AOwner) : TCustomTabControl(AOwner)
{
    FTabs.OnChange = [this](TObject*) { UpdateTabs(); };
}

TTabControl::~TTabControl() = default;

std::vector<std::string> TTabControl::TabCaptions() const
{
    std::vector<std::string> captions;
    for (int i = 0; i < FTabs.Count(); ++i) captions.push_back(FTabs.Strings(i));
    return captions;
}

// ---- Pages ----

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner)
{
    SetAlign(alClient);
    SetColor(clBtnFace);
    SetVisible(false);
}

TTabSheet::~TTabSheet()
{
    if (FPageControl) FPageControl->RemovePage(this);
}

void TTabSheet::SetParent(TWinControl* AParent)
{
    if (AParent == Parent()) return;
    if (FPageControl) FPageControl->RemovePage(this);
    TWinControl::SetParent(AParent);
    if (auto* pages = dynamic_cast<TPageControl*>(AParent)) pages->InsertPage(this);
}

void TTabSheet::SetTabVisible(bool Value)
{
    if (Value == FTabVisible) return;
    FTabVisible = Value;
    if (FPageControl) FPageControl->PageChanged();
}

int TTabSheet::PageIndex() const
{
    if (!FPageControl) return -1;
    const auto& pages = FPageControl->FPages;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

int TTabSheet::TabIndex() const
{
    if (!FPageControl || !FTabVisible) return -1;
    int index = 0;
    for (const TTabSheet* page : FPageControl->FPages) {
        if (page == this) return index;
        index += page->FTabVisible;
    }
    return -1;
}

void TTabSheet::WndProc(TMessage& Message)
{
    TWinControl::WndProc(Message);
    // The caption is the tab's text.
    if (Message.Msg == WM_SETTEXT && FPageControl) FPageControl->PageChanged();
}

TPageControl::TPageControl(TComponent* AOwner) : TCustomTabControl(AOwner) {}

TPageControl::~TPageControl()
{
    for (TTabSheet* page : FPages) page->FPageControl = nullptr;
}

void TPageControl::InsertPage(TTabSheet* Page)
{
    FPages.push_back(Page);
    Page->FPageControl = this;
    UpdateTabs();
    if (!FActivePage) SetActivePage(Page);
}

void TPageControl::RemovePage(TTabSheet* Page)
{
    FPages.erase(std::remove(FPages.begin(), FPages.end(), Page), FPages.end());
    Page->FPageControl = nullptr;
    if (FActivePage == Page) {
        FActivePage = nullptr;
        if (!FPages.empty()) SetActivePage(FPages.front());
    }
    UpdateTabs();
}

void TPageControl::PageChanged() { UpdateTabs(); }

void TPageControl::SetActivePage(TTabSheet* Page)
{
    if (Page && Page->FPageControl != this) return;
    TTabSheet* old = FActivePage;
    FActivePage = Page;
    if (Page) {
        Page->BringToFront();
        Page->SetVisible(true);
    }
    if (old && old != Page) old->SetVisible(false);
    SetTabIndex(Page ? Page->TabIndex() : -1);
}

TTabSheet* TPageControl::PageForTab(int Index) const
{
    for (TTabSheet* page : FPages)
        if (Index >= 0 && page->TabIndex() == Index) return page;
    return nullptr;
}

void TPageControl::SelectNextPage(bool GoForward)
{
    const int count = PageCount();
    if (count == 0) return;
    const int start = FActivePage ? FActivePage->PageIndex() : (GoForward ? -1 : count);
    for (int step = 1; step <= count; ++step) {
        const int i = ((GoForward ? start + step : start - step) % count + count) % count;
        TTabSheet* page = Pages(i);
        if (page == FActivePage || !page->TabVisible()) continue;
        SetActivePage(page);
        TCustomTabControl::Change();
        return;
    }
}

std::vector<std::string> TPageControl::TabCaptions() const
{
    std::vector<std::string> captions;
    for (const TTabSheet* page : FPages)
        if (page->TabVisible()) captions.push_back(page->Caption());
    return captions;
}

int TPageControl::SelectionAfterChange(int, int) const { return FActivePage ? FActivePage->TabIndex() : -1; }

void TPageControl::Change()
{
    SetActivePage(PageForTab(TabIndex()));
    TCustomTabControl::Change();
}

void TPageControl::WndProc(TMessage& Message)
{
    // Ctrl+Tab and Ctrl+Shift+Tab page wherever the focus is in the form.
    if (Message.Msg == CM_DIALOGKEY && Message.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0 && !FPages.empty() &&
        Showing() && Enabled()) {
        SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
        Message.Result = 1;
        return;
    }
    TCustomTabControl::WndProc(Message);
}

// ---- Layout tables ----

void RegisterTabCtrlsClasses(TClassRegistry& Registry)
{
    Registry.RegisterClass("TCustomTabControl", "TWinControl", nullptr);
    Registry.RegisterClass("TTabControl", "TCustomTabControl", [](TComponent* Owner) { return new TTabControl(Owner); });
    Registry.RegisterClass("TPageControl", "TCustomTabControl",
                           [](TComponent* Owner) { return new TPageControl(Owner); });
    Registry.RegisterClass("TTabSheet", "TWinControl", [](TComponent* Owner) { return new TTabSheet(Owner); });
    const std::string tabs = "TCustomTabControl";
    RegisterLayoutSetter(Registry, tabs, "TabPosition", &TCustomTabControl::SetTabPosition, TabPositionNames);
    RegisterLayoutSetter(Registry, tabs, "Style", &TCustomTabControl::SetStyle, TabStyleNames);
    RegisterLayoutSetter(Registry, tabs, "MultiLine", &TCustomTabControl::SetMultiLine);
    RegisterLayoutSetter(Registry, tabs, "HotTrack", &TCustomTabControl::SetHotTrack);
    RegisterLayoutSetter(Registry, "TTabControl", "TabIndex", &TCustomTabControl::SetTabIndex);
    RegisterLayoutProperty<TTabControl>(Registry, "TTabControl", "Tabs.Strings",
                                        [](TTabControl& c, const TLayoutValue& v) { c.Tabs().SetText(v.AsLines()); });
    RegisterLayoutReference<TPageControl, TTabSheet>(Registry, "TPageControl", "ActivePage",
                                                     [](TPageControl& c, TTabSheet& page) { c.SetActivePage(&page); });
    RegisterLayoutReference<TTabSheet, TPageControl>(Registry, "TTabSheet", "PageControl",
                                                     [](TTabSheet& c, TPageControl& pages) { c.SetParent(&pages); });
    RegisterLayoutSetter(Registry, "TTabSheet", "TabVisible", &TTabSheet::SetTabVisible);
}

