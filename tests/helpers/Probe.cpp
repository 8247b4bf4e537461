// Watches the uninstaller's window from another process, as the system and a user's tools do: every 50 ms a WM_NULL
// with a time-out, and the position of every progress bar in it, until the window is hidden. Prints the longest
// answer in milliseconds, the number of probes, and the distinct positions seen.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <set>

namespace {

BOOL CALLBACK ReadPosition(HWND Child, LPARAM Data)
{
    // Only messages without pointers: those would not be carried into another process.
    DWORD_PTR high = 0, position = 0;
    if (SendMessageTimeoutA(Child, PBM_GETRANGE, FALSE, 0, SMTO_ABORTIFHUNG, 1000, &high) && high > 0 &&
        SendMessageTimeoutA(Child, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 1000, &position))
        reinterpret_cast<std::set<long>*>(Data)->insert(static_cast<long>(position));
    return TRUE;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return 2;
    HWND window = nullptr;
    for (int i = 0; i < 600 && !window; ++i, Sleep(100)) window = FindWindowA(nullptr, argv[1]);
    if (!window) return 1;
    DWORD longest = 0;
    int probes = 0;
    std::set<long> positions;
    const DWORD start = GetTickCount();
    while (IsWindow(window) && IsWindowVisible(window) && GetTickCount() - start < 300000) {
        const DWORD before = GetTickCount();
        DWORD_PTR result = 0;
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &result);
        const DWORD took = GetTickCount() - before;
        if (took > longest) longest = took;
        ++probes;
        EnumChildWindows(window, ReadPosition, reinterpret_cast<LPARAM>(&positions));
        Sleep(50);
    }
    std::printf("%lu %d %u\n", static_cast<unsigned long>(longest), probes, static_cast<unsigned>(positions.size()));
    return 0;
}
