#include "Removal.h"

#include <windows.h>

#include <functional>

#include "WinServices.h"

namespace {

const DWORD VolumeLabelAttribute = 0x08;  // as directory entries of old file systems report a volume label
const DWORD ProtectRights = READ_CONTROL | WRITE_DAC | WRITE_OWNER;
const DWORD AttributeRights = FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES;

// What a walk may do; each use of the walk is one named set of these.
enum TRule : unsigned {
    RemoveFolders = 1,    // emptied folders go
    DotNames = 2,         // names that begin with a full stop are taken like any other
    FolderLinks = 4,      // a link to a folder goes itself
    ProtectElevated = 8,  // run elevated, folders and what waits for the restart get the administrators-only list
    Schedule = 16,        // what cannot go now goes at the next restart
    Descend = 32,         // subfolders are walked too
};

struct TRules {
    unsigned Flags;
    bool (*Takes)(const WideString& Name);  // the files that go
    bool Has(TRule Rule) const { return (Flags & Rule) != 0; }
};

bool AnyName(const WideString&)
{
    return true;
}

bool EndsWithAsciiCase(const WideString& Name, const wchar_t* Suffix)
{
    const size_t n = TWideCharTraits::length(Suffix);
    return Name.size() >= n && UpperCaseAscii(Name.substr(Name.size() - n)) == UpperCaseAscii(WideString(Suffix));
}

// What a program group may hold of ours: shortcuts of every kind and the folder's display settings.
bool IsShortcutName(const WideString& Name)
{
    return EndsWithAsciiCase(Name, L".lnk") || EndsWithAsciiCase(Name, L".url") || EndsWithAsciiCase(Name, L".pif") ||
           UpperCaseAscii(Name) == L"DESKTOP.INI";
}

const TRules InstallationTree = {RemoveFolders | DotNames | FolderLinks | ProtectElevated | Schedule | Descend,
                                 AnyName};
const TRules FilesOfTree = {Descend, AnyName};
const TRules WholeTreeNow = {RemoveFolders | DotNames | FolderLinks | Descend, AnyName};
const TRules FlatGroup = {RemoveFolders | DotNames, IsShortcutName};

bool StartsWithFullStop(const WideString& Name)
{
    return !Name.empty() && Name[0] == L'.';
}

// Deletes a file through a handle opened as itself. Read-only belongs to the file, not to the name: a file that keeps
// another name (a hard link of someone else's) gets its attribute back, and so does one that could not be deleted.
bool DeleteKeepingAttributes(TEntryHandle& File, DWORD Attributes)
{
    const bool readOnly = (Attributes & FILE_ATTRIBUTE_READONLY) != 0;
    const bool otherNames = readOnly && File.Links() > 1;
    if (readOnly) File.SetAttributes(FILE_ATTRIBUTE_ARCHIVE);
    const bool deleted = File.Delete();
    if (readOnly && (otherNames || !deleted)) File.SetAttributes(Attributes);
    return deleted;
}

// What a walk left of an entry: Left, not gone now; Kept, not gone after the restart either. A folder that keeps
// anything is kept itself; an enumeration that did not finish keeps its folder, since what it missed is unknown.
struct TPass {
    bool Left = false;
    bool Kept = false;

    void Add(const TPass& Other)
    {
        Left |= Other.Left;
        Kept |= Other.Kept;
    }
    static TPass Stays() { return {true, true}; }
};

// Opens the folder being removed as itself with the access asked for; an invalid handle where it is not itself.
using TOpener = std::function<TEntryHandle(DWORD Access)>;

TOpener OpenerOf(const TFolderWalk& Walk, const TFindEntry& Entry)
{
    return [&Walk, &Entry](DWORD Access) { return Walk.OpenItself(Entry, Access); };
}

// One walk over a tree under one set of rules.
class TWalk {
public:
    TWalk(const TRules& Rules, TRemovalTally& Tally)
        : FRules(Rules), FProtect(Rules.Has(ProtectElevated) && RunsElevated()), FTally(Tally)
    {
    }

