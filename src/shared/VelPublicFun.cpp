#include "VelPublicFun.h"

#include <windows.h>

#include <memory>

#include "Classes.h"
#include "Forms.h"
#include "Registry.h"
#include "VelMessageBoxFrm.h"
#include "WinServices.h"

namespace {

const char* const ShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// The current user's "AppData" folder as stored (the key is not created), exactly; empty when it cannot be read or
// has no exact ANSI form.
std::string UserAppData()
{
    TRegistry reg;
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (!reg.OpenKey(ShellFoldersKey, false)) return std::string();
    return ExactAnsiPath(reg.ReadWideString("AppData"));  // a failure passes on; the key closes with reg
}

// The program's top-most windows step out of the top-most band for as long as this lives.
class TTopMostsNormalized {
public:
    TTopMostsNormalized() { Application->NormalizeTopMosts(); }
    ~TTopMostsNormalized() { Application->RestoreTopMosts(); }
    TTopMostsNormalized(const TTopMostsNormalized&) = delete;
    TTopMostsNormalized& operator=(const TTopMostsNormalized&) = delete;
};

int ShowStyledBox(const char* Text, const char* Caption, int Flags)
{
    // Declared in this order, the box is freed before the top-most windows are restored, on every path.
    TTopMostsNormalized normalized;
    const std::unique_ptr<TVelMessageBoxForm> box(TCustomForm::Create<TVelMessageBoxForm>(nullptr));
    SetWindowPos(box->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
    box->SetMessage(Text);
    box->SetCaption(Caption);
    box->SetStyle(Flags);
    return box->ShowModal();
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
    // An empty or relative value would put the folder below whatever the current drive or folder is; no user's
    // AppData folder is a drive root.
    if (PathKind(appData) != TPathKind::BelowRoot) return false;
    std::string folder = appData + "\\Microsoft\\Internet Explorer\\Quick Launch";
    return DeleteFileItself(folder + "\\" + ChangeFileExt(ExtractFileName(ExeName), ".lnk"));
}

int ShowMessageBoxForm(const char* Text, const char* Caption, int Flags, unsigned char Mode)
{
    switch (Mode) {
    case 0: return ShowStyledBox(Text, Caption, Flags);
    case 1: return Application->MessageBox(Text, Caption, static_cast<UINT>(Flags));
    default: return 0;
    }
}

void ShowInfo(const std::string& Msg, unsigned char Mode)
{
    switch (Mode) {
    case 0: ShowMessageBoxForm(Msg.c_str(), "提示", 0, 0); break;
    case 1: ShowMessage(Msg); break;
    default: break;
    }
}
