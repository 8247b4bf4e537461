#include "VelPublicFun.h"

#include <windows.h>

#include <memory>

#include "Classes.h"
#include "Forms.h"
#include "Removal.h"
#include "ShellFolders.h"
#include "VelMessageBoxFrm.h"

namespace {

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
    return TRemoval().WholeTree(AnsiToWide(Folder));
}

WideString QuickLaunchShortcut(const WideString& ExeName)
{
    const WideString folder = QuickLaunchFolder();
    if (folder.empty()) return WideString();
    const size_t separator = ExeName.find_last_of(L"\\:");
    WideString name = separator == WideString::npos ? ExeName : ExeName.substr(separator + 1);
    const size_t dot = name.rfind(L'.');
    if (dot != WideString::npos) name.erase(dot);
    return folder + L"\\" + name + L".lnk";
}

bool DeleteQuickLaunchShortcut(const std::string& ExeName)
{
    const WideString shortcut = QuickLaunchShortcut(AnsiToWide(ExeName));
    return !shortcut.empty() && TRemoval().Shortcut(shortcut);
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
