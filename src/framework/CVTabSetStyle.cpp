#include "CVTabSetStyle.h"

#include <algorithm>

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

}  // namespace

// The new look shows at the next paint.
TTabSetStyle::TTabSetStyle(TComponent* AOwner, TTabSet* AControl)
    : TTabbedStyle(AOwner, AControl, TabSetStyleDefaults, "TABSETBACK_S"), FTabSet(AControl)
{
    Hook([this](TMessage& Message) { HookWndProc(Message); });
}

TTabSetStyle* CreateTabSetStyle(TTabSet* AControl, const TTabSetStyleColors& AColors)
{
    return TTabSetStyle::Create<TTabSetStyle>(AControl, AColors, true);
}

void TTabSetStyle::HookWndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT: PaintOver(Message, spBeforeAndAfterCompose); break;
    case WM_ERASEBKGND: Message.Result = 1; break;
    default: FOldWindowProc(Message); break;
    }
}

bool TTabSetStyle::Paint(TCanvas& Canvas)
{
    DrawStretched(Canvas, FControl->ClientRect(), FBackground.get());
    const int first = FTabSet->FirstIndex();
    const int last = first + FTabSet->VisibleTabs() - 1;
    for (int j = last; j >= first; --j)
        if (j != GetTabIndex() && !IsTabSelected(j)) DrawTab(Canvas, j, FTabSet->ItemRect(j - first), tdkUnselected);
    const int selected = GetTabIndex();
    if (selected >= first && selected <= last)
        DrawTab(Canvas, selected, FTabSet->ItemRect(selected - first), tdkSelected);
    return true;
}

void TTabSetStyle::DrawTab(TCanvas& Canvas, int Index, const RECT& Rect, TTabDrawKind Kind)
{
    const RECT c = FControl->ClientRect();
    RECT r = Rect;
    const std::string caption = GetTabCaption(Index);
    if (Kind == tdkSelected) {
        Canvas.Brush().SetColor(FActiveColor);
        // Room for the bold caption.
        r.right += static_cast<int>(caption.size() / 2);
    } else {
        Canvas.Brush().SetColor(FInactiveColor);
    }
    const POINT corners[4] = {
        {r.left - Slant, c.top}, {r.right + Slant, c.top}, {r.right, r.bottom + 2}, {r.left, r.bottom + 2}};
    Canvas.SetClipPolygon(corners);
    GradientFill(Canvas, RECT{r.left - Slant, c.top, r.right + Slant, r.bottom + 2}, Canvas.Brush().Color(), Kind, 1);
    ClipToScreen(Canvas);

    if (Kind == tdkSelected) {
        // The top line runs across the whole control except over the selected tab, which stays open towards it.
        Canvas.Pen().SetColor(FBorderColor);
        Canvas.Polyline({{r.right + Slant, c.top}, {c.right, c.top}});
    } else {
        Canvas.Pen().SetColor(FInactiveBorderColor);
    }
    Canvas.Polyline({{r.right + Slant, c.top}, {r.right, r.bottom + 2}, {r.left, r.bottom + 2}, {r.left - Slant, c.top}});
    if (Kind == tdkSelected) Canvas.LineTo(c.left, c.top);
    DrawTabText(Canvas, caption, r, Kind);
}

void TTabSetStyle::DrawTabText(TCanvas& Canvas, const std::string& Text, const RECT& Rect, TTabDrawKind Kind)
{
    RECT t = Rect;
    OffsetRect(&t, 3, 1);
    Canvas.Brush().SetStyle(bsClear);
    Canvas.Font().Assign(GetFont());
    if (Kind == tdkUnselected) {
        Canvas.Font().SetColor(UnselectedCaptionColor);
    } else {
        Canvas.Font().SetColor(SelectedCaptionColor);
        Canvas.Font().SetStyle(fsBold);
    }
    Canvas.DrawText(Text, t, CaptionFormat);
    Canvas.Brush().SetStyle(bsSolid);
}

std::string TTabSetStyle::GetTabCaption(int Index) { return FTabSet->Tabs().Strings(Index); }

bool TTabSetStyle::IsTabSelected(int Index) { return Index == FTabSet->TabIndex(); }

int TTabSetStyle::GetTabIndex() { return FTabSet->TabIndex(); }

int TTabSetStyle::GetTabCount() { return FTabSet->Tabs().Count(); }

const TFont& TTabSetStyle::GetFont() { return FControl ? FControl->Font() : FCanvas->Font(); }

void TTabSetStyle::GradientFill(TCanvas& Canvas, const RECT& Rect, TColor BaseColor, TTabDrawKind Mode,
                                int Direction)
{
    const int top = Rect.top, bottom = Rect.bottom;
    const int strength = Mode == tdkUnselected ? GradientStrength : 0;
    for (int y = top; y <= bottom; ++y) {
        const int v = Direction == 1 ? y : bottom - y;
        Canvas.Pen().SetColor(GradientShade(BaseColor, strength, std::max(bottom - v, 0), bottom - top));
        Canvas.Polyline({{Rect.left, y}, {Rect.right, y}});
    }
}

void RegisterTabSetStyle()
{
    RegisterTabsClasses(TClassRegistry::Instance());
    AddHouseLookRule(HouseLookRule<TTabSet, CreateTabSetStyle, TabSetStyleDefaults>);
}