    TPass Folder(const TOpener& Open, const WideString& Path, const WideString& FinalName);

private:
    TPass Tree(TEntryHandle& Itself, const WideString& Dir, const WideString& FinalName);
    TPass Entry(const TFolderWalk& Walk, const TFindEntry& Entry);
    TPass File(const TFolderWalk& Walk, const TFindEntry& Entry);
    bool ScheduleFile(const TFolderWalk& Walk, const TFindEntry& Entry);
    TEntryHandle OpenProtectable(const TOpener& Open, DWORD Access) const;
    void Protect(TEntryHandle& Entry) const;

    const TRules& FRules;
    const bool FProtect;
    TRemovalTally& FTally;
};

// With the rights to protect it where it is to be protected, and without where the system refuses them.
TEntryHandle TWalk::OpenProtectable(const TOpener& Open, DWORD Access) const
{
    if (FProtect) {
        TEntryHandle handle = Open(Access | ProtectRights);
        if (handle.Valid()) return handle;
    }
    return Open(Access);
}

void TWalk::Protect(TEntryHandle& Entry) const
{
    if (FProtect) TAdministratorsOnly::Instance().Apply(Entry.Get());
}

TPass TWalk::Folder(const TOpener& Open, const WideString& Path, const WideString& FinalName)
{
    TEntryHandle itself = OpenProtectable(Open, FILE_READ_ATTRIBUTES);
    if (!itself.Valid()) return TPass::Stays();  // a folder that opens as something else is a link all the same
    TPass pass = Tree(itself, Path, FinalName);
    if (!FRules.Has(RemoveFolders)) return pass;
    if (!pass.Left) {
        TEntryHandle folder = Open(DELETE | FILE_READ_ATTRIBUTES);
        if (folder.Valid() && folder.Delete()) return pass;
        pass.Left = true;
    }
    // Deepest first: what it held waits already, so that it is empty by then.
    if (FRules.Has(Schedule) && !pass.Kept && DeleteAtRestart(Path))
        ++FTally.Scheduled;
    else
        pass.Kept = true;
    return pass;
}

TPass TWalk::Tree(TEntryHandle& Itself, const WideString& Dir, const WideString& FinalName)
{
    // Before anything in it is touched: from now on no other account can add a link to it or swap an entry of it.
    Protect(Itself);
    TPass pass;
    TFolderWalk walk(Dir, FinalName);
    TFindEntry entry;
    while (walk.Next(entry)) pass.Add(Entry(walk, entry));
    if (!walk.Complete()) pass = TPass::Stays();
    return pass;
}

TPass TWalk::Entry(const TFolderWalk& Walk, const TFindEntry& Entry)
{
    const DWORD a = Entry.Attributes;
    if (IsDotEntry(Entry)) return TPass();
    if (FTally.Handled) ++*FTally.Handled;
    if (a == VolumeLabelAttribute) return TPass();  // volume labels are no files
    if (StartsWithFullStop(Entry.Name) && !FRules.Has(DotNames)) return TPass::Stays();
    const bool isFolder = (a & FILE_ATTRIBUTE_DIRECTORY) != 0, isLink = (a & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    if (isFolder && !isLink) {
        if (!FRules.Has(Descend)) return TPass::Stays();
        return Folder(OpenerOf(Walk, Entry), Walk.PathOf(Entry), Walk.FinalNameOf(Entry));
    }
    if (isFolder) {
        // A link to a folder goes, itself, only where folders go.
        if (!FRules.Has(FolderLinks)) return TPass::Stays();
        TEntryHandle link = Walk.OpenItself(Entry, DELETE | FILE_READ_ATTRIBUTES);
        return link.Valid() && link.Delete() ? TPass() : TPass::Stays();
    }
    if ((a & VolumeLabelAttribute) || !FRules.Takes(Entry.Name)) return TPass::Stays();
    return File(Walk, Entry);
}

TPass TWalk::File(const TFolderWalk& Walk, const TFindEntry& Entry)
{
    TEntryHandle itself = Walk.OpenItself(Entry, DELETE | AttributeRights);
    if (itself.Valid() && DeleteKeepingAttributes(itself, Entry.Attributes)) return TPass();
    itself = TEntryHandle();  // the scheduling opens it anew, with the rights it needs
    TPass pass;
    pass.Left = true;
    pass.Kept = !FRules.Has(Schedule) || !ScheduleFile(Walk, Entry);
    return pass;
}

// A file in use waits for the restart, where it is deleted by path. Renamed first to a name nobody else has, so that
// a reinstall before the restart, which brings a file of the old name, keeps it (as Windows Installer does with files
// in use). False when the entry is a link after all, or the system takes no note.
bool TWalk::ScheduleFile(const TFolderWalk& Walk, const TFindEntry& Entry)
{
    const TOpener open = OpenerOf(Walk, Entry);
    WideString path = Walk.PathOf(Entry);
    TEntryHandle held = OpenProtectable(open, DELETE | AttributeRights);
    if (held.Valid()) {
        const WideString renamed = Walk.Folder() + L"\\" + UniqueName(L"~removed-") + L".tmp";
        if (held.Rename(renamed))
            path = renamed;
        else
            FTally.UnderOwnNames = true;
    } else {
        // Its holder refuses a rename as it refuses the deletion. Asking for the attributes only is refused to no
        // holder: what fails now is a link.
        held = OpenProtectable(open, AttributeRights);
        if (!held.Valid()) return false;
        FTally.UnderOwnNames = true;
    }
    // A file with another name is not ours alone: its access list and attributes stay as they are.
    if (held.Links() == 1) {
        Protect(held);
        // The deletion at the restart cannot take a read-only file.
        if (Entry.Attributes & FILE_ATTRIBUTE_READONLY) held.SetAttributes(FILE_ATTRIBUTE_ARCHIVE);
    }
    if (!DeleteAtRestart(path)) return false;
    ++FTally.Scheduled;
    return true;
}

long CountBelow(const WideString& Dir)
{
    long count = 0;
    TFolderWalk walk(Dir, L"-");  // names only: nothing is opened
    TFindEntry entry;
    while (walk.Next(entry)) {
        if (IsDotEntry(entry)) continue;
        ++count;
        if ((entry.Attributes & FILE_ATTRIBUTE_DIRECTORY) && !(entry.Attributes & FILE_ATTRIBUTE_REPARSE_POINT))
            count += CountBelow(walk.PathOf(entry));
    }
    return count;
}

// The walk of a tree from its top folder, which must be an existing folder below a root and no link. False, with
// nothing done, where it is not.
bool WalkTop(const WideString& Dir, const TRules& Rules, TRemovalTally& Tally, TPass& Pass)
{
    if (PathKind(Dir) != TPathKind::BelowRoot) return false;
    const WideString dir = LongPath(Dir);
    const DWORD a = GetFileAttributesW(dir.c_str());
    if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY) || (a & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    const WideString finalName = TEntryHandle(dir, FILE_READ_ATTRIBUTES).FinalName();
    if (finalName.empty()) return false;
    const TOpener open = [&dir, &finalName](DWORD Access) {
        TEntryHandle handle(dir, Access);
        return handle.Is(finalName) ? std::move(handle) : TEntryHandle();
    };
    Pass = TWalk(Rules, Tally).Folder(open, dir, finalName);
    return true;
}

// A user's profile holds the user's registry hive.
bool HoldsUserHive(const WideString& Folder)
{
    if (PathKind(Folder) != TPathKind::BelowRoot) return false;
    return GetFileAttributesW((LongPath(Folder) + L"\\NTUSER.DAT").c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

long CountEntries(const WideString& Dir)
{
    return PathKind(Dir) == TPathKind::BelowRoot ? CountBelow(LongPath(Dir)) : 0;
}

bool TRemoval::FolderTree(const WideString& Dir, bool RemoveFolders)
{
    TPass pass;
    const bool walked = WalkTop(Dir, RemoveFolders ? InstallationTree : FilesOfTree, FTally, pass);
    FTreeKept = pass.Kept;
    return walked;
}

bool TRemoval::WholeTree(const WideString& Dir)
{
    TPass pass;
    return WalkTop(Dir, WholeTreeNow, FTally, pass) && !pass.Left;
}

bool TRemoval::ProgramGroup(const WideString& Group)
{
    TPass pass;
    return !HoldsUserHive(Group) && WalkTop(Group, FlatGroup, FTally, pass);
}

bool TRemoval::Shortcut(const WideString& Path)
{
    return DeleteFileItself(Path);
}
