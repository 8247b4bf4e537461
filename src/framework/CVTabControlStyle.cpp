#include "CVTabControlStyle.h"

#include <commctrl.h>

#include <algorithm>

#include "Forms.h"
#include "LayoutReader.h"
#include "VelRootFrm.h"

namespace {

constexpr TColor UnvisitedFontColor = 0x808080;
constexpr TColor SelectedButtonColor = clWhite;

constexpr UINT TabTextFormat = DT_VCENTER | DT_SINGLELINE;
constexpr UINT ButtonTextFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
// How far the page area reaches beyond the stock one: left, top, right, bottom.
constexpr RECT PageGrowth{2, 3, 2, 2};
// The gradient's strongest lightening (the edge away from the page) and that of the selected tab's lower half.
constexpr int EdgeLightening = 130, LowerHalfLightening = 50;
// How much an unselected tab's caption is darkened below its tab colour.
constexpr int CaptionDarkening = 340;
constexpr int ButtonOverhang = 10;  // a button reaches this far right, over the next one's left edge
constexpr int ButtonHintHidePause = 10000;
constexpr int FocusInset = 2;  // the focus mark lies this far inside the selected tab or button

}  // namespace

TTabControlStyle::TTabControlStyle(TComponent* AOwner, TWinControl* AControl)
    : TTabbedStyle(AOwner, AControl, TabControlStyleDefaults, "PAGECONTROLBACKGROUND"),
      FTabControl(dynamic_cast<TCustomTabControl*>(AControl)), FHints(std::make_unique<TStringList>()),
      FVisited(std::make_unique<TStringList>())
{
    FHints->SetDelimitedText(FControl->Hint(), '|');
    auto* plain = dynamic_cast<TTabControl*>(AControl);
    if (plain && plain->MultiLine()) {
        FOldOnResize = plain->OnResize;
        plain->OnResize = [this](TObject* Sender) { ControlResize(Sender); };
    }
    Hook([this](TMessage& Message) { HookWndProc(Message); }, [this] {
        // The pages take the enlarged page area at once.
        FControl->Realign();
        FControl->Repaint();
    });
}

TTabControlStyle* CreateTabControlStyle(TWinControl* AControl, const TTabControlStyleColors& AColors)
{
    return TTabControlStyle::Create<TTabControlStyle>(AControl, AColors, false);
}

void TTabControlStyle::HookWndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT: PaintOver(Message); break;
    case WM_ERASEBKGND:
        // Top and bottom tabs are painted whole, background included.
        if (!TabsAtTopOrBottom()) FOldWindowProc(Message);
        Message.Result = 1;
        break;
    case TCM_ADJUSTRECT: {
        auto* rect = reinterpret_cast<RECT*>(Message.LParam);
        if (rect && rect->right - rect->left <= FControl->Width()) {
            rect->left -= PageGrowth.left;
            rect->top -= PageGrowth.top;
            rect->right += PageGrowth.right;
            rect->bottom += PageGrowth.bottom;
        }
        FOldWindowProc(Message);
        break;
    }
    default: FOldWindowProc(Message); break;
    }
}

// Side tabs are left to the stock painting.
bool TTabControlStyle::Compose(TCanvas& Canvas)
{
    return GetTabStyle() == tsFlatButtons ? PaintButtons(Canvas) : PaintTabs(Canvas);
}

RECT TTabControlStyle::TabRect(int Index) { return FTabControl ? FTabControl->TabRect(Index) : RECT{}; }

int TTabControlStyle::SelectedTabHeight()
{
    const int selected = GetTabIndex();
    if (selected == -1) return 0;
    const RECT tab = TabRect(selected);
    return tab.bottom - tab.top;
}

TTabControlStyle::TTabRows TTabControlStyle::TabRows()
{
    TTabRows rows;
    for (int i = 0; i < GetTabCount(); ++i) {
        const RECT tab = TabRect(i);
        if (IsRectEmpty(&tab)) continue;  // scrolled out of view
        if (rows.RowHeight == 0) {
            rows.Band = tab;
            rows.RowHeight = tab.bottom - tab.top;
        }
        rows.Band.top = std::min(rows.Band.top, tab.top);
        rows.Band.bottom = std::max(rows.Band.bottom, tab.bottom);
    }
    return rows;
}

