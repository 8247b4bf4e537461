#include "Uninstall.h"

#include <windows.h>
#include <shlobj.h>


#include "Processes.h"
#include "ShellFolders.h"
#include "VelPublicFun.h"
#include "WinServices.h"

const wchar_t* const ProductExe = L"Quintaro.exe";

namespace {

const wchar_t* const InstallFolder = L"Program Files\\Corvane软件\\Com";
const char* const Completed = "Quintaro卸载完成！";
const char* const LeftForRestart = "部分文件正在使用，将在计算机重新启动后删除。";
const char* const RestartBeforeReinstall = "请在重新安装前重新启动计算机。";
const char* const FolderStays = "以下文件夹未能完全删除：";
const char* const BatchName = "deleteFile.bat";
const int SelfRemovalTries = 120;  // about two minutes, a second apart
const long StepsBeforeTree = 4;

}  // namespace

WideString InstallationFolder()
{
    const WideString windows = WindowsFolder();
    const size_t backslash = windows.find(L'\\');
    return backslash == WideString::npos ? WideString() : windows.substr(0, backslash + 1) + InstallFolder;
}

TUninstall::TUninstall()
{
    const WideString programs = ShellFolder(HKEY_LOCAL_MACHINE, "Common Programs", true, CSIDL_COMMON_PROGRAMS);
    const WideString desktop = ShellFolder(HKEY_LOCAL_MACHINE, "Common Desktop", true, CSIDL_COMMON_DESKTOPDIRECTORY);
    FPlan.QuickLaunchShortcut = QuickLaunchShortcut(ProductExe);
    FPlan.InstallDir = InstallationFolder();
    if (FPlan.InstallDir.empty()) throw Exception("The Windows folder names no drive: the installation is not found");
    if (!programs.empty()) FPlan.Group = IncludeTrailingBackslash(programs) + L"Quintaro";
    if (!desktop.empty()) FPlan.DesktopShortcut = IncludeTrailingBackslash(desktop) + L"Quintaro.LNK";
}

void TUninstall::Run(TUninstallProgress* Progress)
{
    const auto stepDone = [Progress] {
        if (Progress) ++Progress->Done;
    };
    if (Progress) {
        // Counting first costs one listing of the tree, a small part of deleting it, and makes the bar honest.
        Progress->Total = StepsBeforeTree + CountEntries(FPlan.InstallDir);
        FRemoval.CountInto(Progress->Done);
    }
    DeleteGroup();
    stepDone();
    if (!FPlan.DesktopShortcut.empty()) FRemoval.Shortcut(FPlan.DesktopShortcut);
    stepDone();
    if (!FPlan.QuickLaunchShortcut.empty()) FRemoval.Shortcut(FPlan.QuickLaunchShortcut);
    stepDone();
    EndProcesses(ProductExe);
    stepDone();
    FRemoval.FolderTree(FPlan.InstallDir, true);
}

void TUninstall::DeleteGroup()
{
    if (FPlan.Group.empty()) return;
    try {
        FRemoval.Shortcut(FPlan.Group + L"\\Quintaro.lnk");
        FRemoval.Shortcut(FPlan.Group + L"\\Quintaro卸载.lnk");
        FRemoval.ProgramGroup(FPlan.Group);
    } catch (...) {
        // Best effort: the group is gone or stays; the uninstall goes on either way.
    }
}

std::string TUninstall::CompletionText() const
{
    std::string text = Completed;
    if (FRemoval.ScheduledAtRestart() > 0)
        text += std::string("\r\n") + LeftForRestart + (FRemoval.ScheduledUnderOwnNames() ? RestartBeforeReinstall : "");
    // Shown only: no file is reached through this form of the path.
    if (FRemoval.TreeKept()) text += std::string("\r\n") + FolderStays + WideToAnsi(FPlan.InstallDir);
    return text;
}

// The self-removal ------------------------------------------------------------------------------------------------

