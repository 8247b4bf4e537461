#pragma once
// The maker's shared public functions: message display, and the shell helpers of the uninstall.

#include <string>

// Removes a folder with everything in it through the shell, silently and for good; true when the shell reported
// success. Refuses (false, nothing done) an empty or relative path, any drive or share root, and a folder that is or
// holds a link, since the shell would follow the link and delete what it points to.
bool ShellDeleteFolder(const std::string& Folder);

// Deletes the current user's Quick Launch shortcut of an executable (name or full path: "Quintaro.exe" removes
// "Quintaro.lnk"); true when the shortcut was deleted. Without a usable "AppData" folder nothing is deleted.
bool DeleteQuickLaunchShortcut(const std::string& ExeName);

// Shows Text in a box shaped like the Win32 MessageBox call and returns its result, IDOK to IDNO. Mode 0: the
// house message box, top-most above the program's other top-most windows; mode 1: the system message box with the
// flags unchanged; any other mode shows nothing and returns 0. Failures of the house box reach the caller.
int ShowMessageBoxForm(const char* Text, const char* Caption, int Flags, unsigned char Mode);
// An information message: mode 0 the house box captioned "提示" with one OK button, mode 1 the plain message
// dialog, any other mode nothing.
void ShowInfo(const std::string& Msg, unsigned char Mode);
