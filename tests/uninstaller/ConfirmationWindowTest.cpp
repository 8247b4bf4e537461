// The confirmation window as built from its stored layout: geometry, look, keys and the close routes.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "Forms.h"
#include "Unit1.h"
#include "WindowSupport.h"

using testsupport::Pump;

namespace {


std::unique_ptr<TForm1> ShownForm()
{
    std::unique_ptr<TForm1> form(TCustomForm::Create<TForm1>(nullptr));
    form->Show();
    Pump(5);
    return form;
}

}  // namespace

TEST(ConfirmationWindow, LayoutAndGeometry)
{
    auto form = ShownForm();
    HWND wnd = form->Handle();
    RECT client{}, window{};
    GetClientRect(wnd, &client);
    GetWindowRect(wnd, &window);
    EXPECT_EQ(529, client.right);
    EXPECT_EQ(367, client.bottom);
    EXPECT_EQ(529 + 4, window.right - window.left);
    EXPECT_EQ(367 + 4, window.bottom - window.top);
    // Centred on the screen.
    EXPECT_NEAR(GetSystemMetrics(SM_CXSCREEN) / 2, (window.left + window.right) / 2, 1);
    EXPECT_NEAR(GetSystemMetrics(SM_CYSCREEN) / 2, (window.top + window.bottom) / 2, 1);
    // Not resizable, no minimise or maximise, top-most.
    LONG style = GetWindowLongA(wnd, GWL_STYLE);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_TRUE(GetWindowLongA(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST);

    // The title bar above the question panel, the button bar at the bottom.
    TTitlePanel* bar = form->TitlePanel();
    ASSERT_NE(nullptr, bar);
    EXPECT_TRUE(bar->Visible());
    EXPECT_EQ(0, bar->Top());
    EXPECT_EQ(22, bar->Height());
    EXPECT_EQ(529, bar->Width());
    EXPECT_EQ(22, form->PanelSet5->Top());
    EXPECT_EQ(367 - 22 - 39, form->PanelSet5->Height());
    EXPECT_EQ(367 - 39, form->panButton->Top());
    EXPECT_EQ(352, form->BtnNext->Left());
    EXPECT_EQ(441, form->BtnCancel->Left());
    EXPECT_EQ(8, form->BtnNext->Top());
    // The question keeps its design place and its bold blue font.
    EXPECT_EQ(154, form->Label8->Left());
    EXPECT_EQ(155, form->Label8->Top());
    EXPECT_EQ(15, form->Label8->Height());
    EXPECT_EQ(RGBColor(49, 106, 197), form->Label8->Font().Color());
    EXPECT_TRUE(form->Label8->Font().Style() & fsBold);
    EXPECT_EQ(-15, form->Label8->Font().Height());
    // A screen reader finds the question in a window's text; the panel that holds it does not paint it.
    char text[64] = {};
    GetWindowTextA(form->PanelSet5->Handle(), text, sizeof text);
    EXPECT_STREQ("您确认要卸载Quintaro吗？", text);
    const testsupport::TClientPixels withText(form->PanelSet5->Handle());
    form->PanelSet5->SetCaption("");
    Pump(5);
    EXPECT_TRUE(withText == testsupport::TClientPixels(form->PanelSet5->Handle())) << "the same pixels as without it";
    // Focus starts on "卸载".
    EXPECT_EQ(form->BtnNext->Handle(), GetFocus());
}

namespace {

// A pixel of the window as painted, frame included (window coordinates).
COLORREF WindowPixel(HWND Wnd, int X, int Y)
{
    HDC dc = GetWindowDC(Wnd);
    COLORREF c = GetPixel(dc, X, Y);
    ReleaseDC(Wnd, dc);
    return c;
}

}  // namespace

// Alt+Tab and the taskbar show the program's icon; every button shows the house style on screen.
TEST(ConfirmationWindow, ProgramIconAndStyledButtons)
{
    auto form = ShownForm();
    EXPECT_EQ("", testsupport::WindowIconFaults(form->Handle(), TLicenseRootForm::ProgramIconId));
    EXPECT_EQ("", testsupport::UnstyledButtons({{"卸载", form->BtnNext->Handle()}, {"取消", form->BtnCancel->Handle()}}));
}

// What the screen shows: the house frame, the gradient caption bar, the close glyph.
TEST(ConfirmationWindow, HouseFrameAndCaptionBarOnScreen)
{
    auto form = ShownForm();
    HWND wnd = form->Handle();
    EXPECT_EQ(RGB(79, 87, 138), WindowPixel(wnd, 0, 100));
    EXPECT_EQ(RGB(79, 87, 138), WindowPixel(wnd, 1, 100));
    EXPECT_EQ(RGB(79, 87, 138), WindowPixel(wnd, 100, 0));
    // Bar rows below its dark top line: the light upper half, the saturated lower half.
    COLORREF upper = WindowPixel(wnd, 2 + 300, 2 + 5);
    COLORREF lower = WindowPixel(wnd, 2 + 300, 2 + 16);
    EXPECT_GT(GetBValue(upper), GetRValue(upper)) << std::hex << upper;
    EXPECT_GT(GetBValue(lower), GetRValue(lower) + 60) << std::hex << lower;
}

// The frame fill reaches into the client's first row and column; the bar paints over it after every frame paint.
TEST(ConfirmationWindow, TitleBarEndsEveryFramePaintOnTop)
{
    auto form = ShownForm();
    EXPECT_EQ("", testsupport::TitleBarEdgeFaults(form->Handle()));
}