namespace {

// cmd reads these as its own in a line, inside quotes too (a quote ends the quoted part, % and ! expand): a path that
// holds one could split a line into commands.
bool CmdSafe(const std::string& Path)
{
    return !Path.empty() && Path.find_first_of("&|<>^()%!\"") == std::string::npos;
}

// A folder in a form cmd reads as one path: as it is, or else its short form; empty where neither is.
std::string CmdSafeForm(const std::string& Folder)
{
    if (Folder.empty() || CmdSafe(Folder)) return Folder;
    const std::string shortForm = ShortPathName(Folder);
    return CmdSafe(shortForm) ? shortForm : std::string();
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

// A folder made new for this run's batch file (one that exists already is never taken), closed to every other
// account when the program runs elevated, so that nobody can swap the batch file before cmd has read it. Its path
// without a trailing backslash.
std::string MakePrivateFolder()
{
    const bool elevated = RunsElevated();
    SECURITY_ATTRIBUTES* access = elevated ? TAdministratorsOnly::Instance().Attributes() : nullptr;
    const std::string name = WideToAnsi(UniqueName(L"QuintaroUninstall-"));
    for (const std::string& parent : SelfRemovalParents(elevated)) {
        const std::string folder = IncludeTrailingBackslash(parent) + name;
        if (CreateDirectoryW(AnsiToWide(folder).c_str(), access)) return folder;
    }
    throw Exception("Cannot create a folder for the self-removal");
}

}  // namespace

// Elevated, the system's temporary folder comes first: other accounts may add entries there but not rename or remove
// ours.
std::vector<std::string> SelfRemovalParents(bool Elevated)
{
    std::vector<std::string> folders = {TempFolder()};
    if (Elevated) folders.insert(folders.begin(), ExactAnsiPath(WindowsFolder() + L"\\Temp"));
    std::vector<std::string> parents;
    for (const std::string& folder : folders) {
        const std::string form = CmdSafeForm(folder);
        if (!form.empty()) parents.push_back(form);
    }
    return parents;
}

void SelfRemovalLines(const std::string& Exe, const std::string& Batch, const std::string& System, TStringList& Lines,
                      int Tries)
{
    const std::string ping = BatchQuoted(System + "\\PING.EXE") + " -n 2 127.0.0.1 >nul";
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
    Lines.Add(ping);
    Lines.Add("goto loop");
    Lines.Add(":end");
    // The batch file's folder can go only once this cmd has let go of its batch file (Wine's cmd holds that to the
    // end): a second cmd removes it a second later. Its commands are escaped rather than quoted, so that each path
    // stands in quotes once; "call" keeps the second cmd from taking its first quote as one around the whole command.
    // The batch file deletes itself last, by its written-out path (cmd may mangle %0).
    std::string folder = ExtractFilePath(Batch);
    if (!folder.empty()) folder.pop_back();
    Lines.Add("start \"\" /b " + BatchQuoted(System + "\\cmd.exe") + " /d /c call " + BatchQuoted(System + "\\PING.EXE") +
              " -n 2 127.0.0.1 ^>nul ^& rd " + BatchQuoted(folder) + " & del " + BatchQuoted(Batch));
}

void StartSelfRemoval(const std::string& Exe)
{
    const std::string system = CmdSafeForm(ExactAnsiPath(SystemFolder()));
    if (system.empty()) throw Exception("The system folder cannot be named to cmd");
    const std::string folder = MakePrivateFolder(), batch = folder + "\\" + BatchName;
    TStringList lines;
    SelfRemovalLines(Exe, batch, system, lines, SelfRemovalTries);
    CreateTextFile(batch, lines);
    // A read-only executable could never be deleted and the hidden loop would never end.
    const DWORD attributes = GetFileAttributesA(Exe.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        const DWORD cleared = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
        FileSetAttr(Exe, cleared ? cleared : FILE_ATTRIBUTE_NORMAL);
    }
    // cmd by its full path, never ComSpec or a search; /d: no AutoRun command of the registry's runs elevated. Its
    // current folder is the system folder, not the one the uninstaller was started from, where anything may lie; nor
    // the private folder, which the hidden console's host keeps as its own current folder until the last program on
    // that console has ended, so that it could not be removed.
    const WideString cmd = AnsiToWide(system + "\\cmd.exe");
    if (!StartHidden(cmd, L"\"" + cmd + L"\" /d /c \"" + AnsiToWide(batch) + L"\"", AnsiToWide(system)))
        throw Exception("Cannot start the self-removal");
}
