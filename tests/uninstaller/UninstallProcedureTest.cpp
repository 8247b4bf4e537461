// The uninstall as the "卸载" button runs it, against real shell-folder values, shortcuts and folders, and the
// batch file that removes the uninstaller afterwards.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "Classes.h"
#include "Forms.h"
#include "MessageBoxSupport.h"
#include "PathSpellings.h"
#include "ProgramSupport.h"
#include "Registry.h"
#include "SavedRegistryValue.h"
#include "TestSupport.h"
#include "Uninstall.h"
#include "Unit1.h"
#include "VelPublicFun.h"
#include "WineLinks.h"
#include "WinServices.h"

using msgboxtest::OpenBox;
using msgboxtest::TModalScript;
using testsupport::FreshFolder;
using testsupport::WriteFile;
using testsupport::MakeFolder;
using testsupport::ReadBytes;
using testsupport::TSavedValue;

namespace {

const char* const CopyVariable = "QUINTARO_SELF_REMOVAL_COPY";

// The names in a folder, "." and ".." left out, in the order listed.
std::vector<std::string> Entries(const std::string& Folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((Folder + "\\*").c_str(), &data);
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &data))
        if (std::string(data.cFileName) != "." && std::string(data.cFileName) != "..") names.push_back(data.cFileName);
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    return names;
}

