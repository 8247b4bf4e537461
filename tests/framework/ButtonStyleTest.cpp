// The button style on real windows: messages go in through the system, pixels come back from the window.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <ostream>
#include <vector>

#include "Buttons.h"
#include "CVButtonStyle.h"
#include "Forms.h"
#include "TestSupport.h"
#include "WindowSupport.h"

namespace {

// The two gradients, top row first, as 0xRRGGBB.
const uint32_t NormalRows[18] = {0xFEFEFE, 0xFDFDFD, 0xFCFCFC, 0xFAFAFA, 0xF8F8F8, 0xF7F7F7, 0xF5F5F5, 0xF3F3F3,
                                 0xF1F1F1, 0xE1E1E1, 0xE2E2E2, 0xE4E4E4, 0xE5E5E5, 0xE7E7E7, 0xEBEBEB, 0xEEEEEE,
                                 0xF1F1F1, 0xF4F4F4};
const uint32_t BlueRows[18] = {0xC2E3FA, 0xB3D6F2, 0xA3C8EA, 0x96BDE5, 0x91BBE4, 0x8FBAE7, 0x90BCEA, 0x91BEED,
                               0x90BFF0, 0x6BA8E5, 0x6DAAE8, 0x71AEEC, 0x77B4F2, 0x80BBF7, 0x8CC4FB, 0x9ACFFD,
                               0xABDCFD, 0xBDE9FD};
constexpr COLORREF BorderRGB = RGB(136, 136, 134);
constexpr COLORREF ShadowRGB = RGB(129, 133, 148);
const TButtonStyleColors DefaultColors = {8816776, 14468544, 12952218, 12952218};

COLORREF FromHex(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

struct TBox {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;  // inclusive
    bool Empty() const { return right < left; }
    void Add(int x, int y)
    {
        left = std::min(left, x);
        top = std::min(top, y);
        right = std::max(right, x);
        bottom = std::max(bottom, y);
    }
    bool operator==(const TBox& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    TBox Shifted(int dx, int dy) const { return TBox{left + dx, top + dy, right + dx, bottom + dy}; }
};

std::ostream& operator<<(std::ostream& os, const TBox& b)
{
    return os << "(" << b.left << "," << b.top << ")-(" << b.right << "," << b.bottom << ")";
}

// What a window shows on the screen, read back through its DC.
class TCapture : public testsupport::TClientPixels {
public:
    using TClientPixels::TClientPixels;
    TBox BoxOf(COLORREF c) const
    {
        TBox box;
        ForCaptionArea([&](int x, int y) {
            if (At(x, y) == c) box.Add(x, y);
        });
        return box;
    }
    // Caption pixels: those that differ from the background of their row (column 2 never holds caption ink; the
    // text is antialiased, so any difference counts). Weight sums how far they differ.
    bool IsInk(int x, int y) const { return At(x, y) != At(2, y); }
    TBox Ink(int* count = nullptr, int* weight = nullptr) const
    {
        TBox box;
        int n = 0, w = 0;
        ForCaptionArea([&](int x, int y) {
            if (!IsInk(x, y)) return;
            box.Add(x, y);
            ++n;
            const COLORREF p = At(x, y), b = At(2, y);
            w += std::abs(GetRValue(p) - GetRValue(b)) + std::abs(GetGValue(p) - GetGValue(b)) +
                 std::abs(GetBValue(p) - GetBValue(b));
        });
        if (count) *count = n;
        if (weight) *weight = w;
        return box;
    }
    // Whether column x shows the gradient (stretched to the height) between the top and bottom border rows.
    bool ShowsGradient(const uint32_t (&rows)[18], int x) const
    {
        for (int y = 1; y < Height() - 1; ++y) {
            const int centre = (2 * y + 1) * 18 / (2 * Height());
            bool found = false;
            for (int k = std::max(0, centre - 1); k <= std::min(17, centre + 1); ++k)
                found = found || At(x, y) == FromHex(rows[k]);
            if (!found) return false;
        }
        return true;
    }

private:
    template <class F>
    void ForCaptionArea(F f) const
    {
        for (int y = 1; y < Height() - 1; ++y)
            for (int x = 3; x < Width() - 1; ++x) f(x, y);
    }
};

using testsupport::Pump;

void Redraw(HWND Wnd) { RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }

LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

// A logging hook stacked on a control's window procedure.
struct TSpy {
    std::vector<UINT> Seen;
    void Install(TControl& Control)
    {
        TWndMethod old = Control.WindowProc;
        Control.WindowProc = [this, old](TMessage& M) {
            Seen.push_back(M.Msg);
            old(M);
        };
    }
    bool Saw(UINT Msg) const { return std::find(Seen.begin(), Seen.end(), Msg) != Seen.end(); }
};

TForm* ShowTestForm()
{
    TForm* form = TCustomForm::Create<TForm>(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetBounds(200, 150, 300, 200);
    form->Show();
    return form;
}

// One form for the suite (a top-level window takes Wine seconds to destroy without a window manager); each test's
// buttons go at its end, their styles stay with the form until the suite ends, as they would in the program.
class ButtonStyle : public ::testing::Test {
protected:
    static void SetUpTestSuite() { Form = ShowTestForm(); }
    static void TearDownTestSuite()
    {
        delete Form;
        Form = nullptr;
    }

    void SetUp() override
    {
        // Keep the real pointer away from the form so only the test's messages move the state.
        SetCursorPos(5, 5);
        Pump();
    }

    void TearDown() override
    {
        for (TBitBtn* button : FButtons) delete button;
        FButtons.clear();
        Pump();
    }

    TBitBtn* MakeButton(int Width, int Height, const std::string& Caption = "卸载")
    {
        auto* button = new TBitBtn(Form);
        FButtons.push_back(button);
        button->SetParent(Form);
        button->SetBounds(20, 20, Width, Height);
        button->SetCaption(Caption);
        button->HandleNeeded();
        return button;
    }

    void FreeButton(TBitBtn* Button)
    {
        FButtons.erase(std::find(FButtons.begin(), FButtons.end(), Button));
        delete Button;
    }

    TBitBtn* StyledButton(int Width = 66, int Height = 23, const TButtonStyleColors& Colors = DefaultColors)
    {
        TBitBtn* button = MakeButton(Width, Height);
        CreateButtonStyle(button, Colors);
        Pump();
        return button;
    }

    // Focused first: a press focuses the button, and the focused caption is bold.
    TBitBtn* FocusedButton()
    {
        TBitBtn* button = StyledButton();
        button->SetFocus();
        Pump();
        Redraw(button->Handle());
        return button;
    }

    static TForm* Form;

private:
    std::vector<TBitBtn*> FButtons;
};

TForm* ButtonStyle::Form = nullptr;

bool Grey(HWND Wnd) { return TCapture(Wnd).ShowsGradient(NormalRows, 2); }
bool Blue(HWND Wnd) { return TCapture(Wnd).ShowsGradient(BlueRows, 2); }

// Through the application's loop, whose idle pass tells a control the pointer has come or gone.
template <class F>
bool WaitFor(F Condition)
{
    return testsupport::WaitUntil([&] {
        Application->ProcessMessages();
        return Condition();
    }, 2000);
}

TEST(ButtonStyleLifetime, OwnedByTheButtonsOwnerAndOutlivesTheWindow)
{
    TForm* form = ShowTestForm();
    auto* button = new TBitBtn(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 66, 23);
    button->HandleNeeded();
    const int before = form->ComponentCount();
    TButtonStyle* style = CreateButtonStyle(button, DefaultColors);
    ASSERT_EQ(before + 1, form->ComponentCount());
    EXPECT_EQ(style, form->Components(before));
    // The hook stays: messages to the window still run through the style while the form is freed. The window
    // goes first, so no message reaches a freed style (a crash here would end the test program).
    HWND wnd = button->Handle();
    delete form;
    EXPECT_FALSE(IsWindow(wnd));
}

TEST_F(ButtonStyle, RealCursorMovesTurnItHotAndNormal)
{
    HWND wnd = StyledButton()->Handle();
    ASSERT_TRUE(Grey(wnd));
    POINT centre = {33, 11};
    ClientToScreen(wnd, &centre);
    SetCursorPos(centre.x, centre.y);
    EXPECT_TRUE(WaitFor([&] { return Blue(wnd); })) << "the pointer over the button shows the blue background";
    // Onto the form beside the button: the layer's tracking sends the leave.
    SetCursorPos(centre.x + 150, centre.y + 100);
    EXPECT_TRUE(WaitFor([&] { return Grey(wnd); })) << "the pointer off the button shows the grey background";
}

TEST_F(ButtonStyle, EnterAndLeaveNotificationsSwitchBackground)
{
    HWND wnd = StyledButton()->Handle();
    EXPECT_EQ(1, SendMessageA(wnd, CM_MOUSEENTER, 0, 0));
    EXPECT_TRUE(Blue(wnd));
    EXPECT_EQ(1, SendMessageA(wnd, CM_MOUSELEAVE, 0, 0));
    EXPECT_TRUE(Grey(wnd));
    EXPECT_EQ(1, SendMessageA(wnd, WM_MOUSEMOVE, 0, Point(10, 10)));
    EXPECT_TRUE(Blue(wnd)) << "a plain mouse move makes it hot";
}

TEST_F(ButtonStyle, MouseMoveWithButtonOrModifierKeepsState)
{
    HWND wnd = FocusedButton()->Handle();
    for (WPARAM keys : {WPARAM(MK_LBUTTON), WPARAM(MK_SHIFT), WPARAM(MK_CONTROL), WPARAM(MK_RBUTTON)}) {
        SendMessageA(wnd, WM_MOUSEMOVE, keys, Point(10, 10));
        EXPECT_TRUE(Grey(wnd)) << "keys " << keys;
    }
    SendMessageA(wnd, WM_MOUSEMOVE, 0, Point(10, 10));
    const TBox hot = TCapture(wnd).Ink();
    // A press keeps its pressed look (shifted caption) while dragged over the button.
    SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(10, 10));
    SendMessageA(wnd, WM_MOUSEMOVE, MK_LBUTTON, Point(12, 10));
    TCapture dragged(wnd);
    EXPECT_TRUE(dragged.ShowsGradient(BlueRows, 2));
    EXPECT_EQ(hot.Shifted(1, 1), dragged.Ink());
    SendMessageA(wnd, WM_LBUTTONUP, 0, Point(12, 10));
}

TEST_F(ButtonStyle, PressShiftsCaptionReleaseRunsClickOnceInReleasedLook)
{
    TBitBtn* button = FocusedButton();
    HWND wnd = button->Handle();
    const TCapture normal(wnd);
    ASSERT_FALSE(normal.Ink().Empty());
    SendMessageA(wnd, CM_MOUSEENTER, 0, 0);
    const TBox hot = TCapture(wnd).Ink();

    SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(30, 10));
    TCapture pressed(wnd);
    EXPECT_TRUE(pressed.ShowsGradient(BlueRows, 2));
    EXPECT_EQ(hot.Shifted(1, 1), pressed.Ink()) << "the caption moves one pixel right and down";

    int clicks = 0;
    bool releasedInClick = false;
    button->OnClick = [&](TObject*) {
        ++clicks;
        releasedInClick = TCapture(wnd) == normal;
    };
    SendMessageA(wnd, WM_LBUTTONUP, 0, Point(30, 10));
    EXPECT_EQ(1, clicks);
    EXPECT_TRUE(releasedInClick) << "released look (grey, caption in place) before the click handler runs";
    EXPECT_TRUE(TCapture(wnd) == normal) << "and after it";

    // The second press of a double-click leaves the look alone.
    SendMessageA(wnd, WM_LBUTTONDBLCLK, MK_LBUTTON, Point(30, 10));
    EXPECT_TRUE(TCapture(wnd) == normal);
    SendMessageA(wnd, WM_LBUTTONUP, 0, Point(30, 10));
    // Hot again at the next plain move.
    SendMessageA(wnd, WM_MOUSEMOVE, 0, Point(31, 10));
    EXPECT_TRUE(Blue(wnd));
}

TEST_F(ButtonStyle, KeyboardActivationAndSetStateOnlyRepaint)
{
    TBitBtn* button = FocusedButton();
    HWND wnd = button->Handle();
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    const TCapture normal(wnd);

    SendMessageA(wnd, WM_KEYDOWN, VK_SPACE, 0x00390001);
    EXPECT_TRUE(TCapture(wnd) == normal) << "no pressed look from the keyboard";
    SendMessageA(wnd, WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001));
    EXPECT_EQ(1, clicks);

    EXPECT_EQ(1, SendMessageA(wnd, BM_SETSTATE, 1, 0));
    EXPECT_TRUE(TCapture(wnd) == normal) << "BM_SETSTATE only repaints";
    SendMessageA(wnd, BM_SETSTATE, 0, 0);
}

TEST_F(ButtonStyle, OneOuterPixelIsBorderAtEverySize)
{
    struct Size {
        int w, h;
        const char* caption;
    };
    for (Size s : {Size{66, 23, "卸载"}, Size{68, 22, "取消"}, Size{120, 40, "确定"}, Size{10, 10, ""}}) {
        TBitBtn* button = MakeButton(s.w, s.h, s.caption);
        CreateButtonStyle(button, DefaultColors);
        TCapture c(button->Handle());
        ASSERT_EQ(s.w, c.Width());
        ASSERT_EQ(s.h, c.Height());
        for (int x = 0; x < s.w; ++x) {
            EXPECT_EQ(BorderRGB, c.At(x, 0)) << s.w << "x" << s.h << " top x=" << x;
            EXPECT_EQ(BorderRGB, c.At(x, s.h - 1)) << s.w << "x" << s.h << " bottom x=" << x;
        }
        for (int y = 0; y < s.h; ++y) {
            EXPECT_EQ(BorderRGB, c.At(0, y)) << s.w << "x" << s.h << " left y=" << y;
            EXPECT_EQ(BorderRGB, c.At(s.w - 1, y)) << s.w << "x" << s.h << " right y=" << y;
        }
        EXPECT_NE(BorderRGB, c.At(1, 1)) << "the border is one pixel wide";
        EXPECT_NE(BorderRGB, c.At(s.w - 2, s.h - 2));
        EXPECT_TRUE(c.ShowsGradient(NormalRows, 1)) << s.w << "x" << s.h;
        FreeButton(button);
    }
}

TEST_F(ButtonStyle, GradientRowsPerState)
{
    TBitBtn* button = StyledButton(66, 18);
    HWND wnd = button->Handle();
    auto exact = [&](const uint32_t(&rows)[18]) {
        TCapture c(wnd);
        for (int y = 1; y < 17; ++y)
            for (int x : {1, 2, 64})
                if (c.At(x, y) != FromHex(rows[y])) return false;
        return true;
    };
    EXPECT_TRUE(exact(NormalRows)) << "normal";
    SendMessageA(wnd, CM_MOUSEENTER, 0, 0);
    EXPECT_TRUE(exact(BlueRows)) << "hot";
    SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 5));
    EXPECT_TRUE(exact(BlueRows)) << "pressed";
    SendMessageA(wnd, WM_LBUTTONUP, 0, Point(5, 5));
    EXPECT_TRUE(exact(NormalRows)) << "released";

    // Other heights show the same gradient stretched.
    button->SetBounds(20, 20, 120, 40);
    Redraw(wnd);
    EXPECT_TRUE(TCapture(wnd).ShowsGradient(NormalRows, 3));
    SendMessageA(wnd, CM_MOUSEENTER, 0, 0);
    EXPECT_TRUE(TCapture(wnd).ShowsGradient(BlueRows, 3));
}

