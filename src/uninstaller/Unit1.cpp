#include "Unit1.h"

#include <cstdlib>
#include <vector>

#include "Classes.h"
#include "Forms.h"
#include "Registry.h"
#include "VelPublicFun.h"
#include "WinServices.h"

namespace {

const DWORD TerminationWaitMs = 5000;
const DWORD VolumeLabelAttribute = 0x08;  // as directory entries of old file systems report a volume label

bool StartsWithFullStop(const TFindEntry& Entry)
{
    return !Entry.Name.empty() && Entry.Name[0] == L'.';
}

bool IsFolder(const WideString& Path)
{
    const DWORD a = GetFileAttributesW(Path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

enum class TFate { Deleted, Left, Link };

// Removes a file, or a link, through a handle that is known to be the entry itself, so that a link never takes its
// target along. An entry that cannot be opened so stays: in use, or a link the file system always resolves.
TFate DeleteEntry(const TFolderWalk& Walk, const TFindEntry& Entry)
{
    TEntryHandle handle = Walk.OpenItself(Entry, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES);
    if (handle.Valid()) {
        if (Entry.Attributes & FILE_ATTRIBUTE_READONLY) handle.SetAttributes(FILE_ATTRIBUTE_ARCHIVE);
        if (handle.Delete()) return TFate::Deleted;
    }
    // Asking for the attributes only is refused to no program that holds the file: what fails now is a link.
    return Walk.OpenItself(Entry, FILE_READ_ATTRIBUTES).Valid() ? TFate::Left : TFate::Link;
}

// What a folder's pass left behind. Where a link stays, at any depth, nothing of the folder may go through the shell
// or at the next restart; an enumeration that did not finish counts as such, since what it missed is unknown.
struct TFolderPass {
    bool Result = false;  // what the removal returns for the folder
    bool Left = false;
    bool LinkBelow = false;
};

void NoteFate(TFate Fate, TFolderPass& Pass)
{
    Pass.Left |= Fate != TFate::Deleted;
    Pass.LinkBelow |= Fate == TFate::Link;
}

// Everything left in a link-free folder, deepest first, and the folder itself, go at the next restart.
void ScheduleAtRestart(const WideString& Dir, const WideString& FinalName)
{
    TFolderWalk walk(Dir, FinalName);
    TFindEntry entry;
    while (walk.Next(entry)) {
        if (IsDotEntry(entry)) continue;
        TEntryHandle itself = walk.OpenItself(entry, FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES);
        if (!itself.Valid()) continue;  // never a link, whatever came there since the pass
        if (entry.Attributes & FILE_ATTRIBUTE_DIRECTORY) {
            ScheduleAtRestart(walk.PathOf(entry), walk.FinalNameOf(entry));
            continue;
        }
        if (entry.Attributes & FILE_ATTRIBUTE_READONLY) itself.SetAttributes(FILE_ATTRIBUTE_ARCHIVE);
        DeleteAtRestart(walk.PathOf(entry));
    }
    DeleteAtRestart(Dir);  // after what it holds, so that it is empty by then
}

// The shell takes what the pass left of a link-free folder (names that begin with a full stop, files it could not
// delete); what it cannot take now, such as a file in use and the folders above it, goes at the next restart.
void ClearLeftovers(const WideString& Dir, const WideString& FinalName)
{
    ShellDeleteTree(Dir);
    if (IsFolder(Dir)) ScheduleAtRestart(Dir, FinalName);
}

// One walk of the tree: each entry opened once, as itself. An emptied folder goes at once; what is left of a
// link-free folder is handed up, so that the shell removes it in one operation at the highest folder without a link.
TFolderPass DeleteTree(const WideString& Dir, const WideString& FinalName, bool RemoveFolders)
{
    TFolderPass pass;
    pass.Result = IsFolder(Dir);
    if (!pass.Result) return pass;
    std::vector<std::pair<WideString, WideString>> linkFreeLeftovers;  // subfolders: path and final name
    TFolderWalk walk(Dir, FinalName);
    TFindEntry entry;
    while (walk.Next(entry)) {
        const DWORD a = entry.Attributes;
        if (IsDotEntry(entry) || a == VolumeLabelAttribute) continue;  // volume labels are no files
        const bool folder = (a & FILE_ATTRIBUTE_DIRECTORY) && !(a & FILE_ATTRIBUTE_REPARSE_POINT);
        if (StartsWithFullStop(entry)) {
            // Such names go only with the shell removal of their folder, which must meet no link in them.
            pass.Left = true;
            if (!walk.OpenItself(entry, FILE_READ_ATTRIBUTES).Valid() || (a & FILE_ATTRIBUTE_REPARSE_POINT) ||
                (folder && !IsLinkFreeFolder(walk.PathOf(entry), walk.FinalNameOf(entry))))
                pass.LinkBelow = true;
        } else if (folder) {
            if (walk.OpenItself(entry, FILE_READ_ATTRIBUTES).Valid()) {
                const TFolderPass sub = DeleteTree(walk.PathOf(entry), walk.FinalNameOf(entry), RemoveFolders);
                pass.Result = sub.Result;
                pass.Left |= sub.Left;
                pass.LinkBelow |= sub.LinkBelow;
                if (sub.Left && !sub.LinkBelow)
                    linkFreeLeftovers.emplace_back(walk.PathOf(entry), walk.FinalNameOf(entry));
            } else {
                pass.Left = pass.LinkBelow = true;  // a folder that opens as something else is a link all the same
            }
        } else if (a & FILE_ATTRIBUTE_DIRECTORY) {
            // A link to a folder goes, itself, only like a folder.
            NoteFate(RemoveFolders ? DeleteEntry(walk, entry) : TFate::Link, pass);
        } else if (!(a & VolumeLabelAttribute)) {
            NoteFate(DeleteEntry(walk, entry), pass);
        }
    }
    if (!walk.Complete()) pass.Left = pass.LinkBelow = true;
    if (!RemoveFolders || pass.LinkBelow) {
        if (RemoveFolders)
            for (const auto& sub : linkFreeLeftovers) ClearLeftovers(sub.first, sub.second);
        return pass;
    }
    if (!pass.Left) pass.Left = !RemoveDirectoryW(Dir.c_str());
    return pass;
}

}  // namespace

void TForm1::DeleteShortcut(const std::string& Path)
{
    DeleteFileItself(Path);
}

bool TForm1::DeleteFolderTree(const std::string& Dir, bool RemoveFolders)
{
    // A folder that is itself a link is not the tree to delete; neither is a root or a path relative to anything.
    if (PathKind(Dir) != TPathKind::BelowRoot) return false;
    const WideString dir = LongPath(Dir);
    const DWORD a = GetFileAttributesW(dir.c_str());
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
    const TFolderPass pass = DeleteTree(dir, WideString(), RemoveFolders);
    if (RemoveFolders && pass.Left && !pass.LinkBelow) ClearLeftovers(dir, WideString());
    return pass.Result;
}

int TForm1::FindProcessesByName(const std::string& Name, TStringList* List)
{
    const std::string wanted = UpperCaseAscii(Name);
    int count = 0;
    TProcessSnapshot snapshot;
    TProcessEntry entry;
    while (snapshot.Next(entry)) {
        if (UpperCaseAscii(entry.ExeFile) != wanted) continue;
        List->Add(IntToStr(entry.ProcessID));
        ++count;
    }
    return count;
}

void TForm1::KillProcessesByName(const std::string& Name)
{
    TStringList ids;
    if (FindProcessesByName(Name, &ids) <= 0) return;
    std::vector<TKernelHandle> terminated;  // kept open until they have ended
    for (int i = 0; i < ids.Count(); ++i) {
        DWORD id = static_cast<DWORD>(std::strtoul(ids.Strings(i).c_str(), nullptr, 10));
        if (id == GetCurrentProcessId()) continue;  // the uninstaller must live to finish its work
        TKernelHandle process = OpenProcessAllAccess(id);
        if (TerminateProcessHandle(process, 0)) terminated.push_back(std::move(process));
    }
    WaitForProcesses(terminated, TerminationWaitMs);
}

// The confirmation window ---------------------------------------------------------------------------------------

namespace {

const char* const ShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const ProductExe = "Quintaro.exe";
const char* const InstallFolder = "Program Files\\Corvane软件\\Com";
const char* const BatchName = "deleteFile.bat";

const int SelfRemovalTries = 120;  // about two minutes, a second apart

// An all-users shell folder as stored below HKEY_LOCAL_MACHINE (the key is created when missing), exactly; empty
// when it has no exact ANSI form. A value of another type than a string throws; the caller lets that end the
// uninstall.
std::string CommonShellFolder(const char* Name)
{
    TRegistry registry;
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    registry.OpenKey(ShellFoldersKey, true);
    return ExactAnsiPath(registry.ReadWideString(Name));
}

// A shell folder is used only when it names a folder below a drive or share root: an empty or relative value
// would address the current drive.
bool UsableFolder(const std::string& Folder)
{
    return PathKind(Folder) == TPathKind::BelowRoot;
}

// cmd expands %...% even inside quotes.
std::string BatchQuoted(const std::string& Path)
{
    std::string quoted = "\"";
    for (char c : Path) {
        quoted += c;
        if (c == '%') quoted += '%';
    }
    return quoted + "\"";
}

// The folder for the batch file, with a trailing backslash: one whose path has no per cent sign, since cmd expands
// %...% on the command line that starts the batch file, quoted or not. The executable's folder, else its short
// form, else the temporary folder; empty when none will do.
std::string BatchFolder(const std::string& ExeFolder)
{
    for (const std::string& folder : {ExeFolder, ShortPathName(ExeFolder), TempFolder()})
        if (!folder.empty() && folder.find('%') == std::string::npos) return IncludeTrailingBackslash(folder);
    return std::string();
}

}  // namespace

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
    DeleteStartMenuGroup();
    DeleteDesktopShortcut();
    DeleteQuickLaunchShortcut(ProductExe);
    FInstallDir = GetInstallDir();
    KillProcessesByName(ProductExe);
    if (!FInstallDir.empty()) DeleteFolderTree(FInstallDir, true);
    FUninstalled = true;
    Hide();
    ShowInfo("Quintaro卸载完成！", 0);
    Close();
}

void TForm1::DeleteStartMenuGroup()
{
    const std::string programs = CommonShellFolder("Common Programs");
    if (!UsableFolder(programs)) return;
    const std::string group = IncludeTrailingBackslash(programs) + "Quintaro\\";
    try {
        DeleteShortcut(group + "Quintaro" + ".lnk");
        DeleteShortcut(group + "Quintaro卸载" + ".lnk");
        std::string folder = ExtractFilePath(group);
        if (!folder.empty()) {
            folder.pop_back();
            ShellDeleteFolder(folder);
        }
    } catch (...) {
        // Best effort: the group is gone or stays; the uninstall goes on either way.
    }
}

void TForm1::DeleteDesktopShortcut()
{
    const std::string desktop = CommonShellFolder("Common Desktop");
    if (!UsableFolder(desktop)) return;
    DeleteShortcut(IncludeTrailingBackslash(desktop) + "Quintaro" + ".LNK");
}

std::string TForm1::GetInstallDir()
{
    const std::string windows = WindowsDirectory();
    const size_t backslash = windows.find('\\');
    if (backslash == std::string::npos) return std::string();
    return windows.substr(0, backslash + 1) + InstallFolder;
}

void TForm1::SelfRemovalLines(const std::string& Exe, TStringList& Lines, int Tries)
{
    Lines.Clear();
    Lines.Add("@echo off");
    Lines.Add("set tries=0");
    Lines.Add(":loop");
    Lines.Add("del " + BatchQuoted(Exe));
    Lines.Add("del " + BatchQuoted(Exe));
    Lines.Add("if not exist " + BatchQuoted(Exe) + " goto end");
    // An executable that stays in use must not keep a hidden loop spinning: a second apart, and not for ever.
    // ping waits one second between its two echoes on every Windows version and under Wine; timeout and choice
    // are missing from older systems.
    Lines.Add("set /a tries+=1");
    Lines.Add("if %tries% geq " + IntToStr(Tries) + " goto end");
    Lines.Add("ping -n 2 127.0.0.1 >nul");
    Lines.Add("goto loop");
    Lines.Add(":end");
    Lines.Add("del %0");
}

void TForm1::FormClose(TObject*, TCloseAction&)
{
    if (!FUninstalled || IsDebuggerPresent()) return;
    try {
        StartSelfRemoval();
    } catch (const std::exception& e) {
        // Reported, and the program still ends: its window is already hidden.
        Application->HandleException(&e);
    }
}

void TForm1::StartSelfRemoval()
{
    // Empty when the path has no exact ANSI form: nothing is deleted through a look-alike of it.
    const std::string exe = Trim(ModuleFileName());
    if (exe.empty()) return;
    const std::string folder = BatchFolder(ExtractFilePath(exe));
    if (folder.empty()) return;
    FExePath = exe;
    TStringList lines;
    SelfRemovalLines(FExePath, lines, SelfRemovalTries);
    const std::string batch = folder + BatchName;
    // One left there may be a link to anyone's file: it goes as itself, and ours is created afresh or not at all.
    DeleteFileItself(batch);
    CreateTextFile(batch, lines);
    // A read-only executable could never be deleted and the hidden loop would never end.
    DWORD attributes = GetFileAttributesA(exe.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        const DWORD cleared = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
        FileSetAttr(exe, cleared ? cleared : FILE_ATTRIBUTE_NORMAL);
    }
    // Quoted: unquoted, a path with blanks would make Windows try its first word as a program.
    RunHidden("\"" + batch + "\"");
}
