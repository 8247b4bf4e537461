#include "Controls.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <map>

#include "DeviceContexts.h"
#include "SystemLibraries.h"

namespace {

// The windows of ours and their controls, looked up at every message. Kept in the process: a window property can
// cost a round trip to the window server at each lookup.
std::map<HWND, TWinControl*>& ControlsByWindow()
{
    static std::map<HWND, TWinControl*> controls;
    return controls;
}

// Everything runs on the one GUI thread.
TExceptionReporter GExceptionReporter = nullptr;
TWinControl* GCreatingControl = nullptr;  // linked at its window's first message
TControl* GMouseControl = nullptr;
HWND GTrackedWindow = nullptr;            // the window asked for WM_MOUSELEAVE

// Whether a window is on screen. One that is not has nothing to repaint (showing it repaints it whole); asking the
// system to invalidate or update it anyway costs a round trip to the window server for nothing.
bool OnScreen(HWND Wnd) { return Wnd && IsWindowVisible(Wnd); }

struct TWindowClass {
    std::string Name;
    WNDPROC StockProc = nullptr;
};

// The common control classes (tabs, list views, ...) exist only once comctl32 has registered them. The library is
// loaded for the first of them, not at start: loading it costs a program that shows none of them a good part of its
// start-up time.
void InitCommonControlClasses()
{
    static const bool done = [] {
        using TInit = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
        const auto init = SystemFunction<TInit>("comctl32.dll", "InitCommonControlsEx");
        INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        return init && init(&classes) != FALSE;
    }();
    static_cast<void>(done);
}

// Registers (once) the class a window is created with: the layer's own class for a class style, or a superclass
// of a stock control that keeps the stock procedure for default processing.
const TWindowClass& WindowClassFor(const TCreateParams& Params, WNDPROC Proc)
{
    static std::map<std::string, TWindowClass> classes;
    const std::string key = Params.StockClass.empty() ? "Window." + IntToHex(Params.ClassStyle, 4) : Params.StockClass;
    auto found = classes.find(key);
    if (found != classes.end()) return found->second;

    WNDCLASSEXA wc{};
    wc.cbSize = sizeof(wc);
    TWindowClass entry;
    entry.Name = "Quintaro." + key;
    if (Params.StockClass.empty()) {
        wc.style = Params.ClassStyle;
        wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    } else {
        // The system's own classes (buttons, edits) are there from the start; the others after comctl32.
        const char* stock = Params.StockClass.c_str();
        if (!GetClassInfoExA(nullptr, stock, &wc)) {
            InitCommonControlClasses();
            if (!GetClassInfoExA(nullptr, stock, &wc))
                throw Exception("Window class " + Params.StockClass + " is not available");
        }
        entry.StockProc = wc.lpfnWndProc;
    }
    wc.lpfnWndProc = Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = entry.Name.c_str();
    if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw Exception("Cannot register window class " + entry.Name);
    return classes.emplace(key, entry).first->second;
}

bool IsRoutedMouseMessage(UINT Msg) { return Msg >= WM_MOUSEMOVE && Msg <= WM_MBUTTONDBLCLK; }

bool IsButtonPress(UINT Msg)
{
    return Msg == WM_LBUTTONDOWN || Msg == WM_LBUTTONDBLCLK || Msg == WM_RBUTTONDOWN || Msg == WM_RBUTTONDBLCLK ||
           Msg == WM_MBUTTONDOWN || Msg == WM_MBUTTONDBLCLK;
}

bool IsButtonRelease(UINT Msg) { return Msg == WM_LBUTTONUP || Msg == WM_RBUTTONUP || Msg == WM_MBUTTONUP; }

bool IsAncestorOrSelf(const TControl* Ancestor, const TControl* Control)
{
    for (const TControl* c = Control; c; c = c->Parent())
        if (c == Ancestor) return true;
    return false;
}

}  // namespace

void SetExceptionReporter(TExceptionReporter Reporter) { GExceptionReporter = Reporter; }

void ReportException(const std::exception* E)
{
    if (GExceptionReporter) GExceptionReporter(E);
}

// ---------------------------------------------------------------------------------------------------------------
// TControl

TControl::TControl(TComponent* AOwner) : TComponent(AOwner)
{
    WindowProc = [this](TMessage& Message) { WndProc(Message); };
    FFont.OnChange = [this](TObject*) { FontChanged(); };
}

TControl::~TControl()
{
    // No messages to a control that is going: its hooks may be gone already.
    if (GMouseControl == this) GMouseControl = nullptr;
    if (FParent) FParent->RemoveControl(this);
}

LRESULT TControl::Perform(UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TMessage message{Msg, WParam, LParam, 0};
    WindowProc(message);
    return message.Result;
}

void TControl::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_PARENTFONTCHANGED:
        if (!FParentFont) break;
        if (Message.WParam)
            TakeParentFont(*reinterpret_cast<const TFont*>(Message.LParam));
        else
            ParentFontChanged();
        break;
    case CM_PARENTCOLORCHANGED:
        if (!FParentColor) break;
        if (Message.WParam) {
            SetColor(static_cast<TColor>(Message.LParam));
            FParentColor = true;
        } else {
            ParentColorChanged();
        }
        break;
    default:
        DefaultHandler(Message);
    }
}

