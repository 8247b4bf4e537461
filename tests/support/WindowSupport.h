#pragma once
#include <windows.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "Graphics.h"

// Helpers for tests that work with real windows: message pumping, scratch pop-ups, text measured by GDI.
namespace testsupport {

// Dispatches what the thread's queue holds, Rounds times with a short pause between, so posted and
// timer-driven work (repaints, layout) has run before a test looks.
void Pump(int Rounds = 3);

// Dispatches the thread's messages for at least the given time.
void PumpFor(DWORD Milliseconds);

// Dispatches the thread's messages until Condition holds (asked between rounds) or Milliseconds have passed;
// whether it held.
bool PumpUntil(const std::function<bool()>& Condition, DWORD Milliseconds = 5000);

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

// Runs a function on a thread of its own (one that watches the screen while the test's thread sits in a modal loop);
// the destructor waits for it to end. A Win32 thread: the shipped compiler's win32 thread model has no std::thread,
// and the tests are built with that compiler.
class TWatcherThread {
public:
    explicit TWatcherThread(std::function<void()> Body);
    ~TWatcherThread();
    TWatcherThread(const TWatcherThread&) = delete;
    TWatcherThread& operator=(const TWatcherThread&) = delete;
    // Waits for the body to end (once; later calls return at once).
    void Join();

private:
    static DWORD WINAPI Run(LPVOID Self);  // the system's calling convention, which a lambda lacks on i686
    std::function<void()> FBody;
    HANDLE FThread;
};

// Holds keys down in the thread's keyboard state for one scope.
class THeldKeys {
public:
    explicit THeldKeys(std::initializer_list<BYTE> Keys)
    {
        GetKeyboardState(FSaved);
        BYTE held[256];
        std::copy(FSaved, FSaved + 256, held);
        for (BYTE key : Keys) held[key] = 0x80;
        SetKeyboardState(held);
    }
    ~THeldKeys() { SetKeyboardState(FSaved); }

private:
    BYTE FSaved[256];
};

// Moves the real pointer to a screen point and clicks the left button there (real input, queued for the pump).
void ClickAt(POINT Screen);
// Real key strokes for the window with the focus, queued for the pump: each key pressed and released in turn, the
// Held keys (VK_MENU for Alt+letter) down around them all. Text takes lower-case letters, digits and blanks.
void TypeKeys(std::initializer_list<WORD> Keys, std::initializer_list<WORD> Held = {});
void TypeText(const std::string& Text);

// One pixel of a window as shown now: of its client area, or with WholeWindow of the window, frame included.
COLORREF ClientPixel(HWND Wnd, int X, int Y);
COLORREF WindowPixel(HWND Wnd, int X, int Y);

// What is wrong with a window's big and small icon against the program's icon resource Id at the system's icon
// sizes (the shared copies, so the same handles): "" when both are right.
std::string WindowIconFaults(HWND Wnd, int Id);

// The buttons among Buttons (window handles) that do not show the house button style on screen: its one-pixel
// border in the border colour, where the stock button shows its light 3-D edge. "" when all do.
std::string UnstyledButtons(const std::vector<std::pair<std::string, HWND>>& Buttons);

// Where a root form's title bar does not show its own first row (the dark top line) and first column (its gradient)
// on the window as painted, after showing and after each frame repaint that activation, the pointer over the frame
// and a caption change bring: each failing step named, "" when the bar stays on top of the frame fill throughout.
std::string TitleBarEdgeFaults(HWND Wnd);
// A window's whole client area as shown now, read in one copy.
class TClientPixels {
public:
    explicit TClientPixels(HWND Wnd);
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    COLORREF At(int X, int Y) const { return FPixels[static_cast<size_t>(Y) * FWidth + X]; }
    bool operator==(const TClientPixels& O) const { return FWidth == O.FWidth && FPixels == O.FPixels; }
    int Count(COLORREF C) const { return static_cast<int>(std::count(FPixels.begin(), FPixels.end(), C)); }

private:
    int FWidth = 0, FHeight = 0;
    std::vector<COLORREF> FPixels;
};

// What a system message box showed, read by a watcher thread, which then pressed one of its buttons.
struct TBoxSeen {
    bool Found = false;
    std::string Caption, Text;
    HWND Owner = nullptr;
    bool Icon = false;
    int Buttons = 0;
    bool WatchedEnabled = true;  // whether the window Watched was enabled while the box was open
};

// Watches, from a thread of its own, for the next message box of the thread that makes the watcher: once it is on
// screen with its text, reads it and presses Answer. A box of another thread or program is not its business.
class TBoxWatcher {
public:
    explicit TBoxWatcher(int Answer, HWND Watched = nullptr);
    ~TBoxWatcher();
    TBoxWatcher(const TBoxWatcher&) = delete;
    TBoxWatcher& operator=(const TBoxWatcher&) = delete;
    // What the watcher saw, read once it has finished (at the latest when it gave up waiting).
    TBoxSeen Seen();

private:
    void Watch(DWORD Shower, int Answer, HWND Watched);
    TBoxSeen FSeen;
    TWatcherThread FThread;
};

// What GDI itself measures for a single line in a font.
SIZE TextExtent(const TFont& Font, const std::string& Text);

}  // namespace testsupport
