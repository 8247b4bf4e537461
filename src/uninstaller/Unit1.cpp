#include "Unit1.h"

#include <vector>

#include "CVProgressBarStyle.h"
#include "Classes.h"
#include "Forms.h"
#include "Processes.h"
#include "Uninstall.h"
#include "VelPublicFun.h"
#include "WinServices.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(TComponent* AOwner) : TLicenseRootForm(AOwner)
{
    OnCloseQuery = [this](TObject*, bool& CanClose) { CanClose = !FBusy; };
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
    // The question is painted by a label, which has no window: the panel that carries it holds the text too, unpainted,
    // so that a screen reader announces it.
    PanelSet5->SetShowCaption(false);
    PanelSet5->SetCaption(Label8->Caption());
}

void TForm1::BtnCancelClick(TObject*)
{
    Close();
}

void TForm1::BtnNextClick(TObject*)
{
    TUninstall uninstall;  // a value that cannot be used is reported here, before anything is touched
    FInstallDir = uninstall.Plan().InstallDir;
    ShowRemovalUnderWay();
    // The removal runs on a thread of its own, so that the window keeps answering and shows how far it has come;
    // until it has ended the window cannot be closed.
    TUninstallProgress progress;
    FBusy = true;
    try {
        Application->RunAside([&uninstall, &progress] { uninstall.Run(&progress); },
                              [this, &progress] {
                                  FProgressBar->SetMax(progress.Total);
                                  FProgressBar->SetPosition(progress.Done);
                              });
    } catch (...) {
        FBusy = false;
        throw;
    }
    FBusy = false;
    FUninstalled = true;
    Hide();
    // Completion is reported whatever the single steps achieved; what waits for the restart or stays is said.
    ShowInfo(uninstall.CompletionText(), 0);
    Close();
}

void TForm1::ShowRemovalUnderWay()
{
    Label8->SetCaption("正在卸载Quintaro，请稍候…");
    PanelSet5->SetCaption(Label8->Caption());
    BtnNext->SetEnabled(false);
    BtnCancel->SetEnabled(false);
    FProgressBar = new TProgressBar(this);
    FProgressBar->SetBounds(Label8->Left(), Label8->Top() + 32, 220, 14);
    StyleProgressBar(FProgressBar, ProgressBarStyleDefaults);  // made after the look pass: styled here
    FProgressBar->SetParent(PanelSet5);
    Update();
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