bool Exists(const WideString& Path)
{
    return GetFileAttributesW(Path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Waits up to 15 seconds for a file to go (a batch file deletes it); true when it has.
bool Gone(const WideString& Path)
{
    return testsupport::WaitUntil([&Path] { return !Exists(Path); }, 15000);
}

void WriteWide(const WideString& Path, const std::string& Bytes)
{
    const TKernelHandle file(CreateFileW(Path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.Get(), Bytes.data(), static_cast<DWORD>(Bytes.size()), &written, nullptr));
}

// The folders the self-removal makes for its batch file, in the system's and the user's temporary folders.
std::vector<std::string> PrivateFolders()
{
    std::vector<std::string> found;
    for (const std::string& temp : {WideToAnsi(WindowsFolder()) + "\\Temp", TempFolder()})
        for (const std::string& name : Entries(temp))
            if (name.compare(0, 17, "QuintaroUninstall") == 0) found.push_back(temp + "\\" + name);
    return found;
}

// Waits up to 15 seconds for every such folder to go; true when they have.
bool PrivateFoldersGone()
{
    return testsupport::WaitUntil([] { return PrivateFolders().empty(); }, 15000);
}

// Runs a command line in Folder and waits up to a minute; gives its exit code and how long it ran.
DWORD RunAndWait(WideString CommandLine, const WideString& Folder, DWORD* Elapsed = nullptr)
{
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    const DWORD start = GetTickCount();
    if (!CreateProcessW(nullptr, &CommandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, Folder.c_str(),
                        &si, &pi)) {
        ADD_FAILURE() << "cannot start " << WideToAnsi(CommandLine);
        return ~0u;
    }
    const TKernelHandle process(pi.hProcess), thread(pi.hThread);
    if (WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    if (Elapsed) *Elapsed = GetTickCount() - start;
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    return code;
}

// A copy of this test program at Exe (made unless one is there) runs a whole uninstall with its real close handling
// (SelfRemovalCopy below), which must report no failure. Its exit code.
DWORD RunCopy(const WideString& Exe)
{
    if (!Exists(Exe) && !CopyFileW(AnsiToWide(ModuleFileName()).c_str(), Exe.c_str(), TRUE)) return ~0u;
    SetEnvironmentVariableA(CopyVariable, "1");
    const DWORD code = RunAndWait(L"\"" + Exe + L"\" --gtest_filter=SelfRemovalCopy.* --gtest_color=no",
                                  Exe.substr(0, Exe.rfind(L'\\')));
    SetEnvironmentVariableA(CopyVariable, nullptr);
    return code;
}

const char* const Completed = "Quintaro卸载完成！";

// Closes the completion box with its OK button from inside its modal loop, once it is open (the window's own loop
// runs while the removal does).
std::unique_ptr<TModalScript> ConfirmCompletion(const std::string& Expected = Completed)
{
    return std::make_unique<TModalScript>(std::vector<TModalScript::TStep>{[Expected] {
                                              TVelMessageBoxForm* box = OpenBox();
                                              EXPECT_EQ(Expected, box->redtMessage->Text());
                                              PostMessageA(box->btnOK->Handle(), BM_CLICK, 0, 0);
                                          }},
                                          [] { return OpenBox() != nullptr; });
}

// The product's files as an installation leaves them, in test folders named by the shell-folder values; the
// installation folder is the real one of the test prefix, removed again if a test leaves it.
class UninstallProcedure : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!Application) Application = new TApplication(nullptr);
        Application->Initialize();
    }

    void SetUp() override
    {
        root = FreshFolder("Uninstall");
        programs = root + "\\开始菜单 Programs";
        desktop = root + "\\Desktop";
        appData = root + "\\Application Data";
        quickLaunch = appData + "\\Microsoft\\Internet Explorer\\Quick Launch";
        installDir = WideToAnsi(TForm1::GetInstallDir());
        vendorDir = installDir.substr(0, installDir.rfind('\\'));
        vendorExisted = testsupport::FolderExists(vendorDir);
        form.reset(TCustomForm::Create<TForm1>(nullptr));
        // The test program must outlive its windows: no batch file for the running executable.
        form->OnClose = [this](TObject*, TCloseAction&) { ++closes; };
        form->Show();
        msgboxtest::Pump();
    }

    void TearDown() override
    {
        form.reset();
        ShellDeleteFolder(installDir);
        if (!vendorExisted) ShellDeleteFolder(vendorDir);
        EXPECT_EQ(nullptr, OpenBox()) << "a box outlived its test";
    }

    void PointShellFolders()
    {
        commonPrograms.Set(programs + "\\");                    // with the backslash
        commonDesktop.Set(desktop, REG_EXPAND_SZ);              // without, and of the expandable kind
        userAppData.Set(appData);
    }

    void MakeLayout()
    {
        MakeFolder(programs);
        MakeFolder(programs + "\\Quintaro");
        WriteFile(programs + "\\Quintaro\\Quintaro.lnk", "L");
        WriteFile(programs + "\\Quintaro\\Quintaro卸载.lnk", "L");
        WriteFile(programs + "\\Quintaro\\说明.txt", "readme");
        WriteFile(programs + "\\Quintaro\\主页.url", "L");
        WriteFile(programs + "\\Quintaro\\desktop.ini", "L");
        ASSERT_TRUE(SetFileAttributesA((programs + "\\Quintaro\\desktop.ini").c_str(),
                                       FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY));
        MakeFolder(programs + "\\Other");
        WriteFile(programs + "\\Other\\Quintaro.lnk", "L");
        MakeFolder(desktop);
        WriteFile(desktop + "\\Quintaro.lnk", "L");
        WriteFile(desktop + "\\Other.lnk", "L");
        MakeFolder(appData);
        MakeFolder(appData + "\\Microsoft");
        MakeFolder(appData + "\\Microsoft\\Internet Explorer");
        MakeFolder(quickLaunch);
        WriteFile(quickLaunch + "\\Quintaro.lnk", "L");
        WriteFile(quickLaunch + "\\Other.lnk", "L");
        MakeFolder(vendorDir);
        MakeFolder(installDir);
        MakeFolder(installDir + "\\数据");
        WriteFile(installDir + "\\Quintaro.exe", "MZ");
        WriteFile(installDir + "\\数据\\用户.dat", "data");
        ASSERT_TRUE(SetFileAttributesA((installDir + "\\数据\\用户.dat").c_str(), FILE_ATTRIBUTE_READONLY));
    }

    void RunToCompletion(const std::string& Expected = Completed)
    {
        auto script = ConfirmCompletion(Expected);
        form->BtnNextClick(form->BtnNext);
        EXPECT_TRUE(script->Done()) << "the completion box was shown and closed";
        EXPECT_TRUE(form->Uninstalled());
        EXPECT_FALSE(IsWindowVisible(form->Handle())) << "hidden before the box, and closed";
        EXPECT_EQ(1, closes);
    }

    TSavedValue commonPrograms{HKEY_LOCAL_MACHINE, "Common Programs"};
    TSavedValue commonDesktop{HKEY_LOCAL_MACHINE, "Common Desktop"};
    TSavedValue userAppData{HKEY_CURRENT_USER, "AppData"};
    std::string root, programs, desktop, appData, quickLaunch, installDir, vendorDir;
    bool vendorExisted = false;
    std::unique_ptr<TForm1> form;
    int closes = 0;
};

}  // namespace