TEST_F(ButtonStyle, FocusedCaptionIsBold)
{
    TBitBtn* button = StyledButton(120, 30);
    HWND wnd = button->Handle();
    int plain = 0, plainWeight = 0, bold = 0, boldWeight = 0;
    const TBox plainBox = TCapture(wnd).Ink(&plain, &plainWeight);
    button->SetFocus();
    Pump();
    ASSERT_TRUE(button->Focused());
    const TCapture focused(wnd);
    const TBox boldBox = focused.Ink(&bold, &boldWeight);
    EXPECT_GT(boldWeight, plainWeight + plainWeight / 10) << "more ink";
    EXPECT_GT(boldBox.right - boldBox.left, plainBox.right - plainBox.left) << "wider ink";
    // Neither focus rectangle nor default frame: the ring inside the border is still gradient.
    EXPECT_TRUE(focused.ShowsGradient(NormalRows, 1));
    EXPECT_TRUE(focused.ShowsGradient(NormalRows, 118));
    for (int x = 1; x < 119; ++x) {
        EXPECT_EQ(focused.At(x, 1), focused.At(1, 1)) << x;
        EXPECT_EQ(focused.At(x, 28), focused.At(1, 28)) << x;
    }
}

// A caption large enough that its strokes have fully covered pixels, where the exact colours show through the
// antialiasing.
TBitBtn* LargeCaption(TBitBtn* Button)
{
    Button->Font().SetHeight(-40);
    return Button;
}

