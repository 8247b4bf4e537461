// Forms and the application object on real windows: client size, window styles, show, modal loop, close,
// dialog keys, top-most handling, message boxes, the exception report and hints.
#include <atomic>
#include <functional>

#include "CoreSupport.h"
#include "StdCtrls.h"
#include "WindowSupport.h"

using namespace coretest;

namespace {

constexpr UINT PostedModalResult = WM_USER + 20;

// Sets the modal result that a posted message carries, and can watch the other windows meanwhile.
class TModalForm : public TForm {
public:
    explicit TModalForm(TComponent* AOwner) : TForm(AOwner) { SetBounds(60, 60, 200, 150); }
    std::function<void()> OnPosted;

protected:
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == PostedModalResult) {
            if (OnPosted) OnPosted();
            SetModalResult(static_cast<TModalResult>(Message.WParam));
            return;
        }
        TForm::WndProc(Message);
    }
};

// Draws its own 2-pixel frame, as the root form does.
class TFramedForm : public TForm {
public:
    explicit TFramedForm(TComponent* AOwner) : TForm(AOwner) { SetBorderStyle(bsDialog); }

protected:
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg != WM_NCCALCSIZE) {
            TForm::WndProc(Message);
            return;
        }
        auto* rect = reinterpret_cast<RECT*>(Message.LParam);
        InflateRect(rect, -2, -2);
        Message.Result = 0;
    }
};

// Asks for every key, as a multi-line edit does.
class TKeyEater : public TBox {
public:
    using TBox::TBox;
    int Returns = 0;

protected:
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == WM_GETDLGCODE) {
            Message.Result = DLGC_WANTALLKEYS;
            return;
        }
        if (Message.Msg == WM_KEYDOWN && Message.WParam == VK_RETURN) ++Returns;
        TBox::WndProc(Message);
    }
};

template <class T>
std::unique_ptr<T> NewForm()
{
    return std::unique_ptr<T>(TCustomForm::Create<T>(nullptr));
}

LONG_PTR Style(HWND Wnd) { return GetWindowLongPtrA(Wnd, GWL_STYLE); }
LONG_PTR ExStyle(HWND Wnd) { return GetWindowLongPtrA(Wnd, GWL_EXSTYLE); }
bool TopMost(HWND Wnd) { return (ExStyle(Wnd) & WS_EX_TOPMOST) != 0; }

// Pages on Ctrl+Tab (forward) and Ctrl+Shift+Tab (back), as a page control does, wherever the focus is.
class TPager : public TBox {
public:
    using TBox::TBox;
    std::vector<std::string> Pages;

protected:
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == CM_DIALOGKEY && Message.WParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) {
            Pages.push_back(GetKeyState(VK_SHIFT) < 0 ? "back" : "forward");
            Message.Result = 1;
            return;
        }
        TBox::WndProc(Message);
    }
};

using testsupport::THeldKeys;

TButton* NewButton(TWinControl* Parent, int Left, const std::string& Caption, std::vector<std::string>& Clicks)
{
    auto* button = new TButton(Parent->Owner() ? Parent->Owner() : Parent);
    button->SetBounds(Left, 10, 40, 24);
    button->SetCaption(Caption);
    button->SetParent(Parent);
    button->OnClick = [&Clicks, Caption](TObject*) { Clicks.push_back(Caption); };
    return button;
}

// What a system message box showed, read by a watcher thread, which then presses one of its buttons.
struct TBoxSeen {
    bool Found = false;
    std::string Caption, Text;
    HWND Owner = nullptr;
    bool Icon = false;
    int Buttons = 0;
    bool WatchedEnabled = true;
};

