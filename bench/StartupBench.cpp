// Start-up time: from CreateProcess until the program's first top-level window is visible and painted, for a bare
// Win32 window (this program itself with "--bare") and for the given program, taking turns so that load from other
// processes weighs on both alike. Prints the medians and their ratio.
// Usage: StartupBench <program.exe> [runs]   (default 15 runs each)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// The floor: a window of the same size from the fewest lines the system allows.
int RunBareWindow()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "BareWindow";
    RegisterClassA(&wc);
    HWND wnd = CreateWindowA("BareWindow", "Bare", WS_POPUP | WS_CAPTION | WS_SYSMENU, 100, 100, 535, 396, nullptr,
                             nullptr, wc.hInstance, nullptr);
    ShowWindow(wnd, SW_SHOW);
    UpdateWindow(wnd);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}

struct TShownWindow {
    DWORD ProcessId;
    bool Shown;
};

BOOL CALLBACK FindShown(HWND Wnd, LPARAM Param)
{
    auto* search = reinterpret_cast<TShownWindow*>(Param);
    DWORD pid = 0;
    GetWindowThreadProcessId(Wnd, &pid);
    // Visible, and its first WM_PAINT is done: nothing is left to paint.
    if (pid == search->ProcessId && IsWindowVisible(Wnd) && !GetUpdateRect(Wnd, nullptr, FALSE)) {
        search->Shown = true;
        return FALSE;
    }
    return TRUE;
}

double Seconds(const LARGE_INTEGER& From, const LARGE_INTEGER& To)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(To.QuadPart - From.QuadPart) / double(frequency.QuadPart);
}

// Seconds until the started program shows its window; negative when it does not within ten seconds.
double TimeToWindow(std::string CommandLine)
{
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    LARGE_INTEGER start, now;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(nullptr, &CommandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -1;
    double elapsed = -1;
    for (;;) {
        TShownWindow search{pi.dwProcessId, false};
        EnumWindows(FindShown, reinterpret_cast<LPARAM>(&search));
        QueryPerformanceCounter(&now);
        if (search.Shown) {
            elapsed = Seconds(start, now);
            break;
        }
        if (Seconds(start, now) > 10 || WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) break;
        Sleep(1);
    }
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 5000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return elapsed;
}

double Median(std::vector<double> Values)
{
    std::sort(Values.begin(), Values.end());
    const size_t n = Values.size();
    return n % 2 ? Values[n / 2] : (Values[n / 2 - 1] + Values[n / 2]) / 2;
}

// "median s (min-max)".
void PrintFigure(const char* Name, const std::vector<double>& Values)
{
    const auto range = std::minmax_element(Values.begin(), Values.end());
    std::printf("  %-12s %8.3f s (%.3f-%.3f)\n", Name, Median(Values), *range.first, *range.second);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::string(argv[1]) == "--bare") return RunBareWindow();
    const int runs = argc > 2 ? std::atoi(argv[2]) : 15;
    if (argc < 2 || runs <= 0) {
        std::fprintf(stderr, "usage: StartupBench <program.exe> [runs > 0]\n");
        return 2;
    }
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string bare = std::string("\"") + self + "\" --bare", program = std::string("\"") + argv[1] + "\"";
    TimeToWindow(bare);  // the first start loads the libraries into the cache for both
    TimeToWindow(program);
    std::vector<double> bareTimes, programTimes;
    int missed = 0;  // starts whose window did not show: left out, and counted
    for (int i = 0; i < runs; ++i) {
        // Each goes first in every other round.
        const auto order = i % 2 ? std::vector<std::vector<double>*>{&programTimes, &bareTimes}
                                 : std::vector<std::vector<double>*>{&bareTimes, &programTimes};
        for (auto* run : order) {
            const double seconds = TimeToWindow(run == &bareTimes ? bare : program);
            if (seconds < 0) ++missed; else run->push_back(seconds);
        }
    }
    if (bareTimes.empty() || programTimes.empty()) {
        std::fprintf(stderr, "StartupBench: a window did not appear within ten seconds\n");
        return 1;
    }
    if (missed) std::printf("StartupBench: %d starts showed no window within ten seconds and are left out\n", missed);
    const double bareMedian = Median(bareTimes), programMedian = Median(programTimes);
    std::printf("StartupBench: start until the first window is visible and painted, median (min-max) of %d runs "
                "each, taking turns\n", runs);
    PrintFigure("bare window:", bareTimes);
    PrintFigure("program:", programTimes);
    std::printf("  program/bare: %.2f\n", programMedian / bareMedian);
    return 0;
}
