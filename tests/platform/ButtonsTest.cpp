// Bit buttons and speed buttons on real windows: kinds, owner-draw painting, presses routed by the parent.
#include <gtest/gtest.h>
#include <windows.h>

#include "Buttons.h"
#include "StockSupport.h"

namespace {

using stocktest::ClientPixel;
using stocktest::CountPixels;
using stocktest::FillBitmap;
using stocktest::Pump;

constexpr COLORREF GlyphRGB = RGB(220, 0, 0);
constexpr COLORREF SeeThroughRGB = RGB(0, 220, 0);

// A glyph in GlyphRGB whose bottom-left pixel (the see-through colour) is SeeThroughRGB.
void MakeGlyph(TBitmap& Glyph, int Size)
{
    FillBitmap(Glyph, Size, Size, RGBColor(220, 0, 0));
    Glyph.Canvas().SetPixel(0, Size - 1, RGBColor(0, 220, 0));
}

// The form whose modal run a guard timer ends (a timer procedure has the system's calling convention, which a lambda
// lacks on i686, so it reaches the form through this).
TForm* GuardedForm = nullptr;
void CALLBACK EndGuardedRun(HWND, UINT, UINT_PTR, DWORD) { GuardedForm->SetModalResult(99); }

class BitBtnTest : public stocktest::StockFixture {
protected:
    TBitBtn* NewBitBtn(const std::string& Caption, TBitBtnKind Kind)
    {
        auto* button = new TBitBtn(Form.get());
        button->SetParent(Form.get());
        button->SetBounds(40, 40, 68, 22);
        button->SetCaption(Caption);
        button->SetKind(Kind);
        return button;
    }
    static void Press(TWinControl* Button)
    {
        PostMessageA(Button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageA(Button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    }
};

TEST_F(BitBtnTest, KindsGiveModalResultDefaultAndCancelAndKeepTheStoredCaption)
{
    struct TCase {
        TBitBtnKind kind;
        const char* caption;
        int modalResult;
        bool isDefault, isCancel;
    };
    const TCase cases[] = {
        {bkYes, "是", mrYes, true, false},        {bkNo, "否", mrNo, false, true},
        {bkAbort, "终止", mrAbort, false, false}, {bkRetry, "重试", mrRetry, false, false},
        {bkIgnore, "忽略", mrIgnore, false, false}, {bkCustom, "继续", mrNone, false, false},
        {bkOK, "确定", mrOk, true, false},        {bkCancel, "取消", mrCancel, false, true},
        {bkClose, "关闭", mrNone, false, false},  {bkAll, "全部", 8, false, false},
    };
    for (const TCase& c : cases) {
        TBitBtn* button = NewBitBtn(c.caption, c.kind);
        SCOPED_TRACE(c.caption);
        EXPECT_EQ(button->Caption(), c.caption);
        EXPECT_EQ(button->ModalResult(), c.modalResult);
        EXPECT_EQ(button->Default(), c.isDefault);
        EXPECT_EQ(button->Cancel(), c.isCancel);
        EXPECT_EQ(GetWindowLongPtrA(button->Handle(), GWL_STYLE) & 0x0F, BS_OWNERDRAW);
        char text[32] = {};
        GetWindowTextA(button->Handle(), text, sizeof text);
        EXPECT_STREQ(text, c.caption);
    }
}

TEST_F(BitBtnTest, ClicksGiveTheKindsResultAndCloseEndsAModalRunWithCancel)
{
    TBitBtn* yes = NewBitBtn("是", bkYes);
    int clicks = 0;
    yes->OnClick = [&clicks](TObject*) { ++clicks; };
    ShowForm();
    Press(yes);
    Pump();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(Form->ModalResult(), mrYes);

    Form->Hide();
    Form->SetModalResult(mrNone);
    TBitBtn* close = NewBitBtn("关闭", bkClose);
    close->SetBounds(120, 40, 68, 22);
    close->HandleNeeded();
    Press(close);
    // Should the click go astray, the run ends with a result no button gives instead of hanging.
    GuardedForm = Form.get();
    const UINT_PTR guard = SetTimer(nullptr, 0, 5000, EndGuardedRun);
    const TModalResult result = Form->ShowModal();
    KillTimer(nullptr, guard);
    EXPECT_EQ(result, mrCancel);
    EXPECT_FALSE(IsWindowVisible(FormWnd()));
}

TEST_F(BitBtnTest, OwnerDrawShowsFaceGlyphCaptionAndDefaultFrame)
{
    TBitBtn* button = NewBitBtn("OK", bkOK);
    button->SetBounds(40, 40, 90, 30);
    MakeGlyph(button->Glyph(), 8);
    TBitBtn* plain = NewBitBtn("", bkCustom);
    plain->SetBounds(40, 100, 90, 30);
    ShowForm();
    const HWND wnd = button->Handle();
    const RECT all{0, 0, 90, 30};

    EXPECT_EQ(CountPixels(wnd, all, GlyphRGB), 63);
    EXPECT_EQ(CountPixels(wnd, all, SeeThroughRGB), 0);
    EXPECT_GT(CountPixels(wnd, all, GetSysColor(COLOR_BTNFACE)), 1000);
    EXPECT_GT(CountPixels(wnd, all, ColorToRGB(clWindowText)), 5);
    // The default button's dark outer frame; a plain button starts with its raised edge.
    EXPECT_EQ(ClientPixel(wnd, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(ClientPixel(wnd, 89, 29), RGB(0, 0, 0));
    EXPECT_NE(ClientPixel(plain->Handle(), 0, 0), RGB(0, 0, 0));
    // Glyph and caption are centred as one block: the glyph starts left of the middle.
    int glyphLeft = -1;
    for (int x = 0; x < 90 && glyphLeft < 0; ++x)
        if (CountPixels(wnd, RECT{x, 0, x + 1, 30}, GlyphRGB) > 0) glyphLeft = x;
    EXPECT_GT(glyphLeft, 20);
    EXPECT_LT(glyphLeft, 45);
}

TEST_F(BitBtnTest, OwnerDrawRequestArrivesThroughWindowProcAndCanBeSwallowed)
{
    TBitBtn* button = NewBitBtn("OK", bkCustom);
    MakeGlyph(button->Glyph(), 8);
    int requests = 0;
    const TWndMethod previous = button->WindowProc;
    button->WindowProc = [&requests, previous](TMessage& Message) {
        if (Message.Msg == CN_DRAWITEM) {
            ++requests;  // as a style does: the stock look never shows
            return;
        }
        previous(Message);
    };
    ShowForm();
    button->Repaint();
    Pump();
    EXPECT_GE(requests, 1);
    EXPECT_EQ(CountPixels(button->Handle(), RECT{0, 0, 68, 22}, GlyphRGB), 0);
}

class SpeedButtonTest : public stocktest::StockFixture {
protected:
    void SetUp() override
    {
        StockFixture::SetUp();
        Button = new TSpeedButton(Form.get());
        Button->SetParent(Form.get());
        Button->SetBounds(50, 50, 23, 22);
        Button->SetFlat(true);
        MakeGlyph(Button->Glyph(), 6);
        Button->OnClick = [this](TObject*) { ++Clicks; };
        ShowForm();
    }
    void Mouse(UINT Msg, int X, int Y, WPARAM Keys)
    {
        PostMessageA(FormWnd(), Msg, Keys, MAKELPARAM(X, Y));
        Pump();
    }
    // Top-left of the glyph as drawn now.
    POINT GlyphAt()
    {
        for (int y = 50; y < 72; ++y)
            for (int x = 50; x < 73; ++x)
                if (ClientPixel(FormWnd(), x, y) == GlyphRGB) return POINT{x, y};
        return POINT{-1, -1};
    }
    TSpeedButton* Button = nullptr;
    int Clicks = 0;
};

TEST_F(SpeedButtonTest, FlatButtonShowsOnlyItsCentredGlyphOverTheParent)
{
    const POINT glyph = GlyphAt();
    EXPECT_EQ(glyph.x, 50 + (23 - 6) / 2);
    EXPECT_EQ(glyph.y, 50 + (22 - 6) / 2);
    EXPECT_EQ(CountPixels(FormWnd(), RECT{50, 50, 73, 72}, GlyphRGB), 35);
    EXPECT_EQ(ClientPixel(FormWnd(), 50, 50), ColorToRGB(Form->Color()));
    EXPECT_EQ(ClientPixel(FormWnd(), 72, 71), ColorToRGB(Form->Color()));
}

TEST_F(SpeedButtonTest, PressAndReleaseInsideClicksOnceWithAPressedLook)
{
    Mouse(WM_LBUTTONDOWN, 55, 55, MK_LBUTTON);
    EXPECT_TRUE(Button->Down());
    EXPECT_EQ(Clicks, 0);
    // Pressed: a sunken edge and the glyph one pixel right and down.
    EXPECT_EQ(ClientPixel(FormWnd(), 50, 50), GetSysColor(COLOR_BTNSHADOW));
    const POINT glyph = GlyphAt();
    EXPECT_EQ(glyph.x, 59);
    EXPECT_EQ(glyph.y, 59);
    Mouse(WM_LBUTTONUP, 56, 56, 0);
    EXPECT_FALSE(Button->Down());
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(ClientPixel(FormWnd(), 50, 50), ColorToRGB(Form->Color()));
}

TEST_F(SpeedButtonTest, ReleaseOutsideIsNoClickAndDraggingBackPressesAgain)
{
    Mouse(WM_LBUTTONDOWN, 55, 55, MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, 150, 150, MK_LBUTTON);
    EXPECT_FALSE(Button->Down());
    Mouse(WM_MOUSEMOVE, 60, 60, MK_LBUTTON);
    EXPECT_TRUE(Button->Down());
    Mouse(WM_MOUSEMOVE, 150, 150, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 150, 150, 0);
    EXPECT_EQ(Clicks, 0);
    EXPECT_FALSE(Button->Down());

    // Disabled: presses do nothing.
    Button->SetEnabled(false);
    Mouse(WM_LBUTTONDOWN, 55, 55, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 55, 55, 0);
    EXPECT_EQ(Clicks, 0);
}

}  // namespace