void TControl::DefaultHandler(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_GETTEXT: {
        if (Message.WParam == 0) break;
        const size_t size = std::min(FCaption.size(), static_cast<size_t>(Message.WParam) - 1);
        char* buffer = reinterpret_cast<char*>(Message.LParam);
        FCaption.copy(buffer, size);
        buffer[size] = '\0';
        Message.Result = static_cast<LRESULT>(size);
        break;
    }
    case WM_GETTEXTLENGTH: Message.Result = static_cast<LRESULT>(FCaption.size()); break;
    case WM_SETTEXT:
        FCaption = Message.LParam ? reinterpret_cast<const char*>(Message.LParam) : "";
        Message.Result = TRUE;
        break;
    default: break;
    }
}

void TControl::SetParent(TWinControl* AParent)
{
    if (AParent == FParent) return;
    if (IsAncestorOrSelf(this, AParent)) throw Exception("A control cannot be put into itself");
    if (FParent) FParent->RemoveControl(this);
    if (AParent) AParent->InsertControl(this);
}

void TControl::SetAlign(TAlign Value)
{
    if (FAlign == Value) return;
    FAlign = Value;
    RequestAlign();
}

void TControl::SetAnchors(TAnchors Value)
{
    FAnchors = Value;
    UpdateAnchorRules();
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (ALeft == FLeft && ATop == FTop && AWidth == FWidth && AHeight == FHeight) return;
    Invalidate();
    UpdateBoundsFields(ALeft, ATop, AWidth, AHeight);
    Invalidate();
    BoundsChangedByCaller();
}

void TControl::BoundsChangedByCaller()
{
    if (!FParent || FParent->Aligning()) return;
    UpdateAnchorRules();
    RequestAlign();
}

void TControl::UpdateBoundsFields(int ALeft, int ATop, int AWidth, int AHeight)
{
    FLeft = ALeft;
    FTop = ATop;
    FWidth = AWidth;
    FHeight = AHeight;
}

void TControl::UpdateAnchorRules()
{
    FAnchorsKnown = FParent != nullptr;
    if (!FParent) return;
    FAnchorRight = FParent->ClientWidth() - (FLeft + FWidth);
    FAnchorBottom = FParent->ClientHeight() - (FTop + FHeight);
}

void TControl::RequestAlign()
{
    if (FParent && FAlign != alNone) FParent->Realign(this);
}

void TControl::SetClientWidth(int Value)
{
    SetBounds(FLeft, FTop, FWidth - ClientWidth() + Value, FHeight);
    FPendingClientWidth = Value;
}

void TControl::SetClientHeight(int Value)
{
    SetBounds(FLeft, FTop, FWidth, FHeight - ClientHeight() + Value);
    FPendingClientHeight = Value;
}

POINT TControl::ClientToScreen(POINT P) const
{
    P.x += FLeft;
    P.y += FTop;
    return FParent ? FParent->ClientToScreen(P) : P;
}

POINT TControl::ScreenToClient(POINT P) const
{
    if (FParent) P = FParent->ScreenToClient(P);
    P.x -= FLeft;
    P.y -= FTop;
    return P;
}

POINT TControl::ClientOrigin() const { return POINT{FLeft, FTop}; }

void TControl::TakeParentFont(const TFont& Source)
{
    TFlagScope setting(FSettingParentFont);
    FFont.Assign(Source);
}

void TControl::FontChanged()
{
    if (!FSettingParentFont) FParentFont = false;
    Perform(CM_FONTCHANGED);
}

void TControl::ParentFontChanged()
{
    if (FParentFont && FParent) TakeParentFont(FParent->Font());
}

void TControl::ParentColorChanged()
{
    if (!FParentColor || !FParent) return;
    SetColor(FParent->Color());
    FParentColor = true;
}

void TControl::SetParentFont(bool Value)
{
    if (FParentFont == Value) return;
    FParentFont = Value;
    if (Value && FParent) Perform(CM_PARENTFONTCHANGED, 0, 0);
}

