#pragma once
// The uninstall of Quintaro, the one road that the confirmation window, the tests and the bench take: a plan first
// (every value the job needs, read and checked, in UTF-16), then the steps in their order, then the completion text;
// and the self-removal that follows a completed uninstall.

#include <atomic>
#include <string>
#include <vector>

#include "Classes.h"
#include "Removal.h"

class TStringList;

// The product's executable, whose running copies are ended.
extern const wchar_t* const ProductExe;

// Every path the uninstall acts on. Empty where its shell folder is unusable (missing, relative): that step is
// passed over.
struct TUninstallPlan {
    WideString Group;                // <Common Programs>\Quintaro
    WideString DesktopShortcut;      // <Common Desktop>\Quintaro.LNK
    WideString QuickLaunchShortcut;  // <AppData>\Microsoft\Internet Explorer\Quick Launch\Quintaro.lnk
    WideString InstallDir;           // <system drive>\Program Files\Corvane软件\Com
};

// What the uninstall has done so far, for a progress bar on the window's thread: the entries of the installation
// folder dealt with, and the steps before it one each, out of all of them.
struct TUninstallProgress {
    std::atomic<long> Done{0};
    std::atomic<long> Total{1};
};

class TUninstall {
public:
    // Reads and checks everything the job needs. Throws, with nothing touched, where a shell-folder value is of
    // another type than a string (ERegistryException) or the Windows folder names no drive.
    TUninstall();

    const TUninstallPlan& Plan() const { return FPlan; }
    // The steps in their order: the program group's shortcuts, the desktop and Quick Launch shortcuts, the running
    // copies, the installation folder. Best effort: what cannot go is passed over, or waits for the restart. With
    // Progress, the steps are counted into it as they go (from any thread).
    void Run(TUninstallProgress* Progress = nullptr);
    // "Quintaro卸载完成！", then what waits for the restart and the folder that stays, a line each.
    std::string CompletionText() const;

private:
    void DeleteGroup();

    TUninstallPlan FPlan;
    TRemoval FRemoval;
};

// The installation folder: the system drive's root + "Program Files\Corvane软件\Com"; empty when the Windows folder
// names no drive root.
WideString InstallationFolder();

// The lines of the batch file Batch that deletes Exe once it can, trying Tries times a second apart, then itself and
// the folder that holds it. Every program it starts is named by its full path in the system folder System.
void SelfRemovalLines(const std::string& Exe, const std::string& Batch, const std::string& System, TStringList& Lines,
                      int Tries);
// Where the run's private folder for that batch file may go, in the order tried: elevated, the system's temporary
// folder first, then the user's; each in a form cmd reads as one path, and passed over where it has none.
std::vector<std::string> SelfRemovalParents(bool Elevated);
// Writes that batch file for the executable Exe into a folder made new for it and starts it hidden, with cmd.exe from
// the system folder. Throws where it cannot.
void StartSelfRemoval(const std::string& Exe);