class TBoxWatcher {
public:
    TBoxWatcher(int Answer, HWND Watched = nullptr)
        : FThread([this, Answer, Watched] { Watch(Answer, Watched); })
    {
    }
    TBoxWatcher(const TBoxWatcher&) = delete;
    TBoxWatcher& operator=(const TBoxWatcher&) = delete;
    TBoxSeen Seen;

private:
    void Watch(int Answer, HWND Watched)
    {
        for (int i = 0; i < 500; ++i) {
            HWND box = FindWindowA("#32770", nullptr);
            if (box && IsWindowVisible(box)) {
                Sleep(50);
                Read(box, Watched);
                PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(Answer), 0);
                return;
            }
            Sleep(10);
        }
    }
    void Read(HWND Box, HWND Watched)
    {
        char text[256] = {};
        Seen.Found = true;
        GetWindowTextA(Box, text, sizeof text);
        Seen.Caption = text;
        GetDlgItemTextA(Box, 0xFFFF, text, sizeof text);
        Seen.Text = text;
        Seen.Owner = GetWindow(Box, GW_OWNER);
        Seen.Icon = SendDlgItemMessageA(Box, 0x0440, STM_GETICON, 0, 0) != 0;
        for (HWND child = GetWindow(Box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            char cls[32] = {};
            GetClassNameA(child, cls, sizeof cls);
            if (lstrcmpiA(cls, "Button") == 0 && IsWindowVisible(child)) ++Seen.Buttons;
        }
        if (Watched) Seen.WatchedEnabled = IsWindowEnabled(Watched) != FALSE;
    }
    testsupport::TWatcherThread FThread;
};

class Forms : public CoreFixture {};

}  // namespace

// ---- windows ----

TEST_F(Forms, ClientSizeSetBeforeTheWindowIsExactAgainstTheRealFrame)
{
    auto dialog = NewForm<TForm>();
    dialog->SetBorderStyle(bsDialog);
    dialog->SetClientHeight(367);
    dialog->SetClientWidth(529);
    RECT client{};
    GetClientRect(dialog->Handle(), &client);
    EXPECT_EQ("0,0,529,367", Bounds(client));
    EXPECT_EQ(529, dialog->ClientWidth());

    auto framed = NewForm<TFramedForm>();
    framed->SetBounds(0, 0, 696, 465);
    framed->SetClientHeight(225);
    framed->SetClientWidth(703);
    GetClientRect(framed->Handle(), &client);
    EXPECT_EQ("0,0,703,225", Bounds(client));
    EXPECT_EQ(707, framed->Width()) << "a frame of 2 pixels on each side";

    auto later = NewForm<TFramedForm>();
    later->SetClientWidth(300);
    later->SetWidth(250);  // a size set afterwards wins
    later->HandleNeeded();
    EXPECT_EQ(250, later->Width());
}

TEST_F(Forms, WindowStylesFollowBorderStyleIconsAndFormStyle)
{
    auto form = NewForm<TForm>();
    form->SetBorderStyle(bsDialog);
    form->SetBorderIcons(biSystemMenu | biMinimize);
    HWND wnd = form->Handle();
    EXPECT_EQ(Application->Handle(), GetWindow(wnd, GW_OWNER)) << "every form is owned by the application window";
    EXPECT_EQ(LONG_PTR(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME),
              Style(wnd) & (WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_MINIMIZEBOX | WS_THICKFRAME));
    EXPECT_NE(0, ExStyle(wnd) & WS_EX_DLGMODALFRAME);
    EXPECT_FALSE(TopMost(wnd));

    form->SetBorderIcons(0);
    EXPECT_EQ(0, Style(wnd) & WS_SYSMENU);
    form->SetFormStyle(fsStayOnTop);
    EXPECT_TRUE(TopMost(wnd));

    auto plain = NewForm<TForm>();
    plain->SetBorderStyle(bsNone);
    EXPECT_EQ(LONG_PTR(WS_POPUP), Style(plain->Handle()) & (WS_POPUP | WS_CAPTION | WS_THICKFRAME));
    auto sizeable = NewForm<TForm>();
    sizeable->SetFormStyle(fsStayOnTop);
    const LONG_PTR all = WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    EXPECT_EQ(all, Style(sizeable->Handle()) & all);
    EXPECT_TRUE(TopMost(sizeable->Handle()));
}

