// The whole uninstaller as a user meets it: starts Uninstall.exe (argument 1), clicks "卸载" once its window shows,
// and times until the completion box shows; then answers the box and waits for the program to end. Prints
// "program <seconds>", or a line saying what did not come. The peer's whole program (argument 2) is timed from its
// start to its end, after ours or before it ("peer-first"), and prints "peer <seconds>".
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct TFind {
    DWORD Process;
    const char* Text;  // a child's text to find, or null for a visible top-level window of the process
    HWND Found;
};

BOOL CALLBACK FindChild(HWND Window, LPARAM Data)
{
    TFind& find = *reinterpret_cast<TFind*>(Data);
    char text[64] = {};
    GetWindowTextA(Window, text, sizeof text);
    if (std::strcmp(text, find.Text) != 0) return TRUE;
    find.Found = Window;
    return FALSE;
}

BOOL CALLBACK FindTopLevel(HWND Window, LPARAM Data)
{
    TFind& find = *reinterpret_cast<TFind*>(Data);
    DWORD process = 0;
    GetWindowThreadProcessId(Window, &process);
    if (process != find.Process || !IsWindowVisible(Window)) return TRUE;
    find.Found = Window;
    return FALSE;
}

HWND VisibleWindow(DWORD Process)
{
    TFind find = {Process, nullptr, nullptr};
    EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&find));
    return find.Found;
}

HWND Child(HWND Parent, const char* Text)
{
    TFind find = {0, Text, nullptr};
    EnumChildWindows(Parent, FindChild, reinterpret_cast<LPARAM>(&find));
    return find.Found;
}

// The window that the thread has active: one request to Wine's server, where a search of every window costs one or
// two for each window. The bench looks every 10 ms while the program removes the tree, and each request it makes
// waits at the same single server as the program's own: the search made a tenth of the requests the server answered
// while the program it timed removed the tree, and none while the peer ran, whose end is awaited without looking.
HWND ActiveWindow(DWORD Thread)
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(Thread, &info) ? info.hwndActive : nullptr;
}

// Waits up to Seconds for Get to give a window, looking every 10 ms: more often would take the program's turns at
// Wine's server.
template <class F>
HWND WaitFor(F Get, int Seconds)
{
    for (int i = 0; i < Seconds * 100; ++i, Sleep(10))
        if (HWND window = Get()) return window;
    return nullptr;
}

double Seconds(const LARGE_INTEGER& From, const LARGE_INTEGER& To)
{
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(To.QuadPart - From.QuadPart) / static_cast<double>(f.QuadPart);
}

bool Start(const char* Program, PROCESS_INFORMATION& Started)
{
    std::string command = std::string("\"") + Program + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    return CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &Started) != FALSE;
}

int TimePeer(const char* Peer)
{
    PROCESS_INFORMATION pi = {};
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    if (!Start(Peer, pi)) return std::printf("peer did not start\n"), 1;
    WaitForSingleObject(pi.hProcess, INFINITE);
    QueryPerformanceCounter(&t1);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    std::printf("peer %.3f\n", Seconds(t0, t1));
    return 0;
}

// Clicks "卸载" in a started Uninstall.exe and prints the time until its completion box shows; then answers it.
int TimeProgram(const char* Program)
{
    PROCESS_INFORMATION pi = {};
    if (!Start(Program, pi)) return std::printf("program did not start\n"), 1;
    const DWORD process = pi.dwProcessId;
    const HWND form = WaitFor([process] { return VisibleWindow(process); }, 60);
    const HWND next = form ? WaitFor([form] { return Child(form, "卸载"); }, 10) : nullptr;
    if (!next) return std::printf("program showed no window\n"), 1;
    Sleep(500);  // as a user reads the question
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    PostMessageA(next, BM_CLICK, 0, 0);
    const DWORD thread = pi.dwThreadId;  // the one that makes the program's windows
    const HWND box = WaitFor(
        [thread, form] {
            const HWND active = ActiveWindow(thread);
            return active && active != form && IsWindowVisible(active) ? active : nullptr;
        },
        600);
    QueryPerformanceCounter(&t1);
    if (!box) return std::printf("program showed no completion box\n"), 1;
    std::printf("program %.3f\n", Seconds(t0, t1));
    const HWND ok = WaitFor([box] { return Child(box, "确定"); }, 10);
    if (ok) PostMessageA(ok, BM_CLICK, 0, 0);
    WaitForSingleObject(pi.hProcess, 30000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return 0;
}

}  // namespace

// With "peer-first" the peer's program goes first: the bench alternates the order from round to round.
int main(int argc, char** argv)
{
    const bool peerFirst = argc == 4 && std::strcmp(argv[3], "peer-first") == 0;
    if (argc != 3 && !peerFirst)
        return std::fprintf(stderr, "usage: BenchUninstall <Uninstall.exe> <peer.exe> [peer-first]\n"), 2;
    if (peerFirst && TimePeer(argv[2]) != 0) return 1;
    const int result = TimeProgram(argv[1]);
    return peerFirst || result != 0 ? result : TimePeer(argv[2]);
}