RECT TTabControlStyle::PageRect(const RECT& Client)
{
    const TTabRows rows = TabRows();
    // Every row beyond the first moves the page away from the edge by its height (and spacing).
    const int beside = SelectedTabHeight() + 1 + (rows.Band.bottom - rows.Band.top) - rows.RowHeight;
    if (GetTabPosition() == tpBottom) return RECT{Client.left, Client.top, Client.right, Client.bottom - beside};
    return RECT{Client.left, Client.top + beside, Client.right, Client.bottom};
}

void TTabControlStyle::DrawFocusMark(TCanvas& Canvas, const RECT& Rect)
{
    if (!FControl->Focused()) return;
    RECT mark = Rect;
    InflateRect(&mark, -FocusInset, -FocusInset);
    Canvas.DrawFocusRect(mark);
}

bool TTabControlStyle::PaintTabs(TCanvas& Canvas)
{
    if (!TabsAtTopOrBottom()) return false;
    const RECT client = FControl->ClientRect();
    DrawStretched(Canvas, RECT{client.left, client.top, client.right, TabRows().Band.bottom}, FBackground.get());
    const RECT page = PageRect(client);
    const int count = GetTabCount(), selected = GetTabIndex(), h = SelectedTabHeight();
    for (int i = count - 1; i >= 0; --i) {
        const RECT tab = count > 1 ? TabRect(i) : RECT{client.left, client.top, client.right, client.top + h + 2};
        if (i != selected && GetTabVisible(i)) DrawTab(Canvas, i, tab, tdkUnselected);
    }
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(FActiveColor);
    Canvas.FillRect(page);
    // The selected tab goes over its neighbours and joins the page; a single tab is the page's own.
    if (count > 1 && selected >= 0) DrawTab(Canvas, selected, TabRect(selected), tdkSelected);
    if (selected >= 0) DrawFocusMark(Canvas, TabRect(selected));
    // The whole control is copied at every paint, never a part.
    FControl->Invalidate();
    return true;
}

void TTabControlStyle::DrawTab(TCanvas& Canvas, int Index, const RECT& Rect, TTabDrawKind Kind)
{
    const int l = Rect.left, t = Rect.top, r = Rect.right, b = Rect.bottom;
    const int half = (GetTabCount() > 1 ? b - t : 0) / 2;
    const TColor colour = Kind == tdkUnselected ? FInactiveColor : FActiveColor;
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(colour);
    const bool top = GetTabPosition() != tpBottom;
    // A trapezoid with its right side slanted, wider towards the page.
    const POINT topCorners[4] = {{l, t}, {r - half, t}, {r + half, b}, {l, b}};
    const POINT bottomCorners[4] = {{l, t}, {r + half, t}, {r - half, b}, {l, b}};
    Canvas.SetClipPolygon(top ? topCorners : bottomCorners);
    GradientFill(Canvas, RECT{l, t, r + half, b}, colour, Kind, 1);
    ClipToScreen(Canvas);
    Canvas.Pen().SetStyle(psSolid);
    Canvas.Pen().SetWidth(1);
    Canvas.Pen().SetColor(Kind == tdkSelected ? FBorderColor : FInactiveBorderColor);
    // The outline has no side towards the page.
    if (GetTabCount() > 1) {
        if (top) {
            Canvas.Polyline({{l, t}, {r - half, t}, {r + half, b}});
            Canvas.Polyline({{l, b - 1}, {l, t}});
        } else {
            Canvas.Polyline({{l, t}, {r + half, t}, {r - half, b}});
            Canvas.Polyline({{l, b}, {l, t}});
        }
    }
    DrawTabText(Canvas, Index, GetTabCaption(Index), Rect, Kind);
}

void TTabControlStyle::DrawTabText(TCanvas& Canvas, int /*Index*/, const std::string& Text, const RECT& Rect,
                                   TTabDrawKind Kind)
{
    RECT r = Rect;
    if (Kind == tdkSelected)
        OffsetRect(&r, 3, 0);
    else
        OffsetRect(&r, 4, 1);
    Canvas.Brush().SetStyle(bsClear);
    Canvas.Font().Assign(GetFont());
    if (Kind == tdkUnselected) {
        OffsetRect(&r, 1, 1);
        Canvas.Font().SetColor(Darkened(FInactiveColor, CaptionDarkening));
    }
    Canvas.DrawText(Text, r, TabTextFormat);
}

