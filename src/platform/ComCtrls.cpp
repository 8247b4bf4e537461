#include "ComCtrls.h"

#include <commctrl.h>
#include <richedit.h>

#include <algorithm>
#include <cstring>

#include "ExtCtrls.h"
#include "LayoutReader.h"
#include "SystemLibraries.h"

namespace {

constexpr int DefaultRichEditWidth = 185, DefaultRichEditHeight = 89;

void LoadRichEditLibrary()
{
    // Loaded once and kept for the life of the process: rich edit windows may exist until its very end.
    static const HMODULE library = SystemLibrary("riched20.dll");
    if (!library) throw Exception("Cannot load riched20.dll");
}

DWORD ScrollBarStyle(TScrollStyle Value)
{
    switch (Value) {
    case ssHorizontal:
        return WS_HSCROLL;
    case ssVertical:
        return WS_VSCROLL;
    case ssBoth:
        return WS_HSCROLL | WS_VSCROLL;
    default:
        return 0;
    }
}

}  // namespace

TRichEdit::TRichEdit(TComponent* AOwner) : TWinControl(AOwner)
{
    SetBounds(0, 0, DefaultRichEditWidth, DefaultRichEditHeight);
    SetTabStop(true);
    FLines.OnChange = [this](TObject*) {
        if (!FReadingLines) WriteText(FLines.Text());
    };
}

TRichEdit::~TRichEdit() = default;

TStringList& TRichEdit::Lines()
{
    if (HandleAllocated()) ReadLines(WindowText());
    return FLines;
}

std::string TRichEdit::Text() const { return HandleAllocated() ? WindowText() : FText; }

void TRichEdit::SetText(const std::string& Value)
{
    WriteText(Value);
    ReadLines(Value);
}

void TRichEdit::ReadLines(const std::string& Value)
{
    TFlagScope reading(FReadingLines);
    FLines.SetText(Value);
}

void TRichEdit::WriteText(const std::string& Value)
{
    FText = Value;
    if (HandleAllocated()) Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Value.c_str()));
}

// WM_GETTEXTLENGTH of a rich edit counts characters, not the bytes of their double-byte ANSI form, so WM_GETTEXT
// would be handed a buffer too small for Chinese text: ask for the ANSI bytes with room for two per character.
std::string TRichEdit::WindowText() const
{
    auto* self = const_cast<TRichEdit*>(this);
    GETTEXTLENGTHEX length{GTL_USECRLF | GTL_PRECISE, 1200};
    const auto characters = static_cast<size_t>(
        std::max<LRESULT>(self->Perform(EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length)), 0));
    std::vector<char> buffer(characters * 2 + 1, '\0');
    GETTEXTEX get{};
    get.cb = static_cast<DWORD>(buffer.size());
    get.flags = GT_USECRLF;
    get.codepage = CP_ACP;
    self->Perform(EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(buffer.data()));
    return std::string(buffer.data());
}

int TRichEdit::LineLength(int Index)
{
    const LRESULT start = Perform(EM_LINEINDEX, static_cast<WPARAM>(Index), 0);
    return static_cast<int>(Perform(EM_LINELENGTH, static_cast<WPARAM>(start), 0));
}

int TRichEdit::DisplayLineCount()
{
    HandleNeeded();
    int count = static_cast<int>(Perform(EM_GETLINECOUNT));
    // The line after a final line break is empty and shows nothing.
    if (count > 0 && LineLength(count - 1) == 0) --count;
    return count;
}

std::string TRichEdit::DisplayLine(int Index)
{
    // EM_GETLINE reads the buffer size from the buffer's first WORD; a double-byte character takes two bytes.
    const size_t size = std::min<size_t>(static_cast<size_t>(LineLength(Index)) * 2 + 2, 0xFFFF);
    std::vector<char> buffer(std::max(size, sizeof(WORD)));
    const WORD capacity = static_cast<WORD>(buffer.size());
    std::memcpy(buffer.data(), &capacity, sizeof capacity);
    const LRESULT copied = Perform(EM_GETLINE, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(buffer.data()));
    std::string line(buffer.data(), static_cast<size_t>(std::max<LRESULT>(copied, 0)));
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    return line;
}

std::vector<std::string> TRichEdit::DisplayLines()
{
    const int count = DisplayLineCount();
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) lines.push_back(DisplayLine(i));
    return lines;
}

void TRichEdit::SetReadOnly(bool Value)
{
    FReadOnly = Value;
    if (HandleAllocated()) Perform(EM_SETREADONLY, Value ? TRUE : FALSE);
}

void TRichEdit::SetWordWrap(bool Value)
{
    if (Value == FWordWrap) return;
    FWordWrap = Value;
    RecreateWnd();
}

void TRichEdit::SetScrollBars(TScrollStyle Value)
{
    if (Value == FScrollBars) return;
    FScrollBars = Value;
    RecreateWnd();
}

void TRichEdit::SetBorderStyleSingle(bool Value)
{
    if (Value == FBorder) return;
    FBorder = Value;
    RecreateWnd();
}

void TRichEdit::CreateParams(TCreateParams& Params)
{
    LoadRichEditLibrary();
    TWinControl::CreateParams(Params);
    Params.StockClass = "RichEdit20A";
    Params.Style |= ES_MULTILINE | ES_AUTOVSCROLL | ScrollBarStyle(FScrollBars);
    // Without horizontal scrolling the control wraps at its width.
    if (FWordWrap)
        Params.Style &= ~static_cast<DWORD>(WS_HSCROLL);
    else
        Params.Style |= ES_AUTOHSCROLL;
    if (FReadOnly) Params.Style |= ES_READONLY;
    if (FBorder) Params.Style |= WS_BORDER;
}