TEST_F(ButtonStyle, DisabledCaptionIsEmbossedInEveryState)
{
    TBitBtn* button = LargeCaption(MakeButton(200, 60));
    CreateButtonStyle(button, DefaultColors);
    HWND wnd = button->Handle();
    const TBox enabled = TCapture(wnd).Ink();
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    button->SetEnabled(false);
    Pump();
    auto embossed = [&](const char* state) {
        TCapture c(wnd);
        EXPECT_GT(c.Count(ShadowRGB), 20) << state << ": shadow in the darkened normal colour";
        EXPECT_GT(c.Count(highlight), 20) << state << ": highlight copy";
        EXPECT_EQ(0, c.Count(RGB(0, 0, 0))) << state << ": no caption in the font's own colour";
        // The shadow sits where the enabled caption was; the highlight reaches one pixel further right and down.
        EXPECT_EQ(TBox({enabled.left, enabled.top, enabled.right + 1, enabled.bottom + 1}), c.Ink()) << state;
        for (int y = 2; y < c.Height() - 1; ++y)
            for (int x = 4; x < c.Width() - 1; ++x)
                if (c.At(x, y) == highlight) {
                    ASSERT_TRUE(c.IsInk(x - 1, y - 1)) << state << " " << x << "," << y;
                }
    };
    embossed("normal");
    SendMessageA(wnd, CM_MOUSEENTER, 0, 0);
    EXPECT_TRUE(Blue(wnd));
    embossed("hot");
    SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 5));
    EXPECT_TRUE(Blue(wnd));
    embossed("pressed");
    SendMessageA(wnd, WM_LBUTTONUP, 0, Point(5, 5));
}

