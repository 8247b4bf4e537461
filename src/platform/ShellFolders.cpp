#include "ShellFolders.h"

#include <shlobj.h>

#include "Registry.h"
#include "SystemLibraries.h"
#include "WinServices.h"

namespace {

const char* const ShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

WideString Expanded(const WideString& Value)
{
    WideString buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ExpandEnvironmentStringsW(Value.c_str(), &buffer[0], static_cast<DWORD>(buffer.size()));
        if (n == 0) return WideString();
        if (n <= buffer.size()) return buffer.substr(0, n - 1);
        buffer.resize(n);
    }
}

// The system's own idea of a shell folder, for a value that is missing.
WideString KnownFolder(int Csidl)
{
    using TGetFolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
    static const auto get = SystemFunction<TGetFolderPath>("shell32.dll", "SHGetFolderPathW");
    wchar_t path[MAX_PATH] = {};
    return get && SUCCEEDED(get(nullptr, Csidl, nullptr, 0, path)) ? WideString(path) : WideString();
}

}  // namespace

WideString ShellFolder(HKEY Root, const char* Name, bool CanCreate, int Csidl)
{
    TRegistry registry;
    registry.SetRootKey(Root);
    registry.OpenKey(ShellFoldersKey, CanCreate);  // a key that is not open reads as empty
    DWORD type = REG_NONE;
    WideString folder = registry.ReadWideString(Name, &type);
    if (type == REG_EXPAND_SZ) folder = Expanded(folder);
    // A 32-bit program reads the registry's 32-bit view, where the value may never have been written.
    if (folder.empty()) folder = KnownFolder(Csidl);
    // An empty or relative value would address whatever the current drive or folder is.
    return PathKind(folder) == TPathKind::BelowRoot ? folder : WideString();
}

WideString QuickLaunchFolder()
{
    const WideString appData = ShellFolder(HKEY_CURRENT_USER, "AppData", false, CSIDL_APPDATA);
    return appData.empty() ? WideString()
                           : IncludeTrailingBackslash(appData) + L"Microsoft\\Internet Explorer\\Quick Launch";
}
