#include "CVTabSetStyle.h"

#include <algorithm>

#include "DeviceContexts.h"
#include "LayoutReader.h"
#include "VelRootFrm.h"

namespace {

constexpr TColor UnselectedCaptionColor = 8355711;  // grey 127
constexpr TColor SelectedCaptionColor = 255;        // red
constexpr UINT CaptionFormat = DT_VCENTER | DT_SINGLELINE;
// A tab is this much wider on each side at the control's top edge than at its bottom.
constexpr int Slant = 7;
// How much the top row of an unselected tab is lightened, in parts of the base colour's component sum.
constexpr int GradientStrength = 130;

void ApplyColors(TTabSetStyle& Style, const TTabSetStyleColors& Colors)
{
    Style.SetBorderColor(Colors.BorderColor);
    Style.SetInactiveBorderColor(Colors.InactiveBorderColor);
    Style.SetBackColor(Colors.BackColor);
    Style.SetActiveColor(Colors.ActiveColor);
    Style.SetInactiveColor(Colors.InactiveColor);
    Style.SetActiveFontColor(Colors.ActiveFontColor);
    Style.SetFontColor(Colors.FontColor);
    Style.SetDividerColor(Colors.DividerColor);
}

// Numerator / Denominator (both non-negative, Denominator positive) to the nearest integer, ties to even.
int RoundHalfEven(int Numerator, int Denominator)
{
    const int quotient = Numerator / Denominator;
    const int twice = 2 * (Numerator % Denominator);
    if (twice > Denominator || (twice == Denominator && quotient % 2 != 0)) return quotient + 1;
    return quotient;
}

// The base colour lightened by K: each component grows by its share of the component sum.
COLORREF Lightened(COLORREF Base, int K)
{
    const int r = GetRValue(Base), g = GetGValue(Base), b = GetBValue(Base);
    const int sum = r + g + b;
    // Black has no shares to grow by: it stays itself.
    if (sum == 0) return Base;
    auto grow = [K, sum](int c) { return std::min(255, c + c * K / sum); };
    return RGB(grow(r), grow(g), grow(b));
}

void SelectClip(TCanvas& Canvas, HRGN Region)
{
    TGdiObject region(Region);
    SelectClipRgn(Canvas.Handle(), static_cast<HRGN>(region.Get()));
}

}  // namespace

TTabSetStyle::TTabSetStyle(TComponent* AOwner, TTabSet* AControl) : TComponent(AOwner)
{
    ApplyColors(*this, TabSetStyleDefaults);
    FDividerColor = FBorderColor;
    FControl = AControl;
    FBitmap = std::make_unique<TBitmap>();
    FCanvas = std::make_unique<TCanvas>();
    FBackground = std::make_unique<TBitmap>();
    FBackground->LoadFromResourceName(GetModuleHandleA(nullptr), "TABSETBACK_S");
    // Hooked last: a style that failed to build is never in the chain. The new look shows at the next paint.
    FOldWindowProc = FControl->WindowProc;
    FControl->WindowProc = [this](TMessage& Message) { HookWndProc(Message); };
}

void TTabSetStyle::HookWndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT: PaintMessage(Message); break;
    case WM_ERASEBKGND: Message.Result = 1; break;
    default: FOldWindowProc(Message); break;
    }
}

// The stock handling runs twice inside our BeginPaint, for what it does besides drawing; the update region is
// already taken, and the copy of the composed image covers the client area anyway.
void TTabSetStyle::PaintMessage(TMessage& Message)
{
    FBitmap->SetSize(FControl->Width(), FControl->Height());
    {
        TPaintDC paint(FControl->Handle());
        FOldWindowProc(Message);
        Paint(FBitmap->Canvas());
        TCanvasAttachment attached(*FCanvas, paint.Handle());
        FOldWindowProc(Message);
        FCanvas->Draw(0, 0, *FBitmap);
    }
    Message.Result = 1;
}

bool TTabSetStyle::Paint(TCanvas& Canvas)
{
    {
        TCanvasLock lock(Canvas);
        if (!FBackground->Empty()) Canvas.StretchDraw(FControl->ClientRect(), *FBackground);
    }
    const int first = FControl->FirstIndex();
    const int last = first + FControl->VisibleTabs() - 1;
    for (int j = last; j >= first; --j)
        if (j != GetTabIndex() && !IsTabSelected(j)) DrawTab(Canvas, j, FControl->ItemRect(j - first), tkUnselected);
    const int selected = GetTabIndex();
    if (selected >= first && selected <= last)
        DrawTab(Canvas, selected, FControl->ItemRect(selected - first), tkSelected);
    return true;
}

