#include "WindowSupport.h"

#include <stdexcept>

#include "DeviceContexts.h"

namespace testsupport {

namespace {

void DrainQueue()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// The bar's first row and column on the window against its top line and against what the bar itself paints into
// column 0 (the caption text may reach it): "" when they match.
std::string TitleBarEdgeFault(HWND Wnd)
{
    constexpr COLORREF TopLine = RGB(0x1E, 0x55, 0x95);
    constexpr int BarHeight = 22;
    RECT window{}, client{};
    GetWindowRect(Wnd, &window);
    GetClientRect(Wnd, &client);
    POINT origin{0, 0};
    ClientToScreen(Wnd, &origin);
    const int left = origin.x - window.left, top = origin.y - window.top;
    TWindowDC dc(Wnd, true);
    for (int x = 0; x < client.right; ++x)
        if (GetPixel(dc.Handle(), left + x, top) != TopLine) return "row 0 differs at x " + std::to_string(x);
    COLORREF shown[BarHeight];
    for (int y = 0; y < BarHeight; ++y) shown[y] = GetPixel(dc.Handle(), left, top + y);
    RedrawWindow(ChildWindowFromPoint(Wnd, POINT{0, 0}), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    for (int y = 0; y < BarHeight; ++y)
        if (shown[y] != GetPixel(dc.Handle(), left, top + y)) return "column 0 differs at y " + std::to_string(y);
    return "";
}

}  // namespace

TWatcherThread::TWatcherThread(std::function<void()> Body) : FBody(std::move(Body))
{
    FThread = CreateThread(nullptr, 0, &TWatcherThread::Run, this, 0, nullptr);
    if (!FThread) throw std::runtime_error("CreateThread failed");
}

DWORD WINAPI TWatcherThread::Run(LPVOID Self)
{
    static_cast<TWatcherThread*>(Self)->FBody();
    return 0;
}

TWatcherThread::~TWatcherThread()
{
    WaitForSingleObject(FThread, INFINITE);
    CloseHandle(FThread);
}

std::string TitleBarEdgeFaults(HWND Wnd)
{
    std::string faults;
    auto check = [&](const std::string& Step) {
        const std::string fault = TitleBarEdgeFault(Wnd);
        if (!fault.empty()) faults += Step + ": " + fault + "; ";
    };
    check("shown");
    {
        TPopupWindow other(0, nullptr, 0);
        SetActiveWindow(other.Handle());
        Pump();
        SetActiveWindow(Wnd);
        Pump();
    }
    Pump();
    check("activated again");
    RECT window{};
    GetWindowRect(Wnd, &window);
    SetCursorPos(window.left, (window.top + window.bottom) / 2);  // on the left frame
    PumpFor(100);
    check("pointer over the frame");
    char caption[256] = "";
    GetWindowTextA(Wnd, caption, sizeof caption);
    SetWindowTextA(Wnd, (std::string(caption) + " ").c_str());
    Pump();
    check("caption changed");
    return faults;
}

void Pump(int Rounds)
{
    for (int round = 0; round < Rounds; ++round) {
        DrainQueue();
        Sleep(10);
    }
}

void PumpFor(DWORD Milliseconds)
{
    const DWORD start = GetTickCount();
    do {
        DrainQueue();
        Sleep(5);
    } while (GetTickCount() - start < Milliseconds);
}

TPopupWindow::TPopupWindow(DWORD ExStyle, HWND Owner, int Left)
    : FWnd(CreateWindowExA(ExStyle | WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP | WS_VISIBLE, Left, 10, 100, 60, Owner,
                           nullptr, GetModuleHandleA(nullptr), nullptr))
{
}

TPopupWindow::~TPopupWindow() { DestroyWindow(FWnd); }

SIZE TextExtent(const TFont& Font, const std::string& Text)
{
    TWindowDC screen(nullptr);
    TObjectSelection font(screen.Handle(), Font.Handle());
    SIZE size{};
    GetTextExtentPoint32A(screen.Handle(), Text.c_str(), static_cast<int>(Text.size()), &size);
    return size;
}

COLORREF ClientPixel(HWND Wnd, int X, int Y)
{
    TWindowDC dc(Wnd);
    return GetPixel(dc.Handle(), X, Y);
}

TClientPixels::TClientPixels(HWND Wnd)
{
    RECT rc;
    GetClientRect(Wnd, &rc);
    FWidth = rc.right;
    FHeight = rc.bottom;
    TWindowDC window(Wnd);
    TGdiObject image(CreateCompatibleBitmap(window.Handle(), FWidth, FHeight));
    {
        TMemoryDC memory(window.Handle(), static_cast<HBITMAP>(image.Get()));
        BitBlt(memory.Handle(), 0, 0, FWidth, FHeight, window.Handle(), 0, 0, SRCCOPY);
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = FWidth;
    info.bmiHeader.biHeight = -FHeight;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<RGBQUAD> quads(static_cast<size_t>(FWidth) * FHeight);
    GetDIBits(window.Handle(), static_cast<HBITMAP>(image.Get()), 0, static_cast<UINT>(FHeight), quads.data(), &info,
              DIB_RGB_COLORS);
    FPixels.reserve(quads.size());
    for (const RGBQUAD& q : quads) FPixels.push_back(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue));
}

COLORREF WindowPixel(HWND Wnd, int X, int Y)
{
    TWindowDC dc(Wnd, true);
    return GetPixel(dc.Handle(), X, Y);
}

void ClickAt(POINT Screen)
{
    SetCursorPos(Screen.x, Screen.y);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, input, sizeof(INPUT));
}

}  // namespace testsupport
