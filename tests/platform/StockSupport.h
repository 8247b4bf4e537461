#pragma once
// Shared by the stock control tests: a real form on the test display, messages pumped, pixels read back.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>

#include "Forms.h"
#include "WindowSupport.h"

namespace stocktest {

// Runs the thread's messages for at least Milliseconds (timers and posted messages included).
inline void Pump(DWORD Milliseconds = 30) { testsupport::PumpFor(Milliseconds); }

using testsupport::ClientPixel;

// Counts the pixels of Colour in a rectangle of a window's client area.
inline int CountPixels(HWND Wnd, const RECT& R, COLORREF Colour)
{
    HDC dc = GetDC(Wnd);
    int n = 0;
    for (int y = R.top; y < R.bottom; ++y)
        for (int x = R.left; x < R.right; ++x) n += GetPixel(dc, x, y) == Colour;
    ReleaseDC(Wnd, dc);
    return n;
}

// A bitmap of one colour, optionally with a differently coloured bottom-left pixel.
inline void FillBitmap(TBitmap& Bitmap, int Width, int Height, TColor Colour)
{
    Bitmap.SetPixelFormat(pf24bit);  // any colour, also where a picture with a colour table was loaded before
    Bitmap.SetSize(Width, Height);
    Bitmap.Canvas().Brush().SetStyle(bsSolid);
    Bitmap.Canvas().Brush().SetColor(Colour);
    Bitmap.Canvas().FillRect(RECT{0, 0, Width, Height});
}

// A borderless form at a fixed place on the test display, shown, with its client area Width x Height.
class StockFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!Application) Application = new TApplication(nullptr);
    }
    void SetUp() override
    {
        SetCursorPos(799, 599);  // the real pointer stays away from the forms
        Form.reset(TCustomForm::Create<TForm>(nullptr));
        Form->SetBorderStyle(bsNone);
        Form->SetBounds(20, 20, 300, 200);
        Form->SetColor(RGBColor(10, 20, 30));
    }
    void TearDown() override
    {
        Form.reset();
        Pump();
    }
    void ShowForm()
    {
        Form->Show();
        Form->Update();
        Pump();
    }
    HWND FormWnd() { return Form->Handle(); }

    std::unique_ptr<TForm> Form;
};

}  // namespace stocktest
