#include "InputCtrls.h"

#include <algorithm>

#include "LayoutReader.h"
#include "StdCtrls.h"

namespace {

constexpr int DefaultEditWidth = 121, DefaultEditHeight = 21;
constexpr int DefaultCheckWidth = 97, DefaultCheckHeight = 17;
constexpr int DefaultComboWidth = 145, DefaultComboHeight = 21;
constexpr int DefaultGroupWidth = 185, DefaultGroupHeight = 105;

}  // namespace

// ---- TEdit ----

TEdit::TEdit(TComponent* AOwner) : TWinControl(AOwner)
{
    SetBounds(0, 0, DefaultEditWidth, DefaultEditHeight);
    SetTabStop(true);
}

void TEdit::SetMaxLength(int Value)
{
    FMaxLength = std::max(0, Value);
    if (HandleAllocated()) Perform(EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength));
}

void TEdit::SetPasswordChar(char Value)
{
    if (Value == FPasswordChar) return;
    FPasswordChar = Value;
    if (!HandleAllocated()) return;
    Perform(EM_SETPASSWORDCHAR, static_cast<unsigned char>(Value));
    Invalidate();
}

void TEdit::SetReadOnly(bool Value)
{
    FReadOnly = Value;
    if (HandleAllocated()) Perform(EM_SETREADONLY, Value ? TRUE : FALSE);
}

void TEdit::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.StockClass = "EDIT";
    Params.Style |= ES_AUTOHSCROLL | (FReadOnly ? ES_READONLY : 0) | (FPasswordChar ? ES_PASSWORD : 0);
    Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TEdit::CreateHandleDone()
{
    TWinControl::CreateHandleDone();
    Perform(EM_LIMITTEXT, static_cast<WPARAM>(FMaxLength));
    if (FPasswordChar) Perform(EM_SETPASSWORDCHAR, static_cast<unsigned char>(FPasswordChar));
}

void TEdit::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_COMMAND:
        if (HIWORD(Message.WParam) == EN_CHANGE && OnChange) OnChange(this);
        Message.Result = 0;
        return;
    case WM_SETFOCUS:
        TWinControl::WndProc(Message);
        // A click places the caret where it lands; Tab or a mnemonic selects the whole text.
        if (FAutoSelect && GetKeyState(VK_LBUTTON) >= 0) Perform(EM_SETSEL, 0, -1);
        return;
    default: TWinControl::WndProc(Message);
    }
}

// ---- TButtonControl ----

TButtonControl::TButtonControl(TComponent* AOwner) : TWinControl(AOwner)
{
    SetBounds(0, 0, DefaultCheckWidth, DefaultCheckHeight);
    SetTabStop(true);
    SetParentColor(true);
}

void TButtonControl::SetChecked(bool Value)
{
    if (Value == FChecked) return;
    FChecked = Value;
    if (HandleAllocated()) Perform(BM_SETCHECK, Value ? BST_CHECKED : BST_UNCHECKED);
    if (!Loading()) Click();
}

void TButtonControl::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.StockClass = "BUTTON";
    Params.Style |= ButtonStyle();
}

void TButtonControl::CreateHandleDone()
{
    TWinControl::CreateHandleDone();
    Perform(BM_SETCHECK, FChecked ? BST_CHECKED : BST_UNCHECKED);
}

void TButtonControl::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CN_COMMAND:
        if (HIWORD(Message.WParam) == BN_CLICKED) Toggle();
        Message.Result = 0;
        return;
    case CM_DIALOGCHAR:
        if (!IsAccel(Message.WParam, Caption()) || !CanFocus()) break;
        SetFocus();
        Toggle();
        Message.Result = 1;
        return;
    case WM_LBUTTONDBLCLK:
        // A double click is two clicks.
        Message.Msg = WM_LBUTTONDOWN;
        break;
    default: break;
    }
    TWinControl::WndProc(Message);
}

// ---- TCheckBox, TRadioButton ----

TCheckBox::TCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {}

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) { SetTabStop(false); }

void TRadioButton::SetChecked(bool Value)
{
    if (Value == Checked()) return;
    // The group's one tab stop is its checked button.
    SetTabStop(Value);
    TButtonControl::SetChecked(Value);
    if (!Value || !Parent()) return;
    for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto* other = dynamic_cast<TRadioButton*>(Parent()->Controls(i));
        if (other && other != this) other->SetChecked(false);
    }
}