void TTabSetStyle::DrawTab(TCanvas& Canvas, int Index, const RECT& Rect, TTabKind Kind)
{
    const RECT c = FControl->ClientRect();
    RECT r = Rect;
    const std::string caption = GetTabCaption(Index);
    if (Kind == tkSelected) {
        Canvas.Brush().SetColor(FActiveColor);
        // Room for the bold caption.
        r.right += static_cast<int>(caption.size() / 2);
    } else {
        Canvas.Brush().SetColor(FInactiveColor);
    }
    const POINT corners[4] = {
        {r.left - Slant, c.top}, {r.right + Slant, c.top}, {r.right, r.bottom + 2}, {r.left, r.bottom + 2}};
    SelectClip(Canvas, CreatePolygonRgn(corners, 4, ALTERNATE));
    GradientFill(Canvas, RECT{r.left - Slant, c.top, r.right + Slant, r.bottom + 2}, Canvas.Brush().Color(), Kind, 1);
    SelectClip(Canvas, CreateRectRgn(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));

    if (Kind == tkSelected) {
        // The top line runs across the whole control except over the selected tab, which stays open towards it.
        Canvas.Pen().SetColor(FBorderColor);
        Canvas.MoveTo(r.right + Slant, c.top);
        Canvas.LineTo(c.right, c.top);
    } else {
        Canvas.Pen().SetColor(FInactiveBorderColor);
    }
    Canvas.MoveTo(r.right + Slant, c.top);
    Canvas.LineTo(r.right, r.bottom + 2);
    Canvas.LineTo(r.left, r.bottom + 2);
    Canvas.LineTo(r.left - Slant, c.top);
    if (Kind == tkSelected) Canvas.LineTo(c.left, c.top);
    DrawTabText(Canvas, caption, r, Kind);
}

void TTabSetStyle::DrawTabText(TCanvas& Canvas, const std::string& Text, const RECT& Rect, TTabKind Kind)
{
    RECT t = Rect;
    OffsetRect(&t, 3, 1);
    Canvas.Brush().SetStyle(bsClear);
    Canvas.Font().Assign(GetFont());
    if (Kind == tkUnselected) {
        Canvas.Font().SetColor(UnselectedCaptionColor);
    } else {
        Canvas.Font().SetColor(SelectedCaptionColor);
        Canvas.Font().SetStyle(fsBold);
    }
    Canvas.DrawText(Text, t, CaptionFormat);
    Canvas.Brush().SetStyle(bsSolid);
}

std::string TTabSetStyle::GetTabCaption(int Index) { return FControl->Tabs().Strings(Index); }

bool TTabSetStyle::IsTabSelected(int Index) { return Index == FControl->TabIndex(); }

int TTabSetStyle::GetTabIndex() { return FControl->TabIndex(); }

int TTabSetStyle::GetTabCount() { return FControl->Tabs().Count(); }

const TFont& TTabSetStyle::GetFont() { return FControl ? FControl->Font() : FCanvas->Font(); }

void TTabSetStyle::GradientFill(TCanvas& Canvas, const RECT& Rect, TColor BaseColor, TTabKind Mode, int Direction)
{
    const COLORREF base = ColorToRGB(BaseColor);
    const int top = Rect.top, bottom = Rect.bottom;
    for (int y = top; y <= bottom; ++y) {
        COLORREF colour = base;
        // A rectangle without height has no rows to grade over: it stays flat.
        if (Mode == tkUnselected && bottom > top) {
            const int v = Direction == 1 ? y : bottom - y;
            colour = Lightened(base, RoundHalfEven(GradientStrength * std::max(bottom - v, 0), bottom - top));
        }
        Canvas.Pen().SetColor(static_cast<TColor>(colour));
        Canvas.MoveTo(Rect.left, y);
        Canvas.LineTo(Rect.right, y);
    }
}

TTabSetStyle* CreateTabSetStyle(TTabSet* AControl, const TTabSetStyleColors& AColors)
{
    auto* style = new TTabSetStyle(AControl->Owner(), AControl);
    ApplyColors(*style, AColors);
    return style;
}

namespace {

// The look pass fills the first five slots; the other three keep the style's own defaults.
constexpr TTabSetStyleColors HouseTabSetColors{11235153, 9474192, 15724527, 15984605, 14474460,
                                               TabSetStyleDefaults.ActiveFontColor, TabSetStyleDefaults.FontColor,
                                               TabSetStyleDefaults.DividerColor};

bool ApplyHouseTabSetLook(TComponent* Component)
{
    auto* tabSet = dynamic_cast<TTabSet*>(Component);
    if (tabSet) CreateTabSetStyle(tabSet, HouseTabSetColors);
    return tabSet != nullptr;
}

}  // namespace

void RegisterTabSetStyle()
{
    RegisterTabsClasses(TClassRegistry::Instance());
    AddHouseLookRule(ApplyHouseTabSetLook);
}
