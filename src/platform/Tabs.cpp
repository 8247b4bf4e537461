#include "Tabs.h"

#include <algorithm>

#include "Graphics.h"
#include "LayoutReader.h"

namespace {

constexpr int DefaultTabSetWidth = 185, DefaultTabSetHeight = 21;
// Room for a tab's slant, which reaches 7 pixels beyond its rectangle at the top edge.
constexpr int FirstTabStart = 9;
constexpr int TabGap = 9;              // between tabs: neighbouring slants cross halfway down
constexpr int CaptionMargin = 3;       // on each side of a caption
constexpr int ArrowWidth = 16, ArrowHeight = 16;
constexpr int SlantReach = 8;          // how far right of its width a tab's top corner lies
constexpr uint32_t PackedLimit = 0xFFFF;

uint32_t Pack(int Start, int Width)
{
    const auto start = static_cast<uint32_t>(std::clamp(Start, 0, static_cast<int>(PackedLimit)));
    const auto width = static_cast<uint32_t>(std::clamp(Width, 0, static_cast<int>(PackedLimit)));
    return (start << 16) | width;
}

int PackedStart(uint32_t Entry) { return static_cast<int>(Entry >> 16); }
int PackedWidth(uint32_t Entry) { return static_cast<int>(Entry & PackedLimit); }

}  // namespace

// The two arrow buttons at the right end of a tab set: a child window, so that a style painting the tab set over
// leaves them visible.
class TTabScroller : public TCustomControl {
public:
    explicit TTabScroller(TTabSet* ATabSet) : TCustomControl(ATabSet), FTabSet(ATabSet)
    {
        SetBounds(0, 0, 2 * ArrowWidth, ArrowHeight);
        SetVisible(false);
        SetParent(ATabSet);
    }

protected:
    void Paint() override
    {
        const bool canLeft = FTabSet->FirstIndex() > 0;
        const bool canRight = FTabSet->FirstIndex() + FTabSet->VisibleTabs() < FTabSet->Tabs().Count();
        RECT left{0, 0, ArrowWidth, ArrowHeight}, right{ArrowWidth, 0, 2 * ArrowWidth, ArrowHeight};
        const HDC dc = Canvas().Handle();
        DrawFrameControl(dc, &left, DFC_SCROLL, DFCS_SCROLLLEFT | (canLeft ? 0 : DFCS_INACTIVE));
        DrawFrameControl(dc, &right, DFC_SCROLL, DFCS_SCROLLRIGHT | (canRight ? 0 : DFCS_INACTIVE));
    }

    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == WM_LBUTTONDOWN || Message.Msg == WM_LBUTTONDBLCLK) {
            const int x = static_cast<short>(LOWORD(Message.LParam));
            FTabSet->SetFirstIndex(FTabSet->FirstIndex() + (x < ArrowWidth ? -1 : 1));
            Message.Result = 0;
            return;
        }
        TCustomControl::WndProc(Message);
    }

private:
    TTabSet* FTabSet;
};

TTabSet::TTabSet(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(0, 0, DefaultTabSetWidth, DefaultTabSetHeight);
    SetTabStop(true);
    FScroller = new TTabScroller(this);
    FTabs.OnChange = [this](TObject*) {
        // A selection whose tab is gone selects nothing; it is not a change the user made.
        if (FTabIndex >= FTabs.Count()) FTabIndex = -1;
        FFirstIndex = std::clamp(FFirstIndex, 0, std::max(FTabs.Count() - 1, 0));
        UpdateLayout();
    };
    UpdateLayout();
}

TTabSet::~TTabSet() = default;

void TTabSet::SetTabIndex(int Value)
{
    if (Value < -1 || Value >= FTabs.Count()) Value = -1;
    if (Value == FTabIndex) return;
    bool allow = true;
    if (OnChange) OnChange(this, Value, allow);
    if (!allow) return;
    FTabIndex = Value;
    Invalidate();
}

void TTabSet::SetTabHeight(int Value)
{
    FTabHeight = std::max(Value, 0);
    UpdateLayout();
}

void TTabSet::SetFirstIndex(int Value)
{
    Value = std::clamp(Value, 0, std::max(FTabs.Count() - 1, 0));
    if (Value == FFirstIndex) return;
    FFirstIndex = Value;
    UpdateLayout();
}

RECT TTabSet::ItemRect(int V) const
{
    if (V < 0 || V >= VisibleTabs()) return RECT{0, 0, 0, 0};
    const uint32_t entry = FTabPositions[static_cast<size_t>(V)];
    const int start = PackedStart(entry);
    return RECT{start - 1, 2, start + PackedWidth(entry) + 1, FTabHeight - 2};
}

int TTabSet::ItemAtPos(POINT P) const
{
    if (P.y < 0 || P.y >= FTabHeight) return -1;
    for (int v = 0; v < VisibleTabs(); ++v) {
        const uint32_t entry = FTabPositions[static_cast<size_t>(v)];
        const int start = PackedStart(entry);
        if (P.x >= start - 1 && P.x < start + PackedWidth(entry) + 1) return FFirstIndex + v;
    }
    return -1;
}

