// The root form on real windows: frame size and pixels, hit tests, the caption on its way to the title bar.
#include <string>

#include "RootFormSupport.h"

using namespace rootformtest;

namespace {

constexpr COLORREF FrameRGB = RGB(79, 87, 138);
constexpr COLORREF Marker = RGB(255, 0, 255);

class RootForm : public RootFormFixture {};

template <TFormBorderStyle Style>
void ExpectFrameWidth(int Expected)
{
    auto form = MakeForm<TTestRootForm<Style>>();
    form->SetBounds(100, 100, 300, 200);
    form->Show();
    Pump();
    const HWND wnd = form->Handle();
    RECT window{}, client{};
    GetWindowRect(wnd, &window);
    GetClientRect(wnd, &client);
    POINT origin{0, 0};
    ClientToScreen(wnd, &origin);
    EXPECT_EQ(Expected, form->FrameWidth()) << "border style " << Style;
    EXPECT_EQ(window.right - window.left - 2 * Expected, client.right) << "border style " << Style;
    EXPECT_EQ(window.bottom - window.top - 2 * Expected, client.bottom) << "border style " << Style;
    EXPECT_EQ(window.left + Expected, origin.x) << "no caption or menu: the client starts below the frame";
    EXPECT_EQ(window.top + Expected, origin.y) << "border style " << Style;
}

}  // namespace

TEST_F(RootForm, FrameWidthFollowsBorderStyle)
{
    ExpectFrameWidth<bsNone>(0);
    ExpectFrameWidth<bsSingle>(2);
    ExpectFrameWidth<bsSizeable>(4);
    ExpectFrameWidth<bsDialog>(2);
    ExpectFrameWidth<bsToolWindow>(2);
    ExpectFrameWidth<bsSizeToolWin>(4);
}

// The fill covers the two outer pixels left and top, the outer one right and bottom, and the first client
// row and column: the excluded rectangle is the client area moved one pixel right and down.
TEST_F(RootForm, FramePaintCoversTheShiftedBand)
{
    auto form = MakeForm<TTestRootForm<bsDialog>>();
    form->SetBounds(100, 100, 300, 200);
    form->Show();
    Pump();
    const HWND wnd = form->Handle();
    ASSERT_FALSE(form->LowColor()) << "the test display has 24 bits per pixel";
    {
        HDC dc = GetWindowDC(wnd);
        RECT all{0, 0, 300, 200};
        HBRUSH marker = CreateSolidBrush(Marker);
        FillRect(dc, &all, marker);
        DeleteObject(marker);
        ReleaseDC(wnd, dc);
    }
    SendMessageA(wnd, WM_NCPAINT, 0, 0);
    const int w = 300, h = 200, mx = 150, my = 100;
    for (int i : {0, 1, 2}) {
        EXPECT_EQ(FrameRGB, WindowPixel(wnd, i, my)) << "left column " << i;
        EXPECT_EQ(FrameRGB, WindowPixel(wnd, mx, i)) << "top row " << i;
    }
    EXPECT_EQ(FrameRGB, WindowPixel(wnd, w - 1, my)) << "outer right column";
    EXPECT_EQ(FrameRGB, WindowPixel(wnd, mx, h - 1)) << "outer bottom row";
    EXPECT_EQ(Marker, WindowPixel(wnd, w - 2, my)) << "inner right column stays unpainted";
    EXPECT_EQ(Marker, WindowPixel(wnd, mx, h - 2)) << "inner bottom row stays unpainted";
    EXPECT_EQ(Marker, WindowPixel(wnd, 3, 3)) << "the second client row and column are excluded";
    EXPECT_EQ(Marker, WindowPixel(wnd, mx, my));
    EXPECT_EQ(FrameRGB, WindowPixel(wnd, w - 1, h - 1));
    EXPECT_EQ(FrameRGB, WindowPixel(wnd, w - 2, 2)) << "the first client row reaches into the right frame";
}

