#include "Processes.h"

#include <tlhelp32.h>

#include "SystemLibraries.h"

namespace {

const DWORD TerminationWaitMs = 5000;

// The toolhelp functions, looked up by name once: old systems lack them, and then no process is seen.
struct TToolhelp {
    using TCreateSnapshot = HANDLE(WINAPI*)(DWORD, DWORD);
    using TWalk = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32W*);
    TCreateSnapshot CreateSnapshot = SystemFunction<TCreateSnapshot>("kernel32.dll", "CreateToolhelp32Snapshot");
    TWalk First = SystemFunction<TWalk>("kernel32.dll", "Process32FirstW");
    TWalk Next = SystemFunction<TWalk>("kernel32.dll", "Process32NextW");

    bool Available() const { return CreateSnapshot && First && Next; }

    static const TToolhelp& Instance()
    {
        static const TToolhelp toolhelp;
        return toolhelp;
    }
};

}  // namespace

TProcessSnapshot::TProcessSnapshot()
{
    const TToolhelp& toolhelp = TToolhelp::Instance();
    if (toolhelp.Available()) FSnapshot.Reset(toolhelp.CreateSnapshot(TH32CS_SNAPPROCESS, 0));
}

bool TProcessSnapshot::Next(TProcessEntry& Entry)
{
    if (!FSnapshot.Valid()) return false;
    const TToolhelp& toolhelp = TToolhelp::Instance();
    PROCESSENTRY32W pe = {};
    pe.dwSize = sizeof pe;
    BOOL ok = FFirst ? toolhelp.First(FSnapshot.Get(), &pe) : toolhelp.Next(FSnapshot.Get(), &pe);
    FFirst = false;
    if (!ok) {
        FSnapshot.Reset();
        return false;
    }
    Entry.ProcessID = pe.th32ProcessID;
    Entry.ExeFile = pe.szExeFile;
    return true;
}

TKernelHandle OpenProcessAllAccess(DWORD ProcessID)
{
    // The all-access mask every Windows version accepts; newer headers define a wider one that older systems refuse.
    const DWORD allAccess = 0x1F0FFF;
    return TKernelHandle(OpenProcess(allAccess, FALSE, ProcessID));
}

bool TerminateProcessHandle(const TKernelHandle& Process, UINT ExitCode)
{
    return Process.Valid() && TerminateProcess(Process.Get(), ExitCode) != FALSE;
}

bool WaitForProcesses(const std::vector<TKernelHandle>& Processes, DWORD TimeoutMs)
{
    ULONGLONG deadline = GetTickCount64() + TimeoutMs;
    for (const TKernelHandle& process : Processes) {
        ULONGLONG now = GetTickCount64();
        DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
        if (WaitForSingleObject(process.Get(), left) != WAIT_OBJECT_0) return false;
    }
    return true;
}

std::vector<DWORD> FindProcesses(const WideString& ExeName)
{
    // Only the Latin letters a to z are compared without case: any other character must be the very same, so that no
    // look-alike ("Quintâro.exe") stands for the name.
    const WideString wanted = UpperCaseAscii(ExeName);
    std::vector<DWORD> ids;
    TProcessSnapshot snapshot;
    TProcessEntry entry;
    while (snapshot.Next(entry))
        if (UpperCaseAscii(entry.ExeFile) == wanted) ids.push_back(entry.ProcessID);
    return ids;
}

void EndProcesses(const WideString& ExeName)
{
    std::vector<TKernelHandle> terminated;  // kept open until they have ended
    for (DWORD id : FindProcesses(ExeName)) {
        if (id == GetCurrentProcessId()) continue;  // the uninstaller must live to finish its work
        TKernelHandle process = OpenProcessAllAccess(id);
        if (TerminateProcessHandle(process, 0)) terminated.push_back(std::move(process));
    }
    WaitForProcesses(terminated, TerminationWaitMs);
}

bool StartHidden(const WideString& Program, const WideString& CommandLine, const WideString& Folder)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION started = {};
    WideString commandLine = CommandLine;  // the call may write to it
    if (!CreateProcessW(Program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        Folder.c_str(), &startup, &started))
        return false;
    const TKernelHandle process(started.hProcess), thread(started.hThread);
    return true;
}

bool RunsElevated(DWORD ProcessID)
{
    const TKernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, ProcessID));
    HANDLE token = nullptr;
    if (!process.Valid() || WaitForSingleObject(process.Get(), 0) != WAIT_TIMEOUT ||
        !OpenProcessToken(process.Get(), TOKEN_QUERY, &token))
        return false;
    const TKernelHandle owned(token);
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    // Systems before elevation know no such difference: every process that answers counts.
    if (!GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size))
        return GetLastError() == ERROR_INVALID_PARAMETER;
    return elevation.TokenIsElevated != 0;
}