bool TTabSet::Scrolling() const { return FScroller->Visible(); }

void TTabSet::UpdateLayout()
{
    auto lay = [this](int Right) {
        FTabPositions.clear();
        int start = FirstTabStart;
        for (int i = FFirstIndex; i < FTabs.Count(); ++i) {
            const int width = Canvas().TextWidth(FTabs.Strings(i)) + 2 * CaptionMargin;
            // The first tab shown always stays, however narrow the control.
            if (start + width + SlantReach > Right && !FTabPositions.empty()) return false;
            FTabPositions.push_back(Pack(start, width));
            start += width + TabGap;
        }
        return true;
    };
    const bool scrolling = !lay(ClientWidth()) || FFirstIndex > 0;
    if (scrolling) lay(ClientWidth() - 2 * ArrowWidth);
    FScroller->SetBounds(ClientWidth() - 2 * ArrowWidth, std::max((FTabHeight - ArrowHeight) / 2, 0),
                         2 * ArrowWidth, ArrowHeight);
    FScroller->SetVisible(scrolling);
    FScroller->Invalidate();
    Invalidate();
}

void TTabSet::FontChanged()
{
    TCustomControl::FontChanged();
    UpdateLayout();
}

// The stock look: flat tabs outlined in the shadow colour, the selected one in the window colour.
void TTabSet::Paint()
{
    TCanvas& canvas = Canvas();
    canvas.Pen().SetColor(clBtnShadow);
    canvas.MoveTo(0, 0);
    canvas.LineTo(ClientWidth(), 0);
    for (int v = 0; v < VisibleTabs(); ++v) {
        RECT r = ItemRect(v);
        const bool selected = FFirstIndex + v == FTabIndex;
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(selected ? clWindow : clBtnFace);
        canvas.Rectangle(r.left, 0, r.right, r.bottom);
        canvas.Brush().SetStyle(bsClear);
        canvas.DrawText(FTabs.Strings(FFirstIndex + v), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

void TTabSet::SelectByKey(int Step)
{
    if (FTabs.Count() == 0) return;
    const int next = FTabIndex < 0 ? FFirstIndex : std::clamp(FTabIndex + Step, 0, FTabs.Count() - 1);
    SetTabIndex(next);
    // The selected tab comes into view.
    if (FTabIndex >= 0 && FTabIndex < FFirstIndex) SetFirstIndex(FTabIndex);
    while (FTabIndex >= FFirstIndex + VisibleTabs() && FFirstIndex < FTabIndex) SetFirstIndex(FFirstIndex + 1);
}

void TTabSet::SelectByMouse(POINT P)
{
    const int index = ItemAtPos(P);
    if (index < 0) return;
    SetTabIndex(index);
    if (FTabIndex == index) Click();
}

void TTabSet::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETDLGCODE: Message.Result = DLGC_WANTARROWS; return;
    case WM_KEYDOWN:
        if (Message.WParam == VK_LEFT || Message.WParam == VK_RIGHT) {
            SelectByKey(Message.WParam == VK_LEFT ? -1 : 1);
            Message.Result = 0;
            return;
        }
        break;
    case WM_LBUTTONDOWN:
        if (CanFocus() && !Focused()) SetFocus();
        SelectByMouse(POINT{static_cast<short>(LOWORD(Message.LParam)), static_cast<short>(HIWORD(Message.LParam))});
        break;
    case WM_SIZE:
        TCustomControl::WndProc(Message);
        UpdateLayout();
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: Invalidate(); break;
    default: break;
    }
    TCustomControl::WndProc(Message);
}

// ---- Layout tables ----

void RegisterTabsClasses(TClassRegistry& Registry)
{
    Registry.RegisterClass("TTabSet", "TWinControl", [](TComponent* Owner) { return new TTabSet(Owner); });
    const std::string cls = "TTabSet";
    RegisterLayoutProperty<TTabSet>(Registry, cls, "Tabs.Strings", [](TTabSet& c, const TLayoutValue& v) {
        if (v.Kind != TLayoutValue::vkStrings) throw EConvertError("a list of strings is expected");
        c.Tabs().Clear();
        for (const std::string& tab : v.Items) c.Tabs().Add(tab);
    });
    RegisterLayoutSetter(Registry, cls, "TabIndex", &TTabSet::SetTabIndex);
    RegisterLayoutSetter(Registry, cls, "TabHeight", &TTabSet::SetTabHeight);
    RegisterLayoutSetter(Registry, cls, "FirstIndex", &TTabSet::SetFirstIndex);
    RegisterLayoutProperty<TTabSet>(Registry, cls, "OnChange", [](TTabSet& c, const TLayoutValue& v,
                                                                 const TLayoutBindings& b) {
        c.OnChange = LayoutEvent<TTabChangeEvent>(b, v);
    });
}
