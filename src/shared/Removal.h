#pragma once
// The removal of a product's files: its folder tree, its program group and shortcuts, its running copies, and what
// waits for the next restart. Paths stay UTF-16 from the registry to the deletion, and every entry is changed only
// through a handle known to be the entry itself: no path-based recursive operation, no link followed.

#include <windows.h>

#include <functional>
#include <vector>

#include "Classes.h"

class TEntryHandle;
class TFolderWalk;
struct TFindEntry;

// One removal: it counts what it could only schedule for the next restart, so that its caller can say so.
class TRemoval {
public:
    // Deletes every file of the folder tree Dir, read-only, hidden and system files too; with RemoveFolders also the
    // names that begin with a full stop, and each folder once emptied. Run elevated, each folder first gets the
    // administrators-only access list, so that no other account can put a link in place of anything in it. What
    // cannot go now (a file in use, the folders above it) is scheduled for the next restart; links stay, and so do
    // the folders that hold them. False, with nothing done, when Dir is not an existing folder below a drive or share
    // root, or is itself a link.
    bool FolderTree(const WideString& Dir, bool RemoveFolders);
    // Removes from a program group only shortcuts (.lnk, .url, .pif) and desktop.ini files, then the folders that end
    // up empty, the group's own folder too: anything else stays, with the folders that hold it. False when Group is
    // not an existing folder below a root, or is a link.
    bool ProgramGroup(const WideString& Group);
    // Deletes a shortcut file if a file (not a folder) is there, as itself; true when it was deleted.
    bool Shortcut(const WideString& Path);

    // How many entries were scheduled for deletion at the next restart.
    int ScheduledAtRestart() const { return FScheduled; }

private:
    struct TRules;
    struct TPass;
    bool Top(const WideString& Dir, const TRules& Rules);
    // Opens the folder being removed as itself with the access asked for; an invalid handle where it is not itself.
    using TOpener = std::function<TEntryHandle(DWORD Access)>;
    TPass Tree(TEntryHandle& Itself, const WideString& Dir, const WideString& FinalName, const TRules& Rules);
    TPass Folder(const TOpener& Open, const WideString& Path, const WideString& FinalName, const TRules& Rules);
    TPass Entry(const TFolderWalk& Walk, const TFindEntry& Entry, const TRules& Rules);
    void Schedule(TEntryHandle& Itself, const WideString& Path, DWORD Attributes, const TRules& Rules);

    int FScheduled = 0;
};

// A shell folder as the registry's "Shell Folders" key below Root names it (with CanCreate the key is created when
// missing), expanded when it is stored as an expandable string; where the value is missing or empty, the system's
// known folder Csidl (CSIDL_COMMON_PROGRAMS, ...). Empty when that names no folder below a drive or share root. A
// value of another type than a string throws ERegistryException.
WideString ShellFolder(HKEY Root, const char* Name, bool CanCreate, int Csidl);

// The current user's Quick Launch shortcut of an executable (name or full path: "Quintaro.exe" deletes
// "Quintaro.lnk"), deleted as itself; true when it was deleted.
bool DeleteQuickLaunchShortcutOf(const WideString& ExeName);

// The ids of the running processes whose executable file name equals ExeName exactly, Latin letters compared without
// case, in snapshot order.
std::vector<DWORD> FindProcesses(const WideString& ExeName);
// Terminates (exit code 0) every process FindProcesses gives, except the calling one, and waits up to five seconds in
// all for them to end, so that their files are free before their folder is deleted.
void EndProcesses(const WideString& ExeName);
