// The component core on real windows: ownership, the one message path, alignment, windowless children, mouse
// tracking, fonts and colours, tab order.
#include <windowsx.h>

#include "CoreSupport.h"
#include "TestSupport.h"
#include "WindowSupport.h"

using namespace coretest;

namespace {

// Logs its name when freed, and whether each watched window still existed at that moment.
class TLogged : public TComponent {
public:
    TLogged(TComponent* AOwner, std::string Name, std::vector<std::string>& Log)
        : TComponent(AOwner), FName(std::move(Name)), FLog(Log)
    {
    }
    ~TLogged() override
    {
        std::string entry = FName;
        for (HWND wnd : Watched) entry += IsWindow(wnd) ? " window" : " gone";
        FLog.push_back(entry);
    }
    std::vector<HWND> Watched;

private:
    std::string FName;
    std::vector<std::string>& FLog;
};

class TLoggedBox : public TBox {
public:
    TLoggedBox(TComponent* AOwner, std::vector<std::string>& Log) : TBox(AOwner), FLog(Log) {}
    ~TLoggedBox() override { FLog.push_back("box"); }

private:
    std::vector<std::string>& FLog;
};

// A superclassed stock push button.
class TStockButton : public TWinControl {
public:
    explicit TStockButton(TComponent* AOwner) : TWinControl(AOwner)
    {
        SetBounds(0, 0, 60, 24);
        SetTabStop(true);
    }

protected:
    void CreateParams(TCreateParams& Params) override
    {
        TWinControl::CreateParams(Params);
        Params.StockClass = "BUTTON";
        Params.Style |= BS_PUSHBUTTON;
    }
};

// Fails on one message, counts another.
class TThrowingBox : public TBox {
public:
    using TBox::TBox;
    static constexpr UINT Fail = WM_USER + 7, Count = WM_USER + 8;
    int Counted = 0;

protected:
    void WndProc(TMessage& Message) override
    {
        if (Message.Msg == Fail) throw Exception("kaputt");
        if (Message.Msg == Count) ++Counted;
        TBox::WndProc(Message);
    }
};

template <class T>
T* Child(TWinControl* Parent, int Left, int Top, int Width, int Height)
{
    T* control = new T(Parent->Owner() ? Parent->Owner() : Parent);
    control->SetBounds(Left, Top, Width, Height);
    control->SetParent(Parent);
    return control;
}

using testsupport::ClientPixel;

}  // namespace

// ---- ownership ----

TEST(Ownership, WindowsGoBeforeTheNonVisualComponentsAndOwnedOnesGoInReverseOrder)
{
    std::vector<std::string> log;
    auto* form = TCustomForm::Create<TForm>(nullptr);
    auto* first = new TLogged(form, "first", log);
    auto* box = new TLoggedBox(form, log);
    box->SetParent(form);
    auto* last = new TLogged(form, "last", log);
    const HWND formWnd = form->Handle(), boxWnd = box->Handle();
    first->Watched = last->Watched = {formWnd, boxWnd};
    delete form;
    EXPECT_EQ((std::vector<std::string>{"last gone gone", "box", "first gone gone"}), log);
}

TEST(Ownership, ControlsUnlinkFromTheirParentAndWindowsTheirControl)
{
    auto form = std::unique_ptr<TForm>(TCustomForm::Create<TForm>(nullptr));
    auto* panel = Child<TBox>(form.get(), 0, 0, 100, 100);
    auto* swatch = new TSwatch(nullptr);
    swatch->SetParent(panel);
    auto* box = new TBox(nullptr);
    box->SetParent(panel);
    ASSERT_EQ(2, panel->ControlCount());

    delete swatch;
    EXPECT_EQ(1, panel->ControlCount());
    EXPECT_EQ(box, panel->Controls(0));

    const HWND boxWnd = box->Handle();
    EXPECT_EQ(box, TWinControl::FindControl(boxWnd));
    EXPECT_EQ(nullptr, TWinControl::FindControl(GetDesktopWindow())) << "not a window of ours";
    DestroyWindow(boxWnd);
    EXPECT_FALSE(box->HandleAllocated()) << "WM_NCDESTROY forgets the window";
    EXPECT_EQ(nullptr, TWinControl::FindControl(boxWnd));

    delete panel;  // before its child, which only forgets it
    EXPECT_EQ(nullptr, box->Parent());
    delete box;
}

// ---- the message path ----

