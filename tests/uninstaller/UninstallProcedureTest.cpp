// The uninstall as the "卸载" button runs it, against real shell-folder values, shortcuts and folders, and the
// batch file that removes the uninstaller afterwards.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "../shared/MessageBoxSupport.h"
#include "Classes.h"
#include "Forms.h"
#include "Registry.h"
#include "TestSupport.h"
#include "Unit1.h"
#include "WinServices.h"

using msgboxtest::OpenBox;
using msgboxtest::TModalScript;
using testsupport::FreshFolder;
using testsupport::WriteFile;
using testsupport::MakeFolder;
using testsupport::ReadBytes;
using testsupport::RemoveTree;

namespace {

const char* const ShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const char* const CopyVariable = "QUINTARO_SELF_REMOVAL_COPY";

// A shell-folder value changed for a test and put back as it was (or removed again) afterwards.
class TSavedValue {
public:
    TSavedValue(HKEY Root, const char* Name) : FName(Name)
    {
        RegCreateKeyExA(Root, ShellFolders, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &FKey, nullptr);
        DWORD size = 0;
        FExisted = RegQueryValueExA(FKey, Name, nullptr, &FType, nullptr, &size) == ERROR_SUCCESS;
        FData.resize(size);
        if (FExisted && size)
            RegQueryValueExA(FKey, Name, nullptr, &FType, reinterpret_cast<BYTE*>(&FData[0]), &size);
    }
    ~TSavedValue()
    {
        if (FExisted)
            RegSetValueExA(FKey, FName, 0, FType, reinterpret_cast<const BYTE*>(FData.data()),
                           static_cast<DWORD>(FData.size()));
        else
            RegDeleteValueA(FKey, FName);
        RegCloseKey(FKey);
    }
    TSavedValue(const TSavedValue&) = delete;
    TSavedValue& operator=(const TSavedValue&) = delete;

    void Set(const std::string& Value, DWORD Type = REG_SZ)
    {
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(FKey, FName, 0, Type, reinterpret_cast<const BYTE*>(Value.c_str()),
                                                static_cast<DWORD>(Value.size() + 1)));
    }
    void SetNumber(DWORD Value)
    {
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(FKey, FName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&Value),
                                                sizeof(Value)));
    }
    void Remove() { RegDeleteValueA(FKey, FName); }

private:
    const char* FName;
    HKEY FKey = nullptr;
    bool FExisted = false;
    DWORD FType = REG_SZ;
    std::string FData;
};

