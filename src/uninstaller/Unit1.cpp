#include "Unit1.h"

#include <vector>

#include "Classes.h"
#include "Forms.h"
#include "Processes.h"
#include "Uninstall.h"
#include "VelPublicFun.h"
#include "WinServices.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(TComponent* AOwner) : TLicenseRootForm(AOwner)
{
    AddLayout("TFORM1");
    PublishField("PanelSet5", PanelSet5);
    PublishField("Label8", Label8);
    PublishField("panButton", panButton);
    PublishField("Shape12", Shape12);
    PublishField("BtnNext", BtnNext);
    PublishField("BtnCancel", BtnCancel);
    PublishMethod("FormCreate", TNotifyEvent([this](TObject* Sender) { FormCreate(Sender); }));
    PublishMethod("BtnNextClick", TNotifyEvent([this](TObject* Sender) { BtnNextClick(Sender); }));
    PublishMethod("BtnCancelClick", TNotifyEvent([this](TObject* Sender) { BtnCancelClick(Sender); }));
    PublishMethod("FormClose",
                  TCloseEvent([this](TObject* Sender, TCloseAction& Action) { FormClose(Sender, Action); }));
}

void TForm1::FormCreate(TObject*)
{
    FUninstalled = false;
}

void TForm1::BtnCancelClick(TObject*)
{
    Close();
}

void TForm1::BtnNextClick(TObject*)
{
    TUninstall uninstall;  // a value that cannot be used is reported here, before anything is touched
    FInstallDir = uninstall.Plan().InstallDir;
    uninstall.Run();
    FUninstalled = true;
    Hide();
    // Completion is reported whatever the single steps achieved; what waits for the restart or stays is said.
    ShowInfo(uninstall.CompletionText(), 0);
    Close();
}

void TForm1::FormClose(TObject*, TCloseAction&)
{
    if (!FUninstalled || IsDebuggerPresent()) return;
    // Empty when the path has no exact ANSI form: nothing is deleted through a look-alike of it.
    FExePath = Trim(ModuleFileName());
    if (FExePath.empty()) return;
    try {
        StartSelfRemoval(FExePath);
    } catch (const std::exception& e) {
        // Reported, and the program still ends: its window is already hidden.
        Application->HandleException(&e);
    }
}

WideString TForm1::GetInstallDir()
{
    return InstallationFolder();
}

void TForm1::DeleteShortcut(const WideString& Path)
{
    TRemoval().Shortcut(Path);
}

bool TForm1::DeleteFolderTree(const WideString& Dir, bool RemoveFolders)
{
    return TRemoval().FolderTree(Dir, RemoveFolders);
}

int TForm1::FindProcessesByName(const std::string& Name, TStringList* List)
{
    const std::vector<DWORD> ids = FindProcesses(AnsiToWide(Name));
    for (DWORD id : ids) List->Add(IntToStr(id));
    return static_cast<int>(ids.size());
}

void TForm1::KillProcessesByName(const std::string& Name)
{
    EndProcesses(AnsiToWide(Name));
}
