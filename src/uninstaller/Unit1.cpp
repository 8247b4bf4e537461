#include "Unit1.h"

#include <shlobj.h>

#include <vector>

#include "Classes.h"
#include "Forms.h"
#include "Removal.h"
#include "VelPublicFun.h"
#include "WinServices.h"

void TForm1::DeleteShortcut(const std::string& Path)
{
    TRemoval().Shortcut(AnsiToWide(Path));
}

bool TForm1::DeleteFolderTree(const std::string& Dir, bool RemoveFolders)
{
    return TRemoval().FolderTree(AnsiToWide(Dir), RemoveFolders);
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

// The confirmation window ---------------------------------------------------------------------------------------

namespace {

const wchar_t* const ProductExe = L"Quintaro.exe";
const wchar_t* const InstallFolder = L"Program Files\\Corvane软件\\Com";
const char* const BatchName = "deleteFile.bat";
const char* const Completed = "Quintaro卸载完成！";
const char* const LeftForRestart = "\r\n部分文件正在使用，将在计算机重新启动后删除。";

const int SelfRemovalTries = 120;  // about two minutes, a second apart

// The installation folder below the system drive's root ("C:\"); empty when the Windows folder names no root.
WideString InstallDirW()
{
    const WideString windows = WindowsFolder();
    const size_t backslash = windows.find(L'\\');
    return backslash == WideString::npos ? WideString() : windows.substr(0, backslash + 1) + InstallFolder;
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

// A name nobody can guess before the run.
std::string UnguessableName()
{
    GUID guid = {};
    wchar_t text[40] = {};
    if (FAILED(CoCreateGuid(&guid)) || !StringFromGUID2(guid, text, 40)) return std::string();
    std::string name = WideToAnsi(text);  // "{...}"
    return "QuintaroUninstall-" + name.substr(1, name.size() - 2);
}

// Where the run's private folder may go. Elevated, the system's temporary folder comes first: other accounts may add
// entries there but not rename or remove ours. A path with a per cent sign is taken in its short form, since cmd
// expands %...% on the command line that starts the batch file, quoted or not.
std::vector<std::string> PrivateFolderParents(bool Elevated)
{
    std::vector<std::string> parents;
    std::vector<std::string> folders = {TempFolder()};
    if (Elevated) folders.insert(folders.begin(), ExactAnsiPath(WindowsFolder() + L"\\Temp"));
    for (const std::string& folder : folders)
        for (const std::string& form : {folder, ShortPathName(folder)})
            if (!form.empty() && form.find('%') == std::string::npos) parents.push_back(form);
    return parents;
}

// A folder made new for this run's batch file (one that exists already is never taken), closed to every other
// account when the program runs elevated, so that nobody can swap the batch file before cmd has read it. Its path
// with a trailing backslash.
std::string MakePrivateFolder()
{
    const bool elevated = RunsElevated();
    SECURITY_ATTRIBUTES* access = elevated ? TAdministratorsOnly::Instance().Attributes() : nullptr;
    const std::string name = UnguessableName();
    if (!name.empty())
        for (const std::string& parent : PrivateFolderParents(elevated)) {
            const std::string folder = IncludeTrailingBackslash(parent) + name;
            if (CreateDirectoryW(AnsiToWide(folder).c_str(), access)) return folder + "\\";
        }
    throw Exception("Cannot create a folder for the self-removal");
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
    TRemoval removal;
    DeleteStartMenuGroup(removal);
    DeleteDesktopShortcut(removal);
    DeleteQuickLaunchShortcut(WideToAnsi(ProductExe));
    const WideString installDir = InstallDirW();
    FInstallDir = WideToAnsi(installDir);
    EndProcesses(ProductExe);
    if (!installDir.empty()) removal.FolderTree(installDir, true);
    FUninstalled = true;
    Hide();
    // Completion is reported whatever the single steps achieved; what waits for the restart is said.
    ShowInfo(std::string(Completed) + (removal.ScheduledAtRestart() > 0 ? LeftForRestart : ""), 0);
    Close();
}

void TForm1::DeleteStartMenuGroup(TRemoval& Removal)
{
    const WideString programs = ShellFolder(HKEY_LOCAL_MACHINE, "Common Programs", true, CSIDL_COMMON_PROGRAMS);
    if (programs.empty()) return;
    const WideString group = IncludeTrailingBackslash(programs) + L"Quintaro";
    try {
        Removal.Shortcut(group + L"\\Quintaro.lnk");
        Removal.Shortcut(group + L"\\Quintaro卸载.lnk");
        Removal.ProgramGroup(group);
    } catch (...) {
        // Best effort: the group is gone or stays; the uninstall goes on either way.
    }
}

void TForm1::DeleteDesktopShortcut(TRemoval& Removal)
{
    const WideString desktop = ShellFolder(HKEY_LOCAL_MACHINE, "Common Desktop", true, CSIDL_COMMON_DESKTOPDIRECTORY);
    if (!desktop.empty()) Removal.Shortcut(IncludeTrailingBackslash(desktop) + L"Quintaro.LNK");
}

std::string TForm1::GetInstallDir()
{
    return WideToAnsi(InstallDirW());
}

void TForm1::SelfRemovalLines(const std::string& Exe, const std::string& Batch, TStringList& Lines, int Tries)
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
    // The batch file deletes itself on its last line (its own path written out: cmd may mangle %0). Its folder can go
    // only once cmd has let go of the file, so a second cmd, started on the same line, removes it a second later.
    std::string folder = ExtractFilePath(Batch);
    if (!folder.empty()) folder.pop_back();
    Lines.Add("del " + BatchQuoted(Batch) + " & start \"\" /b cmd /c \"ping -n 2 127.0.0.1 >nul & rd " +
              BatchQuoted(folder) + "\"");
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
    FExePath = exe;
    const std::string batch = MakePrivateFolder() + BatchName;
    TStringList lines;
    SelfRemovalLines(FExePath, batch, lines, SelfRemovalTries);
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
