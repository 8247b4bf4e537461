#pragma once
#include <windows.h>

#include <string>

#include "Graphics.h"

// Helpers for tests that work with real windows: message pumping, scratch pop-ups, text measured by GDI.
namespace testsupport {

// Dispatches what the thread's queue holds, Rounds times with a short pause between, so posted and
// timer-driven work (repaints, layout) has run before a test looks.
void Pump(int Rounds = 3);

// Dispatches the thread's messages for at least the given time.
void PumpFor(DWORD Milliseconds);

// A visible 100 x 60 tool pop-up at (Left, 10), destroyed with the object: a window of known z-order for top-most
// tests.
class TPopupWindow {
public:
    TPopupWindow(DWORD ExStyle, HWND Owner, int Left);
    ~TPopupWindow();
    TPopupWindow(const TPopupWindow&) = delete;
    TPopupWindow& operator=(const TPopupWindow&) = delete;
    HWND Handle() const { return FWnd; }

private:
    HWND FWnd;
};

// One pixel of a window as shown now: of its client area, or with WholeWindow of the window, frame included.
COLORREF ClientPixel(HWND Wnd, int X, int Y);
COLORREF WindowPixel(HWND Wnd, int X, int Y);

// Where a root form's title bar does not show its own first row (the dark top line) and first column (its gradient)
// on the window as painted, after showing and after each frame repaint that activation, the pointer over the frame
// and a caption change bring: each failing step named, "" when the bar stays on top of the frame fill throughout.
std::string TitleBarEdgeFaults(HWND Wnd);

// What GDI itself measures for a single line in a font.
SIZE TextExtent(const TFont& Font, const std::string& Text);

}  // namespace testsupport
