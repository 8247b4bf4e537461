#include "Forms.h"

#include <algorithm>
#include <exception>

#include "WinServices.h"

// The application object lives from start-up to the end of the process; its windows go with the process.
TApplication* Application = new TApplication(nullptr);

namespace {

// Frees a form once the messages queued before are handled; sent to the application window with the form's window.
constexpr UINT CM_RELEASE = CM_BASE + 33;

constexpr UINT_PTR HintPauseTimer = 1, HintHideTimer = 2, HintReshowTimer = 3;
// How long the mouse rests over a control before its hint opens.
constexpr UINT HintPause = 500;
// Space between the hint window's border and its text.
constexpr int HintMarginX = 3, HintMarginY = 1;
constexpr DWORD HintStyle = WS_POPUP | WS_BORDER;
constexpr DWORD HintExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;

// The standard report of a failure in a handler goes through the application of the moment.
void ReportToApplication(const std::exception* E)
{
    if (Application) Application->HandleException(E);
}

// Disables the visible, enabled top-level windows of this thread (but one) for its lifetime.
class TDisabledWindows {
public:
    explicit TDisabledWindows(HWND Except) : FExcept(Except)
    {
        EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(this));
        for (HWND wnd : FWindows) EnableWindow(wnd, FALSE);
    }
    ~TDisabledWindows()
    {
        for (HWND wnd : FWindows)
            if (IsWindow(wnd)) EnableWindow(wnd, TRUE);
    }
    TDisabledWindows(const TDisabledWindows&) = delete;
    TDisabledWindows& operator=(const TDisabledWindows&) = delete;

private:
    static BOOL CALLBACK Collect(HWND Wnd, LPARAM Param)
    {
        auto* self = reinterpret_cast<TDisabledWindows*>(Param);
        if (Wnd != self->FExcept && IsWindowVisible(Wnd) && IsWindowEnabled(Wnd)) self->FWindows.push_back(Wnd);
        return TRUE;
    }
    HWND FExcept;
    std::vector<HWND> FWindows;
};