TEST_F(CoreFixture, StackedHooksSeeWhatPerformAndWindowsSend)
{
    constexpr UINT Ask = WM_USER + 1;
    auto* box = Child<TBox>(Form.get(), 0, 0, 50, 50);
    TMessageLog log;
    log.Spy(*box, "before", {Ask, WM_SETTEXT});
    // A hook that passes everything on and answers one message afterwards.
    TWndMethod saved = box->WindowProc;
    box->WindowProc = [saved](TMessage& M) {
        saved(M);
        if (M.Msg == Ask) M.Result = 42;
    };
    log.Spy(*box, "after", {Ask, WM_SETTEXT});
    const HWND wnd = box->Handle();

    EXPECT_EQ(42, box->Perform(Ask));
    EXPECT_EQ(42, SendMessageA(wnd, Ask, 0, 0));
    PostMessageA(wnd, Ask, 0, 0);
    Pump();
    const std::string a = "after:" + IntToHex(Ask, 4), b = "before:" + IntToHex(Ask, 4);
    EXPECT_EQ((std::vector<std::string>{a, b, a, b, a, b}), log.Entries());

    log.Clear();
    box->SetTextBuf("text");
    char text[16] = {};
    GetWindowTextA(wnd, text, sizeof text);
    EXPECT_STREQ("text", text) << "the end of the chain is the system's default procedure";
    EXPECT_EQ((std::vector<std::string>{"after:000C", "before:000C"}), log.Entries());
}

TEST_F(CoreFixture, AFailingHandlerIsReportedAndTheLoopGoesOn)
{
    std::vector<std::string> reports;
    Application->OnException = [&](TObject*, const std::exception* E) { reports.push_back(E ? E->what() : "?"); };
    auto* box = Child<TThrowingBox>(Form.get(), 0, 0, 50, 50);
    const HWND wnd = box->Handle();
    PostMessageA(wnd, TThrowingBox::Fail, 0, 0);
    PostMessageA(wnd, TThrowingBox::Count, 0, 0);
    Pump();
    EXPECT_EQ(std::vector<std::string>{"kaputt"}, reports);
    EXPECT_EQ(1, box->Counted) << "the message after the failure is handled";
    EXPECT_EQ(0, SendMessageA(wnd, TThrowingBox::Fail, 0, 0));
    EXPECT_EQ(2u, reports.size());
}

TEST_F(CoreFixture, StockControlsAreSuperclassedOnTheOneProcedure)
{
    auto* button = Child<TStockButton>(Form.get(), 10, 10, 60, 24);
    auto* box = Child<TBox>(Form.get(), 100, 10, 20, 20);
    const HWND wnd = button->Handle();
    char name[64] = {};
    GetClassNameA(wnd, name, sizeof name);
    EXPECT_STREQ("Quintaro.BUTTON", name);
    EXPECT_EQ(GetWindowLongPtrA(box->Handle(), GWLP_WNDPROC), GetWindowLongPtrA(wnd, GWLP_WNDPROC));
    EXPECT_EQ(button, TWinControl::FindControl(wnd));

    button->Perform(BM_SETSTATE, 1);
    EXPECT_NE(0, SendMessageA(wnd, BM_GETSTATE, 0, 0) & BST_PUSHED) << "default processing is the stock one";

    // The parent's WM_COMMAND comes back to the button as CN_COMMAND.
    TMessageLog log;
    log.Spy(*button, "button", {CN_COMMAND});
    SendMessageA(wnd, BM_CLICK, 0, 0);
    EXPECT_EQ(std::vector<std::string>{"button:" + IntToHex(CN_COMMAND, 4)}, log.Entries());
}

// ---- alignment ----

