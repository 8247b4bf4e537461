#include "Buttons.h"

#include <windowsx.h>

#include "DeviceContexts.h"
#include "LayoutReader.h"

namespace {

constexpr DWORD ButtonTypeMask = 0x0F;  // BS_TYPEMASK
constexpr int GlyphSpacing = 4;        // between a bit button's glyph and its caption
constexpr int DefaultSpeedButtonWidth = 23, DefaultSpeedButtonHeight = 22;

struct TKindDefaults {
    int ModalResult;
    bool Default;
    bool Cancel;
};

TKindDefaults KindDefaults(TBitBtnKind Kind)
{
    switch (Kind) {
    case bkOK:
        return {mrOk, true, false};
    case bkCancel:
        return {mrCancel, false, true};
    case bkYes:
        return {mrYes, true, false};
    case bkNo:
        return {mrNo, false, true};
    case bkAbort:
        return {mrAbort, false, false};
    case bkRetry:
        return {mrRetry, false, false};
    case bkIgnore:
        return {mrIgnore, false, false};
    case bkAll:
        return {mrAll, false, false};
    default:  // bkCustom, bkHelp, bkClose: no modal result
        return {mrNone, false, false};
    }
}

// Paints Colour through the mask's black pixels and leaves the rest of DC alone.
void PaintThroughMask(HDC DC, int X, int Y, int Width, int Height, const TMemoryDC& Mask, TColor Colour)
{
    constexpr DWORD BrushWhereSourceBlack = 0x00B8074A;  // PSDPxax
    TGdiObject brush(CreateSolidBrush(ColorToRGB(Colour)));
    TObjectSelection selected(DC, brush.Get());
    const COLORREF oldText = SetTextColor(DC, RGB(0, 0, 0));
    const COLORREF oldBk = SetBkColor(DC, RGB(255, 255, 255));
    BitBlt(DC, X, Y, Width, Height, Mask.Handle(), 0, 0, BrushWhereSourceBlack);
    SetBkColor(DC, oldBk);
    SetTextColor(DC, oldText);
}

// A glyph as buttons show it: its bottom-left pixel's colour is see-through; disabled, only its shape is drawn,
// embossed.
void DrawGlyph(HDC DC, int X, int Y, TBitmap& Glyph, bool Enabled)
{
    if (Enabled) {
        DrawTransparentBitmap(DC, X, Y, Glyph);
        return;
    }
    if (Glyph.Empty()) return;
    const int w = Glyph.Width(), h = Glyph.Height();
    TCanvas& source = Glyph.Canvas();
    const COLORREF transparent = ColorToRGB(source.Pixel(0, h - 1));
    TGdiObject maskImage(CreateBitmap(w, h, 1, 1, nullptr));
    TMemoryDC mask(DC, static_cast<HBITMAP>(maskImage.Get()));
    // Copying to monochrome turns the background colour white and the glyph's shape black.
    const COLORREF oldBk = SetBkColor(source.Handle(), transparent);
    BitBlt(mask.Handle(), 0, 0, w, h, source.Handle(), 0, 0, SRCCOPY);
    SetBkColor(source.Handle(), oldBk);
    PaintThroughMask(DC, X + 1, Y + 1, w, h, mask, clBtnHighlight);
    PaintThroughMask(DC, X, Y, w, h, mask, clBtnShadow);
}

// Glyph and caption side by side, the pair centred in Rect.
void DrawGlyphAndCaption(TCanvas& Canvas, const RECT& Rect, TBitmap& Glyph, const std::string& Caption,
                         bool Enabled)
{
    const int glyphWidth = Glyph.Empty() ? 0 : Glyph.Width();
    const int textWidth = Caption.empty() ? 0 : Canvas.TextWidth(Caption);
    const int spacing = glyphWidth > 0 && textWidth > 0 ? GlyphSpacing : 0;
    const int left = Rect.left + (Rect.right - Rect.left - (glyphWidth + spacing + textWidth)) / 2;
    if (glyphWidth > 0)
        DrawGlyph(Canvas.Handle(), left, Rect.top + (Rect.bottom - Rect.top - Glyph.Height()) / 2, Glyph, Enabled);
    if (textWidth == 0) return;
    const RECT text{left + glyphWidth + spacing, Rect.top, Rect.right, Rect.bottom};
    DrawControlText(Canvas, Caption, text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, Enabled);
}

}  // namespace

// ---- TBitBtn ----

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner), FGlyph(std::make_unique<TBitmap>())
{
    FGlyph->OnChange = [this](TObject*) { Invalidate(); };
}

TBitBtn::~TBitBtn() = default;

// The kind brings its modal result, Default and Cancel; the caption stays what it is.
void TBitBtn::SetKind(TBitBtnKind Value)
{
    FKind = Value;
    if (Value == bkCustom) return;
    const TKindDefaults defaults = KindDefaults(Value);
    SetModalResult(defaults.ModalResult);
    SetDefault(defaults.Default);
    SetCancel(defaults.Cancel);
}

void TBitBtn::Click()
{
    if (FKind == bkClose && CloseForm()) return;
    TButton::Click();
}