void TControl::SetColor(TColor Value)
{
    FParentColor = false;
    if (FColor == Value) return;
    FColor = Value;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool Value)
{
    if (FParentColor == Value) return;
    FParentColor = Value;
    if (Value && FParent) Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetVisible(bool Value)
{
    if (FVisible == Value) return;
    Invalidate();
    FVisible = Value;
    Perform(CM_VISIBLECHANGED, Value ? 1 : 0);
    Invalidate();
    RequestAlign();
}

void TControl::SetEnabled(bool Value)
{
    if (FEnabled == Value) return;
    FEnabled = Value;
    Perform(CM_ENABLEDCHANGED);
}

bool TControl::Showing() const
{
    for (const TControl* c = this; c; c = c->FParent)
        if (!c->FVisible) return false;
    return true;
}

std::string TControl::Caption() const
{
    auto* self = const_cast<TControl*>(this);
    const int length = static_cast<int>(self->Perform(WM_GETTEXTLENGTH));
    std::string text(static_cast<size_t>(length) + 1, '\0');
    const int got = GetTextBuf(&text[0], length + 1);
    text.resize(static_cast<size_t>(std::max(0, std::min(got, length))));
    return text;
}

void TControl::SetCaption(const std::string& Value)
{
    if (Caption() == Value) return;
    SetTextBuf(Value.c_str());
    Perform(CM_TEXTCHANGED);
}

int TControl::GetTextBuf(char* Buffer, int BufSize) const
{
    return static_cast<int>(
        const_cast<TControl*>(this)->Perform(WM_GETTEXT, static_cast<WPARAM>(BufSize), reinterpret_cast<LPARAM>(Buffer)));
}

void TControl::SetTextBuf(const char* Buffer) { Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Buffer)); }

// Windowless controls paint on their parent: invalidating one is invalidating its rectangle there.
void TControl::Invalidate()
{
    if (!FParent || !FParent->HandleAllocated() || !OnScreen(FParent->Handle())) return;
    const RECT bounds = BoundsRect();
    InvalidateRect(FParent->Handle(), &bounds, TRUE);
}

void TControl::Update()
{
    if (FParent) FParent->Update();
}

void TControl::Repaint()
{
    Invalidate();
    Update();
}

void TControl::SetZOrder(bool TopMost)
{
    if (FParent) FParent->SetChildZOrder(this, TopMost);
    Invalidate();
}

bool IsAccel(WPARAM Key, const std::string& Caption)
{
    const auto upper = [](unsigned Char) { return Char >= 'a' && Char <= 'z' ? Char - 'a' + 'A' : Char; };
    for (size_t i = 0; i + 1 < Caption.size(); ++i) {
        if (Caption[i] != '&') continue;
        ++i;
        if (Caption[i] != '&') return upper(static_cast<unsigned char>(Caption[i])) == upper(static_cast<unsigned>(Key));
    }
    return false;
}

void TControl::Click()
{
    if (OnClick) OnClick(this);
}

void TControl::Loaded()
{
    TComponent::Loaded();
    ParentColorChanged();
    ParentFontChanged();
}

// ---------------------------------------------------------------------------------------------------------------
// TGraphicControl

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case CM_FONTCHANGED:
    case CM_COLORCHANGED:
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
        Invalidate();
        break;
    default: break;
    }
    TControl::WndProc(Message);
}

// The canvas is only lent the parent's DC for this paint, with the origin at this control and the clip on it.
void TGraphicControl::PaintOnParent(HDC DC)
{
    const RECT bounds = BoundsRect();
    if (!Visible() || !RectVisible(DC, &bounds)) return;
    TSavedDC saved(DC);
    OffsetViewportOrgEx(DC, bounds.left, bounds.top, nullptr);
    IntersectClipRect(DC, 0, 0, Width(), Height());
    TCanvasAttachment attached(FCanvas, DC);
    FCanvas.Font().Assign(Font());
    Paint();
}

// ---------------------------------------------------------------------------------------------------------------
// TWinControl

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {}

TWinControl::~TWinControl()
{
    // The windows go first: hooks of style objects owned by the form are still alive now.
    DestroyHandle();
    if (FParent) FParent->RemoveControl(this);
    // The children are freed by their owners; they only forget this parent.
    for (TControl* child : FControls) child->FParent = nullptr;
    FControls.clear();
    FTabList.clear();
}

TWinControl* TWinControl::FindControl(HWND Wnd)
{
    const auto found = ControlsByWindow().find(Wnd);
    return found == ControlsByWindow().end() ? nullptr : found->second;
}

LRESULT CALLBACK TWinControl::StaticWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam)
{
    TWinControl* control = FindControl(Wnd);
    if (!control) {
        control = Msg == WM_NCCREATE
                      ? static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTA*>(LParam)->lpCreateParams)
                      : GCreatingControl;
        if (!control) return DefWindowProcA(Wnd, Msg, WParam, LParam);
        if (control == GCreatingControl) GCreatingControl = nullptr;
        control->FHandle = Wnd;
        ControlsByWindow()[Wnd] = control;
    }
    TMessage message{Msg, WParam, LParam, 0};
    // Nothing may unwind through the system's frames: a failure is reported and the loop goes on.
    bool handled = false;
    Reported([&] {
        control->WindowProc(message);
        handled = true;
    });
    if (!handled) message.Result = 0;
    if (Msg == WM_NCDESTROY) {
        ControlsByWindow().erase(Wnd);
        if (control->FHandle == Wnd) control->FHandle = nullptr;
    }
    return message.Result;
}

HWND TWinControl::Handle()
{
    if (!FHandle) {
        if (FParent) FParent->HandleNeeded();
        // Creating the parent's window creates the children's windows too.
        if (!FHandle) CreateWnd();
    }
    return FHandle;
}