// Lines lightened by a share of EdgeLightening that falls to nothing towards the page; the selected tab of a top
// row is brightest at its top, plain in its middle and a little lighter again at the bottom. Every caller passes
// Direction 1, the only direction there is.
void TTabControlStyle::GradientFill(TCanvas& Canvas, const RECT& Rect, TColor BaseColor, TTabDrawKind Kind,
                                    int /*Direction*/)
{
    Canvas.Pen().SetStyle(psSolid);
    Canvas.Pen().SetWidth(1);
    auto row = [&](int y, int Strength, int Part, int Whole) {
        Canvas.Pen().SetColor(GradientShade(BaseColor, Strength, Part, Whole));
        Canvas.Polyline({{Rect.left, y}, {Rect.right, y}});
    };
    const int t = Rect.top, b = Rect.bottom;
    if (GetTabPosition() == tpBottom) {
        for (int y = b; y >= t; --y) row(y, EdgeLightening, y - t, b - t);
    } else if (Kind == tdkUnselected) {
        for (int y = t; y <= b; ++y) row(y, EdgeLightening, b - y, b - t);
    } else {
        const int m = t + (b - t) / 2;
        for (int y = t; y <= m; ++y) row(y, EdgeLightening, m - y, m - t);
        for (int y = b; y >= m; --y) row(y, LowerHalfLightening, y - m, b - m);
    }
}

RECT TTabControlStyle::ButtonRect(int Index, const RECT& Client)
{
    RECT r = TabRect(Index);
    if (dynamic_cast<TTabControl*>(FControl) && !FTabControl->MultiLine()) {
        r.top = Client.top;
        r.bottom = Client.bottom - 1;
    }
    return r;
}

bool TTabControlStyle::PaintButtons(TCanvas& Canvas)
{
    if (!TabsAtTopOrBottom()) return false;
    if (FTabControl) {
        FTabControl->SetCursor(crHandPoint);
        FTabControl->SetHotTrack(true);
    }
    const RECT client = FControl->ClientRect();
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(FBackColor);
    Canvas.Pen().SetStyle(psSolid);
    Canvas.Pen().SetWidth(1);
    Canvas.Pen().SetColor(FBorderColor);
    Canvas.Rectangle(client);
    if (dynamic_cast<TPageControl*>(FControl)) {
        Canvas.Brush().SetColor(FActiveColor);
        Canvas.Rectangle(PageRect(client));
    }
    const int count = GetTabCount(), selected = GetTabIndex();
    for (int i = count - 1; i >= 0; --i) {
        const bool visited = FControl->Tag() != 1 || FVisited->IndexOf(GetTabCaption(i)) >= 0;
        if (i != selected && GetTabVisible(i)) DrawButton(Canvas, i, ButtonRect(i, client), tdkUnselected, visited);
    }
    if (selected >= 0) {
        const std::string caption = GetTabCaption(selected);
        if (FVisited->IndexOf(caption) < 0) FVisited->Add(caption);
        const RECT button = ButtonRect(count > 1 ? selected : 0, client);
        DrawButton(Canvas, selected, button, tdkSelected, true);
        DrawFocusMark(Canvas, RECT{button.left, button.top, button.right + ButtonOverhang, button.bottom});
    }
    FControl->Invalidate();
    return true;
}

