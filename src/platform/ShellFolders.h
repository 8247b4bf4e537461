#pragma once
// The shell folders as the registry names them, beside the registry access they are read with.

#include <windows.h>

#include "Classes.h"

// A shell folder as the registry's "Shell Folders" key below Root names it (with CanCreate the key is created when
// missing), expanded when it is stored as an expandable string; where the value is missing or empty, the system's
// known folder Csidl (CSIDL_COMMON_PROGRAMS, ...). Empty when that names no folder below a drive or share root. A
// value of another type than a string throws ERegistryException.
WideString ShellFolder(HKEY Root, const char* Name, bool CanCreate, int Csidl);

// The current user's Quick Launch folder, below the "AppData" shell folder; empty without a usable "AppData". Throws
// as ShellFolder does.
WideString QuickLaunchFolder();