void TWinControl::CreateParams(TCreateParams& Params)
{
    Params.Caption = FCaption;
    Params.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (Visible()) Params.Style |= WS_VISIBLE;
    if (!Enabled()) Params.Style |= WS_DISABLED;
    if (FTabStop) Params.Style |= WS_TABSTOP;
    Params.X = Left();
    Params.Y = Top();
    Params.Width = Width();
    Params.Height = Height();
    Params.WndParent = FParent ? FParent->Handle() : nullptr;
}

void TWinControl::CreateWnd()
{
    TCreateParams params;
    CreateParams(params);
    if ((params.Style & WS_CHILD) && !params.WndParent)
        throw Exception("Control '" + Name() + "' has no parent window");
    const TWindowClass& windowClass = WindowClassFor(params, &StaticWndProc);
    FDefWndProc = windowClass.StockProc;
    FOwnClass = params.StockClass.empty();
    GCreatingControl = this;
    HWND wnd = CreateWindowExA(params.ExStyle, windowClass.Name.c_str(), params.Caption.c_str(), params.Style,
                               params.X, params.Y, params.Width, params.Height, params.WndParent, nullptr,
                               GetModuleHandleA(nullptr), this);
    GCreatingControl = nullptr;
    if (!wnd) throw Exception("Cannot create the window of '" + Name() + "'");
    Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
    ApplyPendingClientSize();
    // The children's places are known before their windows are made.
    AlignControls(nullptr);
    for (TControl* child : FControls) {
        auto* win = dynamic_cast<TWinControl*>(child);
        if (!win) continue;
        win->HandleNeeded();
        // Each child on top of those before it: the windows stack as the list does.
        SetWindowPos(win->FHandle, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    CreateHandleDone();
}

// The client size asked for before the window existed, measured against the frame the window really has.
void TWinControl::ApplyPendingClientSize()
{
    if (Parent() || (FPendingClientWidth < 0 && FPendingClientHeight < 0)) return;
    RECT client{};
    GetClientRect(FHandle, &client);
    const int width = FPendingClientWidth < 0 ? Width() : Width() + FPendingClientWidth - client.right;
    const int height = FPendingClientHeight < 0 ? Height() : Height() + FPendingClientHeight - client.bottom;
    FPendingClientWidth = FPendingClientHeight = -1;
    SetBounds(Left(), Top(), width, height);
}

void TWinControl::RecreateWnd()
{
    if (!FHandle) return;
    DestroyHandle();
    HandleNeeded();
}

void TWinControl::DestroyHandle()
{
    if (!FHandle) return;
    // The text lives on in the control for a window made later.
    const int length = GetWindowTextLengthA(FHandle);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(FHandle, &text[0], length + 1)));
    FCaption = text;
    if (GTrackedWindow == FHandle) GTrackedWindow = nullptr;
    DestroyWindow(FHandle);
    FHandle = nullptr;
}

void TWinControl::InsertControl(TControl* AControl)
{
    FControls.push_back(AControl);
    AControl->FParent = this;
    auto* win = dynamic_cast<TWinControl*>(AControl);
    if (win) FTabList.push_back(win);
    AControl->UpdateAnchorRules();
    AControl->Perform(CM_PARENTFONTCHANGED, 0, 0);
    AControl->Perform(CM_PARENTCOLORCHANGED, 0, 0);
    if (win && FHandle) win->HandleNeeded();
    if (AControl->FAlign != alNone) AlignControls(AControl);
    AControl->Invalidate();
}

void TWinControl::RemoveControl(TControl* AControl)
{
    auto* win = dynamic_cast<TWinControl*>(AControl);
    if (win) {
        win->DestroyHandle();
        FTabList.erase(std::remove(FTabList.begin(), FTabList.end(), win), FTabList.end());
    }
    AControl->Invalidate();
    FControls.erase(std::remove(FControls.begin(), FControls.end(), AControl), FControls.end());
    if (FAlignRequester == AControl) FAlignRequester = nullptr;
    if (FMouseCapture == AControl) {
        FMouseCapture = nullptr;
        if (FHandle && GetCapture() == FHandle) ReleaseCapture();
    }
    ControlRemoved(AControl);
    AControl->FParent = nullptr;
    if (AControl->FAlign != alNone) AlignControls(nullptr);
}

TControl* TWinControl::ControlAtPos(POINT P, bool AllowDisabled) const
{
    auto hit = [&](const TControl* c) {
        const RECT bounds = c->BoundsRect();
        return c->FVisible && (AllowDisabled || c->FEnabled) && PtInRect(&bounds, P);
    };
    // Windows stand above everything painted on the parent.
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
        if (dynamic_cast<const TWinControl*>(*it) && hit(*it)) return *it;
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it)
        if (!dynamic_cast<const TWinControl*>(*it) && hit(*it)) return *it;
    return nullptr;
}

int TWinControl::TabOrder() const
{
    if (!FParent) return FTabOrder;
    const auto& list = FParent->FTabList;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int Value)
{
    FTabOrder = Value;
    if (FParent) MoveTab(Value);
}

