#include "SystemLibraries.h"

#include <string>

void RestrictLibrarySearch()
{
    // Systems from Windows 7 with its update KB2533623 on can keep the search to the system folder; SetDllDirectory
    // with an empty name takes the current folder out of it on every system that has elevation.
    using TSetDefault = BOOL(WINAPI*)(DWORD);
    using TSetDirectory = BOOL(WINAPI*)(LPCWSTR);
    if (const auto setDefault = SystemFunction<TSetDefault>("kernel32.dll", "SetDefaultDllDirectories"))
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (const auto setDirectory = SystemFunction<TSetDirectory>("kernel32.dll", "SetDllDirectoryW")) setDirectory(L"");
}

HMODULE SystemLibrary(const char* Library)
{
    char folder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    return LoadLibraryA((std::string(folder, length) + "\\" + Library).c_str());
}

FARPROC SystemProcAddress(const char* Library, const char* Function)
{
    const HMODULE module = SystemLibrary(Library);
    return module ? GetProcAddress(module, Function) : nullptr;
}