TEST_F(RootForm, HitTestAnswersCaptionOverTheBarInclusive)
{
    auto form = MakeForm<TTestRootForm<bsDialog>>();
    form->SetBounds(100, 100, 300, 200);
    form->Show();
    Pump();
    const HWND wnd = form->Handle();
    TTitlePanel* bar = form->TitlePanel();
    const int barHeight = bar->ClientHeight();
    ASSERT_EQ(22, barHeight);
    ASSERT_EQ(form->ClientWidth(), bar->ClientWidth());
    auto hit = [&](int x, int y) { return SendMessageA(wnd, WM_NCHITTEST, 0, ScreenPoint(*form, x, y)); };
    EXPECT_EQ(HTCAPTION, hit(10, 5));
    EXPECT_EQ(HTCAPTION, hit(0, 0));
    EXPECT_EQ(HTCAPTION, hit(10, barHeight)) << "the row below the bar counts";
    EXPECT_EQ(HTCLIENT, hit(10, barHeight + 1));
    EXPECT_EQ(HTCAPTION, hit(bar->ClientWidth(), 5)) << "the column right of the client area counts";
    EXPECT_NE(HTCAPTION, hit(-1, 5));
    EXPECT_NE(HTCAPTION, hit(10, -1));
}

TEST_F(RootForm, BorderlessFormHasNoBarAndDefaultHitTests)
{
    auto form = MakeForm<TTestRootForm<bsNone>>();
    form->SetBounds(100, 100, 300, 200);
    form->Show();
    Pump();
    TTitlePanel* bar = form->TitlePanel();
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(nullptr, bar->Parent());
    EXPECT_FALSE(bar->Visible());
    EXPECT_EQ(HTCLIENT, SendMessageA(form->Handle(), WM_NCHITTEST, 0, ScreenPoint(*form, 10, 5)));
}

TEST_F(RootForm, CaptionReachesTheTitleBarWithLeadingBlank)
{
    auto form = MakeForm<TTestRootForm<bsDialog>>();
    TLabel* title = form->TitlePanel()->TitleLabel();
    EXPECT_EQ(" VelRootForm", title->Caption()) << "the caption the layout loaded, copied at construction";
    EXPECT_EQ(taLeftJustify, title->Alignment());
    form->HandleNeeded();
    form->SetCaption("Quintaro卸载");
    EXPECT_EQ(" Quintaro卸载", title->Caption());
    EXPECT_EQ(" Quintaro卸载", form->TitlePanel()->TitleText());
    form->SetCaption("");
    EXPECT_EQ(" ", title->Caption());
    const std::string longCaption(300, 'x');
    form->SetCaption(longCaption);
    EXPECT_EQ(longCaption, form->Caption()) << "the window keeps its whole text";
    EXPECT_EQ(" " + std::string(255, 'x'), title->Caption()) << "the bar shows the first 255 bytes";
}

TEST_F(RootForm, CaptionChangeKeepsThePaintedFrame)
{
    auto form = MakeForm<TTestRootForm<bsDialog>>();
    form->SetBounds(100, 100, 300, 200);
    form->Show();
    Pump();
    form->SetCaption("Quintaro卸载");
    const HWND wnd = form->Handle();
    EXPECT_EQ(FrameRGB, WindowPixel(wnd, 0, 100)) << "the system's own caption frame does not stay";
    EXPECT_EQ(FrameRGB, WindowPixel(wnd, 150, 1));
    EXPECT_EQ(FrameRGB, WindowPixel(wnd, 299, 100));
}

TEST_F(RootForm, EmbeddedFormHidesItsBarButKeepsTheDragBand)
{
    auto host = MakeForm<TForm>();
    host->SetBounds(50, 50, 500, 400);
    host->Show();
    auto form = MakeForm<TTestRootForm<bsDialog>>();
    form->SetBounds(10, 10, 300, 200);
    form->Show();
    Pump();
    ASSERT_TRUE(form->TitlePanel()->Visible());
    form->SetParent(host.get());
    form->SetBounds(20, 20, 300, 200);
    Pump();
    EXPECT_FALSE(form->TitlePanel()->Visible()) << "a form inside another control has no title bar";
    const LPARAM band = ScreenPoint(*form, 30, 10);
    EXPECT_EQ(HTCAPTION, SendMessageA(form->Handle(), WM_NCHITTEST, 0, band));
    form->SetParent(nullptr);
    form->SetBounds(10, 10, 300, 200);
    Pump();
    EXPECT_TRUE(form->TitlePanel()->Visible()) << "back on the desktop the bar returns";
}

TEST_F(RootForm, ShowSwitchesToWindowColour)
{
    auto form = MakeForm<TTestRootForm<bsDialog>>();
    EXPECT_EQ(clBtnFace, form->Color()) << "the layout's colour";
    form->SetBounds(100, 100, 300, 200);
    form->Show();
    Pump();
    EXPECT_EQ(clWindow, form->Color());
    EXPECT_EQ(ColorToRGB(clWindow), ClientPixel(form->Handle(), 150, 150));
}
