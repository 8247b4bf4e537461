#pragma once
// The removal of a product's files: its folder tree, its program group and its shortcuts, and what waits for the next
// restart. Paths stay UTF-16 from the registry to the deletion, and every entry is changed only through a handle known
// to be the entry itself: no path-based recursive operation, no link followed.

#include <atomic>

#include "Classes.h"

// What waits for the next restart, as the walks count it; and, where the caller asks for it, every entry a walk has
// dealt with, for a progress display on another thread.
struct TRemovalTally {
    int Scheduled = 0;
    bool UnderOwnNames = false;
    std::atomic<long>* Handled = nullptr;
};

// How many entries a folder tree holds, every level, links counted but not followed; 0 for what FolderTree would
// refuse.
long CountEntries(const WideString& Dir);

class TRemoval {
public:
    // Deletes every file of the folder tree Dir, read-only, hidden and system files too; with RemoveFolders also the
    // names that begin with a full stop, and each folder once emptied. Run elevated, each folder first gets the
    // administrators-only access list, so that no other account can put a link in place of anything in it. What
    // cannot go now (a file in use, the folders above it) waits for the next restart, a file under a new name of its
    // own where the system lets it be renamed; links stay, and so do the folders that hold them. False, with nothing
    // done, when Dir is not an existing folder below a drive or share root, or is itself a link.
    bool FolderTree(const WideString& Dir, bool RemoveFolders);
    // Deletes the folder Dir with everything below it now, as FolderTree does but with nothing left for a restart and
    // no access list changed; true when the folder is gone.
    bool WholeTree(const WideString& Dir);
    // Removes the shortcuts (.lnk, .url, .pif) and desktop.ini directly in the program group Group, then the folder
    // if that left it empty; its subfolders and anything else stay. A folder that holds a user's hive (NTUSER.DAT) is
    // a profile, not a group, and is left untouched. False when Group is not an existing folder below a root, is a
    // link, or is a profile.
    bool ProgramGroup(const WideString& Group);
    // Deletes a shortcut file if a file (not a folder) is there, as itself; true when it was deleted.
    bool Shortcut(const WideString& Path);

    // How many entries wait for the next restart.
    int ScheduledAtRestart() const { return FTally.Scheduled; }
    // Whether some of them wait under their own names (their holder let them be neither deleted nor renamed): a
    // reinstall before the restart would lose its files of those names.
    bool ScheduledUnderOwnNames() const { return FTally.UnderOwnNames; }
    // Whether the last FolderTree left part of its tree for good: not gone, and not waiting for the restart either.
    bool TreeKept() const { return FTreeKept; }
    // Counts every entry the walks deal with from now on into Handled (which must outlive the walks).
    void CountInto(std::atomic<long>& Handled) { FTally.Handled = &Handled; }

private:
    TRemovalTally FTally;
    bool FTreeKept = false;
};