void TRadioButton::MoveInGroup(bool Forward)
{
    const int count = Parent()->ControlCount();
    int index = 0;
    while (Parent()->Controls(index) != this) ++index;
    for (int step = 1; step < count; ++step) {
        const int at = (index + (Forward ? step : count - step)) % count;
        auto* other = dynamic_cast<TRadioButton*>(Parent()->Controls(at));
        if (!other || !other->CanFocus()) continue;
        other->SetFocus();
        other->SetChecked(true);
        return;
    }
}

void TRadioButton::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_KEYDOWN && Parent()) {
        switch (Message.WParam) {
        case VK_DOWN:
        case VK_RIGHT: MoveInGroup(true); return;
        case VK_UP:
        case VK_LEFT: MoveInGroup(false); return;
        default: break;
        }
    }
    TButtonControl::WndProc(Message);
}

// ---- TComboBox ----

TComboBox::TComboBox(TComponent* AOwner) : TWinControl(AOwner)
{
    SetBounds(0, 0, DefaultComboWidth, DefaultComboHeight);
    SetTabStop(true);
    // The picked index stays across a change of the list while it is still an item.
    FItems.OnChanging = [this](TObject*) {
        if (HandleAllocated()) FItemIndex = ItemIndex();
    };
    FItems.OnChange = [this](TObject*) {
        if (HandleAllocated()) FillList();
    };
}

int TComboBox::ItemIndex() const
{
    if (!HandleAllocated()) return FItemIndex < FItems.Count() ? FItemIndex : -1;
    return static_cast<int>(const_cast<TComboBox*>(this)->Perform(CB_GETCURSEL));
}

// A layout may set the index before the items: it is kept as it is and checked when the list is filled.
void TComboBox::SetItemIndex(int Value)
{
    FItemIndex = std::max(-1, Value);
    if (HandleAllocated()) Perform(CB_SETCURSEL, static_cast<WPARAM>(FItemIndex));
}

std::string TComboBox::Text() const
{
    const int index = ItemIndex();
    return index >= 0 && index < FItems.Count() ? FItems.Strings(index) : std::string();
}

bool TComboBox::DroppedDown() { return HandleAllocated() && Perform(CB_GETDROPPEDSTATE) != 0; }

void TComboBox::FillList()
{
    Perform(CB_RESETCONTENT);
    for (int i = 0; i < FItems.Count(); ++i)
        Perform(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(FItems.Strings(i).c_str()));
    SetItemIndex(FItemIndex);
}

// The height a drop-down combo box is given, less its own, is the height of its opened list.
void TComboBox::SizeDropDown()
{
    const int rows = std::max(1, std::min(FItems.Count(), FDropDownCount));
    const int itemHeight = static_cast<int>(Perform(CB_GETITEMHEIGHT));
    RECT r;
    GetWindowRect(Handle(), &r);
    SetWindowPos(Handle(), nullptr, 0, 0, r.right - r.left, (r.bottom - r.top) + rows * itemHeight + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void TComboBox::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.StockClass = "COMBOBOX";
    Params.Style |= CBS_DROPDOWNLIST | WS_VSCROLL;
}

void TComboBox::CreateHandleDone()
{
    TWinControl::CreateHandleDone();
    FillList();
}

void TComboBox::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_GETDLGCODE) {
        TWinControl::WndProc(Message);
        // While the list is open, Enter and Escape close it rather than the dialog.
        if (DroppedDown()) Message.Result |= DLGC_WANTALLKEYS;
        return;
    }
    if (Message.Msg != CN_COMMAND) {
        TWinControl::WndProc(Message);
        return;
    }
    switch (HIWORD(Message.WParam)) {
    case CBN_DROPDOWN: SizeDropDown(); break;
    case CBN_SELCHANGE:
        if (OnChange) OnChange(this);
        break;
    default: break;
    }
    Message.Result = 0;
}

// ---- TGroupBox ----

TGroupBox::TGroupBox(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(0, 0, DefaultGroupWidth, DefaultGroupHeight);
    SetParentColor(true);
}

void TGroupBox::SetFrameColor(TColor Value)
{
    FFrameColor = Value;
    Invalidate();
}

int TGroupBox::CaptionHeight()
{
    Canvas().Font().Assign(Font());
    return Canvas().TextHeight("0");
}

RECT TGroupBox::AlignRect() const
{
    RECT r = ClientRect();
    const int caption = const_cast<TGroupBox*>(this)->CaptionHeight();
    InflateRect(&r, -2, -2);
    r.top += caption;
    return r;
}