void TWinControl::MoveTab(int Index)
{
    auto& list = FParent->FTabList;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    const int clamped = std::max(0, std::min(Index, static_cast<int>(list.size())));
    list.insert(list.begin() + clamped, this);
}

void TWinControl::FixupTabList()
{
    const size_t count = FTabList.size();
    std::vector<TWinControl*> wanted(count, nullptr);
    for (TWinControl* child : FTabList)
        if (child->FTabOrder >= 0 && static_cast<size_t>(child->FTabOrder) < count) wanted[child->FTabOrder] = child;
    for (size_t i = 0; i < count; ++i)
        if (wanted[i]) wanted[i]->MoveTab(static_cast<int>(i));
}

void TWinControl::SetTabStop(bool Value)
{
    FTabStop = Value;
    if (!FHandle) return;
    LONG_PTR style = GetWindowLongPtrA(FHandle, GWL_STYLE);
    style = Value ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
    SetWindowLongPtrA(FHandle, GWL_STYLE, style);
}

bool TWinControl::CanFocus() const
{
    for (const TControl* c = this; c; c = c->FParent)
        if (!c->FVisible || !c->FEnabled) return false;
    return true;
}

bool TWinControl::HasFrame() const
{
    const LONG_PTR style = GetWindowLongPtrA(FHandle, GWL_STYLE), exStyle = GetWindowLongPtrA(FHandle, GWL_EXSTYLE);
    return !(style & WS_CHILD) || (style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME | WS_HSCROLL | WS_VSCROLL)) ||
           (exStyle & (WS_EX_CLIENTEDGE | WS_EX_STATICEDGE | WS_EX_WINDOWEDGE | WS_EX_DLGMODALFRAME));
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

void TWinControl::SetFocus()
{
    if (!CanFocus()) throw Exception("Cannot focus a disabled or invisible window");
    FocusControl(this);
}

void TWinControl::FocusControl(TWinControl* Control)
{
    if (FParent)
        FParent->FocusControl(Control);
    else
        ::SetFocus(Control->Handle());
}

void TWinControl::ControlFocused(TWinControl* Control)
{
    if (FParent) FParent->ControlFocused(Control);
}

void TWinControl::ControlRemoved(TControl* Removed)
{
    if (FParent) FParent->ControlRemoved(Removed);
}

bool TWinControl::SetFormModalResult(TModalResult Value) { return FParent && FParent->SetFormModalResult(Value); }

bool TWinControl::CloseForm() { return FParent && FParent->CloseForm(); }

void TWinControl::Broadcast(TMessage& Message)
{
    // A handler may add or remove children: walk a copy.
    const std::vector<TControl*> children = FControls;
    for (TControl* child : children) {
        child->WindowProc(Message);
        if (Message.Result == 0) child->Broadcast(Message);
        if (Message.Result != 0) return;
    }
}

