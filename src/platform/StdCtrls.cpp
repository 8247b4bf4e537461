#include "StdCtrls.h"

#include <windowsx.h>

#include "DeviceContexts.h"
#include "LayoutReader.h"

namespace {

constexpr int DefaultLabelWidth = 65, DefaultLabelHeight = 17;
constexpr int DefaultButtonWidth = 75, DefaultButtonHeight = 25;

UINT AlignmentFormat(TAlignment Alignment)
{
    switch (Alignment) {
    case taRightJustify:
        return DT_RIGHT;
    case taCenter:
        return DT_CENTER;
    default:
        return DT_LEFT;
    }
}

// DrawText measures an empty string as nothing; an empty caption keeps the height of one line.
std::string MeasurableText(const std::string& Text) { return Text.empty() ? std::string(" ") : Text; }

}  // namespace

void DrawControlText(TCanvas& Canvas, const std::string& Text, RECT Rect, UINT Format, bool Enabled)
{
    Canvas.Brush().SetStyle(bsClear);
    if (Enabled) {
        Canvas.DrawText(Text, Rect, Format);
        return;
    }
    const TColor original = Canvas.Font().Color();
    OffsetRect(&Rect, 1, 1);
    Canvas.Font().SetColor(clBtnHighlight);
    Canvas.DrawText(Text, Rect, Format);
    OffsetRect(&Rect, -1, -1);
    Canvas.Font().SetColor(clBtnShadow);
    Canvas.DrawText(Text, Rect, Format);
    Canvas.Font().SetColor(original);
}

void DrawTransparentBitmap(HDC DC, int X, int Y, TBitmap& Bitmap)
{
    if (Bitmap.Empty()) return;
    TCanvas& source = Bitmap.Canvas();
    const COLORREF transparent = ColorToRGB(source.Pixel(0, Bitmap.Height() - 1));
    // gdi32's own entry, the same function as msimg32's TransparentBlt: the program loads one library less.
    GdiTransparentBlt(DC, X, Y, Bitmap.Width(), Bitmap.Height(), source.Handle(), 0, 0, Bitmap.Width(),
                      Bitmap.Height(), transparent);
}

// ---- TLabel ----

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner)
{
    SetParentColor(true);
    SetBounds(0, 0, DefaultLabelWidth, DefaultLabelHeight);
}

void TLabel::SetCaption(const std::string& Value)
{
    if (Value == FCaption) return;
    FCaption = Value;
    Perform(CM_TEXTCHANGED);
    AdjustBounds();
}

void TLabel::SetAutoSize(bool Value)
{
    if (Value == FAutoSize) return;
    FAutoSize = Value;
    AdjustBounds();
}

void TLabel::SetTransparent(bool Value)
{
    if (Value == FTransparent) return;
    FTransparent = Value;
    Invalidate();
}

void TLabel::SetAlignment(TAlignment Value)
{
    if (Value == FAlignment) return;
    FAlignment = Value;
    Invalidate();
}

void TLabel::SetLayout(TTextLayout Value)
{
    if (Value == FLayout) return;
    FLayout = Value;
    Invalidate();
}

void TLabel::SetWordWrap(bool Value)
{
    if (Value == FWordWrap) return;
    FWordWrap = Value;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetShowAccelChar(bool Value)
{
    if (Value == FShowAccelChar) return;
    FShowAccelChar = Value;
    AdjustBounds();
    Invalidate();
}

void TLabel::SetFocusControl(TWinControl* Value)
{
    if (FFocusControl) RemoveFreeNotification(FFocusControl);
    FFocusControl = Value;
    if (Value) FreeNotification(Value);
}

void TLabel::Notification(TComponent* AComponent, TOperation Operation)
{
    TGraphicControl::Notification(AComponent, Operation);
    if (Operation == TOperation::opRemove && AComponent == FFocusControl) FFocusControl = nullptr;
}

void TLabel::WndProc(TMessage& Message)
{
    if (Message.Msg == CM_DIALOGCHAR && FFocusControl && FShowAccelChar && Enabled() &&
        IsAccel(Message.WParam, FCaption) && FFocusControl->CanFocus()) {
        FFocusControl->SetFocus();
        Message.Result = 1;
        return;
    }
    TGraphicControl::WndProc(Message);
}

void TLabel::FontChanged()
{
    TGraphicControl::FontChanged();
    AdjustBounds();
}

UINT TLabel::TextFormat() const
{
    UINT format = DT_EXPANDTABS | (FShowAccelChar ? 0 : DT_NOPREFIX) | AlignmentFormat(FAlignment);
    if (FWordWrap) return format | DT_WORDBREAK;
    format |= DT_SINGLELINE;
    if (FLayout == tlCenter) format |= DT_VCENTER;
    if (FLayout == tlBottom) format |= DT_BOTTOM;
    return format;
}

void TLabel::Loaded()
{
    TGraphicControl::Loaded();
    AdjustBounds();
}

// Sizes the label to its text; the sides that an alignment fixes stay as the parent laid them out. A label being
// read is measured once, with its final text and font, when it is loaded.
void TLabel::AdjustBounds()
{
    if (!FAutoSize || Align() == alClient || Loading()) return;
    // A memory DC measures as the screen does, without taking one of the screen's DCs.
    TMemoryDC measure(nullptr, nullptr);
    TCanvas canvas;
    TCanvasAttachment attached(canvas, measure.Handle());
    canvas.Font().Assign(Font());
    RECT r{0, 0, FWordWrap ? Width() : 0, 0};
    canvas.DrawText(MeasurableText(FCaption), r, (TextFormat() & ~(DT_VCENTER | DT_BOTTOM)) | DT_CALCRECT);
    int width = r.right - r.left, height = r.bottom - r.top;
    if (Align() == alTop || Align() == alBottom) width = Width();
    if (Align() == alLeft || Align() == alRight) height = Height();
    // Right-justified text keeps its right edge where it was.
    const int left = FAlignment == taRightJustify ? Left() + Width() - width : Left();
    SetBounds(left, Top(), width, height);
}

void TLabel::Paint()
{
    TCanvas& canvas = Canvas();
    RECT r = ClientRect();
    if (!FTransparent) {
        canvas.Brush().SetStyle(bsSolid);
        canvas.Brush().SetColor(Color());
        canvas.FillRect(r);
    }
    const UINT format = TextFormat();
    // Wrapped text has no DrawText centring of its own: the block is measured and moved.
    if (FWordWrap && FLayout != tlTop) {
        RECT calc = r;
        canvas.DrawText(MeasurableText(FCaption), calc, format | DT_CALCRECT);
        const int spare = (r.bottom - r.top) - (calc.bottom - calc.top);
        OffsetRect(&r, 0, FLayout == tlBottom ? spare : spare / 2);
    }
    DrawControlText(canvas, FCaption, r, format, Enabled());
}

// ---- TButton ----

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner)
{
    SetBounds(0, 0, DefaultButtonWidth, DefaultButtonHeight);
    SetTabStop(true);
}