void TGroupBox::Paint()
{
    TCanvas& canvas = Canvas();
    canvas.Font().Assign(Font());
    const std::string caption = Caption();
    const int half = canvas.TextHeight("0") / 2;
    // The frame runs through the middle of the caption's line; the caption interrupts it.
    canvas.Brush().SetStyle(bsClear);
    canvas.Pen().SetColor(FFrameColor);
    canvas.Rectangle(RECT{0, half, Width(), Height()});
    if (caption.empty()) return;
    RECT text{8, 0, Width() - 8, half * 2};
    canvas.DrawText(caption, text, DT_SINGLELINE | DT_CALCRECT);
    InflateRect(&text, 2, 0);
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(Color());
    canvas.FillRect(text);
    InflateRect(&text, -2, 0);
    DrawControlText(canvas, caption, text, DT_SINGLELINE, Enabled());
}

void TGroupBox::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_DIALOGCHAR:
        if (!IsAccel(Message.WParam, Caption()) || !CanFocus()) break;
        // The mnemonic of a frame goes to the first control inside it.
        if (TWinControl* first = FindNextControl(nullptr, true, true)) first->SetFocus();
        Message.Result = 1;
        return;
    case CM_TEXTCHANGED:
    case CM_ENABLEDCHANGED: Invalidate(); break;
    default: break;
    }
    TCustomControl::WndProc(Message);
}

// ---- Layout tables ----

void RegisterInputCtrlsClasses(TClassRegistry& Registry)
{
    Registry.RegisterClass("TEdit", "TWinControl", [](TComponent* Owner) { return new TEdit(Owner); });
    Registry.RegisterClass("TButtonControl", "TWinControl", nullptr);
    Registry.RegisterClass("TCheckBox", "TButtonControl", [](TComponent* Owner) { return new TCheckBox(Owner); });
    Registry.RegisterClass("TRadioButton", "TButtonControl",
                           [](TComponent* Owner) { return new TRadioButton(Owner); });
    Registry.RegisterClass("TComboBox", "TWinControl", [](TComponent* Owner) { return new TComboBox(Owner); });
    Registry.RegisterClass("TGroupBox", "TWinControl", [](TComponent* Owner) { return new TGroupBox(Owner); });

    const std::string edit = "TEdit";
    RegisterLayoutSetter(Registry, edit, "Text", &TEdit::SetText);
    RegisterLayoutSetter(Registry, edit, "MaxLength", &TEdit::SetMaxLength);
    RegisterLayoutProperty<TEdit>(Registry, edit, "PasswordChar", [](TEdit& c, const TLayoutValue& v) {
        // A character: written as '*' or as #42.
        const std::string& text = v.Kind == TLayoutValue::vkString ? v.AsString() : std::string(1, char(v.AsInt()));
        if (text.size() > 1) throw EConvertError("'" + text + "' is not one character");
        c.SetPasswordChar(text.empty() ? '\0' : text[0]);
    });
    RegisterLayoutSetter(Registry, edit, "ReadOnly", &TEdit::SetReadOnly);
    RegisterLayoutSetter(Registry, edit, "AutoSelect", &TEdit::SetAutoSelect);
    RegisterLayoutProperty<TEdit>(Registry, edit, "OnChange", [](TEdit& c, const TLayoutValue& v,
                                                                 const TLayoutBindings& b) {
        c.OnChange = LayoutEvent<TNotifyEvent>(b, v);
    });

    RegisterLayoutSetter(Registry, "TButtonControl", "Checked", &TButtonControl::SetChecked);

    const std::string combo = "TComboBox";
    RegisterLayoutProperty<TComboBox>(Registry, combo, "Items.Strings",
                                      [](TComboBox& c, const TLayoutValue& v) { c.Items().SetText(v.AsLines()); });
    RegisterLayoutSetter(Registry, combo, "ItemIndex", &TComboBox::SetItemIndex);
    RegisterLayoutSetter(Registry, combo, "DropDownCount", &TComboBox::SetDropDownCount);
    // Only the drop-down list is built: the one style a layout may name.
    RegisterLayoutProperty<TComboBox>(Registry, combo, "Style",
                                      [](TComboBox&, const TLayoutValue& v) { v.AsEnum({"csDropDownList"}); });
    RegisterLayoutProperty<TComboBox>(Registry, combo, "OnChange", [](TComboBox& c, const TLayoutValue& v,
                                                                     const TLayoutBindings& b) {
        c.OnChange = LayoutEvent<TNotifyEvent>(b, v);
    });
}
