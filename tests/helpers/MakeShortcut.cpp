// Creates a real shell shortcut: MakeShortcut <link path> <target path>.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: MakeShortcut <link.lnk> <target>\n");
        return 2;
    }
    if (FAILED(CoInitialize(nullptr))) return 1;
    int rc = 1;
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link)))) {
        link->SetPath(argv[2]);
        IPersistFile* file = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            WCHAR wide[MAX_PATH];
            MultiByteToWideChar(CP_ACP, 0, argv[1], -1, wide, MAX_PATH);
            if (SUCCEEDED(file->Save(wide, TRUE))) rc = 0;
            file->Release();
        }
        link->Release();
    }
    CoUninitialize();
    return rc;
}