// Moves a window onto the monitor of another for its lifetime, then back.
class TMonitorVisit {
public:
    TMonitorVisit(HWND Wnd, HWND Guide) : FWnd(Wnd)
    {
        if (!Guide) return;
        HMONITOR target = MonitorFromWindow(Guide, MONITOR_DEFAULTTONEAREST);
        if (target == MonitorFromWindow(Wnd, MONITOR_DEFAULTTONEAREST)) return;
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        if (!GetMonitorInfoA(target, &info) || !GetWindowRect(Wnd, &FOld)) return;
        FMoved = true;
        const RECT& area = info.rcWork;
        SetWindowPos(Wnd, nullptr, (area.left + area.right) / 2, (area.top + area.bottom) / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ~TMonitorVisit()
    {
        if (FMoved) SetWindowPos(FWnd, nullptr, FOld.left, FOld.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    TMonitorVisit(const TMonitorVisit&) = delete;
    TMonitorVisit& operator=(const TMonitorVisit&) = delete;

private:
    HWND FWnd;
    RECT FOld{};
    bool FMoved = false;
};

}  // namespace

// ---------------------------------------------------------------------------------------------------------------
// TCustomForm

TCustomForm::TCustomForm(TComponent* AOwner) : TCustomControl(AOwner)
{
    SetVisibleField(false);
    SetParentFont(false);
    SetColor(clBtnFace);
    SetBounds(0, 0, 320, 240);
    FBindings.RootClass = "TForm";
}

TCustomForm::~TCustomForm()
{
    if (Application && Application->FMainForm == this) Application->FMainForm = nullptr;
    // The windows go before the owned components: the hooks of style objects still run while they close.
    DestroyHandle();
}

TCustomForm* GetParentForm(const TControl* Control)
{
    for (const TControl* c = Control; c; c = c->Parent())
        if (auto* form = dynamic_cast<const TCustomForm*>(c)) return const_cast<TCustomForm*>(form);
    return nullptr;
}

// The nearest form takes the focus change; the form's own focus changes nothing.
void TCustomForm::ControlFocused(TWinControl* Control)
{
    if (Control == this) return;
    FActiveControl = Control;
    TMessage message{CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(Control), 0};
    Broadcast(message);
}

// Every form among the parents forgets an active control that went with the removed one.
void TCustomForm::ControlRemoved(TControl* Removed)
{
    for (const TControl* c = FActiveControl; c; c = c->Parent())
        if (c == Removed) FActiveControl = nullptr;
    TCustomControl::ControlRemoved(Removed);
}

void TCustomForm::FocusControl(TWinControl* Control)
{
    if (Control == this)
        ::SetFocus(Handle());
    else
        SetActiveControl(Control);
}

bool TCustomForm::SetFormModalResult(TModalResult Value)
{
    FModalResult = Value;
    return true;
}

bool TCustomForm::CloseForm()
{
    Close();
    return true;
}

void TCustomForm::InitializeForm()
{
    ReadLayouts();
    DoCreate();
}

void TCustomForm::ReadLayouts()
{
    for (const std::string& name : FLayouts) ReadFormLayout(*this, name);
}

void ReadFormLayout(TCustomForm& Form, const std::string& ResourceName)
{
    ReadLayout(Form, Form.Bindings(), ResourceName);
}

void ReadFormLayoutText(TCustomForm& Form, const std::string& Utf8Text, const std::string& SourceName)
{
    ReadLayoutText(Form, Form.Bindings(), Utf8Text, SourceName);
}

void TCustomForm::DoCreate()
{
    if (OnCreate) OnCreate(this);
}

void TCustomForm::DoShow()
{
    if (OnShow) OnShow(this);
}

void TCustomForm::DoHide()
{
    if (OnHide) OnHide(this);
}

void TCustomForm::DoClose(TCloseAction& Action)
{
    if (OnClose) OnClose(this, Action);
}

void TCustomForm::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    if (Parent()) return;
    Params.Style = WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (!Enabled()) Params.Style |= WS_DISABLED;
    Params.ExStyle = 0;
    Params.WndParent = Application->CreateHandle();
    switch (FBorderStyle) {
    case bsNone: Params.Style |= WS_POPUP; break;
    case bsSingle:
    case bsToolWindow: Params.Style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable:
    case bsSizeToolWin: Params.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
        Params.Style |= WS_POPUP | WS_CAPTION | DS_MODALFRAME;
        Params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    }
    if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin) Params.ExStyle |= WS_EX_TOOLWINDOW;
    if (FBorderStyle != bsNone && (FBorderIcons & biSystemMenu)) Params.Style |= WS_SYSMENU;
    const bool boxes = FBorderStyle == bsSingle || FBorderStyle == bsSizeable;
    if (boxes && (FBorderIcons & biMinimize)) Params.Style |= WS_MINIMIZEBOX;
    if (boxes && (FBorderIcons & biMaximize)) Params.Style |= WS_MAXIMIZEBOX;
    if (FBorderStyle == bsDialog && (FBorderIcons & biHelp)) Params.ExStyle |= WS_EX_CONTEXTHELP;
    if (FFormStyle == fsStayOnTop) Params.ExStyle |= WS_EX_TOPMOST;
}

// Border style, icons and staying on top for a window that exists already.
void TCustomForm::UpdateWindowStyles()
{
    if (!HandleAllocated() || Parent()) return;
    const HWND wnd = Handle();
    TCreateParams params;
    CreateParams(params);
    const LONG_PTR kept = GetWindowLongPtrA(wnd, GWL_STYLE) & (WS_VISIBLE | WS_DISABLED | WS_MINIMIZE | WS_MAXIMIZE);
    SetWindowLongPtrA(wnd, GWL_STYLE, static_cast<LONG_PTR>(params.Style) | kept);
    const bool wasTopMost = (GetWindowLongPtrA(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    const bool topMost = (params.ExStyle & WS_EX_TOPMOST) != 0;
    SetWindowLongPtrA(wnd, GWL_EXSTYLE, static_cast<LONG_PTR>(params.ExStyle & ~static_cast<DWORD>(WS_EX_TOPMOST)) |
                                            (wasTopMost ? WS_EX_TOPMOST : 0));
    UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED;
    if (topMost == wasTopMost) flags |= SWP_NOZORDER;
    SetWindowPos(wnd, topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, flags);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle Value)
{
    FBorderStyle = Value;
    UpdateWindowStyles();
}

void TCustomForm::SetBorderIcons(TBorderIcons Value)
{
    FBorderIcons = Value;
    UpdateWindowStyles();
}

void TCustomForm::SetFormStyle(TFormStyle Value)
{
    FFormStyle = Value;
    UpdateWindowStyles();
}

TWindowState TCustomForm::WindowState() const
{
    if (!HandleAllocated()) return FWindowState;
    HWND wnd = const_cast<TCustomForm*>(this)->Handle();
    if (IsIconic(wnd)) return wsMinimized;
    if (IsZoomed(wnd)) return wsMaximized;
    return wsNormal;
}

void TCustomForm::SetWindowState(TWindowState Value)
{
    FWindowState = Value;
    if (!HandleAllocated() || !IsWindowVisible(Handle())) return;
    ShowWindow(Handle(), Value == wsMinimized ? SW_MINIMIZE : Value == wsMaximized ? SW_MAXIMIZE : SW_RESTORE);
}

void TCustomForm::SetActiveControl(TWinControl* Value)
{
    FActiveControl = Value;
    if (Value && HandleAllocated() && IsWindowVisible(Handle()) && Value->CanFocus()) ::SetFocus(Value->Handle());
}

void TCustomForm::SetParent(TWinControl* AParent)
{
    const bool shown = Visible() && HandleAllocated();
    TCustomControl::SetParent(AParent);
    if (AParent || !shown) return;
    // Leaving the parent took the child window with it.
    ShowWindow(Handle(), SW_SHOWNORMAL);
}

void TCustomForm::Show()
{
    SetVisible(true);
    BringToFront();
}

void TCustomForm::SetVisible(bool Value)
{
    if (Value) {
        if (Visible() && HandleAllocated() && IsWindowVisible(Handle())) return;
        ShowForm();
    } else if (Visible()) {
        HideForm();
    }
}

// OnShow, placement, the window, then the focus; a failing OnShow is reported and the show goes on.
void TCustomForm::ShowForm()
{
    HandleNeeded();
    SetVisibleField(true);
    Reported([this] { DoShow(); });
    if (!Visible()) return;
    if (FPosition != poDesigned && FPosition != poDefault && FPosition != poDefaultPosOnly &&
        FPosition != poDefaultSizeOnly)
        CenterOnScreen();
    if (!FActiveControl || !FActiveControl->CanFocus()) FActiveControl = FindNextControl(nullptr, true, true);
    const int command = FWindowState == wsMaximized   ? SW_SHOWMAXIMIZED
                        : FWindowState == wsMinimized ? SW_SHOWMINIMIZED
                                                      : SW_SHOWNORMAL;
    ShowWindow(Handle(), command);
    FocusFirstControl();
}

void TCustomForm::HideForm()
{
    Reported([this] { DoHide(); });
    if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
    SetVisibleField(false);
}

void TCustomForm::FocusFirstControl()
{
    if (FActiveControl && FActiveControl->CanFocus()) ::SetFocus(FActiveControl->Handle());
}

void TCustomForm::CenterOnScreen()
{
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    if ((FPosition == poMainFormCenter || FPosition == poOwnerFormCenter) && main && main != this &&
        main->HandleAllocated())
        GetWindowRect(main->Handle(), &area);
    SetBounds((area.left + area.right - Width()) / 2, (area.top + area.bottom - Height()) / 2, Width(), Height());
}

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery) OnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close()
{
    // The modal loop closes a modal form itself.
    if (FModal) {
        FModalResult = mrCancel;
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    DoClose(action);
    ApplyCloseAction(action);
}

bool TCustomForm::ApplyCloseAction(TCloseAction Action)
{
    if (Action == caNone) return false;
    if (Application && Application->MainForm() == this)
        Application->Terminate();
    else if (Action == caHide)
        Hide();
    else if (Action == caMinimize)
        SetWindowState(wsMinimized);
    else
        Release();
    return true;
}

void TCustomForm::Release()
{
    PostMessageA(Application->CreateHandle(), CM_RELEASE, reinterpret_cast<WPARAM>(Handle()), 0);
}

void TCustomForm::CloseModal()
{
    TCloseAction action = caNone;
    if (CloseQuery()) {
        action = caHide;
        DoClose(action);
    }
    if (action == caNone)
        FModalResult = mrNone;
    else if (action == caFree)
        Release();
}

TModalResult TCustomForm::ShowModal()
{
    if (Visible() || !Enabled() || FModal) throw Exception("Cannot make a visible window modal");
    if (GetCapture()) ReleaseCapture();
    HandleNeeded();
    const HWND active = GetActiveWindow();
    TModalResult result = mrNone;
    {
        // Declared first, undone last: the form is hidden before the other windows come back.
        TDisabledWindows disabled(Handle());
        struct TModalScope {
            TCustomForm& Form;
            explicit TModalScope(TCustomForm& F) : Form(F) { Form.FModal = true; }
            ~TModalScope()
            {
                Reported([this] { Form.Hide(); });
                Form.FModal = false;
            }
        } modal(*this);
        Show();
        FModalResult = mrNone;
        do {
            Application->HandleMessage();
            if (Application->Terminated())
                FModalResult = mrCancel;
            else if (FModalResult != mrNone)
                CloseModal();
        } while (FModalResult == mrNone);
        result = FModalResult;
    }
    if (active && IsWindow(active)) SetActiveWindow(active);
    return result;
}

bool TCustomForm::DialogKey(WPARAM Key)
{
    TWinControl* focused = FindControl(GetFocus());
    if (focused && GetParentForm(focused) != this) focused = nullptr;
    switch (Key) {
    case VK_TAB: {
        // Ctrl+Tab and Ctrl+Shift+Tab belong to the control that pages (a page control), wherever the focus is.
        if (GetKeyState(VK_CONTROL) < 0) return BroadcastDialogKey(Key);
        TWinControl* next = FindNextControl(focused ? focused : FActiveControl, GetKeyState(VK_SHIFT) >= 0, true);
        if (!next) return false;
        next->SetFocus();
        return true;
    }
    case VK_RETURN: return (focused && focused->Perform(CM_DIALOGKEY, Key)) || BroadcastDialogKey(Key);
    case VK_ESCAPE: return BroadcastDialogKey(Key);
    default: return false;
    }
}

bool TCustomForm::BroadcastDialogKey(WPARAM Key, UINT Msg)
{
    TMessage message{Msg, Key, 0, 0};
    Broadcast(message);
    return message.Result != 0;
}

void TCustomForm::WndProc(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_CLOSE: Close(); return;
    case CM_DIALOGKEY: Message.Result = DialogKey(Message.WParam) ? 1 : 0; return;
    case CM_DIALOGCHAR: Message.Result = BroadcastDialogKey(Message.WParam, CM_DIALOGCHAR) ? 1 : 0; return;
    case WM_SETFOCUS:
        TCustomControl::WndProc(Message);
        // The form hands the focus on to the control that had it last.
        if (FActiveControl && FActiveControl->CanFocus() && FActiveControl->HandleAllocated())
            ::SetFocus(FActiveControl->Handle());
        return;
    default: TCustomControl::WndProc(Message);
    }
}

// ---------------------------------------------------------------------------------------------------------------
// TApplicationEvents

TApplicationEvents::TApplicationEvents(TComponent* AOwner) : TComponent(AOwner)
{
    if (Application) Application->FEvents.push_back(this);
}

TApplicationEvents::~TApplicationEvents()
{
    if (!Application) return;
    auto& events = Application->FEvents;
    events.erase(std::remove(events.begin(), events.end(), this), events.end());
}

// ---------------------------------------------------------------------------------------------------------------
// TApplication

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner)
{
    SetExceptionReporter(&ReportToApplication);
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    FTitle = ChangeFileExt(ExtractFileName(path), "");
}

TApplication::~TApplication()
{
    // The forms go while this object is whole: they unregister their events and controls here.
    DestroyComponents();
    if (Application == this) Application = nullptr;
}

void TApplication::Initialize() { CreateHandle(); }

HWND TApplication::CreateHandle()
{
    if (!FWindow) {
        FWindow = std::make_unique<TUtilityWindow>([this](TMessage& Message) { return WindowMessage(Message); },
                                                   WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU |
                                                       WS_MINIMIZEBOX,
                                                   nullptr);
        FWindow->SetBounds(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0);
        FWindow->SetCaption(FTitle);
    }
    return FWindow->Handle();
}

void TApplication::SetTitle(const std::string& Value)
{
    FTitle = Value;
    if (FWindow) FWindow->SetCaption(FTitle);
}

bool TApplication::WindowMessage(TMessage& Message)
{
    switch (Message.Msg) {
    case WM_TIMER: HintTimer(Message.WParam); return true;
    case WM_CLOSE:
        if (FMainForm) FMainForm->Close();
        return true;
    case CM_RELEASE:
        // A form freed meanwhile has taken its window with it.
        delete dynamic_cast<TCustomForm*>(TWinControl::FindControl(reinterpret_cast<HWND>(Message.WParam)));
        return true;
    default: return false;
    }
}

void TApplication::Run()
{
    if (FMainForm) FMainForm->Show();
    while (!FTerminated) Reported([this] { HandleMessage(); });
}

void TApplication::Terminate() { PostQuitMessage(0); }

void TApplication::HandleMessage()
{
    MSG msg;
    if (!ProcessMessage(msg)) Idle();
}

namespace {

struct TAsideWork {
    const std::function<void()>& Work;
    std::exception_ptr Failure;
};

DWORD WINAPI RunWork(LPVOID Data)
{
    TAsideWork& work = *static_cast<TAsideWork*>(Data);
    try {
        work.Work();
    } catch (...) {
        work.Failure = std::current_exception();
    }
    return 0;
}

}  // namespace

void TApplication::RunAside(const std::function<void()>& Work, const std::function<void()>& Tick, DWORD TickMs)
{
    TAsideWork work{Work, nullptr};
    const TKernelHandle thread(CreateThread(nullptr, 0, RunWork, &work, 0, nullptr));
    if (!thread.Valid()) throw Exception("Cannot start a thread");
    HANDLE handle = thread.Get();
    while (MsgWaitForMultipleObjects(1, &handle, FALSE, TickMs, QS_ALLINPUT) != WAIT_OBJECT_0) {
        ProcessMessages();
        Tick();
    }
    Tick();
    if (work.Failure) std::rethrow_exception(work.Failure);
}

void TApplication::ProcessMessages()
{
    MSG msg;
    while (ProcessMessage(msg)) {
    }
}

bool TApplication::ProcessMessage(MSG& Msg)
{
    if (!PeekMessageA(&Msg, nullptr, 0, 0, PM_REMOVE)) return false;
    if (Msg.message == WM_QUIT) {
        FTerminated = true;
        return true;
    }
    switch (Msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN: CancelHint(); break;
    default: break;
    }
    if (!IsDialogMessage(Msg)) {
        TranslateMessage(&Msg);
        DispatchMessageA(&Msg);
    }
    if ((Msg.message >= WM_MOUSEFIRST && Msg.message <= WM_MOUSELAST) || Msg.message == WM_NCMOUSEMOVE) {
        UpdateMouseControl();
        HintMouseMessage(MouseControl());
    }
    return true;
}

void TApplication::Idle()
{
    UpdateMouseControl();
    HintMouseMessage(MouseControl());
    if (!FTerminated) WaitMessage();
}

// Tab, Enter and Escape belong to the form unless the focused control asks for them; so do mnemonics.
bool TApplication::IsDialogMessage(MSG& Msg)
{
    if (Msg.message == WM_SYSCHAR || Msg.message == WM_CHAR) return IsMnemonic(Msg);
    if (Msg.message != WM_KEYDOWN) return false;
    LRESULT wanted = DLGC_WANTALLKEYS | DLGC_WANTMESSAGE;
    switch (Msg.wParam) {
    case VK_TAB: wanted |= DLGC_WANTTAB; break;
    case VK_RETURN:
    case VK_ESCAPE: break;
    default: return false;
    }
    if (GetKeyState(VK_MENU) < 0) return false;
    if (GetKeyState(VK_CONTROL) < 0 && Msg.wParam != VK_TAB) return false;
    TWinControl* control = TWinControl::FindControl(Msg.hwnd);
    if (!control || (control->Perform(WM_GETDLGCODE, 0, 0) & wanted)) return false;
    TCustomForm* form = GetParentForm(control);
    if (!form || !form->HandleAllocated()) return false;
    // Through the form's window procedure, so that a failing click handler is reported like any other.
    return SendMessageA(form->Handle(), CM_DIALOGKEY, Msg.wParam, Msg.lParam) != 0;
}

// Alt+character anywhere, or a plain character typed where the focused control takes none (a button), goes to the
// form as CM_DIALOGCHAR; a control whose caption marks that character answers it.
bool TApplication::IsMnemonic(MSG& Msg)
{
    if (Msg.wParam <= ' ') return false;
    TWinControl* control = TWinControl::FindControl(Msg.hwnd);
    if (!control) return false;
    const LRESULT typing = DLGC_WANTCHARS | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE;
    if (Msg.message == WM_CHAR && (control->Perform(WM_GETDLGCODE, 0, 0) & typing)) return false;
    TCustomForm* form = GetParentForm(control);
    if (!form || !form->HandleAllocated()) return false;
    return SendMessageA(form->Handle(), CM_DIALOGCHAR, Msg.wParam, Msg.lParam) != 0;
}

void TApplication::HandleException(const std::exception* E)
{
    if (OnException) {
        OnException(this, E);
        return;
    }
    ShowException(E ? E->what() : "Unknown failure");
}

void TApplication::ShowException(const std::string& Message) { MessageBox(Message.c_str(), FTitle.c_str(), MB_OK | MB_ICONSTOP); }

int TApplication::MessageBox(const char* Text, const char* Caption, UINT Flags)
{
    CancelHint();
    const HWND owner = CreateHandle();
    const HWND active = GetActiveWindow();
    const HWND focus = GetFocus();
    int result;
    {
        TDisabledWindows disabled(owner);
        TMonitorVisit visit(owner, active);
        result = ::MessageBoxA(owner, Text, Caption, Flags);
    }
    if (active && IsWindow(active)) SetActiveWindow(active);
    if (focus && IsWindow(focus)) SetFocus(focus);
    return result;
}

namespace {

struct TTopMostWalk {
    HWND Owner;
    HWND MainForm;
    HWND TopWindow;
    std::vector<HWND>* Collected;
};

// From the top of the z-order: the application's own top-most windows until one of them is not (or is the main
// form); foreign windows are passed over.
BOOL CALLBACK CollectTopMost(HWND Wnd, LPARAM Param)
{
    auto* walk = reinterpret_cast<TTopMostWalk*>(Param);
    if (GetWindow(Wnd, GW_OWNER) != walk->Owner) return TRUE;
    if ((GetWindowLongPtrA(Wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) && Wnd != walk->MainForm) {
        walk->Collected->push_back(Wnd);
        return TRUE;
    }
    walk->TopWindow = Wnd;
    return FALSE;
}

constexpr UINT TopMostMoveFlags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

}  // namespace

void TApplication::NormalizeTopMosts()
{
    if (!FWindow) return;
    if (FTopMostLevel++ > 0) return;
    HWND main = FMainForm && FMainForm->HandleAllocated() ? FMainForm->Handle() : nullptr;
    TTopMostWalk walk{Handle(), main, Handle(), &FTopMostList};
    EnumWindows(&CollectTopMost, reinterpret_cast<LPARAM>(&walk));
    if (FTopMostList.empty()) return;
    HWND after = GetWindow(walk.TopWindow, GW_HWNDPREV);
    if (GetWindowLongPtrA(after, GWL_EXSTYLE) & WS_EX_TOPMOST) after = HWND_NOTOPMOST;
    for (auto it = FTopMostList.rbegin(); it != FTopMostList.rend(); ++it)
        SetWindowPos(*it, after, 0, 0, 0, 0, TopMostMoveFlags);
}

void TApplication::RestoreTopMosts()
{
    if (!FWindow || FTopMostLevel == 0) return;
    if (--FTopMostLevel > 0) return;
    for (auto it = FTopMostList.rbegin(); it != FTopMostList.rend(); ++it)
        SetWindowPos(*it, HWND_TOPMOST, 0, 0, 0, 0, TopMostMoveFlags);
    FTopMostList.clear();
}

// ---------------------------------------------------------------------------------------------------------------
// Hints

void TApplication::Notification(TComponent* AComponent, TOperation Operation)
{
    TComponent::Notification(AComponent, Operation);
    if (Operation != TOperation::opRemove || AComponent != FHintControl) return;
    CancelHint();
    FHintControl = nullptr;
}

void TApplication::SetHintControl(TControl* Control)
{
    if (FHintControl) FHintControl->RemoveFreeNotification(this);
    FHintControl = Control;
    if (Control) Control->FreeNotification(this);
}

void TApplication::HintMouseMessage(TControl* Control)
{
    if (Control == FHintControl) return;
    CancelHint();
    SetHintControl(Control);
    if (Control && Control->ShowHint() && !Control->Hint().empty())
        SetTimer(CreateHandle(), HintPauseTimer, HintPause, nullptr);
}

void TApplication::ActivateHint(POINT CursorPos)
{
    CancelHint();
    SetHintControl(FindDragTarget(CursorPos, false));
    if (FHintControl && FHintControl->ShowHint() && !FHintControl->Hint().empty())
        ShowHintFor(FHintControl, CursorPos);
}

void TApplication::HintTimer(UINT_PTR Timer)
{
    KillTimer(Handle(), Timer);
    POINT cursor{};
    GetCursorPos(&cursor);
    const bool stillThere = FHintControl && FindDragTarget(cursor, false) == FHintControl;
    if (Timer == HintHideTimer || !stillThere)
        CancelHint();
    else
        ShowHintFor(FHintControl, cursor);
}

void TApplication::CancelHint()
{
    if (FWindow)
        for (UINT_PTR timer : {HintPauseTimer, HintHideTimer, HintReshowTimer}) KillTimer(Handle(), timer);
    HideHintWindow();
}

void TApplication::HideHintWindow()
{
    if (FHintWindow) FHintWindow->ReleaseHint();
}

bool TApplication::HintShowing() const { return HintWindow() && IsWindowVisible(HintWindow()); }

HWND TApplication::HintWindow() const
{
    return FHintWindow && FHintWindow->HandleAllocated() ? FHintWindow->Handle() : nullptr;
}

// Every TApplicationEvents is asked in creation order; it may move the hint, change its text and timing, or veto it.
void TApplication::ShowHintFor(TControl* Control, POINT CursorPos)
{
    THintInfo info;
    info.HintControl = Control;
    info.HintPos = POINT{CursorPos.x, CursorPos.y + GetSystemMetrics(SM_CYCURSOR)};
    info.HintMaxWidth = GetSystemMetrics(SM_CXSCREEN);
    info.HintColor = clInfoBk;
    info.CursorRect = Control->ClientRect();
    info.CursorPos = Control->ScreenToClient(CursorPos);
    info.ReshowTimeout = 0;
    info.HideTimeout = FHintHidePause;
    info.HintStr = Control->Hint();
    bool canShow = true;
    const std::vector<TApplicationEvents*> events = FEvents;
    for (TApplicationEvents* e : events)
        if (e->OnShowHint) e->OnShowHint(info.HintStr, canShow, info);
    CancelHint();
    if (!canShow || info.HintStr.empty()) return;

    const HWND owner = CreateHandle();
    if (!FHintWindow) FHintWindow = std::make_unique<THintWindow>(nullptr, owner);
    FHintWindow->SetColor(info.HintColor);
    FHintWindow->ActivateHint(info.HintPos, info.HintStr, info.HintMaxWidth);

    const int hide = info.HideTimeout == 0 ? FHintHidePause : info.HideTimeout;
    if (hide > 0) SetTimer(owner, HintHideTimer, static_cast<UINT>(hide), nullptr);
    if (info.ReshowTimeout > 0) SetTimer(owner, HintReshowTimer, static_cast<UINT>(info.ReshowTimeout), nullptr);
}

// ---------------------------------------------------------------------------------------------------------------
// THintWindow

THintWindow::THintWindow(TComponent* AOwner, HWND Owner) : TCustomControl(AOwner), FOwner(Owner)
{
    SetVisibleField(false);
    SetColor(clInfoBk);
}

void THintWindow::CreateParams(TCreateParams& Params)
{
    TCustomControl::CreateParams(Params);
    Params.Style = HintStyle;
    Params.ExStyle = HintExStyle;
    Params.WndParent = FOwner;
    Params.ClassStyle = CS_SAVEBITS;
}

void THintWindow::ActivateHint(POINT Pos, const std::string& Text, int MaxWidth)
{
    SetCaption(Text);
    RECT bounds{0, 0, std::max(1, MaxWidth - 2 * HintMarginX), 0};
    Canvas().DrawText(Text, bounds, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    bounds.right += 2 * HintMarginX;
    bounds.bottom += 2 * HintMarginY;
    AdjustWindowRectEx(&bounds, HintStyle, FALSE, HintExStyle);
    const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    const int x = std::max(0, std::min(static_cast<int>(Pos.x), GetSystemMetrics(SM_CXSCREEN) - width));
    const int y = std::max(0, std::min(static_cast<int>(Pos.y), GetSystemMetrics(SM_CYSCREEN) - height));
    SetWindowPos(Handle(), HWND_TOPMOST, x, y, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    SetVisibleField(true);
    Repaint();
}

void THintWindow::ReleaseHint()
{
    if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
    SetVisibleField(false);
}

void THintWindow::WndProc(TMessage& Message)
{
    if (Message.Msg == WM_NCHITTEST) {
        Message.Result = HTTRANSPARENT;
        return;
    }
    TCustomControl::WndProc(Message);
}

void THintWindow::Paint()
{
    TCanvas& canvas = Canvas();
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().SetColor(clInfoText);
    RECT text = ClientRect();
    InflateRect(&text, -HintMarginX, -HintMarginY);
    canvas.DrawText(Caption(), text, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

// ---------------------------------------------------------------------------------------------------------------

void ShowMessage(const std::string& Msg)
{
    Application->MessageBox(Msg.c_str(), Application->Title().c_str(), MB_OK);
}

// ---------------------------------------------------------------------------------------------------------------
// Layout tables

namespace {

void RegisterFormProperties(TClassRegistry& R)
{
    const std::string cls = "TCustomForm";
    RegisterLayoutSetter(R, cls, "BorderStyle", &TCustomForm::SetBorderStyle, FormBorderStyleNames);
    RegisterLayoutSetter(R, cls, "BorderIcons", &TCustomForm::SetBorderIcons, BorderIconNames);
    RegisterLayoutSetter(R, cls, "Position", &TCustomForm::SetPosition, PositionNames);
    RegisterLayoutSetter(R, cls, "FormStyle", &TCustomForm::SetFormStyle, FormStyleNames);
    RegisterLayoutSetter(R, cls, "WindowState", &TCustomForm::SetWindowState, WindowStateNames);
    RegisterLayoutIgnored<bool>(R, cls, "OldCreateOrder");
    RegisterLayoutIgnored<int>(R, cls, "PixelsPerInch");
    RegisterLayoutIgnored<int>(R, cls, "TextHeight");
    RegisterLayoutProperty<TCustomForm>(R, cls, "OnCreate", [](TCustomForm& f, const TLayoutValue& v, const TLayoutBindings& b) {
        f.OnCreate = LayoutEvent<TNotifyEvent>(b, v);
    });
    RegisterLayoutProperty<TCustomForm>(R, cls, "OnShow", [](TCustomForm& f, const TLayoutValue& v, const TLayoutBindings& b) {
        f.OnShow = LayoutEvent<TNotifyEvent>(b, v);
    });
    RegisterLayoutProperty<TCustomForm>(R, cls, "OnHide", [](TCustomForm& f, const TLayoutValue& v, const TLayoutBindings& b) {
        f.OnHide = LayoutEvent<TNotifyEvent>(b, v);
    });
    RegisterLayoutProperty<TCustomForm>(R, cls, "OnClose", [](TCustomForm& f, const TLayoutValue& v, const TLayoutBindings& b) {
        f.OnClose = LayoutEvent<TCloseEvent>(b, v);
    });
    RegisterLayoutProperty<TCustomForm>(R, cls, "OnCloseQuery",
                                        [](TCustomForm& f, const TLayoutValue& v, const TLayoutBindings& b) {
                                            f.OnCloseQuery = LayoutEvent<TCloseQueryEvent>(b, v);
                                        });
}

}  // namespace

void RegisterFormsClasses(TClassRegistry& Registry)
{
    Registry.RegisterClass("TCustomForm", "TWinControl", nullptr);
    Registry.RegisterClass("TForm", "TCustomForm", [](TComponent* Owner) { return new TForm(Owner); });
    RegisterFormProperties(Registry);
}
