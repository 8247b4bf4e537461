// Labels and push buttons on real windows: sizes measured by GDI, pixels read back, clicks through the system.
#include <gtest/gtest.h>
#include <windows.h>

#include "StdCtrls.h"
#include "StockSupport.h"
#include "WindowSupport.h"

namespace {

using stocktest::ClientPixel;
using stocktest::CountPixels;
using stocktest::Pump;

// Rows of a client area rectangle that hold at least one pixel of Colour.
struct TRows {
    int first = -1, last = -1;
};
TRows InkRows(HWND Wnd, const RECT& R, COLORREF Colour)
{
    TRows rows;
    for (int y = R.top; y < R.bottom; ++y)
        if (CountPixels(Wnd, RECT{R.left, y, R.right, y + 1}, Colour) > 0) {
            if (rows.first < 0) rows.first = y;
            rows.last = y;
        }
    return rows;
}

class LabelTest : public stocktest::StockFixture {
protected:
    TLabel* NewLabel(const std::string& Caption)
    {
        auto* label = new TLabel(Form.get());
        label->SetParent(Form.get());
        label->SetParentFont(false);
        label->Font().SetName("宋体");
        label->Font().SetHeight(-12);
        label->Font().SetColor(RGBColor(0, 0, 255));
        label->SetCaption(Caption);
        return label;
    }
};

TEST_F(LabelTest, AutoSizeFollowsCaptionAndFont)
{
    TLabel* label = NewLabel("Quintaro");
    SIZE expected = testsupport::TextExtent(label->Font(), "Quintaro");
    EXPECT_EQ(label->Width(), expected.cx);
    EXPECT_EQ(label->Height(), expected.cy);

    label->SetCaption("Quintaro uninstall");
    EXPECT_EQ(label->Width(), testsupport::TextExtent(label->Font(), "Quintaro uninstall").cx);

    label->Font().SetHeight(-24);
    expected = testsupport::TextExtent(label->Font(), "Quintaro uninstall");
    EXPECT_EQ(label->Width(), expected.cx);
    EXPECT_EQ(label->Height(), expected.cy);

    // An empty caption keeps the height of one line.
    label->SetCaption("");
    EXPECT_EQ(label->Height(), expected.cy);

    label->SetAutoSize(false);
    label->SetCaption("a much longer caption than before");
    EXPECT_EQ(label->Height(), expected.cy);
    EXPECT_LT(label->Width(), testsupport::TextExtent(label->Font(), "a much longer caption than before").cx);
}

TEST_F(LabelTest, WrappedRightAlignedAndAlignedLabelsKeepTheirFixedSides)
{
    TLabel* wrapped = NewLabel("");
    wrapped->SetWordWrap(true);
    wrapped->SetBounds(0, 0, 60, 10);
    wrapped->SetCaption("aaaa bbbb cccc dddd eeee");
    const int line = testsupport::TextExtent(wrapped->Font(), "a").cy;
    // Three lines, as wide as the widest (the system may count the blank at the break).
    EXPECT_GE(wrapped->Width(), testsupport::TextExtent(wrapped->Font(), "aaaa bbbb").cx);
    EXPECT_LE(wrapped->Width(), 60);
    EXPECT_EQ(wrapped->Height(), 3 * line);

    TLabel* right = NewLabel("");
    right->SetAlignment(taRightJustify);
    right->SetBounds(100, 0, 80, 20);
    right->SetCaption("abc");
    EXPECT_EQ(right->Left() + right->Width(), 180);

    // (Children are laid out once the parent has its window.)
    Form->HandleNeeded();
    TLabel* client = NewLabel("");
    client->SetAlign(alClient);
    client->SetCaption("abc");
    EXPECT_EQ(client->Width(), Form->ClientWidth());
    EXPECT_EQ(client->Height(), Form->ClientHeight());
}

TEST_F(LabelTest, PaintsTextOverItsColourOrTransparently)
{
    const COLORREF ink = RGB(0, 0, 255);
    TLabel* coloured = NewLabel("MMMM");
    coloured->SetAutoSize(false);
    coloured->SetBounds(10, 40, 60, 20);
    coloured->SetColor(RGBColor(200, 0, 0));
    TLabel* transparent = NewLabel("MMMM");
    transparent->SetAutoSize(false);
    transparent->SetBounds(10, 70, 60, 20);
    transparent->SetTransparent(true);
    ShowForm();
    const HWND wnd = FormWnd();

    EXPECT_EQ(ClientPixel(wnd, 68, 58), RGB(200, 0, 0));
    EXPECT_GT(CountPixels(wnd, RECT{10, 40, 70, 60}, ink), 10);
    EXPECT_GT(CountPixels(wnd, RECT{10, 70, 70, 90}, ink), 10);

    // Transparent: what was painted below shows through, text only on top.
    Form->SetColor(RGBColor(0, 120, 0));
    transparent->SetParentColor(false);
    transparent->SetColor(RGBColor(200, 0, 0));
    Form->Repaint();
    Pump();
    EXPECT_EQ(ClientPixel(wnd, 68, 88), RGB(0, 120, 0));
    EXPECT_EQ(CountPixels(wnd, RECT{10, 70, 70, 90}, RGB(200, 0, 0)), 0);
    EXPECT_GT(CountPixels(wnd, RECT{10, 70, 70, 90}, ink), 10);
}

TEST_F(LabelTest, CentredLayoutAndDisabledText)
{
    TLabel* label = NewLabel("MMMM");
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 100, 40);
    label->SetLayout(tlCenter);
    label->SetAlignment(taCenter);
    TLabel* disabled = NewLabel("MMMM");
    disabled->SetBounds(10, 60, 100, 20);
    disabled->SetEnabled(false);
    ShowForm();
    const HWND wnd = FormWnd();