TEST_F(Forms, ShowRunsOnShowFirstThenCentresShowsAndFocuses)
{
    auto panel = new TBox(Form.get(), 200, 100);
    panel->SetParent(Form.get());
    std::vector<std::string> clicks;
    TButton* first = NewButton(panel, 10, "a", clicks);
    NewButton(panel, 60, "b", clicks);
    Form->SetPosition(poScreenCenter);
    bool hiddenDuringOnShow = false;
    Form->OnShow = [&](TObject*) {
        hiddenDuringOnShow = !IsWindowVisible(Form->Handle());
        Form->SetBounds(0, 0, 240, 180);  // sized at show time, as the message box is
    };
    ShowForm();
    EXPECT_TRUE(hiddenDuringOnShow);
    EXPECT_TRUE(IsWindowVisible(Form->Handle()));
    RECT r{};
    GetWindowRect(Form->Handle(), &r);
    EXPECT_EQ(Bounds(RECT{392, 294, 632, 474}), Bounds(r)) << "centred on the 1024 x 768 screen at the new size";
    EXPECT_EQ(first->Handle(), GetFocus()) << "the first control in tab order, inside the panel";
}

TEST_F(Forms, AFailingOnShowIsReportedAndTheFormIsShownAnyway)
{
    std::vector<std::string> reports;
    Application->OnException = [&](TObject*, const std::exception* E) { reports.push_back(E->what()); };
    Form->OnShow = [](TObject*) { throw Exception("no show"); };
    ShowForm();
    EXPECT_EQ(std::vector<std::string>{"no show"}, reports);
    EXPECT_TRUE(IsWindowVisible(Form->Handle()));
}

// ---- modal show and closing ----

TEST_F(Forms, ShowModalRunsUntilAModalResultWithTheOtherWindowsDisabled)
{
    ShowForm();
    auto dialog = NewForm<TModalForm>();
    dialog->SetModalResult(mrYes);  // reset when the loop starts
    bool otherDisabled = false, dialogShown = false;
    dialog->OnPosted = [&] {
        otherDisabled = !IsWindowEnabled(Form->Handle());
        dialogShown = IsWindowVisible(dialog->Handle()) != FALSE;
    };
    PostMessageA(dialog->Handle(), PostedModalResult, mrOk, 0);
    EXPECT_EQ(mrOk, dialog->ShowModal());
    EXPECT_TRUE(otherDisabled);
    EXPECT_TRUE(dialogShown);
    EXPECT_FALSE(IsWindowVisible(dialog->Handle()));
    EXPECT_TRUE(IsWindowEnabled(Form->Handle()));
    EXPECT_FALSE(dialog->Modal());
}