TEST_F(UninstallProcedure, RemovesGroupShortcutsAndInstallationAndNothingBeside)
{
    PointShellFolders();
    MakeLayout();
    RunToCompletion();

    // Of the group only shortcuts go: a file of another kind stays with its folder.
    EXPECT_EQ(std::vector<std::string>{"说明.txt"}, Entries(programs + "\\Quintaro"));
    EXPECT_FALSE(testsupport::FileExists(desktop + "\\Quintaro.lnk")) << "found with the upper-case extension";
    EXPECT_FALSE(testsupport::FileExists(quickLaunch + "\\Quintaro.lnk"));
    EXPECT_FALSE(testsupport::FolderExists(installDir));
    EXPECT_EQ(AnsiToWide(installDir), form->InstallDir());

    EXPECT_TRUE(testsupport::FileExists(programs + "\\Other\\Quintaro.lnk")) << "another group is no concern";
    EXPECT_TRUE(testsupport::FileExists(desktop + "\\Other.lnk"));
    EXPECT_TRUE(testsupport::FileExists(quickLaunch + "\\Other.lnk"));
    EXPECT_TRUE(testsupport::FolderExists(vendorDir)) << "only the installation folder itself goes";
}

// "乗" is 0x81 0x5C in GBK: its trail byte is no backslash, so the folders still get one of their own.
TEST_F(UninstallProcedure, FoldersEndingInACharacterWithABackslashTrailByteGetTheirOwnBackslash)
{
    const std::string groupParent = root + "\\程序乗", desktopHere = root + "\\桌面乗";
    MakeFolder(groupParent);
    MakeFolder(groupParent + "\\Quintaro");
    WriteFile(groupParent + "\\Quintaro\\Quintaro.lnk", "L");
    MakeFolder(desktopHere);
    WriteFile(desktopHere + "\\Quintaro.lnk", "L");
    // What a byte-wise test for the backslash would address instead: the neighbours' files.
    MakeFolder(groupParent + "Quintaro");
    WriteFile(groupParent + "Quintaro\\Quintaro.lnk", "L");
    WriteFile(desktopHere + "Quintaro.LNK", "L");

    commonPrograms.Set(groupParent);
    commonDesktop.Set(desktopHere);
    userAppData.Set(appData);
    RunToCompletion();

    EXPECT_FALSE(testsupport::FolderExists(groupParent + "\\Quintaro"));
    EXPECT_FALSE(testsupport::FileExists(desktopHere + "\\Quintaro.lnk"));
    EXPECT_TRUE(testsupport::FileExists(groupParent + "Quintaro\\Quintaro.lnk"));
    EXPECT_TRUE(testsupport::FileExists(desktopHere + "Quintaro.LNK"));
}

// Every value the job needs is read and checked first: one of the wrong type is reported before anything is touched.
TEST_F(UninstallProcedure, AWrongValueTypeIsReportedBeforeAnythingIsTouched)
{
    PointShellFolders();
    MakeLayout();
    const auto untouched = [this](const char* Value) {
        EXPECT_TRUE(testsupport::FileExists(programs + "\\Quintaro\\Quintaro.lnk")) << Value;
        EXPECT_TRUE(testsupport::FileExists(desktop + "\\Quintaro.lnk")) << Value;
        EXPECT_TRUE(testsupport::FileExists(quickLaunch + "\\Quintaro.lnk")) << Value;
        EXPECT_TRUE(testsupport::FileExists(installDir + "\\Quintaro.exe")) << Value;
        EXPECT_FALSE(form->Uninstalled()) << Value;
        EXPECT_TRUE(IsWindowVisible(form->Handle())) << Value;
        EXPECT_EQ(0, closes) << Value;
    };
    userAppData.SetNumber(1);
    EXPECT_THROW(form->BtnNextClick(form->BtnNext), ERegistryException);
    untouched("AppData");
    userAppData.Set(appData);
    commonDesktop.SetNumber(1);

    // Through the button, the standard report shows the failure and the window stays as it was.
    const TExceptionEvent saved = Application->OnException;
    std::vector<std::string> reports;
    Application->OnException = [&reports](TObject*, const std::exception* E) {
        reports.push_back(E ? E->what() : "");
    };
    PostMessageA(form->BtnNext->Handle(), BM_CLICK, 0, 0);
    msgboxtest::Pump();
    Application->OnException = saved;
    ASSERT_EQ(1u, reports.size());
    EXPECT_EQ("Invalid data type for 'Common Desktop'", reports[0]);
    untouched("Common Desktop");
    EXPECT_EQ(nullptr, OpenBox());
}