    const TRows rows = InkRows(wnd, RECT{10, 10, 110, 50}, RGB(0, 0, 255));
    ASSERT_GE(rows.first, 0);
    EXPECT_NEAR((rows.first + rows.last + 1) / 2.0, 30.0, 2.0);

    // Greyed: the text's shape in the system's highlight and shadow colours, never in the font colour.
    const RECT area{10, 60, 10 + disabled->Width() + 1, 81};
    EXPECT_EQ(CountPixels(wnd, area, RGB(0, 0, 255)), 0);
    EXPECT_GT(CountPixels(wnd, area, GetSysColor(COLOR_BTNSHADOW)), 10);
    EXPECT_GT(CountPixels(wnd, area, GetSysColor(COLOR_BTNHIGHLIGHT)), 10);
}

class ButtonTest : public stocktest::StockFixture {
protected:
    TButton* NewButton(int ModalResult)
    {
        auto* button = new TButton(Form.get());
        button->SetParent(Form.get());
        button->SetBounds(40, 40, 80, 26);
        button->SetCaption("卸载");
        button->SetModalResult(ModalResult);
        button->OnClick = [this](TObject*) { ++Clicks; };
        return button;
    }
    void ClickWithMouse(TButton* Button)
    {
        testsupport::ClickAt(Button->ClientToScreen(POINT{Button->Width() / 2, Button->Height() / 2}));
        Pump(150);
    }
    int Clicks = 0;
};

TEST_F(ButtonTest, MouseClickRunsOnClickOnceAndGivesTheFormItsModalResult)
{
    TButton* button = NewButton(mrAbort);
    ShowForm();
    ClickWithMouse(button);
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(Form->ModalResult(), mrAbort);

    // Posted presses take the same road.
    Form->SetModalResult(mrNone);
    PostMessageA(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Pump();
    EXPECT_EQ(Clicks, 2);
    EXPECT_EQ(Form->ModalResult(), mrAbort);

    // A release outside the button is no click.
    PostMessageA(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageA(button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(200, 5));
    Pump();
    EXPECT_EQ(Clicks, 2);
}

TEST_F(ButtonTest, SpaceClicksTheFocusedButtonAndAZeroModalResultLeavesTheForm)
{
    TButton* button = NewButton(mrNone);
    ShowForm();
    button->SetFocus();
    Pump();
    Form->SetModalResult(mrRetry);
    PostMessageA(button->Handle(), WM_KEYDOWN, VK_SPACE, 0x00390001);
    PostMessageA(button->Handle(), WM_KEYUP, VK_SPACE, 0xC0390001);
    Pump();
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(Form->ModalResult(), mrRetry);
}

TEST_F(ButtonTest, DefaultButtonCarriesTheSystemDefaultStyle)
{
    TButton* button = NewButton(mrNone);
    button->SetDefault(true);
    ShowForm();
    auto type = [button] { return GetWindowLongPtrA(button->Handle(), GWL_STYLE) & 0x0F; };
    EXPECT_EQ(type(), BS_DEFPUSHBUTTON);
    EXPECT_NE(GetWindowLongPtrA(button->Handle(), GWL_STYLE) & WS_TABSTOP, 0);
    button->SetDefault(false);
    EXPECT_EQ(type(), BS_PUSHBUTTON);
}

}  // namespace