TEST_F(Forms, ARefusedCloseQueryKeepsTheModalLoopGoing)
{
    auto dialog = NewForm<TModalForm>();
    int queries = 0, closes = 0;
    dialog->OnCloseQuery = [&](TObject*, bool& CanClose) { CanClose = ++queries > 1; };
    dialog->OnClose = [&](TObject*, TCloseAction& Action) {
        EXPECT_EQ(caHide, Action);
        ++closes;
    };
    PostMessageA(dialog->Handle(), WM_CLOSE, 0, 0);
    PostMessageA(dialog->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(mrCancel, dialog->ShowModal());
    EXPECT_EQ(2, queries);
    EXPECT_EQ(1, closes);
}

TEST_F(Forms, CloseAppliesTheCloseAction)
{
    TCloseAction action = caHide;
    Form->OnClose = [&](TObject*, TCloseAction& Action) { Action = action; };
    ShowForm();
    action = caNone;
    Form->Close();
    EXPECT_TRUE(IsWindowVisible(Form->Handle()));
    action = caHide;
    SendMessageA(Form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindowVisible(Form->Handle()));
    EXPECT_FALSE(Form->Visible());

    ShowForm();
    action = caFree;
    std::vector<std::string> log;
    auto* doomed = Form.release();
    struct TWatch : TComponent {
        std::vector<std::string>& Log;
        TWatch(TComponent* O, std::vector<std::string>& L) : TComponent(O), Log(L) {}
        ~TWatch() override { Log.push_back("freed"); }
    };
    new TWatch(doomed, log);
    doomed->Close();
    EXPECT_TRUE(log.empty()) << "freed later, not inside Close";
    Pump();
    EXPECT_EQ(std::vector<std::string>{"freed"}, log);
}

TEST(Application, RunShowsTheMainFormAndEndsWhenItCloses)
{
    TApplication* saved = Application;
    Application = new TApplication(nullptr);
    Application->Initialize();
    Application->SetTitle("标题");
    char title[32] = {};
    GetWindowTextA(Application->Handle(), title, sizeof title);
    EXPECT_STREQ("标题", title);
    TModalForm* main = nullptr;
    Application->CreateForm(main);
    TModalForm* second = nullptr;
    Application->CreateForm(second);
    EXPECT_EQ(main, Application->MainForm()) << "the first form created";
    bool shown = false;
    main->OnShow = [&](TObject*) {
        shown = true;
        PostMessageA(main->Handle(), WM_CLOSE, 0, 0);
    };
    Application->Run();
    EXPECT_TRUE(shown);
    EXPECT_TRUE(Application->Terminated());
    delete Application;
    Application = saved;
}

// ---- dialog keys ----

TEST_F(Forms, EnterAndEscapeClickTheButtonsThatTheirKindsName)
{
    std::vector<std::string> clicks;
    auto* hidden = NewButton(Form.get(), 10, "hidden", clicks);
    auto* disabled = NewButton(Form.get(), 60, "disabled", clicks);
    auto* cancel = NewButton(Form.get(), 110, "cancel", clicks);
    auto* laterCancel = NewButton(Form.get(), 160, "later", clicks);
    auto* other = NewButton(Form.get(), 210, "other", clicks);
    for (TButton* b : {hidden, disabled, cancel, laterCancel}) b->SetCancel(true);
    hidden->SetVisible(false);
    disabled->SetEnabled(false);
    laterCancel->SetDefault(true);
    auto* eater = new TKeyEater(Form.get(), 50, 50);
    eater->SetBounds(10, 100, 50, 50);
    eater->SetParent(Form.get());
    auto* plain = new TBox(Form.get(), 50, 50);
    plain->SetBounds(70, 100, 50, 50);
    plain->SetParent(Form.get());
    ShowForm();
    auto press = [&](WPARAM Key) {
        PostMessageA(GetFocus(), WM_KEYDOWN, Key, 1);
        Pump();
    };
    other->SetFocus();
    press(VK_ESCAPE);
    EXPECT_EQ(std::vector<std::string>{"cancel"}, clicks) << "the first visible, enabled cancel button";
    press(VK_RETURN);
    EXPECT_EQ((std::vector<std::string>{"cancel", "other"}), clicks) << "Enter clicks the focused button";

    eater->SetFocus();
    press(VK_RETURN);
    EXPECT_EQ(1, eater->Returns) << "a control that wants every key gets Enter itself";
    EXPECT_EQ(2u, clicks.size());

    plain->SetFocus();
    press(VK_RETURN);
    EXPECT_EQ((std::vector<std::string>{"cancel", "other", "later"}), clicks) << "else the default button";

    cancel->SetFocus();
    press(VK_TAB);
    EXPECT_EQ(laterCancel->Handle(), GetFocus()) << "Tab moves on in tab order";
}

TEST_F(Forms, CtrlTabReachesTheControlThatPagesInsteadOfMovingTheFocus)
{
    std::vector<std::string> clicks;
    TButton* button = NewButton(Form.get(), 10, "a", clicks);
    NewButton(Form.get(), 60, "b", clicks);
    auto* pager = new TPager(Form.get(), 50, 50);
    pager->SetBounds(10, 100, 50, 50);
    pager->SetParent(Form.get());
    ShowForm();
    button->SetFocus();
    for (bool shift : {false, true}) {
        THeldKeys held = shift ? THeldKeys{VK_CONTROL, VK_SHIFT} : THeldKeys{VK_CONTROL};
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
        Pump();
    }
    EXPECT_EQ((std::vector<std::string>{"forward", "back"}), pager->Pages);
    EXPECT_EQ(button->Handle(), GetFocus()) << "the focus stays where it was";
}

TEST_F(Forms, EscapeInAModalFormReturnsTheCancelButtonsResult)
{
    auto dialog = NewForm<TModalForm>();
    std::vector<std::string> clicks;
    TButton* ok = NewButton(dialog.get(), 10, "ok", clicks);
    ok->SetModalResult(mrOk);
    TButton* no = NewButton(dialog.get(), 60, "no", clicks);
    no->SetModalResult(mrNo);
    no->SetCancel(true);
    dialog->OnShow = [&](TObject*) { PostMessageA(ok->Handle(), WM_KEYDOWN, VK_ESCAPE, 1); };
    EXPECT_EQ(mrNo, dialog->ShowModal());
    EXPECT_EQ(std::vector<std::string>{"no"}, clicks);
}

// ---- top-most windows of the application ----

namespace {

bool Below(HWND Lower, HWND Upper)
{
    for (HWND w = GetWindow(Upper, GW_HWNDNEXT); w; w = GetWindow(w, GW_HWNDNEXT))
        if (w == Lower) return true;
    return false;
}

}  // namespace

TEST(TopMosts, OwnedTopMostWindowsStepOutOfTheBandAndBackNestingCounted)
{
    Application->Initialize();
    // From the top: two top-most palettes of ours, another program's window, an ordinary window of ours.
    testsupport::TPopupWindow ordinary(0, Application->Handle(), 10);
    testsupport::TPopupWindow foreign(0, nullptr, 120);
    testsupport::TPopupWindow lower(WS_EX_TOPMOST, Application->Handle(), 230);
    testsupport::TPopupWindow upper(WS_EX_TOPMOST, Application->Handle(), 340);
    testsupport::TPopupWindow foreignTopMost(WS_EX_TOPMOST, nullptr, 450);
    ASSERT_TRUE(TopMost(upper.Handle()) && TopMost(lower.Handle()));

    Application->NormalizeTopMosts();
    EXPECT_FALSE(TopMost(upper.Handle()));
    EXPECT_FALSE(TopMost(lower.Handle()));
    EXPECT_TRUE(Below(upper.Handle(), foreign.Handle())) << "behind the window above the ordinary one";
    EXPECT_TRUE(Below(lower.Handle(), upper.Handle())) << "in their order";
    EXPECT_TRUE(TopMost(foreignTopMost.Handle())) << "windows of others are left alone";

    Application->NormalizeTopMosts();
    Application->RestoreTopMosts();
    EXPECT_FALSE(TopMost(upper.Handle())) << "only the outermost pair acts";
    Application->RestoreTopMosts();
    EXPECT_TRUE(TopMost(upper.Handle()));
    EXPECT_TRUE(TopMost(lower.Handle()));
    Application->RestoreTopMosts();  // one too many changes nothing
    EXPECT_TRUE(TopMost(upper.Handle()));

    TApplication windowless(nullptr);
    windowless.NormalizeTopMosts();
    EXPECT_TRUE(TopMost(upper.Handle())) << "an application without a window does nothing";
}

// ---- message boxes and the exception report ----

TEST_F(Forms, MessageBoxIsOwnedByTheApplicationAndDisablesTheOtherWindows)
{
    ShowForm();
    Form->SetActiveControl(nullptr);
    SetFocus(Form->Handle());
    int result = 0;
    TBoxSeen seen;
    {
        TBoxWatcher watcher(IDCANCEL, Form->Handle());
        result = Application->MessageBox("正文", "标题", MB_OKCANCEL);
        Sleep(1);
        seen = watcher.Seen;
    }
    ASSERT_TRUE(seen.Found);
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ("标题", seen.Caption);
    EXPECT_EQ("正文", seen.Text);
    EXPECT_EQ(Application->Handle(), seen.Owner);
    EXPECT_EQ(2, seen.Buttons);
    EXPECT_FALSE(seen.WatchedEnabled) << "the form is disabled while the box is open";
    EXPECT_TRUE(IsWindowEnabled(Form->Handle()));
    EXPECT_EQ(Form->Handle(), GetActiveWindow());
    EXPECT_EQ(Form->Handle(), GetFocus());
}

TEST_F(Forms, ShowMessageAndTheExceptionReportUseTheApplicationTitle)
{
    const std::string title = Application->Title();
    Application->SetTitle("Quintaro卸载");
    TBoxSeen seen;
    {
        TBoxWatcher watcher(IDOK);
        ShowMessage("你好");
        seen = watcher.Seen;
    }
    EXPECT_EQ("Quintaro卸载", seen.Caption);
    EXPECT_EQ("你好", seen.Text);
    EXPECT_EQ(1, seen.Buttons);
    EXPECT_FALSE(seen.Icon);

    class TFailing : public TBox {
    public:
        using TBox::TBox;

    protected:
        void WndProc(TMessage& Message) override
        {
            if (Message.Msg == WM_USER + 30) throw Exception("磁盘已满");
            TBox::WndProc(Message);
        }
    };
    auto* failing = new TFailing(Form.get());
    failing->SetParent(Form.get());
    {
        TBoxWatcher watcher(IDOK);
        EXPECT_EQ(0, SendMessageA(failing->Handle(), WM_USER + 30, 0, 0));
        seen = watcher.Seen;
    }
    EXPECT_EQ("Quintaro卸载", seen.Caption);
    EXPECT_EQ("磁盘已满", seen.Text);
    EXPECT_EQ(1, seen.Buttons);
    EXPECT_TRUE(seen.Icon) << "the stop icon";
    Application->SetTitle(title);
}

// ---- hints ----

TEST_F(Forms, HintsAskEveryApplicationEventsAndShowWhereTheyAreTold)
{
    auto* box = new TBox(Form.get(), 100, 50);
    box->SetBounds(20, 20, 100, 50);
    box->SetParent(Form.get());
    box->SetHint("第一行\r\n第二行\r\n第三行");
    box->SetShowHint(true);
    ShowForm();
    std::vector<std::string> asked;
    THintInfo firstSeen;
    TApplicationEvents first(nullptr), second(nullptr);
    first.OnShowHint = [&](std::string& HintStr, bool& CanShow, THintInfo& Info) {
        asked.push_back("first");
        firstSeen = Info;
        EXPECT_EQ(Info.HintStr, HintStr);
        EXPECT_TRUE(CanShow);
        Info.HintPos = POINT{500, 400};
        Info.HideTimeout = 150;
    };
    second.OnShowHint = [&](std::string&, bool&, THintInfo&) { asked.push_back("second"); };
    const POINT cursor = box->ClientToScreen(POINT{10, 10});
    Application->ActivateHint(cursor);
    EXPECT_EQ((std::vector<std::string>{"first", "second"}), asked) << "in creation order";
    EXPECT_EQ(box, firstSeen.HintControl);
    EXPECT_EQ(Application->HintHidePause(), firstSeen.HideTimeout);
    EXPECT_EQ(0, firstSeen.ReshowTimeout);
    EXPECT_EQ(cursor.x, firstSeen.HintPos.x);
    EXPECT_GT(firstSeen.HintPos.y, cursor.y) << "below the cursor";
    ASSERT_TRUE(Application->HintShowing());
    RECT r{};
    GetWindowRect(Application->HintWindow(), &r);
    EXPECT_EQ(500, r.left);
    EXPECT_EQ(400, r.top);
    EXPECT_GT(r.bottom - r.top, 3 * 12) << "three lines";
    HDC dc = GetDC(Application->HintWindow());
    EXPECT_EQ(ColorToRGB(clInfoBk), GetPixel(dc, 2, 2));
    ReleaseDC(Application->HintWindow(), dc);
    RunFor(400);
    EXPECT_FALSE(Application->HintShowing()) << "hidden after the hide timeout";

    first.OnShowHint = [](std::string&, bool& CanShow, THintInfo&) { CanShow = false; };
    Application->ActivateHint(cursor);
    EXPECT_FALSE(Application->HintShowing());
}

TEST_F(Forms, AHintOpensWhenThePointerRestsAndIsReshownWhileItStays)
{
    auto* box = new TBox(Form.get(), 100, 50);
    box->SetBounds(20, 20, 100, 50);
    box->SetParent(Form.get());
    box->SetHint("提示");
    box->SetShowHint(true);
    ShowForm();
    int asked = 0;
    TApplicationEvents events(nullptr);
    events.OnShowHint = [&](std::string&, bool&, THintInfo& Info) {
        ++asked;
        Info.ReshowTimeout = 100;
        Info.HideTimeout = 150;
    };
    const POINT p = box->ClientToScreen(POINT{10, 10});
    SetCursorPos(p.x, p.y);
    RunFor(300);
    EXPECT_FALSE(Application->HintShowing()) << "not before the pause";
    RunFor(500);
    EXPECT_TRUE(Application->HintShowing());
    EXPECT_GE(asked, 2) << "re-evaluated while the pointer stays";
    SetCursorPos(1000, 760);
    RunFor(300);
    EXPECT_FALSE(Application->HintShowing());
}
