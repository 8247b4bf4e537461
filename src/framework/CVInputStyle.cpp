#include "CVInputStyle.h"

#include <algorithm>

#include "CVHouseColors.h"
#include "LayoutReader.h"
#include "StdCtrls.h"
#include "VelRootFrm.h"

const TInputStyleColors InputStyleDefaults = {HouseButtonBorderColor, HouseTabBorderColor,     HouseProgressColor,
                                              HouseProgressFrameColor, HouseProgressColor,     HouseTabSetActiveColor,
                                              HouseButtonNormalColor,  HouseProgressFrameColor};

namespace {

constexpr int BoxSize = 13;
constexpr int CaptionGap = 4;

// The messages on which the system controls draw themselves at once rather than through WM_PAINT.
bool StockDraws(UINT Msg)
{
    switch (Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_SETFONT:
    case WM_UPDATEUISTATE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_COMMAND:
    case BM_SETCHECK:
    case BM_SETSTATE:
    case CB_SETCURSEL:
    case CB_SHOWDROPDOWN:
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: return true;
    default: return false;
    }
}

}  // namespace

// ---- TInputStyle ----

TInputStyle::TInputStyle(TComponent* AOwner, TWinControl* AControl, const TInputStyleColors& Colors)
    : TControlStyle(AOwner, AControl), FColors(Colors)
{
}

void TInputStyle::Attach()
{
    Hook([this](TMessage& Message) { HookWndProc(Message); }, [this] {
        if (FControl->HandleAllocated()) Restore();
    });
}

void TInputStyle::HookWndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_PAINT:
        if (!PaintsClient()) break;
        PaintOver(Message);
        return;
    case WM_ERASEBKGND:
        if (!PaintsClient()) break;
        Message.Result = 1;
        return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE: FHot = Message.Msg == CM_MOUSEENTER; break;
    default: break;
    }
    const UINT sent = Message.Msg;
    FOldWindowProc(Message);
    if (Follows(sent) && FControl->HandleAllocated()) Restore();
}

bool TInputStyle::Follows(UINT Msg) const { return StockDraws(Msg); }

TColor TInputStyle::FrameColor() const
{
    if (!FControl->Enabled()) return FColors.DisabledFrame;
    if (FControl->Focused()) return FColors.FocusFrame;
    return FHot ? FColors.HotFrame : FColors.Frame;
}

// ---- TCheckStyle ----

TCheckStyle::TCheckStyle(TComponent* AOwner, TButtonControl* AControl, const TInputStyleColors& Colors)
    : TInputStyle(AOwner, AControl, Colors), FButton(AControl)
{
}

void TCheckStyle::DrawBox(TCanvas& Canvas, const RECT& Box)
{
    const bool pressed = FButton->Perform(BM_GETSTATE) & BST_PUSHED;
    const bool enabled = FButton->Enabled();
    Canvas.Pen().SetColor(FrameColor());
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(!enabled ? clBtnFace : pressed ? FColors.PressedFill : Hot() ? FColors.HotFill : clWindow);
    const bool radio = dynamic_cast<TRadioButton*>(FButton) != nullptr;
    if (radio)
        Canvas.Ellipse(Box);
    else
        Canvas.Rectangle(Box);
    if (!FButton->Checked()) return;
    const TColor mark = enabled ? FColors.Mark : FColors.DisabledFrame;
    Canvas.Pen().SetColor(mark);
    Canvas.Brush().SetColor(mark);
    if (radio) {
        Canvas.Ellipse(RECT{Box.left + 4, Box.top + 4, Box.right - 4, Box.bottom - 4});
        return;
    }
    // A tick three pixels thick, as the system draws one.
    for (int y = 0; y < 3; ++y)
        Canvas.Polyline({POINT{Box.left + 3, Box.top + 5 + y}, POINT{Box.left + 5, Box.top + 7 + y},
                         POINT{Box.left + 10, Box.top + 2 + y}});
}

bool TCheckStyle::Compose(TCanvas& Canvas)
{
    const RECT r = FButton->ClientRect();
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(FButton->Color());
    Canvas.FillRect(r);
    const int top = (r.bottom - BoxSize) / 2;
    DrawBox(Canvas, RECT{0, top, BoxSize, top + BoxSize});

    Canvas.Font().Assign(FButton->Font());
    const std::string caption = FButton->Caption();
    RECT text{BoxSize + CaptionGap, 0, r.right, r.bottom};
    DrawControlText(Canvas, caption, text, DT_SINGLELINE | DT_VCENTER, FButton->Enabled());
    if (!FButton->Focused() || caption.empty()) return true;
    RECT mark = text;
    Canvas.DrawText(caption, mark, DT_SINGLELINE | DT_CALCRECT);
    OffsetRect(&mark, 0, (r.bottom - (mark.bottom - mark.top)) / 2 - mark.top);
    InflateRect(&mark, 2, 1);
    mark.right = std::min(mark.right, r.right);
    Canvas.DrawFocusRect(mark);
    return true;
}

