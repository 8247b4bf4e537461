#pragma once
// The confirmation window of the uninstaller.

#include <string>

#include "Buttons.h"
#include "ComCtrls.h"
#include "ExtCtrls.h"
#include "StdCtrls.h"
#include "VelRootFrm.h"

class TStringList;

// Asks whether to uninstall; "卸载" removes the product, and a completed uninstall removes the uninstaller itself
// when the window closes.
class TForm1 : public TLicenseRootForm {
public:
    explicit TForm1(TComponent* AOwner);

    TPanel* PanelSet5 = nullptr;
    TLabel* Label8 = nullptr;
    TPanel* panButton = nullptr;
    TShape* Shape12 = nullptr;
    TBitBtn* BtnNext = nullptr;
    TBitBtn* BtnCancel = nullptr;

    void FormCreate(TObject* Sender);
    void BtnCancelClick(TObject* Sender);
    // The uninstall (TUninstall): every value it needs is read and checked first, then the steps run in one pass and
    // the completion box says what waits for the restart or stays.
    void BtnNextClick(TObject* Sender);
    // After a completed uninstall: writes and starts the batch file that deletes the executable once it is free.
    void FormClose(TObject* Sender, TCloseAction& Action);

    bool Uninstalled() const { return FUninstalled; }
    const WideString& InstallDir() const { return FInstallDir; }

    // The members below are the uninstall's own operations, as the tests and the bench reach them.

    // The installation folder: the system drive's root + "Program Files\Corvane软件\Com"; empty when the Windows
    // folder names no drive root.
    static WideString GetInstallDir();
    // Deletes a shortcut file if a file (not a folder) is there, as itself: never a link's target, nothing through a
    // folder that is a link.
    static void DeleteShortcut(const WideString& Path);
    // Deletes every file of the folder tree Dir (no trailing backslash); with RemoveFolders also the names that begin
    // with a full stop and the emptied folders (TRemoval::FolderTree). False, doing nothing, when Dir is not an
    // existing folder below a drive or share root, or is itself a link.
    static bool DeleteFolderTree(const WideString& Dir, bool RemoveFolders);
    // Appends, in snapshot order, the ids (decimal) of the running processes whose executable file name equals Name
    // (ASCII letters compared without case) to List; returns their number.
    static int FindProcessesByName(const std::string& Name, TStringList* List);
    // Terminates (exit code 0) every process that FindProcessesByName finds, except the calling one, and waits up to
    // five seconds in all for them to end, so that their files are free before their folder is deleted.
    static void KillProcessesByName(const std::string& Name);

    // The bar that shows the removal under way; null before it starts.
    TProgressBar* ProgressBar() const { return FProgressBar; }

private:
    void ShowRemovalUnderWay();

    TProgressBar* FProgressBar = nullptr;
    bool FBusy = false;
    bool FUninstalled = false;
    WideString FInstallDir;
    std::string FExePath;
};

extern TForm1* Form1;
