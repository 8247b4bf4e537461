#pragma once
// Our shared public functions: message display, and the shell helpers of the uninstall.

#include <string>

#include "Classes.h"

// Removes a folder with everything in it, silently and for good; true when it is gone. It goes entry by entry through
// handles opened as the entries themselves, so a link in it goes itself, never what it points to. Refuses (false,
// nothing done) an empty or relative path, any drive or share root, and a folder that is itself a link.
bool ShellDeleteFolder(const std::string& Folder);

// The current user's Quick Launch shortcut of an executable (name or full path: "Quintaro.exe" gives
// "...\Quick Launch\Quintaro.lnk"); empty without a usable "AppData" folder.
WideString QuickLaunchShortcut(const WideString& ExeName);
// Deletes the current user's Quick Launch shortcut of an executable, as itself; true when the shortcut was deleted.
// Without a usable "AppData" folder nothing is deleted.
bool DeleteQuickLaunchShortcut(const std::string& ExeName);

// Shows Text in a box shaped like the Win32 MessageBox call and returns its result, IDOK to IDNO. Mode 0: the
// house message box, top-most above the program's other top-most windows; mode 1: the system message box with the
// flags unchanged; any other mode shows nothing and returns 0. Failures of the house box reach the caller.
int ShowMessageBoxForm(const char* Text, const char* Caption, int Flags, unsigned char Mode);
// An information message: mode 0 the house box captioned "提示" with one OK button, mode 1 the plain message
// dialog, any other mode nothing.
void ShowInfo(const std::string& Msg, unsigned char Mode);
