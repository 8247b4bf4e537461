#include "WindowSupport.h"

#include <stdexcept>
#include <iterator>
#include <tuple>
#include <vector>

#include "DeviceContexts.h"
#include "TestSupport.h"

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
    Join();
}

void TWatcherThread::Join()
{
    if (!FThread) return;
    WaitForSingleObject(FThread, INFINITE);
    CloseHandle(FThread);
    FThread = nullptr;
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

bool PumpUntil(const std::function<bool()>& Condition, DWORD Milliseconds)
{
    return WaitUntil([&] {
        DrainQueue();
        return Condition();
    }, Milliseconds);
}

namespace {

HWND MessageBoxOf(DWORD Thread)
{
    for (HWND box = FindWindowExA(nullptr, nullptr, "#32770", nullptr); box;
         box = FindWindowExA(nullptr, box, "#32770", nullptr))
        if (GetWindowThreadProcessId(box, nullptr) == Thread && IsWindowVisible(box) && GetDlgItem(box, 0xFFFF))
            return box;
    return nullptr;
}

TBoxSeen Read(HWND Box, HWND Watched)
{
    TBoxSeen seen;
    char text[256] = {};
    seen.Found = true;
    GetWindowTextA(Box, text, sizeof text);
    seen.Caption = text;
    GetDlgItemTextA(Box, 0xFFFF, text, sizeof text);
    seen.Text = text;
    seen.Owner = GetWindow(Box, GW_OWNER);
    seen.Icon = SendDlgItemMessageA(Box, 0x0440, STM_GETICON, 0, 0) != 0;
    for (HWND child = GetWindow(Box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char cls[32] = {};
        GetClassNameA(child, cls, sizeof cls);
        if (lstrcmpiA(cls, "Button") == 0 && IsWindowVisible(child)) ++seen.Buttons;
    }
    if (Watched) seen.WatchedEnabled = IsWindowEnabled(Watched) != FALSE;
    return seen;
}

}  // namespace

TBoxWatcher::TBoxWatcher(int Answer, HWND Watched)
    : FThread([this, Answer, Watched, shower = GetCurrentThreadId()] { Watch(shower, Answer, Watched); })
{
}

TBoxWatcher::~TBoxWatcher() { Seen(); }

TBoxSeen TBoxWatcher::Seen()
{
    FThread.Join();
    return FSeen;
}

void TBoxWatcher::Watch(DWORD Shower, int Answer, HWND Watched)
{
    HWND box = nullptr;
    if (!WaitUntil([&] { return (box = MessageBoxOf(Shower)) != nullptr; })) return;
    FSeen = Read(box, Watched);
    PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(Answer), 0);
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

std::string WindowIconFaults(HWND Wnd, int Id)
{
    std::string faults;
    for (const auto& [which, name, width] : {std::tuple{ICON_BIG, "big", SM_CXICON},
                                             std::tuple{ICON_SMALL, "small", SM_CXSMICON}}) {
        const int size = GetSystemMetrics(width);
        const HANDLE wanted = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(Id), IMAGE_ICON, size, size,
                                         LR_SHARED);
        const auto shown = reinterpret_cast<HANDLE>(SendMessageA(Wnd, WM_GETICON, static_cast<WPARAM>(which), 0));
        if (!wanted) faults += std::string(" no ") + name + " icon " + std::to_string(Id) + " in the program;";
        if (shown != wanted) faults += std::string(" the ") + name + " icon is not " + std::to_string(Id) + ";";
    }
    return faults;
}

std::string UnstyledButtons(const std::vector<std::pair<std::string, HWND>>& Buttons)
{
    constexpr COLORREF Border = RGB(136, 136, 134);
    std::string unstyled;
    for (const auto& [name, wnd] : Buttons) {
        RECT r{};
        GetClientRect(wnd, &r);
        if (ClientPixel(wnd, r.right / 2, 0) != Border || ClientPixel(wnd, 0, r.bottom / 2) != Border)
            unstyled += " " + name;
    }
    return unstyled;
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

namespace {

INPUT KeyInput(WORD Key, bool Up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = Key;
    input.ki.dwFlags = Up ? KEYEVENTF_KEYUP : 0;
    return input;
}

}  // namespace

void TypeKeys(std::initializer_list<WORD> Keys, std::initializer_list<WORD> Held)
{
    std::vector<INPUT> inputs;
    for (WORD key : Held) inputs.push_back(KeyInput(key, false));
    for (WORD key : Keys) {
        inputs.push_back(KeyInput(key, false));
        inputs.push_back(KeyInput(key, true));
    }
    for (auto it = std::rbegin(Held); it != std::rend(Held); ++it) inputs.push_back(KeyInput(*it, true));
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void TypeText(const std::string& Text)
{
    for (char c : Text) TypeKeys({static_cast<WORD>(LOBYTE(VkKeyScanA(c)))});
}

}  // namespace testsupport