TEST_F(UninstallProcedure, NothingInstalledStillCompletes)
{
    PointShellFolders();
    ASSERT_FALSE(testsupport::FolderExists(installDir));
    RunToCompletion();
    EXPECT_FALSE(testsupport::FolderExists(installDir));
}

// Missing, empty or relative shell-folder values would address the current folder or drive: those steps are
// skipped, and look-alike files there survive.
TEST_F(UninstallProcedure, UnusableShellFoldersAreSkipped)
{
    const std::string here = FreshFolder("Current");
    const testsupport::CurrentFolder current(here);
    ASSERT_TRUE(current.Entered());
    const std::string drive = here.substr(0, 3);
    const std::vector<std::string> lookAlikes = {
        here + "\\Quintaro.LNK", here + "\\Quintaro\\Quintaro.lnk", here + "\\Start\\Quintaro\\Quintaro.lnk",
        drive + "Quintaro.LNK",  drive + "Quintaro\\Quintaro.lnk"};
    MakeFolder(here + "\\Quintaro");
    MakeFolder(here + "\\Start");
    MakeFolder(here + "\\Start\\Quintaro");
    const bool driveGroupExisted = testsupport::FolderExists(drive + "Quintaro");
    MakeFolder(drive + "Quintaro");
    for (const std::string& path : lookAlikes) {
        ASSERT_FALSE(testsupport::FileExists(path)) << "left by someone else: " << path;
        WriteFile(path, "L");
    }

    commonPrograms.Remove();
    commonDesktop.Set("");
    userAppData.Set(appData);
    RunToCompletion();
    for (const std::string& path : lookAlikes) EXPECT_TRUE(testsupport::FileExists(path)) << path;

    form.reset(TCustomForm::Create<TForm1>(nullptr));
    form->OnClose = [this](TObject*, TCloseAction&) { ++closes; };
    closes = 0;
    commonPrograms.Set("Start");
    commonDesktop.Set(drive.substr(0, 2));  // "C:": the drive's current folder
    RunToCompletion();
    for (const std::string& path : lookAlikes) EXPECT_TRUE(testsupport::FileExists(path)) << path;

    DeleteFileA((drive + "Quintaro.LNK").c_str());
    if (!driveGroupExisted) ShellDeleteFolder(drive + "Quintaro");
}