TEST_F(CoreFixture, AlignedChildrenStackAlongTheEdgesAndTheClientFillsTheRest)
{
    auto* top1 = Child<TBox>(Form.get(), 0, 0, 10, 10);
    auto* top2 = Child<TSwatch>(Form.get(), 0, 5, 10, 20);
    auto* bottomNear = Child<TBox>(Form.get(), 0, 100, 10, 25);   // bottom edge 125
    auto* bottomFar = Child<TSwatch>(Form.get(), 0, 150, 10, 15);  // bottom edge 165: goes lowest
    auto* left = Child<TBox>(Form.get(), 0, 0, 30, 10);
    auto* right = Child<TBox>(Form.get(), 0, 0, 40, 10);
    auto* client = Child<TSwatch>(Form.get(), 0, 0, 10, 10);
    for (auto [control, align] : std::vector<std::pair<TControl*, TAlign>>{
             {client, alClient}, {right, alRight}, {left, alLeft}, {bottomNear, alBottom}, {bottomFar, alBottom},
             {top2, alTop}, {top1, alTop}})
        control->SetAlign(align);
    EXPECT_EQ("0,0,10,10", Bounds(*top1)) << "nothing is laid out before the parent has a window";

    Form->HandleNeeded();
    EXPECT_EQ("0,0,300,10", Bounds(*top1));
    EXPECT_EQ("0,10,300,30", Bounds(*top2));
    EXPECT_EQ("0,185,300,200", Bounds(*bottomFar));
    EXPECT_EQ("0,160,300,185", Bounds(*bottomNear));
    EXPECT_EQ("0,30,30,160", Bounds(*left));
    EXPECT_EQ("260,30,300,160", Bounds(*right));
    EXPECT_EQ("30,30,260,160", Bounds(*client));

    top1->Hide();
    EXPECT_EQ("0,0,300,20", Bounds(*top2)) << "an invisible control takes no space";
    EXPECT_EQ("30,20,260,160", Bounds(*client));
    top1->Show();
    EXPECT_EQ("0,10,300,30", Bounds(*top2));

    Form->SetBounds(40, 40, 400, 300);
    EXPECT_EQ("0,10,400,30", Bounds(*top2));
    EXPECT_EQ("360,30,400,260", Bounds(*right));
}

TEST_F(CoreFixture, ATopControlGivenAParentLastLandsAboveTheOthers)
{
    auto* designed = Child<TBox>(Form.get(), 0, 0, 300, 10);
    designed->SetAlign(alTop);
    auto* bar = new TBox(Form.get(), 100, 22);
    bar->SetAlign(alTop);
    bar->SetParent(Form.get());  // as a title bar joins a form after its layout, before the window exists
    Form->HandleNeeded();
    EXPECT_EQ("0,0,300,22", Bounds(*bar));
    EXPECT_EQ("0,22,300,32", Bounds(*designed));

    auto* late = new TBox(Form.get(), 100, 5);
    late->SetAlign(alTop);
    late->SetParent(Form.get());  // the window exists now
    EXPECT_EQ("0,0,300,5", Bounds(*late));
    EXPECT_EQ("0,5,300,27", Bounds(*bar));
    Form->SetBounds(40, 40, 250, 200);
    EXPECT_EQ("0,5,250,27", Bounds(*bar)) << "a later layout keeps the order";
}

TEST_F(CoreFixture, AnchorsKeepTheDistanceToTheRightAndBottomEdges)
{
    auto* corner = Child<TBox>(Form.get(), 200, 150, 50, 30);
    corner->SetAnchors(akRight | akBottom);
    auto* stretched = Child<TSwatch>(Form.get(), 10, 10, 100, 20);
    stretched->SetAnchors(akLeft | akTop | akRight);
    auto* fixed = Child<TBox>(Form.get(), 10, 50, 30, 30);
    Form->HandleNeeded();
    Form->SetBounds(40, 40, 400, 260);
    EXPECT_EQ("300,210,350,240", Bounds(*corner));
    EXPECT_EQ("10,10,210,30", Bounds(*stretched));
    EXPECT_EQ("10,50,40,80", Bounds(*fixed));
    corner->SetLeft(100);  // moved by the program: the new place is the one kept
    Form->SetBounds(40, 40, 300, 200);
    EXPECT_EQ("0,150,50,180", Bounds(*corner));
}

// ---- windowless children ----