TEST_F(ButtonStyle, BlackNormalColourGivesBlackShadow)
{
    TBitBtn* button = LargeCaption(MakeButton(200, 60));
    button->SetEnabled(false);
    CreateButtonStyle(button, TButtonStyleColors{8816776, clBlack, 12952218, 12952218});
    Redraw(button->Handle());
    TCapture c(button->Handle());
    EXPECT_GT(c.Count(RGB(0, 0, 0)), 20);
    EXPECT_EQ(0, c.Count(ShadowRGB));
    EXPECT_TRUE(c.ShowsGradient(NormalRows, 2)) << "the background does not use the normal colour";
}

TEST_F(ButtonStyle, GlyphIsNeverDrawn)
{
    const COLORREF green = RGB(0, 255, 0);
    auto withGlyph = [&](TBitBtn* button) {
        TBitmap& glyph = button->Glyph();
        glyph.SetSize(16, 16);
        glyph.Canvas().Brush().SetColor(static_cast<TColor>(green));
        glyph.Canvas().FillRect(RECT{0, 0, 16, 16});
        // The bottom-left pixel names the glyph's transparent colour.
        glyph.Canvas().Brush().SetColor(RGBColor(255, 0, 255));
        glyph.Canvas().FillRect(RECT{0, 15, 1, 16});
        return button;
    };
    TBitBtn* plain = withGlyph(MakeButton(90, 30));
    plain->SetLeft(150);
    TBitBtn* button = withGlyph(MakeButton(90, 30));
    CreateButtonStyle(button, DefaultColors);
    Pump();
    ASSERT_GT(TCapture(plain->Handle()).Count(green), 100) << "an unstyled bit button shows the glyph";
    HWND wnd = button->Handle();
    EXPECT_EQ(0, TCapture(wnd).Count(green)) << "normal";
    SendMessageA(wnd, CM_MOUSEENTER, 0, 0);
    EXPECT_EQ(0, TCapture(wnd).Count(green)) << "hot";
    SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(5, 5));
    EXPECT_EQ(0, TCapture(wnd).Count(green)) << "pressed";
    SendMessageA(wnd, WM_LBUTTONUP, 0, Point(5, 5));
    // Focus changes make the system button draw its owner-draw item at once, outside any paint: look before the
    // repaint that the focus change queues, and after it.
    plain->SetFocus();
    EXPECT_EQ(0, TCapture(wnd).Count(green)) << "focus lost";
    Pump();
    EXPECT_EQ(0, TCapture(wnd).Count(green)) << "focus lost, repainted";
    button->SetFocus();
    EXPECT_EQ(0, TCapture(wnd).Count(green)) << "focused";
    Pump();
    EXPECT_EQ(0, TCapture(wnd).Count(green)) << "focused, repainted";
}

