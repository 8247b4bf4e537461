#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

#include "Classes.h"
#include "TestSupport.h"
#include "Unit1.h"

using testsupport::FileExists;
using testsupport::FolderExists;

namespace {

// Stand-ins for the product, started from copies of the helper program under chosen names; whatever is still
// running at the end of a test is terminated.
class Processes : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = testsupport::FreshFolder("Com");
        ASSERT_EQ(0, TForm1::FindProcessesByName("Quintaro.exe", &ids)) << "a copy left running by another test";
    }
    void TearDown() override
    {
        for (PROCESS_INFORMATION& pi : started) {
            TerminateProcess(pi.hProcess, 1);
            WaitForSingleObject(pi.hProcess, 5000);
            CloseHandle(pi.hProcess);
            CloseHandle(pi.hThread);
        }
    }

    // Copies the helper program to the test folder under Name (once) and starts it, holding File if given.
    DWORD Start(const WideString& name, const std::string& file = "")
    {
        const WideString exe = AnsiToWide(folder) + L"\\" + name;
        CopyFileW(AnsiToWide(testsupport::HelpersFolder() + "\\Quintaro.exe").c_str(), exe.c_str(), TRUE);
        WideString cmd = L"\"" + exe + L"\"" + (file.empty() ? WideString() : L" \"" + AnsiToWide(file) + L"\"");
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi = {};
        if (!CreateProcessW(exe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            ADD_FAILURE() << "cannot start " << WideToAnsi(exe);
            return 0;
        }
        started.push_back(pi);
        WaitForInputIdle(pi.hProcess, 2000);
        return pi.dwProcessId;
    }

    bool Running(DWORD id) const
    {
        for (const PROCESS_INFORMATION& pi : started)
            if (pi.dwProcessId == id) return WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT;
        return false;
    }

    DWORD ExitCode(DWORD id) const
    {
        DWORD code = STILL_ACTIVE;
        for (const PROCESS_INFORMATION& pi : started)
            if (pi.dwProcessId == id) GetExitCodeProcess(pi.hProcess, &code);
        return code;
    }

    std::string folder;
    TStringList ids;
    std::vector<PROCESS_INFORMATION> started;
};

// The order of the system's own process list, walked directly.
std::vector<std::string> SnapshotOrder(const std::vector<DWORD>& of)
{
    std::vector<std::string> order;
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 pe = {};
    pe.dwSize = sizeof pe;
    for (BOOL ok = Process32First(snap, &pe); ok; ok = Process32Next(snap, &pe))
        for (DWORD id : of)
            if (pe.th32ProcessID == id) order.push_back(std::to_string(id));
    CloseHandle(snap);
    return order;
}

std::vector<std::string> Strings(const TStringList& list)
{
    std::vector<std::string> v;
    for (int i = 0; i < list.Count(); ++i) v.push_back(list.Strings(i));
    return v;
}

}  // namespace

TEST_F(Processes, NoneRunning)
{
    ids.Add("kept");
    EXPECT_EQ(0, TForm1::FindProcessesByName("Quintaro.exe", &ids));
    EXPECT_EQ(std::vector<std::string>{"kept"}, Strings(ids)) << "the list is only appended to";
    TForm1::KillProcessesByName("Quintaro.exe");
}

TEST_F(Processes, TwoCopiesAreFoundInSnapshotOrderAndEnded)
{
    DWORD first = Start(L"Quintaro.exe");
    DWORD second = Start(L"Quintaro.exe");
    ASSERT_TRUE(Running(first) && Running(second));
    EXPECT_EQ(2, TForm1::FindProcessesByName("Quintaro.exe", &ids));
    EXPECT_EQ(SnapshotOrder({first, second}), Strings(ids));

    TForm1::KillProcessesByName("Quintaro.exe");
    // Ended by the time the call returns, with exit code 0.
    EXPECT_FALSE(Running(first));
    EXPECT_FALSE(Running(second));
    EXPECT_EQ(0u, ExitCode(first));
    EXPECT_EQ(0u, ExitCode(second));
}

// Names are compared as the system has them: the ANSI walk would give "Quint\u00e2ro.exe" as "Quintaro.exe".
TEST_F(Processes, OnlyTheWholeNameMatchesAndLatinCaseIsIgnored)
{
    DWORD upper = Start(L"QUINTARO.EXE");
    DWORD longer = Start(L"MyQuintaro.exe");
    DWORD other = Start(L"Quintaro.exe.bak");
    DWORD lookAlike = Start(L"Quint\u00e2ro.exe");
    EXPECT_EQ(1, TForm1::FindProcessesByName("quintaro.exe", &ids));
    EXPECT_EQ(std::vector<std::string>{std::to_string(upper)}, Strings(ids));

    TForm1::KillProcessesByName("Quintaro.exe");
    EXPECT_FALSE(Running(upper));
    EXPECT_TRUE(Running(longer));
    EXPECT_TRUE(Running(other));
    EXPECT_TRUE(Running(lookAlike));
}

TEST_F(Processes, TheCallerSurvives)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string self = ExtractFileName(path);
    EXPECT_GE(TForm1::FindProcessesByName(self, &ids), 1);
    EXPECT_NE(-1, ids.IndexOf(std::to_string(GetCurrentProcessId())));
    TForm1::KillProcessesByName(self);
    SUCCEED() << "still here";
}

// A running copy holds a file of the installation: its folder goes only once the copy has been ended.
TEST_F(Processes, EndedCopiesReleaseTheirFolder)
{
    CreateDirectoryA((folder + "\\数据").c_str(), nullptr);
    std::string held = folder + "\\数据\\held.dat";
    DWORD id = Start(L"Quintaro.exe", held);
    ASSERT_TRUE(testsupport::WaitUntil([&held] { return FileExists(held); }));

    TForm1::DeleteFolderTree(AnsiToWide(folder), true);
    EXPECT_TRUE(FileExists(held)) << "in use";

    TForm1::KillProcessesByName("Quintaro.exe");
    EXPECT_FALSE(Running(id));
    EXPECT_TRUE(TForm1::DeleteFolderTree(AnsiToWide(folder), true));
    EXPECT_FALSE(FolderExists(folder));
}