TEST_F(CoreFixture, WindowlessChildrenArePaintedInZOrderAndClippedToTheirBounds)
{
    Form->SetColor(RGBColor(0, 160, 0));
    auto* red = new TSwatch(Form.get(), RGBColor(255, 0, 0));
    red->SetBounds(10, 10, 40, 40);
    red->SetParent(Form.get());
    auto* blue = new TSwatch(Form.get(), RGBColor(0, 0, 255));
    blue->SetBounds(30, 30, 40, 40);
    blue->SetParent(Form.get());
    ShowForm();
    const HWND wnd = Form->Handle();
    EXPECT_EQ(RGB(255, 0, 0), ClientPixel(wnd, 15, 15));
    EXPECT_EQ(RGB(0, 0, 255), ClientPixel(wnd, 40, 40)) << "the later one is on top";
    EXPECT_EQ(RGB(0, 160, 0), ClientPixel(wnd, 5, 5));
    EXPECT_EQ(RGB(0, 160, 0), ClientPixel(wnd, 75, 75)) << "each paints only inside its bounds";

    red->BringToFront();
    Form->Update();
    EXPECT_EQ(RGB(255, 0, 0), ClientPixel(wnd, 40, 40));

    ValidateRect(wnd, nullptr);
    blue->Invalidate();
    RECT update{};
    GetUpdateRect(wnd, &update, FALSE);
    EXPECT_EQ("30,30,70,70", Bounds(update)) << "invalidating it invalidates its rectangle in the parent";

    Form->SetDoubleBuffered(true);
    Form->Repaint();
    EXPECT_EQ(RGB(0, 0, 255), ClientPixel(wnd, 65, 65));
    EXPECT_EQ(RGB(255, 0, 0), ClientPixel(wnd, 40, 40));

    // Changes made while the window is off screen ask it for no repaint; the next show paints them all.
    Form->Hide();
    blue->BringToFront();
    red->SetBounds(80, 10, 10, 10);
    ShowForm();
    EXPECT_EQ(RGB(0, 0, 255), ClientPixel(wnd, 40, 40));
    EXPECT_EQ(RGB(0, 160, 0), ClientPixel(wnd, 15, 15));
    EXPECT_EQ(RGB(255, 0, 0), ClientPixel(wnd, 85, 15));
}

TEST_F(CoreFixture, MouseMessagesReachTheWindowlessChildUnderThePointerUntilTheRelease)
{
    auto* swatch = Child<TSwatch>(Form.get(), 150, 10, 40, 40);
    auto* disabled = Child<TSwatch>(Form.get(), 10, 100, 40, 40);
    disabled->SetEnabled(false);
    ShowForm();
    const HWND wnd = Form->Handle();
    SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(160, 20));
    EXPECT_EQ(wnd, GetCapture());
    SendMessageA(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(250, 150));
    SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(250, 150));
    EXPECT_NE(wnd, GetCapture());
    ASSERT_EQ(3u, swatch->Mouse.size());
    EXPECT_EQ(UINT(WM_LBUTTONDOWN), swatch->Mouse[0].Msg);
    EXPECT_EQ(10, GET_X_LPARAM(swatch->Mouse[0].LParam));
    EXPECT_EQ(10, GET_Y_LPARAM(swatch->Mouse[0].LParam));
    EXPECT_EQ(UINT(WM_LBUTTONUP), swatch->Mouse[2].Msg) << "the release goes to the control that got the press";
    EXPECT_EQ(100, GET_X_LPARAM(swatch->Mouse[2].LParam));
    EXPECT_EQ(140, GET_Y_LPARAM(swatch->Mouse[2].LParam));

    SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 110));
    SendMessageA(wnd, WM_LBUTTONUP, 0, MAKELPARAM(20, 110));
    SendMessageA(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(100, 100));
    EXPECT_TRUE(disabled->Mouse.empty()) << "a disabled control gets no mouse messages";
    EXPECT_EQ(3u, swatch->Mouse.size()) << "nor does one away from the pointer";
}

// ---- mouse enter and leave, on real pointer moves ----

TEST_F(CoreFixture, EnterAndLeaveFollowThePointer)
{
    auto* box = Child<TBox>(Form.get(), 10, 10, 100, 50);
    auto* swatch = Child<TSwatch>(Form.get(), 150, 10, 40, 40);
    TMessageLog log;
    for (auto [control, name] : std::vector<std::pair<TControl*, const char*>>{
             {box, "box"}, {swatch, "swatch"}, {Form.get(), "form"}})
        log.Spy(*control, name, {CM_MOUSEENTER, CM_MOUSELEAVE});
    ShowForm();
    auto moveTo = [&](int X, int Y) {
        const POINT p = Form->ClientToScreen(POINT{X, Y});
        SetCursorPos(p.x, p.y);
        RunFor(60);
    };
    moveTo(20, 20);
    EXPECT_EQ(std::vector<std::string>{"box:B013"}, log.Entries());
    EXPECT_EQ(box, MouseControl());
    moveTo(160, 20);
    EXPECT_EQ((std::vector<std::string>{"box:B013", "box:B014", "swatch:B013"}), log.Entries());
    moveTo(250, 150);
    EXPECT_EQ((std::vector<std::string>{"box:B013", "box:B014", "swatch:B013", "swatch:B014", "form:B013"}),
              log.Entries());
    SetCursorPos(1000, 760);
    RunFor(60);
    EXPECT_EQ("form:B014", log.Entries().back()) << "off every window of ours";
    EXPECT_EQ(nullptr, MouseControl());
}