void TButton::SetDefault(bool Value)
{
    if (Value == FDefault) return;
    FDefault = Value;
    if (HandleAllocated()) UpdateDefaultLook();
}

void TButton::UpdateDefaultLook()
{
    SendMessageA(Handle(), BM_SETSTYLE, FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click()
{
    TWinControl::Click();
    if (FModalResult != mrNone) SetFormModalResult(FModalResult);
}

bool TButton::WantsDialogKey(WPARAM Key) const
{
    if (!CanFocus()) return false;
    return Key == VK_RETURN ? Focused() || FDefault : Key == VK_ESCAPE && FCancel;
}

void TButton::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.StockClass = "BUTTON";
    Params.Style |= FDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_COMMAND:
        // The parent reflects the button's notification; the system button sends BN_CLICKED once per click.
        if (HIWORD(Message.WParam) == BN_CLICKED) Click();
        Message.Result = 0;
        return;
    case CM_DIALOGKEY:
        if (!WantsDialogKey(Message.WParam)) break;
        Click();
        Message.Result = 1;
        return;
    case CM_DIALOGCHAR:
        if (!IsAccel(Message.WParam, Caption()) || !CanFocus()) break;
        Click();
        Message.Result = 1;
        return;
    case CM_FOCUSCHANGED:
        // Focus moved inside the form: an owner-drawn look (bold caption, focus frame) changes with it.
        Invalidate();
        break;
    case WM_LBUTTONDBLCLK:
        // The second press of a double click is a press of its own, so it clicks again.
        Message.Msg = WM_LBUTTONDOWN;
        break;
    default:
        break;
    }
    TWinControl::WndProc(Message);
}

// ---- Layout tables ----

void RegisterStdCtrlsClasses(TClassRegistry& Registry)
{
    Registry.RegisterClass("TLabel", "TGraphicControl", [](TComponent* Owner) { return new TLabel(Owner); });
    Registry.RegisterClass("TButton", "TWinControl", [](TComponent* Owner) { return new TButton(Owner); });

    const std::string label = "TLabel";
    RegisterLayoutSetter(Registry, label, "AutoSize", &TLabel::SetAutoSize);
    RegisterLayoutSetter(Registry, label, "Transparent", &TLabel::SetTransparent);
    RegisterLayoutSetter(Registry, label, "WordWrap", &TLabel::SetWordWrap);
    RegisterLayoutSetter(Registry, label, "Alignment", &TLabel::SetAlignment, AlignmentNames);
    RegisterLayoutSetter(Registry, label, "Layout", &TLabel::SetLayout, TextLayoutNames);
    RegisterLayoutSetter(Registry, label, "ShowAccelChar", &TLabel::SetShowAccelChar);
    RegisterLayoutReference<TLabel, TWinControl>(Registry, label, "FocusControl",
                                                 [](TLabel& c, TWinControl& Target) { c.SetFocusControl(&Target); });

    const std::string button = "TButton";
    RegisterLayoutProperty<TButton>(Registry, button, "ModalResult", [](TButton& c, const TLayoutValue& v) {
        // Stored as a number; the names are accepted too.
        c.SetModalResult(v.Kind == TLayoutValue::vkIdent ? v.AsEnum(ModalResultNames) : v.AsInt());
    });
    RegisterLayoutSetter(Registry, button, "Default", &TButton::SetDefault);
    RegisterLayoutSetter(Registry, button, "Cancel", &TButton::SetCancel);
}