// Shell-folder values with characters the code page lacks: the system's ANSI reading turns "â" into "a", which
// names the user's folder next door. A value reaches its real folder by the short name, or nothing at all.
TEST_F(UninstallProcedure, ShellFoldersWithoutAnExactAnsiNameNeverReachTheirLookAlikes)
{
    const WideString base = AnsiToWide(root);
    const WideString group = base + L"\\d\u00e2ta\\Quintaro";  // the real group, with a short name
    ASSERT_TRUE(CreateDirectoryW((base + L"\\d\u00e2ta").c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(group.c_str(), nullptr));
    WriteWide(group + L"\\Quintaro.lnk", "L");
    const std::vector<std::string> lookAlikes = {root + "\\data\\Quintaro\\Quintaro.lnk", root + "\\desk\\Quintaro.LNK",
                                                 root + "\\app\\Microsoft\\Internet Explorer\\Quick Launch\\Quintaro.lnk"};
    for (const char* folder : {"\\data", "\\data\\Quintaro", "\\desk", "\\app", "\\app\\Microsoft",
                               "\\app\\Microsoft\\Internet Explorer", "\\app\\Microsoft\\Internet Explorer\\Quick Launch"})
        MakeFolder(root + folder);
    for (const std::string& path : lookAlikes) WriteFile(path, "mine");

    commonPrograms.SetWide(base + L"\\d\u00e2ta");
    commonDesktop.SetWide(base + L"\\d\u00ebsk");   // no such folder, so no short name either
    userAppData.SetWide(base + L"\\\u00e2pp");
    RunToCompletion();
    for (const std::string& path : lookAlikes) EXPECT_EQ("mine", ReadBytes(path)) << path;
    EXPECT_FALSE(Exists(group)) << "the real group went by its short name";
}

// Links at the product's names, and program group, desktop and Quick Launch folders that are links, all leading
// into the user's folder: nothing there is deleted, and the rest of the uninstall goes on.
TEST_F(UninstallProcedure, NothingIsDeletedThroughALink)
{
    PointShellFolders();
    MakeLayout();
    testsupport::Symlinks links;
    const std::string mine = FreshFolder("mine");
    const std::vector<std::string> files = {mine + "\\Quintaro.lnk", mine + "\\Quintaro卸载.lnk", mine + "\\Quintaro.LNK.txt"};
    for (const std::string& file : files) WriteFile(file, "mine");
    for (const std::string& shortcut : {desktop + "\\Quintaro.lnk", quickLaunch + "\\Quintaro.lnk",
                                        programs + "\\Quintaro\\Quintaro.lnk"}) {
        ASSERT_TRUE(DeleteFileA(shortcut.c_str()));
        links.Make(files[2], shortcut);
    }
    RunToCompletion();
    EXPECT_FALSE(testsupport::FileExists(programs + "\\Quintaro\\Quintaro卸载.lnk")) << "the real shortcut went";
    EXPECT_FALSE(testsupport::FolderExists(installDir));

    const std::string linkedDesktop = root + "\\Linked desktop", linkedAppData = root + "\\Linked";
    MakeFolder(linkedAppData);
    MakeFolder(linkedAppData + "\\Microsoft");
    MakeFolder(linkedAppData + "\\Microsoft\\Internet Explorer");
    links.Make(mine, programs + "\\Other\\Quintaro");
    links.Make(mine, linkedDesktop);
    links.Make(mine, linkedAppData + "\\Microsoft\\Internet Explorer\\Quick Launch");
    commonPrograms.Set(programs + "\\Other");
    commonDesktop.Set(linkedDesktop);
    userAppData.Set(linkedAppData);
    form.reset(TCustomForm::Create<TForm1>(nullptr));
    form->OnClose = [this](TObject*, TCloseAction&) { ++closes; };
    closes = 0;
    RunToCompletion();
    for (const std::string& file : files) EXPECT_EQ("mine", ReadBytes(file)) << file;
}

// Shell-folder values stored expandable name their folders through environment variables.
TEST_F(UninstallProcedure, ExpandableShellFoldersAreExpanded)
{
    MakeLayout();
    SetEnvironmentVariableA("QUINTARO_TEST_ROOT", root.c_str());
    commonPrograms.Set("%QUINTARO_TEST_ROOT%\\开始菜单 Programs", REG_EXPAND_SZ);
    commonDesktop.Set("%QUINTARO_TEST_ROOT%\\Desktop", REG_EXPAND_SZ);
    userAppData.Set("%QUINTARO_TEST_ROOT%\\Application Data", REG_EXPAND_SZ);
    RunToCompletion();
    SetEnvironmentVariableA("QUINTARO_TEST_ROOT", nullptr);
    EXPECT_FALSE(testsupport::FileExists(programs + "\\Quintaro\\Quintaro.lnk"));
    EXPECT_FALSE(testsupport::FileExists(desktop + "\\Quintaro.lnk"));
    EXPECT_FALSE(testsupport::FileExists(quickLaunch + "\\Quintaro.lnk"));
}

// Missing or empty shell-folder values (what a 32-bit program sees where only the 64-bit view was written) fall back
// to the system's known folders.
TEST_F(UninstallProcedure, MissingShellFoldersFallBackToTheKnownFolders)
{
    const auto known = [](int Csidl) {
        char path[MAX_PATH] = {};
        EXPECT_EQ(S_OK, SHGetFolderPathA(nullptr, Csidl, nullptr, 0, path));
        return std::string(path);
    };
    const std::string group = known(CSIDL_COMMON_PROGRAMS) + "\\Quintaro";
    std::string quick = known(CSIDL_APPDATA);
    for (const char* folder : {"\\Microsoft", "\\Internet Explorer", "\\Quick Launch"}) MakeFolder(quick += folder);
    MakeFolder(group);
    const std::vector<std::string> shortcuts = {group + "\\Quintaro.lnk", known(CSIDL_COMMON_DESKTOPDIRECTORY) +
                                                "\\Quintaro.lnk", quick + "\\Quintaro.lnk"};
    for (const std::string& shortcut : shortcuts) WriteFile(shortcut, "L");
    commonPrograms.Remove();
    commonDesktop.Set("");
    userAppData.Remove();
    RunToCompletion();
    for (const std::string& shortcut : shortcuts) EXPECT_FALSE(testsupport::FileExists(shortcut)) << shortcut;
    EXPECT_FALSE(testsupport::FolderExists(group));
}

// A file of the installation that another program holds goes at the next restart, and the completion box says so.
TEST_F(UninstallProcedure, FilesLeftForTheRestartAreAnnounced)
{
    PointShellFolders();
    MakeLayout();
    const std::string holder = root + "\\Holder.exe", held = installDir + "\\数据\\held.log";
    ASSERT_TRUE(CopyFileA((testsupport::HelpersFolder() + "\\Quintaro.exe").c_str(), holder.c_str(), TRUE));
    const TKernelHandle process = testsupport::StartProgram("\"" + holder + "\" \"" + held + "\"");
    ASSERT_TRUE(testsupport::WaitUntil([&held] { return testsupport::FileExists(held); }));
    // Its holder lets nobody rename it either: it waits under its own name, which a reinstall would bring back.
    RunToCompletion("Quintaro卸载完成！\r\n部分文件正在使用，将在计算机重新启动后删除。请在重新安装前重新启动计算机。");
    EXPECT_EQ(std::vector<std::string>{"held.log"}, Entries(installDir + "\\数据"));
    TerminateProcess(process.Get(), 0);
    WaitForSingleObject(process.Get(), 5000);
}

// What stays of the installation for good, not even at the restart (a link, which stays with its folder), is named.
TEST_F(UninstallProcedure, AnInstallationFolderThatStaysIsNamed)
{
    PointShellFolders();
    MakeLayout();
    const std::string mine = FreshFolder("mine") + "\\notes.txt";
    WriteFile(mine, "mine");
    testsupport::Symlinks links;
    links.Make(mine, installDir + "\\数据\\notes.txt");
    if (testsupport::LinksOpenAsThemselves()) {
        RunToCompletion();  // the link goes itself, and the folder with it
        EXPECT_FALSE(testsupport::FolderExists(installDir));
    } else {
        RunToCompletion(std::string(Completed) + "\r\n以下文件夹未能完全删除：" + installDir);
        EXPECT_EQ(std::vector<std::string>{"数据"}, Entries(installDir));
    }
    EXPECT_EQ("mine", ReadBytes(mine));
}

// The batch file names every program by its full path in the system folder and each path in quotes once, so that
// nothing in the folder it runs in and no character of a path decides what runs.
TEST(SelfRemoval, BatchLinesNameProgramsByFullPathAndQuoteEachPathOnce)
{
    const std::string exe = "C:\\Program Files\\Corvane软件\\100% (卸载) & more!\\Uninstall.exe";
    const std::string quoted = "\"C:\\Program Files\\Corvane软件\\100%% (卸载) & more!\\Uninstall.exe\"";
    const std::string system = "C:\\windows\\system32", folder = FreshFolder("Batch"), file = folder + "\\deleteFile.bat";
    TStringList lines;
    lines.Add("left from before");
    SelfRemovalLines(exe, file, system, lines, 120);
    CreateTextFile(file, lines);

    const std::string ping = "\"C:\\windows\\system32\\PING.EXE\" -n 2 127.0.0.1";
    const std::string expected = "@echo off\r\n"
                                 "set tries=0\r\n"
                                 ":loop\r\n"
                                 "del " + quoted + "\r\n"
                                 "del " + quoted + "\r\n"
                                 "if not exist " + quoted + " goto end\r\n"
                                 "set /a tries+=1\r\n"
                                 "if %tries% geq 120 goto end\r\n" +
                                 ping + " >nul\r\n"
                                 "goto loop\r\n"
                                 ":end\r\n"
                                 "start \"\" /b \"C:\\windows\\system32\\cmd.exe\" /d /c call " + ping +
                                 " ^>nul ^& rd \"" + folder + "\" & del \"" + file + "\"\r\n";
    const std::string bytes = ReadBytes(file);
    EXPECT_EQ(expected, bytes);
    EXPECT_NE(std::string::npos, bytes.find("Corvane\xC8\xED\xBC\xFE\\100%% (\xD0\xB6\xD4\xD8)")) << "GBK bytes";
}

// A parent for the private folder whose path holds a character cmd reads as its own is taken in its short form where
// that has none, and is passed over otherwise.
TEST(SelfRemoval, PrivateFoldersGoWhereCmdReadsThePathAsOne)
{
    const std::string base = FreshFolder("temp"), blank = base + "\\My Temp (1)", amp = base + "\\t&";
    MakeFolder(blank);
    MakeFolder(amp);
    char saved[MAX_PATH] = {};
    GetEnvironmentVariableA("TMP", saved, MAX_PATH);
    const auto parentsWith = [](const std::string& Temp) {
        SetEnvironmentVariableA("TMP", Temp.c_str());
        return SelfRemovalParents(false);
    };
    const std::vector<std::string> withBlank = parentsWith(blank), withAmp = parentsWith(amp);
    SetEnvironmentVariableA("TMP", saved);
    EXPECT_EQ(std::vector<std::string>{ShortPathName(blank)}, withBlank);
    EXPECT_EQ(std::string::npos, ShortPathName(blank).find_first_of(" ()"));
    EXPECT_TRUE(withAmp.empty()) << "\"t&\" is its own short name";
}

TEST_F(UninstallProcedure, CloseWithoutUninstallWritesNoBatchFile)
{
    const std::vector<std::string> before = PrivateFolders();
    TCloseAction action = caHide;
    form->FormClose(form.get(), action);
    EXPECT_EQ(caHide, action);
    EXPECT_EQ(before, PrivateFolders());
}

// A copy of this test program, read-only, with blanks, Chinese characters and a per cent sign in its path, runs a
// whole uninstall with its real close handling from its own folder, where programs of the names the self-removal
// runs are planted; once it has exited, its batch file removes the copy, itself and the folder made for it. No planted
// program runs, and neither the executable's folder nor the temporary folder gets a file of ours.
TEST_F(UninstallProcedure, ACompletedUninstallRemovesTheExecutableAfterItExits)
{
    PointShellFolders();
    const std::string folder = FreshFolder("自删 程序");
    const std::string copy = folder + "\\卸载 100% 程序.exe";
    ASSERT_TRUE(CopyFileA(ModuleFileName().c_str(), copy.c_str(), TRUE));
    ASSERT_TRUE(SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_READONLY));
    const std::vector<std::string> planted = {"PING.EXE", "cmd.exe"};  // in sorted order
    for (const std::string& name : planted)
        ASSERT_TRUE(CopyFileA((testsupport::HelpersFolder() + "\\Planted.exe").c_str(), (folder + "\\" + name).c_str(),
                              TRUE));
    const std::vector<std::string> temp = Entries(TempFolder());
    EXPECT_EQ(0u, RunCopy(AnsiToWide(copy))) << "the copy's uninstall passed";
    EXPECT_TRUE(Gone(AnsiToWide(copy))) << "the executable is gone";
    EXPECT_TRUE(PrivateFoldersGone()) << "the batch file went with its folder";
    std::vector<std::string> left = Entries(folder);
    std::sort(left.begin(), left.end());
    EXPECT_EQ(planted, left) << "no planted program ran";
    EXPECT_EQ(temp, Entries(TempFolder()));
}