TEST_F(CoreFixture, LeavingForAForeignWindowIsNoticedWithoutIdling)
{
    auto* box = Child<TBox>(Form.get(), 10, 10, 100, 50);
    TMessageLog log;
    log.Spy(*box, "box", {CM_MOUSEENTER, CM_MOUSELEAVE});
    ShowForm();
    const POINT p = box->ClientToScreen(POINT{20, 20});
    SetCursorPos(p.x, p.y);
    RunFor(60);
    ASSERT_EQ(std::vector<std::string>{"box:B013"}, log.Entries());
    SetCursorPos(1000, 760);
    // Only messages, no idle pass: the window's WM_MOUSELEAVE has to tell.
    testsupport::WaitUntil([&] {
        Application->ProcessMessages();
        return log.Entries().size() >= 2;
    }, 2000);
    EXPECT_EQ((std::vector<std::string>{"box:B013", "box:B014"}), log.Entries());
}

// ---- fonts and colours ----

TEST_F(CoreFixture, ChildrenFollowTheParentsFontAndColourUntilTheyHaveTheirOwn)
{
    Form->Font().SetHeight(-13);
    auto* button = new TStockButton(Form.get());
    struct TSeen {
        UINT Msg;
        WPARAM WParam;
        LPARAM LParam;
    };
    auto seen = std::make_shared<std::vector<TSeen>>();
    TWndMethod old = button->WindowProc;
    button->WindowProc = [seen, old](TMessage& M) {
        if (M.Msg == CM_PARENTFONTCHANGED || M.Msg == CM_PARENTCOLORCHANGED) seen->push_back({M.Msg, M.WParam, M.LParam});
        old(M);
    };
    button->SetParent(Form.get());
    ASSERT_EQ(2u, seen->size()) << "a new parent sends both notifications";
    EXPECT_EQ(-13, button->Font().Height());
    EXPECT_TRUE(button->ParentFont());
    const HWND wnd = button->Handle();
    EXPECT_EQ(reinterpret_cast<LRESULT>(button->Font().Handle()), SendMessageA(wnd, WM_GETFONT, 0, 0));

    seen->clear();
    Form->Font().SetHeight(-20);
    ASSERT_FALSE(seen->empty());
    EXPECT_EQ(UINT(CM_PARENTFONTCHANGED), seen->front().Msg);
    EXPECT_EQ(0u, seen->front().WParam);
    EXPECT_EQ(0, seen->front().LParam);
    EXPECT_EQ(-20, button->Font().Height());
    EXPECT_EQ(reinterpret_cast<LRESULT>(button->Font().Handle()), SendMessageA(wnd, WM_GETFONT, 0, 0))
        << "the window gets the new font";

    button->Font().SetHeight(-9);
    EXPECT_FALSE(button->ParentFont()) << "a font of its own";
    Form->Font().SetName("Arial");
    EXPECT_EQ(-9, button->Font().Height());
    button->SetParentFont(true);
    EXPECT_EQ(-20, button->Font().Height());
    EXPECT_EQ("Arial", button->Font().Name());

    auto* swatch = Child<TSwatch>(Form.get(), 0, 0, 10, 10);
    swatch->SetParentColor(true);
    Form->SetColor(RGBColor(1, 2, 3));
    EXPECT_EQ(RGBColor(1, 2, 3), swatch->Color());
    swatch->SetColor(clWhite);
    EXPECT_FALSE(swatch->ParentColor());
    Form->SetColor(RGBColor(4, 5, 6));
    EXPECT_EQ(clWhite, swatch->Color());
}

// ---- tab order ----