void TTabControlStyle::DrawButton(TCanvas& Canvas, int Index, const RECT& Rect, TTabDrawKind Kind, bool Visited)
{
    const RECT r{Rect.left, Rect.top, Rect.right + ButtonOverhang, Rect.bottom};
    const int quarter = (r.bottom - r.top) / 4;
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(Kind == tdkUnselected ? FBackColor : SelectedButtonColor);
    // The first row keeps what lies beneath: the control's outline.
    const POINT corners[4] = {{r.left, r.top + 1}, {r.right, r.top + 1}, {r.right, r.bottom}, {r.left, r.bottom}};
    Canvas.SetClipPolygon(corners);
    Canvas.FillRect(r);
    ClipToScreen(Canvas);
    Canvas.Pen().SetStyle(psSolid);
    Canvas.Pen().SetColor(FDividerColor);
    Canvas.Polyline({{r.right, r.top + quarter}, {r.right, r.bottom - quarter}});
    // The first button's left divider would lie on the outline.
    if (Index != 0 || FDividerColor != FBorderColor)
        Canvas.Polyline({{r.left, r.bottom - quarter}, {r.left, r.top + quarter}});
    DrawButtonText(Canvas, Index, GetTabCaption(Index), r, Kind, Visited);
}

void TTabControlStyle::DrawButtonText(TCanvas& Canvas, int Index, const std::string& Text, const RECT& Rect,
                                      TTabDrawKind Kind, bool Visited)
{
    RECT r = Rect;
    OffsetRect(&r, 0, 2);
    Canvas.Brush().SetStyle(bsClear);
    Canvas.Font().Assign(GetFont());
    POINT cursor{};
    GetCursorPos(&cursor);
    const POINT local = FControl->ScreenToClient(cursor);
    if (FTabControl && FTabControl->IndexOfTabAt(local.x, local.y) == Index) {
        Canvas.Font().SetStyle(Canvas.Font().Style() | fsBold);
        if (FControl->ShowHint() && Index < FHints->Count() && Application) {
            Application->SetHintHidePause(ButtonHintHidePause);
            FControl->SetHint(FHints->Strings(Index));
            Application->ActivateHint(cursor);
        }
    }
    if (Kind == tdkSelected)
        Canvas.Font().SetColor(FActiveFontColor);
    else
        Canvas.Font().SetColor(Visited ? FFontColor : UnvisitedFontColor);
    Canvas.DrawText(Text, r, ButtonTextFormat);
}

std::string TTabControlStyle::GetTabCaption(int Index)
{
    if (auto* plain = dynamic_cast<TTabControl*>(FControl))
        return Index >= 0 && Index < plain->Tabs().Count() ? plain->Tabs().Strings(Index) : std::string();
    if (auto* pages = dynamic_cast<TPageControl*>(FControl)) {
        const TTabSheet* page = pages->PageForTab(Index);
        return page ? page->Caption() : std::string();
    }
    return std::string();
}

bool TTabControlStyle::GetTabVisible(int Index)
{
    auto* pages = dynamic_cast<TPageControl*>(FControl);
    const TTabSheet* page = pages ? pages->PageForTab(Index) : nullptr;
    return page ? page->TabVisible() : true;
}

int TTabControlStyle::GetTabIndex() { return FTabControl ? FTabControl->TabIndex() : -10; }

int TTabControlStyle::GetTabCount()
{
    if (auto* plain = dynamic_cast<TTabControl*>(FControl)) return plain->Tabs().Count();
    auto* pages = dynamic_cast<TPageControl*>(FControl);
    if (!pages) return 0;
    int count = 0;
    for (int i = 0; i < pages->PageCount(); ++i) count += pages->Pages(i)->TabVisible();
    return count;
}

const TFont& TTabControlStyle::GetFont() { return FTabControl ? FControl->Font() : FCanvas->Font(); }

TTabPosition TTabControlStyle::GetTabPosition() { return FTabControl ? FTabControl->TabPosition() : tpTop; }

TTabStyle TTabControlStyle::GetTabStyle() { return FTabControl ? FTabControl->Style() : tsTabs; }

void TTabControlStyle::ControlResize(TObject* Sender)
{
    auto* plain = dynamic_cast<TTabControl*>(FControl);
    if (plain && plain->Tabs().Count() > 0) {
        const RECT first = TabRect(0);
        plain->SetHeight((first.bottom - first.top + 3) * plain->RowCount());
    }
    if (FOldOnResize) FOldOnResize(Sender);
}

void RegisterTabControlStyle()
{
    RegisterTabCtrlsClasses(TClassRegistry::Instance());
    AddHouseLookRule(HouseLookRule<TCustomTabControl, CreateTabControlStyle, TabControlStyleDefaults>);
}
