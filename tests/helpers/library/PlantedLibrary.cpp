// A library that tests load, or plant under a system library's name: once loaded into a process it writes the file
// that QUINTARO_PLANTED_MARKER names, if that is set.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD Reason, LPVOID)
{
    char marker[MAX_PATH] = {};
    if (Reason == DLL_PROCESS_ATTACH && GetEnvironmentVariableA("QUINTARO_PLANTED_MARKER", marker, MAX_PATH)) {
        HANDLE file = CreateFileA(marker, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    }
    return TRUE;
}
