#include "VelPublicFun.h"

#include "Classes.h"
#include "Registry.h"
#include "WinServices.h"

namespace {

const char* const ShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// The current user's "AppData" folder as stored (the key is not created); empty when it cannot be read.
std::string UserAppData()
{
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (!reg.OpenKey(ShellFoldersKey, false)) return std::string();
    return reg.ReadString("AppData");  // a failure passes on; the key closes with reg
}

}  // namespace

bool ShellDeleteFolder(const std::string& Folder)
{
    if (PathKind(Folder) != TPathKind::BelowRoot || !IsLinkFreeFolder(Folder)) return false;
    return ShellDeleteTree(Folder);
}

bool DeleteQuickLaunchShortcut(const std::string& ExeName)
{
    std::string appData = UserAppData();
    // An empty or relative value would put the folder below whatever the current drive or folder is.
    if (PathKind(appData) == TPathKind::Relative) return false;
    std::string folder = appData + "\\Microsoft\\Internet Explorer\\Quick Launch";
    return FileDelete(folder + "\\" + ChangeFileExt(ExtractFileName(ExeName), ".lnk"));
}