TEST_F(ButtonStyle, MessageResultsAndNoErase)
{
    TBitBtn* button = StyledButton();
    HWND wnd = button->Handle();
    const TCapture before(wnd);
    HDC dc = GetDC(wnd);
    EXPECT_EQ(1, SendMessageA(wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0));
    ReleaseDC(wnd, dc);
    const TCapture after(wnd);
    EXPECT_EQ(before.At(5, 5), after.At(5, 5)) << "the background is never erased";
    EXPECT_EQ(1, SendMessageA(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("取消")));
    EXPECT_EQ("取消", button->Caption());
    EXPECT_EQ(1, SendMessageA(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 1));
    EXPECT_EQ(1, SendMessageA(wnd, BM_SETSTATE, 0, 0));
    EXPECT_EQ(1, SendMessageA(wnd, WM_MOUSEMOVE, MK_SHIFT, Point(3, 3)));
    EXPECT_EQ(1, SendMessageA(wnd, WM_LBUTTONDOWN, MK_LBUTTON, Point(3, 3)));
    EXPECT_EQ(1, SendMessageA(wnd, WM_LBUTTONUP, 0, Point(3, 3)));
}

TEST_F(ButtonStyle, NewCaptionShowsAtOnce)
{
    TBitBtn* button = StyledButton(120, 30);
    HWND wnd = button->Handle();
    int shortInk = 0, longInk = 0;
    SendMessageA(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("是"));
    const TBox one = TCapture(wnd).Ink(&shortInk);
    SendMessageA(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("确定卸载"));
    const TBox four = TCapture(wnd).Ink(&longInk);
    EXPECT_GT(four.right - four.left, 2 * (one.right - one.left));
}

TEST_F(ButtonStyle, HooksStackBeforeAndAfterTheStyle)
{
    TBitBtn* button = MakeButton(66, 23);
    TSpy below, above;
    below.Install(*button);
    CreateButtonStyle(button, DefaultColors);
    above.Install(*button);
    HWND wnd = button->Handle();

    SendMessageA(wnd, WM_ERASEBKGND, 0, 0);
    EXPECT_TRUE(above.Saw(WM_ERASEBKGND));
    EXPECT_FALSE(below.Saw(WM_ERASEBKGND)) << "the style answers it alone";

    above.Seen.clear();
    SendMessageA(wnd, CM_MOUSEENTER, 0, 0);
    EXPECT_TRUE(Blue(wnd)) << "the style works under a later hook";
    EXPECT_TRUE(below.Saw(CM_MOUSEENTER));
    EXPECT_TRUE(above.Saw(BM_SETSTATE)) << "the style's Perform starts at the outermost hook";
    EXPECT_TRUE(below.Saw(WM_PAINT));

    below.Seen.clear();
    SendMessageA(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("取消"));
    EXPECT_TRUE(below.Saw(WM_SETTEXT));
    FreeButton(button);  // the window goes before the spies it calls
}

}  // namespace
