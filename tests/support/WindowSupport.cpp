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

}  // namespace testsupport
