#include "ProgramSupport.h"

namespace testsupport {

TKernelHandle StartProgram(std::string commandLine)
{
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return {};
    CloseHandle(pi.hThread);
    return TKernelHandle(pi.hProcess);
}

}  // namespace testsupport
