#pragma once
#include <string>

#include "WinServices.h"

namespace testsupport {

// Starts a program (a command line) without waiting; an invalid handle when it could not start.
TKernelHandle StartProgram(std::string commandLine);

}  // namespace testsupport
