#pragma once
// Processes: the running ones, found by their executable's name and ended; new ones started hidden.

#include <windows.h>

#include <vector>

#include "Classes.h"
#include "WinServices.h"

struct TProcessEntry {
    DWORD ProcessID = 0;
    WideString ExeFile;  // the executable's file name, without its folder, as the system has it
};

// A picture of the running processes, with their names in UTF-16 (the ANSI walk gives look-alikes of names outside the
// code page). The toolhelp functions are looked up in kernel32.dll on first use; where they are missing the picture
// is empty.
class TProcessSnapshot {
public:
    TProcessSnapshot();
    bool Next(TProcessEntry& Entry);

private:
    TKernelHandle FSnapshot;
    bool FFirst = true;
};

// Opens a process with the classic all-access mask (0x1F0FFF), not inheritable.
TKernelHandle OpenProcessAllAccess(DWORD ProcessID);
bool TerminateProcessHandle(const TKernelHandle& Process, UINT ExitCode);
// Waits until every process has ended, at most TimeoutMs in all; true when all have.
bool WaitForProcesses(const std::vector<TKernelHandle>& Processes, DWORD TimeoutMs);

// The ids of the running processes whose executable file name equals ExeName exactly, Latin letters compared without
// case, in snapshot order.
std::vector<DWORD> FindProcesses(const WideString& ExeName);
// Terminates (exit code 0) every process FindProcesses gives, except the calling one, and waits up to five seconds in
// all for them to end, so that their files are free before their folder is deleted.
void EndProcesses(const WideString& ExeName);

// Starts Program (a full path: nothing is searched for) with the command line CommandLine, without a window and with
// Folder as its current folder; returns at once, false when it could not be started.
bool StartHidden(const WideString& Program, const WideString& CommandLine, const WideString& Folder);

// Whether the process still runs, with the administrators' full rights (as RunsElevated() tells of this one); false
// when that cannot be asked.
bool RunsElevated(DWORD ProcessID);