// Closes the completion box with its OK button from inside its modal loop.
std::unique_ptr<TModalScript> ConfirmCompletion()
{
    return std::make_unique<TModalScript>(std::vector<TModalScript::TStep>{[] {
        TVelMessageBoxForm* box = OpenBox();
        if (!box) {
            ADD_FAILURE() << "no completion box is open";
            return;
        }
        EXPECT_EQ("Quintaro卸载完成！", box->redtMessage->Text());
        PostMessageA(box->btnOK->Handle(), BM_CLICK, 0, 0);
    }});
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
        installDir = TForm1::GetInstallDir();
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
        RemoveTree(installDir);
        if (!vendorExisted) RemoveTree(vendorDir);
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
        MakeFolder(programs + "\\Quintaro\\帮助");
        WriteFile(programs + "\\Quintaro\\Quintaro.lnk", "L");
        WriteFile(programs + "\\Quintaro\\Quintaro卸载.lnk", "L");
        WriteFile(programs + "\\Quintaro\\说明.txt", "readme");
        WriteFile(programs + "\\Quintaro\\帮助\\帮助.lnk", "L");
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

    void RunToCompletion()
    {
        auto script = ConfirmCompletion();
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

    EXPECT_FALSE(testsupport::FolderExists(programs + "\\Quintaro")) << "the group goes with its extra file and subfolder";
    EXPECT_FALSE(testsupport::FileExists(desktop + "\\Quintaro.lnk")) << "found with the upper-case extension";
    EXPECT_FALSE(testsupport::FileExists(quickLaunch + "\\Quintaro.lnk"));
    EXPECT_FALSE(testsupport::FolderExists(installDir));
    EXPECT_EQ(installDir, form->InstallDir());

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

TEST_F(UninstallProcedure, AWrongValueTypeEndsTheUninstallWhereItHappens)
{
    PointShellFolders();
    MakeLayout();
    commonDesktop.SetNumber(1);

    EXPECT_THROW(form->BtnNextClick(form->BtnNext), ERegistryException);
    EXPECT_FALSE(testsupport::FolderExists(programs + "\\Quintaro")) << "the group came before the failing step";
    EXPECT_TRUE(testsupport::FileExists(quickLaunch + "\\Quintaro.lnk")) << "no later step ran";
    EXPECT_TRUE(testsupport::FileExists(installDir + "\\Quintaro.exe"));
    EXPECT_FALSE(form->Uninstalled());
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_EQ(0, closes);

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
    EXPECT_FALSE(form->Uninstalled());
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_TRUE(testsupport::FolderExists(installDir));
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
    char saved[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, saved);
    ASSERT_TRUE(SetCurrentDirectoryA(here.c_str()));
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

    SetCurrentDirectoryA(saved);
    DeleteFileA((drive + "Quintaro.LNK").c_str());
    if (!driveGroupExisted) RemoveTree(drive + "Quintaro");
}

TEST(SelfRemoval, BatchLinesQuoteThePathAndDoubleItsPercentSigns)
{
    const std::string exe = "C:\\Program Files\\Corvane软件\\100% 卸载\\Uninstall.exe";
    const std::string quoted = "\"C:\\Program Files\\Corvane软件\\100%% 卸载\\Uninstall.exe\"";
    TStringList lines;
    lines.Add("left from before");
    TForm1::SelfRemovalLines(exe, lines);
    const std::string file = FreshFolder("Batch") + "\\deleteFile.bat";
    WriteTextFile(file, lines);

    const std::string expected = "@echo off\r\n"
                                 ":loop\r\n"
                                 "del " + quoted + "\r\n"
                                 "del " + quoted + "\r\n"
                                 "if exist " + quoted + " goto loop \r\n"
                                 "del %0\r\n";
    const std::string bytes = ReadBytes(file);
    EXPECT_EQ(expected, bytes);
    EXPECT_NE(std::string::npos, bytes.find("Corvane\xC8\xED\xBC\xFE\\100%% \xD0\xB6\xD4\xD8")) << "GBK bytes";
}

TEST_F(UninstallProcedure, CloseWithoutUninstallWritesNoBatchFile)
{
    const std::string batch = ExtractFilePath(ModuleFileName()) + "deleteFile.bat";
    ASSERT_FALSE(testsupport::FileExists(batch));
    TCloseAction action = caHide;
    form->FormClose(form.get(), action);
    EXPECT_EQ(caHide, action);
    EXPECT_FALSE(testsupport::FileExists(batch));
}

// A copy of this test program, read-only, with blanks, Chinese characters and a per cent sign in its path, runs a
// whole uninstall with its real close handling; once it has exited, its batch file removes the copy and then
// itself. (The per cent sign is in the file name only: the emulator's cmd expands one in the batch file's own
// folder, which "del %0" then misses.)
TEST_F(UninstallProcedure, ACompletedUninstallRemovesTheExecutableAfterItExits)
{
    PointShellFolders();
    const std::string folder = FreshFolder("自删 程序");
    const std::string copy = folder + "\\卸载 100% 程序.exe";
    ASSERT_TRUE(CopyFileA(ModuleFileName().c_str(), copy.c_str(), TRUE));
    ASSERT_TRUE(SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_READONLY));

    std::string command = "\"" + copy + "\" --gtest_filter=SelfRemovalCopy.* --gtest_color=no";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    SetEnvironmentVariableA(CopyVariable, "1");
    const BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                                        &si, &pi);
    SetEnvironmentVariableA(CopyVariable, nullptr);
    ASSERT_TRUE(started);
    const DWORD waited = WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = 1;
    if (waited != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    ASSERT_EQ(WAIT_OBJECT_0, waited);
    EXPECT_EQ(0u, code) << "the copy's uninstall passed";

    const std::string batch = folder + "\\deleteFile.bat";
    for (int i = 0; i < 300 && (testsupport::FileExists(copy) || testsupport::FileExists(batch)); ++i) Sleep(50);
    EXPECT_FALSE(testsupport::FileExists(copy)) << "read-only as it was, the executable is gone";
    EXPECT_FALSE(testsupport::FileExists(batch)) << "the batch file deleted itself";
    EXPECT_TRUE(testsupport::FolderExists(folder));
}

// Runs only inside the copy started above.
TEST(SelfRemovalCopy, UninstallAndClose)
{
    if (!std::getenv(CopyVariable)) GTEST_SKIP() << "runs in a copy of this program only";
    if (!Application) Application = new TApplication(nullptr);
    Application->Initialize();
    std::unique_ptr<TForm1> form(TCustomForm::Create<TForm1>(nullptr));
    form->Show();
    msgboxtest::Pump();
    auto script = ConfirmCompletion();
    form->BtnNextClick(form->BtnNext);
    EXPECT_TRUE(script->Done());
    EXPECT_TRUE(form->Uninstalled());
    EXPECT_TRUE(testsupport::FileExists(ExtractFilePath(ModuleFileName()) + "deleteFile.bat"));
}
