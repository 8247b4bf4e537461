#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Processes.h"
#include "TestSupport.h"

using testsupport::FreshFolder;

TEST(Processes, SnapshotSeesThisProcess)
{
    TProcessSnapshot snapshot;
    TProcessEntry e;
    bool found = false;
    int count = 0;
    while (snapshot.Next(e)) {
        ++count;
        if (e.ProcessID == GetCurrentProcessId()) {
            found = true;
            EXPECT_EQ("TEST_PLATFORM.EXE", UpperCaseAscii(WideToAnsi(e.ExeFile)));
        }
    }
    EXPECT_TRUE(found);
    EXPECT_GT(count, 1);
    EXPECT_FALSE(snapshot.Next(e)) << "the walk stays ended";
}

// A program started hidden by its full path runs in the folder it is given; then it is ended and waited for.
TEST(Processes, StartHiddenTerminateAndWait)
{
    const std::string dir = FreshFolder("run"), exe = dir + "\\Quintaro.exe";
    ASSERT_TRUE(CopyFileA((testsupport::HelpersFolder() + "\\Quintaro.exe").c_str(), exe.c_str(), FALSE));
    const std::vector<DWORD> before = FindProcesses(L"Quintaro.exe");
    const WideString program = AnsiToWide(exe);
    ASSERT_TRUE(StartHidden(program, L"\"" + program + L"\" held.dat", AnsiToWide(dir)));
    EXPECT_TRUE(testsupport::WaitUntil([&dir] { return testsupport::FileExists(dir + "\\held.dat"); }))
        << "a relative name is taken in the given folder";
    DWORD id = 0;
    for (DWORD p : FindProcesses(L"Quintaro.exe"))
        if (std::find(before.begin(), before.end(), p) == before.end()) id = p;
    ASSERT_NE(0u, id);
    std::vector<TKernelHandle> processes;
    processes.push_back(OpenProcessAllAccess(id));
    ASSERT_TRUE(processes[0].Valid());
    EXPECT_FALSE(WaitForProcesses(processes, 100)) << "still running";
    EXPECT_TRUE(TerminateProcessHandle(processes[0], 0));
    EXPECT_TRUE(WaitForProcesses(processes, 5000));
    DWORD code = 1;
    GetExitCodeProcess(processes[0].Get(), &code);
    EXPECT_EQ(0u, code);
    EXPECT_FALSE(StartHidden(AnsiToWide(dir + "\\missing.exe"), L"missing.exe", AnsiToWide(dir)));
}