void TRichEdit::CreateHandleDone()
{
    TWinControl::CreateHandleDone();
    Perform(EM_SETTARGETDEVICE, 0, FWordWrap ? 0 : 1);
    ApplyColor();
    WriteText(FText);
}

void TRichEdit::ApplyColor()
{
    if (HandleAllocated()) Perform(EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
}

void TRichEdit::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_DESTROY:
        // The text outlives the window, so that a recreated one shows it again.
        FText = WindowText();
        TWinControl::WndProc(Message);
        return;
    case CM_COLORCHANGED:
        TWinControl::WndProc(Message);
        ApplyColor();
        return;
    default:
        TWinControl::WndProc(Message);
    }
}

// ---- TProgressBar ----

TProgressBar::TProgressBar(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetBounds(Left(), Top(), 150, 16);
    SetColor(clWindow);
}

void TProgressBar::SetMin(int Value)
{
    if (Value == FMin) return;
    FMin = Value;
    if (FMax < FMin) FMax = FMin;
    SetRange();
}

void TProgressBar::SetMax(int Value)
{
    if (Value == FMax) return;
    FMax = Value;
    if (FMin > FMax) FMin = FMax;
    SetRange();
}

void TProgressBar::SetRange()
{
    FPosition = std::max(FMin, std::min(FMax, FPosition));
    Invalidate();
}

void TProgressBar::SetPosition(int Value)
{
    const int position = std::max(FMin, std::min(FMax, Value));
    if (position == FPosition) return;
    // Painted again only where the picture changes: a bar moved by every step of long work would cost more than the
    // work.
    const bool moved = FilledWidth(position) != FilledWidth(FPosition);
    FPosition = position;
    if (moved) Invalidate();
}

int TProgressBar::FilledWidth(int Position) const
{
    const int inner = std::max(0, Width() - 4);
    const long long span = static_cast<long long>(FMax) - FMin;
    return span > 0 ? static_cast<int>(inner * (static_cast<long long>(Position) - FMin) / span) : 0;
}

void TProgressBar::SetBarColor(TColor Value)
{
    FBarColor = Value;
    Invalidate();
}

void TProgressBar::SetFrameColor(TColor Value)
{
    FFrameColor = Value;
    Invalidate();
}

void TProgressBar::Paint()
{
    TCanvas& canvas = Canvas();
    const RECT all = ClientRect();
    canvas.Pen().SetColor(FFrameColor);
    canvas.Brush().SetColor(Color());
    canvas.Rectangle(all);
    const int filled = FilledWidth(FPosition);
    if (filled <= 0) return;
    canvas.Brush().SetColor(FBarColor);
    canvas.FillRect(RECT{all.left + 2, all.top + 2, all.left + 2 + filled, all.bottom - 2});
}

void TProgressBar::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case PBM_GETPOS: Message.Result = FPosition; break;
    case PBM_GETRANGE:
        // The range record is filled only for a caller of this process: a pointer of another one means nothing here.
        if (Message.LParam && InSendMessageEx(nullptr) != ISMEX_SEND)
            *reinterpret_cast<PBRANGE*>(Message.LParam) = PBRANGE{FMin, FMax};
        Message.Result = Message.WParam ? FMin : FMax;
        break;
    default: TCustomControl::WndProc(Message);
    }
}

// ---- Layout tables ----

void RegisterComCtrlsClasses(TClassRegistry& Registry)
{
    Registry.RegisterClass("TProgressBar", "TWinControl", [](TComponent* Owner) { return new TProgressBar(Owner); });
    RegisterLayoutSetter(Registry, "TProgressBar", "Min", &TProgressBar::SetMin);
    RegisterLayoutSetter(Registry, "TProgressBar", "Max", &TProgressBar::SetMax);
    RegisterLayoutSetter(Registry, "TProgressBar", "Position", &TProgressBar::SetPosition);
    Registry.RegisterClass("TRichEdit", "TWinControl", [](TComponent* Owner) { return new TRichEdit(Owner); });
    const std::string cls = "TRichEdit";
    RegisterLayoutProperty<TRichEdit>(Registry, cls, "Lines.Strings",
                                      [](TRichEdit& c, const TLayoutValue& v) { c.SetText(v.AsLines()); });
    RegisterLayoutSetter(Registry, cls, "ReadOnly", &TRichEdit::SetReadOnly);
    RegisterLayoutSetter(Registry, cls, "WordWrap", &TRichEdit::SetWordWrap);
    RegisterLayoutSetter(Registry, cls, "ScrollBars", &TRichEdit::SetScrollBars, ScrollStyleNames);
    RegisterLayoutProperty<TRichEdit>(Registry, cls, "BorderStyle", [](TRichEdit& c, const TLayoutValue& v) {
        c.SetBorderStyleSingle(v.AsEnum({"bsNone", "bsSingle"}) == 1);
    });
    RegisterLayoutSetter(Registry, cls, "ImeName", &TRichEdit::SetImeName);
    // Plain text, 3-D looks and bevels are the system's business here: accepted and checked, without effect.
    for (const char* flag : {"PlainText", "Ctl3D", "ParentCtl3D"}) RegisterLayoutIgnored<bool>(Registry, cls, flag);
    for (const char* bevel : {"BevelInner", "BevelOuter"})
        RegisterLayoutProperty<TRichEdit>(Registry, cls, bevel,
                                          [](TRichEdit&, const TLayoutValue& v) { v.AsEnum(BevelCutNames); });
    RegisterLayoutProperty<TRichEdit>(Registry, cls, "BevelKind", [](TRichEdit&, const TLayoutValue& v) {
        v.AsEnum({"bkNone", "bkTile", "bkSoft", "bkFlat"});
    });
}
