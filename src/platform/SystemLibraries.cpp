#include "SystemLibraries.h"

#include <string>

FARPROC SystemProcAddress(const char* Library, const char* Function)
{
    char folder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const HMODULE module = LoadLibraryA((std::string(folder, length) + "\\" + Library).c_str());
    return module ? GetProcAddress(module, Function) : nullptr;
}