TEST_F(CoreFixture, TabOrderRunsThroughNestedControlsAsTheirTabOrderValuesAsk)
{
    auto* second = Child<TBox>(Form.get(), 0, 0, 100, 100);
    auto* first = Child<TBox>(Form.get(), 100, 0, 100, 100);
    auto* b = Child<TStockButton>(second, 0, 0, 60, 24);
    auto* a = Child<TStockButton>(second, 0, 30, 60, 24);
    auto* c = Child<TStockButton>(first, 0, 0, 60, 24);
    auto* off = Child<TStockButton>(first, 0, 30, 60, 24);
    off->SetTabStop(false);
    // As a layout sets them: each value before the others exist, put right afterwards.
    second->SetTabOrder(1);
    first->SetTabOrder(0);
    b->SetTabOrder(1);
    a->SetTabOrder(0);
    Form->FixupTabList();
    second->FixupTabList();
    EXPECT_EQ(0, first->TabOrder());
    EXPECT_EQ(0, a->TabOrder());
    ShowForm();
    EXPECT_EQ(c, Form->FindNextControl(nullptr, true, true));
    EXPECT_EQ(a, Form->FindNextControl(c, true, true)) << "the button without a tab stop is passed over";
    EXPECT_EQ(b, Form->FindNextControl(a, true, true));
    EXPECT_EQ(c, Form->FindNextControl(b, true, true)) << "round again";
    EXPECT_EQ(b, Form->FindNextControl(c, false, true));
    EXPECT_EQ(c, Form->ActiveControl()) << "a shown form focuses the first control in tab order";
    EXPECT_EQ(c->Handle(), GetFocus());
}

// ---- what new controls build on ----

namespace {

// A superclassed stock control of the given class.
class TStockBox : public TWinControl {
public:
    TStockBox(TComponent* AOwner, const char* StockClass) : TWinControl(AOwner), FStockClass(StockClass) {}

protected:
    void CreateParams(TCreateParams& Params) override
    {
        TWinControl::CreateParams(Params);
        Params.StockClass = FStockClass;
    }

private:
    std::string FStockClass;
};

class TCustomProbe : public TCustomControl {
public:
    using TCustomControl::TCustomControl;
    int Paints = 0;

protected:
    void Paint() override
    {
        ++Paints;
        Canvas().Brush().SetColor(RGBColor(0, 0, 200));
        Canvas().FillRect(RECT{0, 0, 10, 10});
    }
};

}  // namespace

TEST_F(CoreFixture, StockParentsShowWindowlessChildrenAndCommonControlsCanBeSuperclassed)
{
    auto* tabs = new TStockBox(Form.get(), "SysTabControl32");
    tabs->SetBounds(0, 0, 150, 100);
    tabs->SetParent(Form.get());
    auto* swatch = Child<TSwatch>(tabs, 40, 40, 20, 20);
    ShowForm();
    EXPECT_TRUE(tabs->HandleAllocated()) << "the common controls were initialised first";
    EXPECT_EQ(RGB(0, 0, 0), ClientPixel(tabs->Handle(), 50, 50)) << "painted over the stock control";
    EXPECT_NE(RGB(0, 0, 0), ClientPixel(tabs->Handle(), 30, 30));
    swatch->Hide();
    tabs->Update();
    EXPECT_NE(RGB(0, 0, 0), ClientPixel(tabs->Handle(), 50, 50));
}

TEST_F(CoreFixture, RecreatingAWindowKeepsItsTextAndChildren)
{
    auto* box = Child<TBox>(Form.get(), 10, 10, 100, 80);
    auto* inner = Child<TBox>(box, 5, 5, 20, 20);
    ShowForm();
    box->SetCaption("文字");
    const HWND old = box->Handle();
    box->RecreateWnd();
    EXPECT_NE(old, box->Handle());
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ("文字", box->Caption());
    ASSERT_TRUE(inner->HandleAllocated());
    EXPECT_EQ(box->Handle(), GetParent(inner->Handle()));
}

TEST_F(CoreFixture, ACustomControlPaintsOnItsCanvasAndMeasuresOutsidePaint)
{
    auto* probe = Child<TCustomProbe>(Form.get(), 10, 10, 60, 40);
    probe->SetColor(RGBColor(200, 0, 0));
    probe->Font().SetHeight(-24);
    EXPECT_EQ(testsupport::TextExtent(probe->Font(), "宽").cx, probe->Canvas().TextWidth("宽")) << "in its font";
    ShowForm();
    EXPECT_GT(probe->Paints, 0);
    EXPECT_EQ(RGB(0, 0, 200), ClientPixel(probe->Handle(), 5, 5));
    EXPECT_EQ(RGB(200, 0, 0), ClientPixel(probe->Handle(), 30, 30)) << "its colour under what Paint draws";
}