void TBitBtn::CreateParams(TCreateParams& Params)
{
    TButton::CreateParams(Params);
    Params.Style = (Params.Style & ~ButtonTypeMask) | BS_OWNERDRAW;
}

void TBitBtn::UpdateDefaultLook()
{
    // An owner-drawn button has no system default style: the frame is part of its painting.
    Invalidate();
}

void TBitBtn::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_DRAWITEM:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam));
        Message.Result = TRUE;
        return;
    default:
        TButton::WndProc(Message);
    }
}

void TBitBtn::DrawItem(const DRAWITEMSTRUCT& Item)
{
    TCanvas canvas;
    TCanvasAttachment attached(canvas, Item.hDC);
    const bool down = (Item.itemState & ODS_SELECTED) != 0;
    const bool focused = (Item.itemState & ODS_FOCUS) != 0;
    const bool enabled = (Item.itemState & ODS_DISABLED) == 0;
    RECT r = Item.rcItem;
    if (focused || Default()) {
        // The default button's dark outer frame.
        HBRUSH frame = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        FrameRect(Item.hDC, &r, frame);
        InflateRect(&r, -1, -1);
    }
    DrawFrameControl(Item.hDC, &r, DFC_BUTTON,
                     DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (down ? DFCS_PUSHED : 0) | (enabled ? 0 : DFCS_INACTIVE));
    if (down) OffsetRect(&r, 1, 1);
    canvas.Font().Assign(Font());
    DrawGlyphAndCaption(canvas, r, *FGlyph, Caption(), enabled);
    if (focused) {
        RECT focus = Item.rcItem;
        InflateRect(&focus, -4, -4);
        DrawFocusRect(Item.hDC, &focus);
    }
}

// ---- TSpeedButton ----

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner), FGlyph(std::make_unique<TBitmap>())
{
    SetBounds(0, 0, DefaultSpeedButtonWidth, DefaultSpeedButtonHeight);
    FGlyph->OnChange = [this](TObject*) { Invalidate(); };
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetFlat(bool Value)
{
    if (Value == FFlat) return;
    FFlat = Value;
    Invalidate();
}

void TSpeedButton::MouseDown(POINT)
{
    if (!Enabled()) return;
    FTracking = true;
    FDown = true;
    Repaint();
}

void TSpeedButton::MouseMove(POINT P)
{
    if (!FTracking) return;
    const RECT client = ClientRect();
    const bool inside = PtInRect(&client, P) != FALSE;
    if (inside == FDown) return;
    FDown = inside;
    Repaint();
}

void TSpeedButton::MouseUp(POINT P)
{
    if (!FTracking) return;
    FTracking = false;
    const RECT client = ClientRect();
    const bool clicked = PtInRect(&client, P) != FALSE;
    FDown = false;
    Repaint();
    if (clicked) Click();
}

void TSpeedButton::WndProc(TMessage& Message)
{
    const POINT p{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
    switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        MouseDown(p);
        break;
    case WM_MOUSEMOVE:
        MouseMove(p);
        break;
    case WM_LBUTTONUP:
        MouseUp(p);
        break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
        FMouseInControl = Message.Msg == CM_MOUSEENTER;
        if (FFlat) Invalidate();
        break;
    default:
        break;
    }
    TGraphicControl::WndProc(Message);
}

// The stock look: a pushed or raised face (flat: only an edge while hot or pressed) and the glyph centred.
void TSpeedButton::Paint()
{
    TCanvas& canvas = Canvas();
    HDC dc = canvas.Handle();
    RECT r = ClientRect();
    if (!FFlat)
        DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (FDown ? DFCS_PUSHED : 0));
    else if (FDown || (FMouseInControl && Enabled()))
        DrawEdge(dc, &r, FDown ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    if (FDown) OffsetRect(&r, 1, 1);
    DrawGlyphAndCaption(canvas, r, *FGlyph, Caption(), Enabled());
}

// ---- Layout tables ----

namespace {

// A glyph names a bitmap resource of the executable.
template <class T>
void RegisterGlyph(TClassRegistry& Registry, const std::string& ClassName)
{
    const auto load = [](T& c, const TLayoutValue& v) {
        c.Glyph().LoadFromResourceName(GetModuleHandleA(nullptr), v.AsString());
    };
    RegisterLayoutProperty<T>(Registry, ClassName, "Glyph", load);
    RegisterLayoutProperty<T>(Registry, ClassName, "Glyph.ResourceName", load);
}

}  // namespace

void RegisterButtonsClasses(TClassRegistry& Registry)
{
    Registry.RegisterClass("TBitBtn", "TButton", [](TComponent* Owner) { return new TBitBtn(Owner); });
    Registry.RegisterClass("TSpeedButton", "TGraphicControl",
                           [](TComponent* Owner) { return new TSpeedButton(Owner); });

    RegisterLayoutSetter(Registry, "TBitBtn", "Kind", &TBitBtn::SetKind, BitBtnKindNames);
    RegisterGlyph<TBitBtn>(Registry, "TBitBtn");
    RegisterLayoutSetter(Registry, "TSpeedButton", "Flat", &TSpeedButton::SetFlat);
    RegisterGlyph<TSpeedButton>(Registry, "TSpeedButton");
}
