#include "WindowSupport.h"

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

}  // namespace

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
