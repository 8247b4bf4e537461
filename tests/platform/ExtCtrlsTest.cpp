// Panels, shapes, images and timers on real windows: pixels read back, timer events through the message loop.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <stdexcept>
#include <string>

#include "ExtCtrls.h"
#include "StockSupport.h"

namespace {

using stocktest::ClientPixel;
using stocktest::CountPixels;
using stocktest::FillBitmap;
using stocktest::Pump;

class PanelTest : public stocktest::StockFixture {
protected:
    TPanel* NewPanel(TColor Colour, TBevelCut Bevel)
    {
        auto* panel = new TPanel(Form.get());
        panel->SetParent(Form.get());
        panel->SetBounds(10, 10, 200, 60);
        panel->SetColor(Colour);
        panel->SetBevelOuter(Bevel);
        return panel;
    }
};

TEST_F(PanelTest, PaintsItsColourBevelAndCaption)
{
    TPanel* flat = NewPanel(RGBColor(250, 250, 250), bvNone);
    TPanel* raised = NewPanel(RGBColor(1, 200, 3), bvRaised);
    raised->SetTop(100);
    raised->SetCaption("MMM");
    raised->Font().SetColor(RGBColor(0, 0, 255));
    ShowForm();

    EXPECT_EQ(ClientPixel(flat->Handle(), 0, 0), RGB(250, 250, 250));
    EXPECT_EQ(ClientPixel(flat->Handle(), 199, 59), RGB(250, 250, 250));
    EXPECT_EQ(ClientPixel(flat->Handle(), 100, 30), RGB(250, 250, 250));

    const HWND wnd = raised->Handle();
    EXPECT_EQ(ClientPixel(wnd, 0, 0), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(ClientPixel(wnd, 0, 58), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(ClientPixel(wnd, 199, 59), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(ClientPixel(wnd, 199, 1), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(ClientPixel(wnd, 1, 1), RGB(1, 200, 3));
    // The caption stands in the middle.
    EXPECT_GT(CountPixels(wnd, RECT{80, 20, 120, 40}, RGB(0, 0, 255)), 10);
    EXPECT_EQ(CountPixels(wnd, RECT{2, 2, 70, 58}, RGB(0, 0, 255)), 0);

    // A new caption or colour shows without further asking.
    raised->SetCaption("");
    raised->SetColor(RGBColor(90, 0, 90));
    Pump();
    EXPECT_EQ(CountPixels(wnd, RECT{80, 20, 120, 40}, RGB(0, 0, 255)), 0);
    EXPECT_EQ(ClientPixel(wnd, 100, 30), RGB(90, 0, 90));
}

TEST_F(PanelTest, ShapesOnPanelsDrawTheirLinesAndRepaintOnPenChange)
{
    // The confirmation window's button bar: a 1-pixel separator line along the top.
    TPanel* bar = NewPanel(RGBColor(250, 250, 250), bvNone);
    auto* line = new TShape(Form.get());
    line->SetParent(bar);
    line->SetAlign(alTop);
    line->SetHeight(1);
    line->Pen().SetColor(RGBColor(206, 206, 206));
    // The message box's black rule: 2 pixels high, black brush.
    TPanel* title = NewPanel(clWhite, bvNone);
    title->SetTop(100);
    auto* rule = new TShape(Form.get());
    rule->SetParent(title);
    rule->SetAlign(alBottom);
    rule->SetHeight(2);
    rule->Brush().SetColor(clBlack);
    // A wide pen stays inside the bounds.
    auto* box = new TShape(Form.get());
    box->SetParent(title);
    box->SetBounds(20, 10, 30, 20);
    box->Pen().SetWidth(4);
    box->Pen().SetColor(RGBColor(0, 0, 200));
    box->Brush().SetColor(RGBColor(200, 200, 0));
    ShowForm();

    const HWND barWnd = bar->Handle();
    EXPECT_EQ(CountPixels(barWnd, RECT{0, 0, 200, 1}, RGB(206, 206, 206)), 200);
    EXPECT_EQ(CountPixels(barWnd, RECT{0, 1, 200, 2}, RGB(250, 250, 250)), 200);

    const HWND titleWnd = title->Handle();
    EXPECT_EQ(CountPixels(titleWnd, RECT{0, 58, 200, 60}, RGB(0, 0, 0)), 400);
    EXPECT_EQ(CountPixels(titleWnd, RECT{0, 57, 200, 58}, RGB(255, 255, 255)), 200);

    // (The pen's round joins leave the outermost corner pixels out.)
    EXPECT_EQ(ClientPixel(titleWnd, 20, 20), RGB(0, 0, 200));
    EXPECT_EQ(ClientPixel(titleWnd, 49, 20), RGB(0, 0, 200));
    EXPECT_EQ(ClientPixel(titleWnd, 35, 10), RGB(0, 0, 200));
    EXPECT_EQ(ClientPixel(titleWnd, 35, 29), RGB(0, 0, 200));
    EXPECT_EQ(ClientPixel(titleWnd, 19, 20), RGB(255, 255, 255));
    EXPECT_EQ(ClientPixel(titleWnd, 50, 20), RGB(255, 255, 255));
    EXPECT_EQ(ClientPixel(titleWnd, 35, 30), RGB(255, 255, 255));
    EXPECT_EQ(ClientPixel(titleWnd, 35, 20), RGB(200, 200, 0));

    line->Pen().SetColor(RGBColor(255, 0, 0));
    Pump();
    EXPECT_EQ(CountPixels(barWnd, RECT{0, 0, 200, 1}, RGB(255, 0, 0)), 200);
}

class ImageTest : public stocktest::StockFixture {
protected:
    TImage* NewImage(int Left, int Top, int Width, int Height)
    {
        auto* image = new TImage(Form.get());
        image->SetParent(Form.get());
        image->SetBounds(Left, Top, Width, Height);
        return image;
    }
    // A 2 x 2 picture: red, green / blue, white.
    static void Quadrants(TBitmap& Bitmap)
    {
        FillBitmap(Bitmap, 2, 2, RGBColor(255, 0, 0));
        Bitmap.Canvas().SetPixel(1, 0, RGBColor(0, 255, 0));
        Bitmap.Canvas().SetPixel(0, 1, RGBColor(0, 0, 255));
        Bitmap.Canvas().SetPixel(1, 1, RGBColor(255, 255, 255));
    }
};

TEST_F(ImageTest, PicturesDrawUnscaledCentredOrStretched)
{
    TImage* plain = NewImage(10, 10, 20, 20);
    Quadrants(plain->Picture().Bitmap());
    TImage* centred = NewImage(40, 10, 20, 20);
    centred->SetCenter(true);
    Quadrants(centred->Picture().Bitmap());
    TImage* stretched = NewImage(70, 10, 20, 20);
    stretched->SetStretch(true);
    Quadrants(stretched->Picture().Bitmap());
    ShowForm();
    const HWND wnd = FormWnd();
    const COLORREF back = ColorToRGB(Form->Color());

    EXPECT_EQ(ClientPixel(wnd, 10, 10), RGB(255, 0, 0));
    EXPECT_EQ(ClientPixel(wnd, 11, 11), RGB(255, 255, 255));
    EXPECT_EQ(ClientPixel(wnd, 12, 12), back);

    EXPECT_EQ(ClientPixel(wnd, 40 + 9, 10 + 9), RGB(255, 0, 0));
    EXPECT_EQ(ClientPixel(wnd, 40 + 10, 10 + 10), RGB(255, 255, 255));
    EXPECT_EQ(ClientPixel(wnd, 40, 10), back);

    EXPECT_EQ(CountPixels(wnd, RECT{70, 10, 80, 20}, RGB(255, 0, 0)), 100);
    EXPECT_EQ(CountPixels(wnd, RECT{80, 10, 90, 20}, RGB(0, 255, 0)), 100);
    EXPECT_EQ(CountPixels(wnd, RECT{70, 20, 80, 30}, RGB(0, 0, 255)), 100);
    EXPECT_EQ(CountPixels(wnd, RECT{80, 20, 90, 30}, RGB(255, 255, 255)), 100);
}

TEST_F(ImageTest, AutoSizeFollowsThePictureAndANewPictureShows)
{
    TImage* image = NewImage(10, 10, 5, 5);
    image->SetAutoSize(true);
    ShowForm();
    image->Picture().Bitmap().LoadFromResourceName(GetModuleHandleA(nullptr), "HINTINFO");
    EXPECT_EQ(image->Width(), 67);
    EXPECT_EQ(image->Height(), 15);
    Pump();
    const TColor topLeft = image->Picture().Bitmap().Canvas().Pixel(0, 0);
    const TColor inside = image->Picture().Bitmap().Canvas().Pixel(40, 7);
    EXPECT_EQ(ClientPixel(FormWnd(), 10, 10), ColorToRGB(topLeft));
    EXPECT_EQ(ClientPixel(FormWnd(), 50, 17), ColorToRGB(inside));

    FillBitmap(image->Picture().Bitmap(), 30, 8, RGBColor(0, 0, 200));
    Pump();
    EXPECT_EQ(image->Width(), 30);
    EXPECT_EQ(CountPixels(FormWnd(), RECT{10, 10, 40, 18}, RGB(0, 0, 200)), 240);
}

class TimerTest : public stocktest::StockFixture {};

TEST_F(TimerTest, FiresThroughTheMessageLoopUntilDisabled)
{
    TTimer timer(nullptr);
    int ticks = 0;
    timer.OnTimer = [&ticks](TObject*) { ++ticks; };
    timer.SetInterval(30);
    Pump(400);
    EXPECT_GE(ticks, 3);
    timer.SetEnabled(false);
    Pump(50);
    const int stopped = ticks;
    Pump(200);
    EXPECT_EQ(ticks, stopped);
    timer.SetEnabled(true);
    Pump(200);
    EXPECT_GT(ticks, stopped);
}

// The standard exception report is a real message box: a watcher reads its text and presses OK.
TEST_F(TimerTest, AFailingHandlerIsReportedAndTheTimerGoesOn)
{
    Application->SetTitle("StockTimerReport");
    std::atomic<bool> done{false};
    std::string reported;
    int ticks = 0;
    {
        testsupport::TWatcherThread watcher([&] {
            for (int i = 0; i < 500 && !done; ++i) {
                if (HWND box = FindWindowA("#32770", "StockTimerReport")) {
                    char text[256] = {};
                    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);  // the box's message text
                    reported = text;
                    PostMessageA(box, WM_COMMAND, IDOK, 0);
                    return;
                }
                Sleep(20);
            }
        });
        TTimer timer(nullptr);
        timer.OnTimer = [&ticks](TObject*) {
            if (++ticks == 1) throw Exception("tick failed");
        };
        timer.SetInterval(30);
        const DWORD start = GetTickCount();
        while (ticks < 4 && GetTickCount() - start < 8000) Pump(20);
        done = true;  // the watcher ends before the results are read
    }
    EXPECT_EQ(reported, "tick failed");
    EXPECT_GE(ticks, 4);
}

}  // namespace
