#include "SystemLibraries.h"

#include <string>

namespace {

// The generic function pointer type converts to any other without a cast warning.
template <class TFunction>
TFunction Lookup(HMODULE Module, const char* Function)
{
    return reinterpret_cast<TFunction>(reinterpret_cast<void (*)()>(GetProcAddress(Module, Function)));
}

}  // namespace

void RestrictLibrarySearch()
{
    // Systems from Windows 7 with its update KB2533623 on can keep the search to the system folder; SetDllDirectory
    // with an empty name takes the current folder out of it on every system that has elevation.
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    using TSetDefault = BOOL(WINAPI*)(DWORD);
    using TSetDirectory = BOOL(WINAPI*)(LPCWSTR);
    if (const auto setDefault = Lookup<TSetDefault>(kernel, "SetDefaultDllDirectories"))
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (const auto setDirectory = Lookup<TSetDirectory>(kernel, "SetDllDirectoryW")) setDirectory(L"");
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
