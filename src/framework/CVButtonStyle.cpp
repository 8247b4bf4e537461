#include "CVButtonStyle.h"

#include "DeviceContexts.h"

namespace {

constexpr TColor DefaultBorderColor = 8816776;   // RGB 136,136,134
constexpr TColor DefaultNormalColor = 14468544;  // RGB 192,197,220
constexpr TColor DefaultHotColor = 12952218;     // RGB 154,162,197
constexpr TColor DefaultDownColor = 12952218;

constexpr UINT CaptionFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;

// The caption's shadow when disabled: the normal colour darkened in proportion to each component's share.
TColor DisabledShadowColor(TColor Normal)
{
    const COLORREF rgb = ColorToRGB(Normal);
    const int r = GetRValue(rgb), g = GetGValue(rgb), b = GetBValue(rgb);
    const int sum = r + g + b;
    // Black has no share to darken by; its shadow stays black.
    if (sum == 0) return clBlack;
    auto darken = [sum](int c) { return (c - 200 * c / sum) & 0xFF; };
    return RGBColor(darken(r), darken(g), darken(b));
}

std::unique_ptr<TBitmap> LoadBackground(const char* ResourceName)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromResourceName(GetModuleHandleA(nullptr), ResourceName);
    return bitmap;
}

}  // namespace

TButtonStyle::TButtonStyle(TComponent* AOwner, TWinControl* AControl) : TComponent(AOwner)
{
    FBackground = LoadBackground("BUTTON_BACKGROUND");
    FBackgroundB = LoadBackground("BUTTON_BACKGROUND_B");
    FBorderColor = DefaultBorderColor;
    FNormalColor = DefaultNormalColor;
    FHotColor = DefaultHotColor;
    FDownColor = DefaultDownColor;
    FControl = AControl;
    FState = bvsNormal;
    FBitmap = std::make_unique<TBitmap>();
    FCanvas = std::make_unique<TCanvas>();
    FOldWindowProc = FControl->WindowProc;
    FControl->WindowProc = [this](TMessage& Message) { HookWndProc(Message); };
    try {
        // Setting the caption again sends WM_SETTEXT through the hook, which repaints in the new look.
        const std::string caption = FControl->Caption();
        FControl->SetTextBuf(caption.c_str());
        FControl->Repaint();
    } catch (...) {
        // A style that was never built must not stay in the chain.
        FControl->WindowProc = FOldWindowProc;
        throw;
    }
}

void TButtonStyle::EnterState(TButtonVisualState State)
{
    FState = State;
    FControl->Perform(BM_SETSTATE, State == bvsPressed ? 1 : 0, 0);
}

void TButtonStyle::HookWndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_SETTEXT:
    case WM_SETFONT:
    case BM_SETSTATE:
        FOldWindowProc(Message);
        FControl->Repaint();
        Message.Result = 1;
        break;
    case WM_PAINT:
        PaintMessage(Message);
        break;
    case WM_ERASEBKGND:
        Message.Result = 1;
        break;
    case WM_DRAWITEM:
    case CN_DRAWITEM:
        // The stock owner-draw look (glyph, focus rectangle, default frame) never shows.
        break;
    case WM_MOUSEMOVE:
        FOldWindowProc(Message);
        // Any button or modifier held keeps the state: a press stays pressed while dragging over the button.
        if (Message.WParam == 0 && FState != bvsHot) EnterState(bvsHot);
        Message.Result = 1;
        break;
    case WM_LBUTTONDOWN:
        FOldWindowProc(Message);
        EnterState(bvsPressed);
        Message.Result = 1;
        break;
    case WM_LBUTTONUP:
        // The click runs inside the stock handling; the released look shows before and after it.
        FState = bvsReleased;
        FControl->Repaint();
        FOldWindowProc(Message);
        FState = bvsReleased;
        FControl->Repaint();
        Message.Result = 1;
        break;
    case CM_MOUSEENTER:
        FOldWindowProc(Message);
        if (FState != bvsHot) EnterState(bvsHot);
        Message.Result = 1;
        break;
    case CM_MOUSELEAVE:
        FOldWindowProc(Message);
        EnterState(bvsNormal);
        Message.Result = 1;
        break;
    default:
        FOldWindowProc(Message);
        break;
    }
}

// Composes the button off-screen and copies it with one BitBlt, so nothing flickers; whatever the stock handling
// draws meanwhile is covered.
void TButtonStyle::PaintMessage(TMessage& Message)
{
    FBitmap->SetSize(FControl->Width(), FControl->Height());
    Paint(FBitmap->Canvas(), FState);
    {
        TPaintDC paint(FControl->Handle());
        TCanvasAttachment attached(*FCanvas, paint.Handle());
        // The stock handling still runs, for what it does besides drawing; inside our BeginPaint the update region
        // is already taken, so it paints nothing the user sees, and the copy below covers the client area anyway.
        FOldWindowProc(Message);
        FCanvas->Draw(0, 0, *FBitmap);
    }
    Message.Result = 1;
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
        Canvas.Font().SetColor(DisabledShadowColor(FNormalColor));
    }
    Canvas.DrawText(Text, t, CaptionFormat);
}

void TButtonStyle::DrawBackground(TCanvas& Canvas, const RECT& Rect, bool Normal)
{
    TCanvasLock lock(Canvas);
    const TBitmap* bitmap = Normal ? FBackground.get() : FBackgroundB.get();
    if (bitmap && !bitmap->Empty()) Canvas.StretchDraw(Rect, *bitmap);
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