// Copies of the uninstaller in folders whose names go wrong on the way to cmd: a character the code page lacks
// (the ANSI name "uninst-a" is the user's folder next door) and a per cent sign (cmd expands "%OS%" on the command
// line that starts the batch file, quotes or not). Each copy goes; the look-alike folder is not touched.
TEST_F(UninstallProcedure, OddUninstallerFoldersNeverReachTheirLookAlikes)
{
    PointShellFolders();
    const WideString base = AnsiToWide(FreshFolder("odd"));
    wchar_t os[64] = {};
    ExpandEnvironmentStringsW(L"%OS%", os, 64);
    ASSERT_STRNE(L"%OS%", os);
    const WideString batch = L"\\deleteFile.bat";
    for (const auto& names : {std::make_pair(WideString(L"uninst-\u00e2"), WideString(L"uninst-a")),
                              std::make_pair(WideString(L"%OS%"), WideString(os))}) {
        const WideString odd = base + L"\\" + names.first, lookAlike = base + L"\\" + names.second;
        ASSERT_TRUE(CreateDirectoryW(odd.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(lookAlike.c_str(), nullptr));
        WriteWide(lookAlike + L"\\Uninstall.exe", "mine");
        WriteWide(lookAlike + batch, "echo ran> \"" + WideToAnsi(lookAlike) + "\\ran.txt\"\r\n");

        EXPECT_EQ(0u, RunCopy(odd + L"\\Uninstall.exe"));
        EXPECT_TRUE(Gone(odd + L"\\Uninstall.exe")) << WideToAnsi(names.second);
        EXPECT_TRUE(PrivateFoldersGone());
        EXPECT_EQ("mine", ReadBytes(WideToAnsi(lookAlike) + "\\Uninstall.exe"));
        EXPECT_TRUE(Exists(lookAlike + batch));
        EXPECT_FALSE(Exists(lookAlike + L"\\ran.txt")) << "the user's batch file never ran";
    }
}

// A deleteFile.bat of the user's beside the uninstaller (as a hard link or a link to another file of theirs) and in
// the temporary folder: each stays as it was, and the uninstaller goes all the same.
TEST_F(UninstallProcedure, AUsersBatchFileIsNeverTouched)
{
    PointShellFolders();
    const std::string mine = FreshFolder("mine") + "\\notes.txt", inTemp = TempFolder() + "\\deleteFile.bat";
    WriteFile(mine, "mine");
    ASSERT_FALSE(testsupport::FileExists(inTemp)) << "left by someone else";
    WriteFile(inTemp, "rem mine\r\n");
    const std::string hard = FreshFolder("planted"), soft = FreshFolder("planted");
    ASSERT_TRUE(CreateHardLinkA((hard + "\\deleteFile.bat").c_str(), mine.c_str(), nullptr));
    testsupport::Symlinks links;
    links.Make(mine, soft + "\\deleteFile.bat");
    for (const std::string& folder : {hard, soft}) {
        EXPECT_EQ(0u, RunCopy(AnsiToWide(folder + "\\Uninstall.exe")));
        EXPECT_TRUE(Gone(AnsiToWide(folder + "\\Uninstall.exe"))) << folder;
        EXPECT_EQ("mine", ReadBytes(folder + "\\deleteFile.bat"));
    }
    EXPECT_EQ("mine", ReadBytes(mine));
    EXPECT_EQ("rem mine\r\n", ReadBytes(inTemp));
    DeleteFileA(inTemp.c_str());
}

// An executable that stays in use: the batch file tries a second apart, gives up after its tries and deletes itself
// and its folder all the same; an executable that is free goes at the first try.
TEST(SelfRemoval, TheBatchFileWaitsBetweenTriesAndGivesUp)
{
    const std::string folder = FreshFolder("Held");
    const std::string exe = folder + "\\Uninstall.exe", own = folder + "\\private";
    const std::string batch = own + "\\deleteFile.bat";
    WriteFile(exe, "MZ");
    const auto run = [&](int Tries) {
        MakeFolder(own);
        TStringList lines;
        SelfRemovalLines(exe, batch, ExactAnsiPath(SystemFolder()), lines, Tries);
        CreateTextFile(batch, lines);
        DWORD elapsed = 0;
        RunAndWait(L"cmd.exe /c \"" + AnsiToWide(batch) + L"\"", AnsiToWide(folder), &elapsed);
        EXPECT_TRUE(Gone(AnsiToWide(own))) << "the batch file deleted itself and its folder";
        return elapsed;
    };
    {
        const TKernelHandle held(CreateFileA(exe.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                             nullptr));
        const DWORD elapsed = run(3);
        EXPECT_GE(elapsed, 1800u) << "a pause of a second after each failed try but the last";
        EXPECT_LT(elapsed, 30000u);
        EXPECT_TRUE(testsupport::FileExists(exe));
    }
    EXPECT_LT(run(120), 30000u);
    EXPECT_FALSE(testsupport::FileExists(exe));
}

// Runs only inside the copies started above.
TEST(SelfRemovalCopy, UninstallAndClose)
{
    if (!std::getenv(CopyVariable)) GTEST_SKIP() << "runs in a copy of this program only";
    if (!Application) Application = new TApplication(nullptr);
    Application->Initialize();
    std::vector<std::string> reports;
    Application->OnException = [&reports](TObject*, const std::exception* E) {
        reports.push_back(E ? E->what() : "");
    };
    std::unique_ptr<TForm1> form(TCustomForm::Create<TForm1>(nullptr));
    form->Show();
    msgboxtest::Pump();
    auto script = ConfirmCompletion();
    form->BtnNextClick(form->BtnNext);
    EXPECT_TRUE(script->Done());
    EXPECT_TRUE(form->Uninstalled());
    EXPECT_TRUE(reports.empty()) << reports.front();
    Application->OnException = nullptr;
}
