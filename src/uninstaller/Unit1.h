#pragma once
// The confirmation window of the uninstaller and the removal steps of the uninstall.

#include <string>

class TStringList;

class TForm1 {
public:
    // Deletes a shortcut file if a file (not a folder) is there.
    static void DeleteShortcut(const std::string& Path);

    // Deletes every file of the folder tree Dir (no trailing backslash), read-only, hidden and system files too, but
    // not names that begin with a full stop; with RemoveFolders each folder, emptied, is then removed with whatever
    // is left in it. Links are never followed: a link goes itself (a link to a folder only with RemoveFolders), and a
    // link that cannot be removed without touching its target stays, with the folders above it. Returns false, doing
    // nothing, when Dir is not an existing folder below a drive or share root, or is itself a link.
    static bool DeleteFolderTree(const std::string& Dir, bool RemoveFolders);

    // Appends, in snapshot order, the ids (decimal) of the running processes whose executable file name equals Name
    // (ASCII letters compared without case) to List; returns their number.
    static int FindProcessesByName(const std::string& Name, TStringList* List);

    // Terminates (exit code 0) every process that FindProcessesByName finds, except the calling one, and waits up to
    // five seconds in all for them to end, so that their files are free before their folder is deleted.
    static void KillProcessesByName(const std::string& Name);
};
