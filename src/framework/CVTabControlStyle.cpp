#include "CVTabControlStyle.h"

#include <commctrl.h>

#include <algorithm>
#include <initializer_list>

#include "DeviceContexts.h"
#include "Forms.h"
#include "LayoutReader.h"
#include "VelRootFrm.h"

namespace {

constexpr TColor DefaultBackColor = 16051684;          // RGB 228,237,244
constexpr TColor DefaultActiveColor = 16378075;        // RGB 219,232,249
constexpr TColor DefaultInactiveColor = 14671839;      // RGB 223,223,223
constexpr TColor DefaultActiveFontColor = 16711680;    // blue
constexpr TColor DefaultFontColor = clBlack;
constexpr TColor DefaultBorderColor = 11235153;        // RGB 81,111,171
constexpr TColor DefaultInactiveBorderColor = 9474192;  // RGB 144,144,144
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

// Num / Den to the nearest integer, a tie to the even one (Num >= 0, Den > 0).
int RoundHalfEven(int Num, int Den)
{
    const int quotient = Num / Den, twice = 2 * (Num % Den);
    if (twice > Den || (twice == Den && quotient % 2 != 0)) return quotient + 1;
    return quotient;
}

// Each component moved by its share of Amount: Shift(c, c * Amount / (r + g + b)). Black has no shares; it
// stays as it is rather than dividing by zero.
template <class F>
TColor ByShare(TColor Base, int Amount, F Shift)
{
    const COLORREF rgb = ColorToRGB(Base);
    const int r = GetRValue(rgb), g = GetGValue(rgb), b = GetBValue(rgb);
    const int sum = r + g + b;
    if (sum == 0) return Base;
    auto component = [&](int c) { return Shift(c, c * Amount / sum); };
    return RGBColor(component(r), component(g), component(b));
}

TColor Lightened(TColor Base, int Amount)
{
    return ByShare(Base, Amount, [](int c, int share) { return std::min(255, c + share); });
}

TColor Darkened(TColor Base)
{
    return ByShare(Base, CaptionDarkening, [](int c, int share) { return (c - share) & 0xFF; });
}

void ClipToPolygon(TCanvas& Canvas, const POINT (&Corners)[4])
{
    TGdiObject region(CreatePolygonRgn(Corners, 4, ALTERNATE));
    SelectClipRgn(Canvas.Handle(), static_cast<HRGN>(region.Get()));
}

void ClipToScreen(TCanvas& Canvas)
{
    TGdiObject region(CreateRectRgn(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
    SelectClipRgn(Canvas.Handle(), static_cast<HRGN>(region.Get()));
}

void Line(TCanvas& Canvas, std::initializer_list<POINT> Points)
{
    const POINT* p = Points.begin();
    Canvas.MoveTo(p->x, p->y);
    for (++p; p != Points.end(); ++p) Canvas.LineTo(p->x, p->y);
}

std::unique_ptr<TBitmap> LoadBackground()
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromResourceName(GetModuleHandleA(nullptr), "PAGECONTROLBACKGROUND");
    return bitmap;
}

}  // namespace

TTabControlStyle::TTabControlStyle(TComponent* AOwner, TWinControl* AControl)
    : TComponent(AOwner), FVisited(std::make_unique<TStringList>())
{
    FBackColor = DefaultBackColor;
    FActiveColor = DefaultActiveColor;
    FInactiveColor = DefaultInactiveColor;
    FActiveFontColor = DefaultActiveFontColor;
    FFontColor = DefaultFontColor;
    FBorderColor = DefaultBorderColor;
    FDividerColor = FBorderColor;
    FInactiveBorderColor = DefaultInactiveBorderColor;
    FControl = AControl;
    FTabControl = dynamic_cast<TCustomTabControl*>(AControl);
    FHints = std::make_unique<TStringList>();
    FHints->SetDelimitedText(FControl->Hint(), '|');
    auto* plain = dynamic_cast<TTabControl*>(AControl);
    if (plain && plain->MultiLine()) {
        FOldOnResize = plain->OnResize;
        plain->OnResize = [this](TObject* Sender) { ControlResize(Sender); };
    }
    FBackground = LoadBackground();
    FBitmap = std::make_unique<TBitmap>();
    FCanvas = std::make_unique<TCanvas>();
    FOldWindowProc = FControl->WindowProc;
    FControl->WindowProc = [this](TMessage& Message) { HookWndProc(Message); };
    // The pages take the enlarged page area at once.
    FControl->Realign();
    FControl->Repaint();
}

TTabControlStyle::~TTabControlStyle() = default;

void TTabControlStyle::HookWndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT: PaintMessage(Message); break;
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

// Composes the control off-screen and copies it with one BitBlt; side tabs are left to the stock painting.
void TTabControlStyle::PaintMessage(TMessage& Message)
{
    FBitmap->SetSize(FControl->Width(), FControl->Height());
    const bool painted =
        GetTabStyle() == tsFlatButtons ? PaintButtons(FBitmap->Canvas()) : PaintTabs(FBitmap->Canvas());
    if (painted) {
        TPaintDC paint(FControl->Handle());
        TCanvasAttachment attached(*FCanvas, paint.Handle());
        // The stock handling still runs, for what it does besides drawing; the copy below covers what it drew.
        FOldWindowProc(Message);
        FCanvas->Draw(0, 0, *FBitmap);
    } else {
        FOldWindowProc(Message);
    }
    Message.Result = 1;
}

RECT TTabControlStyle::TabRect(int Index) { return FTabControl ? FTabControl->TabRect(Index) : RECT{}; }

int TTabControlStyle::SelectedTabHeight()
{
    const int selected = GetTabIndex();
    if (selected == -1) return 0;
    const RECT tab = TabRect(selected);
    return tab.bottom - tab.top;
}

RECT TTabControlStyle::PageRect(const RECT& Client)
{
    const int h = SelectedTabHeight();
    if (GetTabPosition() == tpBottom) return RECT{Client.left, Client.top, Client.right, Client.bottom - h - 1};
    return RECT{Client.left, Client.top + h + 1, Client.right, Client.bottom};
}

bool TTabControlStyle::PaintTabs(TCanvas& Canvas)
{
    if (!TabsAtTopOrBottom()) return false;
    const RECT client = FControl->ClientRect();
    if (!FBackground->Empty())
        Canvas.StretchDraw(RECT{client.left, client.top, client.right, TabRect(0).bottom}, *FBackground);
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
    ClipToPolygon(Canvas, top ? topCorners : bottomCorners);
    GradientFill(Canvas, RECT{l, t, r + half, b}, colour, Kind, 1);
    ClipToScreen(Canvas);
    Canvas.Pen().SetStyle(psSolid);
    Canvas.Pen().SetWidth(1);
    Canvas.Pen().SetColor(Kind == tdkSelected ? FBorderColor : FInactiveBorderColor);
    // The outline has no side towards the page.
    if (GetTabCount() > 1) {
        if (top) {
            Line(Canvas, {{l, t}, {r - half, t}, {r + half, b}});
            Line(Canvas, {{l, b - 1}, {l, t}});
        } else {
            Line(Canvas, {{l, t}, {r + half, t}, {r - half, b}});
            Line(Canvas, {{l, b}, {l, t}});
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
        Canvas.Font().SetColor(Darkened(FInactiveColor));
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
    // Row y lightened by Factor * Num / Den, rounded half to even.
    auto row = [&](int y, int Factor, int Num, int Den) {
        Canvas.Pen().SetColor(Lightened(BaseColor, Den > 0 ? RoundHalfEven(Factor * Num, Den) : 0));
        Canvas.MoveTo(Rect.left, y);
        Canvas.LineTo(Rect.right, y);
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
        DrawButton(Canvas, selected, ButtonRect(count > 1 ? selected : 0, client), tdkSelected, true);
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
    ClipToPolygon(Canvas, corners);
    Canvas.FillRect(r);
    ClipToScreen(Canvas);
    Canvas.Pen().SetStyle(psSolid);
    Canvas.Pen().SetColor(FDividerColor);
    Line(Canvas, {{r.right, r.top + quarter}, {r.right, r.bottom - quarter}});
    // The first button's left divider would lie on the outline.
    if (Index != 0 || FDividerColor != FBorderColor)
        Line(Canvas, {{r.left, r.bottom - quarter}, {r.left, r.top + quarter}});
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

TTabControlStyle* CreateTabControlStyle(TWinControl* AControl, const TTabControlStyleColors& AColors)
{
    auto* style = new TTabControlStyle(AControl->Owner(), AControl);
    style->SetBorderColor(AColors.BorderColor);
    style->SetInactiveBorderColor(AColors.InactiveBorderColor);
    style->SetBackColor(AColors.BackColor);
    style->SetActiveColor(AColors.ActiveColor);
    style->SetInactiveColor(AColors.InactiveColor);
    style->SetDividerColor(AColors.DividerColor);
    return style;
}

namespace {

// The look pass's colours. The divider slot, which they leave, takes the border colour as the style's own default
// does.
constexpr TTabControlStyleColors HouseTabColors{11235153, 9474192, 16051684, 16378075, 14671839, 0, 0, 11235153};

bool ApplyHouseTabControlLook(TComponent* Component)
{
    auto* tabs = dynamic_cast<TCustomTabControl*>(Component);
    if (tabs) CreateTabControlStyle(tabs, HouseTabColors);
    return tabs != nullptr;
}

}  // namespace

void RegisterTabControlStyle()
{
    RegisterTabCtrlsClasses(TClassRegistry::Instance());
    AddHouseLookRule(ApplyHouseTabControlLook);
}