void TWinControl::AddTabOrderList(std::vector<TWinControl*>& List) const
{
    for (TWinControl* child : FTabList) {
        List.push_back(child);
        child->AddTabOrderList(List);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* Current, bool GoForward, bool CheckTabStop) const
{
    std::vector<TWinControl*> list;
    AddTabOrderList(list);
    const int count = static_cast<int>(list.size());
    if (count == 0) return nullptr;
    auto found = std::find(list.begin(), list.end(), Current);
    int start = found == list.end() ? (GoForward ? -1 : count) : static_cast<int>(found - list.begin());
    for (int step = 1; step <= count; ++step) {
        const int i = GoForward ? (start + step) % count : ((start - step) % count + count) % count;
        TWinControl* candidate = list[static_cast<size_t>(i)];
        if (candidate->CanFocus() && (!CheckTabStop || candidate->FTabStop)) return candidate;
    }
    return nullptr;
}

void TWinControl::Realign(TControl* Requester) { AlignControls(Requester); }

void TWinControl::SetChildZOrder(TControl* Child, bool TopMost)
{
    auto found = std::find(FControls.begin(), FControls.end(), Child);
    if (found == FControls.end()) return;
    FControls.erase(found);
    FControls.insert(TopMost ? FControls.end() : FControls.begin(), Child);
}

void TWinControl::SetZOrder(bool TopMost)
{
    if (!FHandle) {
        TControl::SetZOrder(TopMost);
        return;
    }
    if (FParent) FParent->SetChildZOrder(this, TopMost);
    SetWindowPos(FHandle, TopMost ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

POINT TWinControl::ClientToScreen(POINT P) const
{
    if (!FHandle) return TControl::ClientToScreen(P);
    ::ClientToScreen(FHandle, &P);
    return P;
}

POINT TWinControl::ScreenToClient(POINT P) const
{
    if (!FHandle) return TControl::ScreenToClient(P);
    ::ScreenToClient(FHandle, &P);
    return P;
}

void TWinControl::DisableAlign() { ++FAlignLevel; }

void TWinControl::EnableAlign()
{
    if (FAlignLevel == 0 || --FAlignLevel > 0) return;
    if (FAlignPending) {
        FAlignPending = false;
        AlignControls(nullptr);
    }
}

// Children are laid out once this control has a window (its creation realigns) and alignment is enabled; until
// then the request is kept, with the control that made it, which goes first among equals when the layout runs.
void TWinControl::AlignControls(TControl* AControl)
{
    if (FAlignLevel > 0 || !FHandle) {
        FAlignPending = true;
        if (AControl) FAlignRequester = AControl;
        return;
    }
    if (FAligning) return;
    if (!AControl) AControl = FAlignRequester;
    FAlignRequester = nullptr;
    FAlignPending = false;
    TFlagScope aligning(FAligning);
    RECT rect = AlignRect();
    for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (TControl* c : AlignList(align, AControl)) {
            const int width = std::max(0, static_cast<int>(rect.right - rect.left));
            const int height = std::max(0, static_cast<int>(rect.bottom - rect.top));
            switch (align) {
            case alTop:
                c->SetBounds(rect.left, rect.top, width, c->FHeight);
                rect.top += c->FHeight;
                break;
            case alBottom:
                c->SetBounds(rect.left, rect.bottom - c->FHeight, width, c->FHeight);
                rect.bottom -= c->FHeight;
                break;
            case alLeft:
                c->SetBounds(rect.left, rect.top, c->FWidth, height);
                rect.left += c->FWidth;
                break;
            case alRight:
                c->SetBounds(rect.right - c->FWidth, rect.top, c->FWidth, height);
                rect.right -= c->FWidth;
                break;
            default: c->SetBounds(rect.left, rect.top, width, height); break;
            }
        }
    }
    ApplyAnchors();
}

// The visible children of one alignment in the order they are placed: by position, the control that asked for
// the alignment first among equals.
std::vector<TControl*> TWinControl::AlignList(TAlign Align, TControl* AControl) const
{
    auto before = [Align](const TControl* a, const TControl* b) {
        switch (Align) {
        case alTop: return a->FTop < b->FTop;
        case alBottom: return a->FTop + a->FHeight >= b->FTop + b->FHeight;
        case alLeft: return a->FLeft < b->FLeft;
        case alRight: return a->FLeft + a->FWidth >= b->FLeft + b->FWidth;
        default: return false;
        }
    };
    std::vector<TControl*> list;
    if (AControl && AControl->FParent == this && AControl->FAlign == Align && AControl->FVisible)
        list.push_back(AControl);
    for (TControl* c : FControls) {
        if (c == AControl || c->FAlign != Align || !c->FVisible) continue;
        auto at = std::find_if(list.begin(), list.end(), [&](const TControl* other) { return before(c, other); });
        list.insert(at, c);
    }
    return list;
}

// Right and bottom anchors keep the distances to this control's right and bottom edges.
void TWinControl::ApplyAnchors()
{
    const int clientWidth = ClientWidth(), clientHeight = ClientHeight();
    for (TControl* c : FControls) {
        if (c->FAlign != alNone || !c->FAnchorsKnown) continue;
        int left = c->FLeft, top = c->FTop, width = c->FWidth, height = c->FHeight;
        if (c->FAnchors & akRight) {
            if (c->FAnchors & akLeft)
                width = std::max(0, clientWidth - c->FAnchorRight - left);
            else
                left = clientWidth - c->FAnchorRight - width;
        }
        if (c->FAnchors & akBottom) {
            if (c->FAnchors & akTop)
                height = std::max(0, clientHeight - c->FAnchorBottom - top);
            else
                top = clientHeight - c->FAnchorBottom - height;
        }
        c->SetBounds(left, top, width, height);
    }
}

int TWinControl::ClientWidth() const
{
    if (!FHandle) return Width();
    RECT client{};
    GetClientRect(FHandle, &client);
    return client.right;
}

int TWinControl::ClientHeight() const
{
    if (!FHandle) return Height();
    RECT client{};
    GetClientRect(FHandle, &client);
    return client.bottom;
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight)
{
    if (AWidth != Width()) FPendingClientWidth = -1;
    if (AHeight != Height()) FPendingClientHeight = -1;
    if (ALeft == Left() && ATop == Top() && AWidth == Width() && AHeight == Height()) return;
    if (FHandle) {
        // The window reports what it really became (WM_WINDOWPOSCHANGED, WM_SIZE realigns the children).
        SetWindowPos(FHandle, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
        UpdateBounds();
    } else {
        const bool resized = AWidth != Width() || AHeight != Height();
        UpdateBoundsFields(ALeft, ATop, AWidth, AHeight);
        if (resized) AlignControls(nullptr);
    }
    BoundsChangedByCaller();
}

void TWinControl::UpdateBounds()
{
    if (!FHandle || IsIconic(FHandle)) return;
    RECT r{};
    GetWindowRect(FHandle, &r);
    if (GetWindowLongPtrA(FHandle, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(nullptr, GetParent(FHandle), reinterpret_cast<POINT*>(&r), 2);
    UpdateBoundsFields(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void TWinControl::SetVisible(bool Value)
{
    if (Visible() == Value) return;
    TControl::SetVisible(Value);
    if (FHandle)
        SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                         (Value ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::SetEnabled(bool Value)
{
    if (Enabled() == Value) return;
    TControl::SetEnabled(Value);
    if (FHandle) EnableWindow(FHandle, Value ? TRUE : FALSE);
}

void TWinControl::Invalidate()
{
    if (OnScreen(FHandle)) InvalidateRect(FHandle, nullptr, TRUE);
}

void TWinControl::Update()
{
    if (OnScreen(FHandle)) UpdateWindow(FHandle);
}

void TWinControl::Repaint()
{
    Invalidate();
    Update();
}

void TWinControl::FontChanged()
{
    TControl::FontChanged();
    if (FHandle) {
        Perform(WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
        Invalidate();
    }
    NotifyControls(CM_PARENTFONTCHANGED);
}

void TWinControl::NotifyControls(UINT Msg)
{
    // A handler may add or remove children: walk a copy.
    const std::vector<TControl*> children = FControls;
    for (TControl* child : children) child->Perform(Msg, 0, 0);
}

void TWinControl::PaintControls(HDC DC)
{
    // By index: a paint handler may not add children, but it must not invalidate a walk either.
    for (size_t i = 0; i < FControls.size(); ++i) FControls[i]->PaintOnParent(DC);
}

void TWinControl::PaintWindow(HDC DC)
{
    const RECT client = ClientRect();
    FBrush.SetStyle(bsSolid);
    FBrush.SetColor(Color());
    FillRect(DC, &client, FBrush.Handle());
    PaintControls(DC);
}

void TWinControl::WMPaint(TMessage& Message)
{
    if (Message.WParam) {
        PaintWindow(reinterpret_cast<HDC>(Message.WParam));
        return;
    }
    TPaintDC paint(FHandle);
    if (FDoubleBuffered) {
        // An off-screen copy of the client area, then copied to the screen at once. Only the part to update is
        // painted and copied: a repaint of one row or one button does not compose the whole control again.
        const int width = ClientWidth(), height = ClientHeight();
        TGdiObject image(CreateCompatibleBitmap(paint.Handle(), std::max(width, 1), std::max(height, 1)));
        TMemoryDC buffer(paint.Handle(), static_cast<HBITMAP>(image.Get()));
        const RECT& area = paint.Area();
        IntersectClipRect(buffer.Handle(), area.left, area.top, area.right, area.bottom);
        PaintWindow(buffer.Handle());
        BitBlt(paint.Handle(), area.left, area.top, area.right - area.left, area.bottom - area.top, buffer.Handle(),
               area.left, area.top, SRCCOPY);
    } else {
        PaintWindow(paint.Handle());
    }
}

// A stock control paints itself into the DC it is handed in WParam; the windowless children go over it.
void TWinControl::PaintStockWindow(TMessage& Message)
{
    if (Message.WParam) {
        DefaultHandler(Message);
        PaintControls(reinterpret_cast<HDC>(Message.WParam));
        return;
    }
    TPaintDC paint(FHandle);
    Message.WParam = reinterpret_cast<WPARAM>(paint.Handle());
    DefaultHandler(Message);
    PaintControls(paint.Handle());
}

bool TWinControl::ReflectToChild(TMessage& Message)
{
    HWND child = nullptr;
    switch (Message.Msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: child = reinterpret_cast<HWND>(Message.LParam); break;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(Message.LParam);
        if (item->CtlType != ODT_MENU) child = item->hwndItem;
        break;
    }
    case WM_NOTIFY: child = reinterpret_cast<const NMHDR*>(Message.LParam)->hwndFrom; break;
    default: return false;
    }
    TWinControl* control = FindControl(child);
    if (!control) return false;
    Message.Result = control->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
    return true;
}

// Presses on a windowless child go to it, and so does everything up to the release of the last button.
bool TWinControl::ForwardMouseToGraphic(TMessage& Message)
{
    const POINT p{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
    TControl* target = FMouseCapture;
    if (!target) {
        TControl* under = ControlAtPos(p, false);
        if (under && !dynamic_cast<TWinControl*>(under)) target = under;
    }
    if (!target) return false;
    if (IsButtonPress(Message.Msg) && !FMouseCapture) {
        FMouseCapture = target;
        SetCapture(FHandle);
    }
    const bool released = IsButtonRelease(Message.Msg) && !(Message.WParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON));
    if (released) {
        FMouseCapture = nullptr;
        if (GetCapture() == FHandle) ReleaseCapture();
    }
    const LPARAM local = MAKELPARAM(p.x - target->Left(), p.y - target->Top());
    Message.Result = target->Perform(Message.Msg, Message.WParam, local);
    return true;
}

void TWinControl::WndProc(TMessage& Message)
{
    if (ReflectToChild(Message)) return;
    if (IsRoutedMouseMessage(Message.Msg)) {
        if (Message.Msg == WM_MOUSEMOVE && GTrackedWindow != FHandle) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, FHandle, 0};
            if (TrackMouseEvent(&track)) GTrackedWindow = FHandle;
        }
        if (ForwardMouseToGraphic(Message)) return;
    }
    switch (Message.Msg) {
    case WM_PAINT:
        if (FOwnClass) {
            WMPaint(Message);
            return;
        }
        if (!FControls.empty()) {
            PaintStockWindow(Message);
            return;
        }
        break;
    case WM_ERASEBKGND:
        if (FOwnClass) {
            // WM_PAINT covers the whole client area.
            Message.Result = 1;
            return;
        }
        break;
    case WM_NCPAINT:
        // A child without border or scroll bars has no frame to draw; the system's handling would only work out
        // as much, once for every child each time the form shows.
        if (!HasFrame()) return;
        break;
    case WM_MOUSELEAVE:
        if (GTrackedWindow == FHandle) GTrackedWindow = nullptr;
        UpdateMouseControl();
        break;
    case WM_CAPTURECHANGED: FMouseCapture = nullptr; break;
    case WM_SIZE:
        UpdateBounds();
        AlignControls(nullptr);
        break;
    case WM_MOVE:
    case WM_WINDOWPOSCHANGED:
        TControl::WndProc(Message);
        UpdateBounds();
        return;
    case WM_SETFOCUS: ControlFocused(this); break;
    case CM_COLORCHANGED:
        Invalidate();
        NotifyControls(CM_PARENTCOLORCHANGED);
        break;
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED: Invalidate(); break;
    default: break;
    }
    TControl::WndProc(Message);
}

void TWinControl::DefaultHandler(TMessage& Message)
{
    if (!FHandle) {
        TControl::DefaultHandler(Message);
        return;
    }
    if (Message.Msg >= CN_BASE + WM_CTLCOLORMSGBOX && Message.Msg <= CN_BASE + WM_CTLCOLORSTATIC) {
        const HDC dc = reinterpret_cast<HDC>(Message.WParam);
        SetTextColor(dc, ColorToRGB(Font().Color()));
        SetBkColor(dc, ColorToRGB(Color()));
        FBrush.SetStyle(bsSolid);
        FBrush.SetColor(Color());
        Message.Result = reinterpret_cast<LRESULT>(FBrush.Handle());
        return;
    }
    // A reflected notification nobody handled.
    if (Message.Msg >= CN_BASE && Message.Msg < CN_BASE + WM_USER) return;
    Message.Result = FDefWndProc ? CallWindowProcA(FDefWndProc, FHandle, Message.Msg, Message.WParam, Message.LParam)
                                 : DefWindowProcA(FHandle, Message.Msg, Message.WParam, Message.LParam);
}

// ---------------------------------------------------------------------------------------------------------------
// TCustomControl

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}

TCustomControl::~TCustomControl() = default;

TCanvas& TCustomControl::Canvas()
{
    if (!FCanvas.Handle()) {
        if (!FMeasureDC) FMeasureDC = std::make_unique<TMemoryDC>(nullptr, nullptr);
        FCanvas.SetHandle(FMeasureDC->Handle());
    }
    FCanvas.Font().Assign(Font());
    return FCanvas;
}

void TCustomControl::PaintWindow(HDC DC)
{
    {
        TCanvasAttachment attached(FCanvas, DC);
        FCanvas.Font().Assign(Font());
        FCanvas.Brush().SetStyle(bsSolid);
        FCanvas.Brush().SetColor(Color());
        FCanvas.FillRect(ClientRect());
        Paint();
    }
    PaintControls(DC);
}

// ---------------------------------------------------------------------------------------------------------------
// TUtilityWindow

TUtilityWindow::TUtilityWindow(THandler Handler, DWORD Style, HWND Owner)
    : TWinControl(nullptr), FHandler(std::move(Handler)), FStyle(Style), FOwner(Owner)
{
    SetVisibleField(false);
}

void TUtilityWindow::CreateParams(TCreateParams& Params)
{
    TWinControl::CreateParams(Params);
    Params.Style = FStyle;
    Params.WndParent = FOwner;
}

void TUtilityWindow::WndProc(TMessage& Message)
{
    if (!FHandler(Message)) DefaultHandler(Message);
}

// ---------------------------------------------------------------------------------------------------------------
// Mouse tracking

TControl* FindDragTarget(POINT Pos, bool AllowDisabled)
{
    TWinControl* window = TWinControl::FindControl(WindowFromPoint(Pos));
    if (!window) return nullptr;
    TControl* child = window->ControlAtPos(window->ScreenToClient(Pos), AllowDisabled);
    if (child && !dynamic_cast<TWinControl*>(child)) return child;
    return window;
}

void UpdateMouseControl()
{
    POINT cursor{};
    GetCursorPos(&cursor);
    TControl* now = FindDragTarget(cursor, true);
    if (now == GMouseControl) return;
    TControl* old = GMouseControl;
    GMouseControl = now;
    if (old) old->Perform(CM_MOUSELEAVE);
    // The leave handler may have moved things on; enter only what is still the mouse control.
    if (now && GMouseControl == now) now->Perform(CM_MOUSEENTER);
}

TControl* MouseControl() { return GMouseControl; }
