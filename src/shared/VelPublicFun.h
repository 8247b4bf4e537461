#pragma once
// The maker's shared public functions: shell helpers of the uninstall.

#include <string>

// Removes a folder with everything in it through the shell, silently and for good; true when the shell reported
// success. Refuses (false, nothing done) an empty or relative path, any drive or share root, and a folder that is or
// holds a link, since the shell would follow the link and delete what it points to.
bool ShellDeleteFolder(const std::string& Folder);

// Deletes the current user's Quick Launch shortcut of an executable (name or full path: "Quintaro.exe" removes
// "Quintaro.lnk"); true when the shortcut was deleted. Without a usable "AppData" folder nothing is deleted.
bool DeleteQuickLaunchShortcut(const std::string& ExeName);
