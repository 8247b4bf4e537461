#include "CVButtonStyle.h"

namespace {

constexpr UINT CaptionFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
// How much the disabled caption's shadow is darkened below the normal colour.
constexpr int ShadowDarkening = 200;

}  // namespace

TButtonStyle::TButtonStyle(TComponent* AOwner, TWinControl* AControl) : TControlStyle(AOwner, AControl)
{
    FBackground = LoadBitmap("BUTTON_BACKGROUND");
    FBackgroundB = LoadBitmap("BUTTON_BACKGROUND_B");
    FBorderColor = ButtonStyleDefaults.BorderColor;
    FNormalColor = ButtonStyleDefaults.NormalColor;
    FHotColor = ButtonStyleDefaults.HotColor;
    FDownColor = ButtonStyleDefaults.DownColor;
    Hook([this](TMessage& Message) { HookWndProc(Message); }, [this] {
        // Setting the caption again sends WM_SETTEXT through the hook, which repaints in the new look.
        const std::string caption = FControl->Caption();
        FControl->SetTextBuf(caption.c_str());
        FControl->Repaint();
    });
}

void TButtonStyle::EnterState(TButtonVisualState State)
{
    FState = State;
    FControl->Perform(BM_SETSTATE, State == bvsPressed ? 1 : 0, 0);
}

void TButtonStyle::HookWndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT: PaintOver(Message); return;
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_DRAWITEM:
    case CN_DRAWITEM:
        // The stock owner-draw look (glyph, focus rectangle, default frame) never shows.
        return;
    case WM_LBUTTONUP:
        // The click runs inside the stock handling; the released look shows before and after it.
        FState = bvsReleased;
        FControl->Repaint();
        FOldWindowProc(Message);
        FState = bvsReleased;
        FControl->Repaint();
        Message.Result = 1;
        return;
    }
    // As sent: the stock handling may rewrite the record (a double-click goes on as a press).
    const TMessage sent = Message;
    FOldWindowProc(Message);
    if (FollowStock(sent)) Message.Result = 1;
}

bool TButtonStyle::FollowStock(const TMessage& Sent)
{
    switch (Sent.Msg) {
    case WM_SETTEXT:
    case WM_SETFONT:
    case BM_SETSTATE: FControl->Repaint(); return true;
    case WM_MOUSEMOVE:
        // Any button or modifier held keeps the state: a press stays pressed while dragging over the button.
        if (Sent.WParam == 0 && FState != bvsHot) EnterState(bvsHot);
        return true;
    case CM_MOUSEENTER:
        if (FState != bvsHot) EnterState(bvsHot);
        return true;
    case WM_LBUTTONDOWN: EnterState(bvsPressed); return true;
    case CM_MOUSELEAVE: EnterState(bvsNormal); return true;
    default: return false;
    }
}

bool TButtonStyle::Compose(TCanvas& Canvas)
{
    Paint(Canvas, FState);
    return true;
}

void TButtonStyle::Paint(TCanvas& Canvas, TButtonVisualState State)
{
    const RECT r = FControl->ClientRect();
    const bool blue = State == bvsPressed || State == bvsHot;
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(State == bvsPressed ? FDownColor : State == bvsHot ? FHotColor : FNormalColor);
    DrawBackground(Canvas, r, !blue);

    Canvas.Brush().SetStyle(bsClear);
    Canvas.Pen().SetColor(FBorderColor);
    Canvas.Pen().SetWidth(1);
    Canvas.Pen().SetStyle(psSolid);
    Canvas.Rectangle(r);

    Canvas.Font().Assign(FControl->Font());
    if (FControl->Focused()) Canvas.Font().SetStyle(Canvas.Font().Style() | fsBold);

    const std::string text = FControl->Caption();
    if (!FControl->Enabled())
        DrawCaption(Canvas, text, r, ckDisabled);
    else if (State == bvsPressed)
        DrawCaption(Canvas, text, r, ckPressed);
    else
        DrawCaption(Canvas, text, r, ckNormal);
}

void TButtonStyle::DrawCaption(TCanvas& Canvas, const std::string& Text, const RECT& Rect, TCaptionKind Kind)
{
    RECT t = Rect;
    if (Kind == ckPressed) OffsetRect(&t, 1, 1);
    Canvas.Brush().SetStyle(bsClear);
    if (Kind == ckDisabled) {
        // Embossed: a highlight copy one pixel right and down under a shadow copy in place.
        OffsetRect(&t, 1, 1);
        Canvas.Font().SetColor(clBtnHighlight);
        Canvas.DrawText(Text, t, CaptionFormat);
        OffsetRect(&t, -1, -1);
        Canvas.Font().SetColor(Darkened(FNormalColor, ShadowDarkening));
    }
    Canvas.DrawText(Text, t, CaptionFormat);
}

void TButtonStyle::DrawBackground(TCanvas& Canvas, const RECT& Rect, bool Normal)
{
    DrawStretched(Canvas, Rect, Normal ? FBackground.get() : FBackgroundB.get());
}

TButtonStyle* CreateButtonStyle(TButton* AControl, const TButtonStyleColors& AColors)
{
    auto* style = new TButtonStyle(AControl->Owner(), AControl);
    style->SetBorderColor(AColors.BorderColor);
    style->SetNormalColor(AColors.NormalColor);
    style->SetHotColor(AColors.HotColor);
    style->SetDownColor(AColors.DownColor);
    return style;
}