// ---- TEditStyle ----

TEditStyle::TEditStyle(TComponent* AOwner, TEdit* AControl, const TInputStyleColors& Colors)
    : TInputStyle(AOwner, AControl, Colors), FEdit(AControl)
{
}

bool TEditStyle::Follows(UINT Msg) const { return Msg == WM_NCPAINT || TInputStyle::Follows(Msg); }

// The sunken edge is two pixels: the frame, and inside it the field's own colour.
void TEditStyle::Restore()
{
    TWindowDC dc(FEdit->Handle(), true);
    TCanvas canvas;
    TCanvasAttachment attached(canvas, dc.Handle());
    RECT r{0, 0, FEdit->Width(), FEdit->Height()};
    canvas.Brush().SetStyle(bsClear);
    canvas.Pen().SetColor(FrameColor());
    canvas.Rectangle(r);
    InflateRect(&r, -1, -1);
    canvas.Pen().SetColor(FEdit->Enabled() && !FEdit->ReadOnly() ? clWindow : clBtnFace);
    canvas.Rectangle(r);
}

// ---- TComboStyle ----

TComboStyle::TComboStyle(TComponent* AOwner, TComboBox* AControl, const TInputStyleColors& Colors)
    : TInputStyle(AOwner, AControl, Colors), FCombo(AControl)
{
    FBackground = LoadBitmap("BUTTON_BACKGROUND");
    FBackgroundB = LoadBitmap("BUTTON_BACKGROUND_B");
}

void TComboStyle::DrawArrowButton(TCanvas& Canvas, const RECT& Button)
{
    const bool open = FCombo->DroppedDown();
    DrawStretched(Canvas, Button, open || Hot() ? FBackgroundB.get() : FBackground.get());
    Canvas.Pen().SetColor(FrameColor());
    Canvas.MoveTo(Button.left - 1, Button.top);
    Canvas.LineTo(Button.left - 1, Button.bottom);
    // A triangle four rows high, pointing down.
    Canvas.Pen().SetColor(FCombo->Enabled() ? clWindowText : clBtnShadow);
    const int x = (Button.left + Button.right) / 2 + (open ? 1 : 0);
    const int y = (Button.top + Button.bottom) / 2 - 2 + (open ? 1 : 0);
    for (int row = 0; row < 4; ++row) {
        Canvas.MoveTo(x - 3 + row, y + row);
        Canvas.LineTo(x + 4 - row, y + row);
    }
}

bool TComboStyle::Compose(TCanvas& Canvas)
{
    const RECT r = FCombo->ClientRect();
    const bool enabled = FCombo->Enabled();
    Canvas.Pen().SetColor(FrameColor());
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(enabled ? clWindow : clBtnFace);
    Canvas.Rectangle(r);
    const int buttonWidth = GetSystemMetrics(SM_CXVSCROLL);
    DrawArrowButton(Canvas, RECT{r.right - 1 - buttonWidth, 1, r.right - 1, r.bottom - 1});

    RECT field{2, 2, r.right - buttonWidth - 3, r.bottom - 2};
    const bool marked = enabled && FCombo->Focused() && !FCombo->DroppedDown();
    if (marked) {
        Canvas.Brush().SetColor(FColors.Mark);
        Canvas.FillRect(field);
    }
    Canvas.Font().Assign(FCombo->Font());
    if (marked) Canvas.Font().SetColor(clWhite);
    InflateRect(&field, -2, 0);
    DrawControlText(Canvas, FCombo->Text(), field, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS,
                    enabled);
    return true;
}

// ---- The look pass ----

bool StyleInputControl(TComponent* Control, const TInputStyleColors& Colors)
{
    if (auto* group = dynamic_cast<TGroupBox*>(Control)) {
        group->SetFrameColor(Colors.GroupFrame);
        group->SetParentFont(true);
        return true;
    }
    TInputStyle* style = nullptr;
    if (auto* button = dynamic_cast<TButtonControl*>(Control))
        style = new TCheckStyle(button->Owner(), button, Colors);
    else if (auto* edit = dynamic_cast<TEdit*>(Control))
        style = new TEditStyle(edit->Owner(), edit, Colors);
    else if (auto* combo = dynamic_cast<TComboBox*>(Control))
        style = new TComboStyle(combo->Owner(), combo, Colors);
    if (!style) return false;
    static_cast<TWinControl*>(Control)->SetParentFont(true);
    style->Attach();
    return true;
}

namespace {

bool InputLookRule(TComponent* Component) { return StyleInputControl(Component, InputStyleDefaults); }

}  // namespace

void RegisterInputStyle()
{
    RegisterInputCtrlsClasses(TClassRegistry::Instance());
    AddHouseLookRule(InputLookRule);
}
