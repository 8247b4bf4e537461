#include "Removal.h"

#include <shlobj.h>

#include "Registry.h"
#include "SystemLibraries.h"
#include "WinServices.h"

namespace {

const char* const ShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const DWORD VolumeLabelAttribute = 0x08;  // as directory entries of old file systems report a volume label
const DWORD TerminationWaitMs = 5000;
const DWORD ProtectRights = READ_CONTROL | WRITE_DAC | WRITE_OWNER;

bool StartsWithFullStop(const WideString& Name)
{
    return !Name.empty() && Name[0] == L'.';
}

// Only the Latin letters a to z are compared without case: any other character must be the very same, so that no
// look-alike ("Quintâro.exe") stands for the name.
bool SameAsciiCase(const WideString& A, const WideString& B)
{
    return UpperCaseAscii(A) == UpperCaseAscii(B);
}

bool EndsWithAsciiCase(const WideString& Name, const wchar_t* Suffix)
{
    const size_t n = TWideCharTraits::length(Suffix);
    return Name.size() >= n && SameAsciiCase(Name.substr(Name.size() - n), Suffix);
}

bool AnyName(const WideString&)
{
    return true;
}

// What a program group may hold of ours: shortcuts of every kind and the folders' display settings.
bool IsShortcutName(const WideString& Name)
{
    return EndsWithAsciiCase(Name, L".lnk") || EndsWithAsciiCase(Name, L".url") || EndsWithAsciiCase(Name, L".pif") ||
           SameAsciiCase(Name, L"desktop.ini");
}

WideString Expanded(const WideString& Value)
{
    WideString buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ExpandEnvironmentStringsW(Value.c_str(), &buffer[0], static_cast<DWORD>(buffer.size()));
        if (n == 0) return WideString();
        if (n <= buffer.size()) return buffer.substr(0, n - 1);
        buffer.resize(n);
    }
}

// The file name of an executable with the shortcut extension in place of its own.
WideString ShortcutNameOf(const WideString& ExeName)
{
    const size_t separator = ExeName.find_last_of(L"\\:");
    WideString name = separator == WideString::npos ? ExeName : ExeName.substr(separator + 1);
    const size_t dot = name.rfind(L'.');
    if (dot != WideString::npos) name.erase(dot);
    return name + L".lnk";
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

bool DeleteEntry(const TFolderWalk& Walk, const TFindEntry& Entry)
{
    TEntryHandle itself = Walk.OpenItself(Entry, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES);
    return itself.Valid() && DeleteKeepingAttributes(itself, Entry.Attributes);
}

// A folder opened as itself for the walk, with the rights to protect it where it is to be protected.
TEntryHandle OpenFolder(const std::function<TEntryHandle(DWORD)>& Open, bool Protect)
{
    if (Protect) {
        TEntryHandle handle = Open(FILE_READ_ATTRIBUTES | ProtectRights);
        if (handle.Valid()) return handle;
    }
    return Open(FILE_READ_ATTRIBUTES);
}

}  // namespace

struct TRemoval::TRules {
    bool RemoveFolders;  // emptied folders go
    bool DotNames;       // names that begin with a full stop are taken like any other
    bool FolderLinks;    // a link to a folder goes itself
    bool Protect;        // folders, and what is scheduled, get the administrators-only access list
    bool Schedule;       // what cannot go now goes at the next restart
    bool (*Takes)(const WideString& Name);  // the files that go
};

// What a folder's walk left. Where a link stays, at any depth, the folder stays too; an enumeration that did not
// finish counts as such, since what it missed is unknown.
struct TRemoval::TPass {
    bool Left = false;
    bool LinkBelow = false;

    void Add(const TPass& Other)
    {
        Left |= Other.Left;
        LinkBelow |= Other.LinkBelow;
    }
};

bool TRemoval::FolderTree(const WideString& Dir, bool RemoveFolders)
{
    const TRules rules = {RemoveFolders, RemoveFolders, RemoveFolders, RemoveFolders && RunsElevated(), RemoveFolders,
                          AnyName};
    return Top(Dir, rules);
}

bool TRemoval::ProgramGroup(const WideString& Group)
{
    const TRules rules = {true, true, false, false, false, IsShortcutName};
    return Top(Group, rules);
}

bool TRemoval::Shortcut(const WideString& Path)
{
    return DeleteFileItself(Path);
}

bool TRemoval::Top(const WideString& Dir, const TRules& Rules)
{
    // A root, a path relative to anything, or a folder that is itself a link is not the tree to remove.
    if (PathKind(Dir) != TPathKind::BelowRoot) return false;
    const WideString dir = LongPath(Dir);
    const DWORD a = GetFileAttributesW(dir.c_str());
    if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY) || (a & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    const WideString finalName = TEntryHandle(dir, FILE_READ_ATTRIBUTES).FinalName();
    if (finalName.empty()) return false;
    Folder(
        [&dir, &finalName](DWORD Access) {
            TEntryHandle handle(dir, Access);
            return handle.Is(finalName) ? std::move(handle) : TEntryHandle();
        },
        dir, finalName, Rules);
    return true;
}

TRemoval::TPass TRemoval::Tree(TEntryHandle& Itself, const WideString& Dir, const WideString& FinalName,
                               const TRules& Rules)
{
    // Before anything in it is touched: from now on no other account can add a link to it or swap an entry of it.
    if (Rules.Protect) TAdministratorsOnly::Instance().Apply(Itself.Get());
    TPass pass;
    TFolderWalk walk(Dir, FinalName);
    TFindEntry entry;
    while (walk.Next(entry)) pass.Add(Entry(walk, entry, Rules));
    if (!walk.Complete()) pass.Left = pass.LinkBelow = true;
    return pass;
}

TRemoval::TPass TRemoval::Entry(const TFolderWalk& Walk, const TFindEntry& Entry, const TRules& Rules)
{
    const DWORD a = Entry.Attributes;
    TPass pass;
    if (IsDotEntry(Entry) || a == VolumeLabelAttribute) return pass;  // volume labels are no files
    if (StartsWithFullStop(Entry.Name) && !Rules.DotNames) {
        pass.Left = true;
        return pass;
    }
    if ((a & FILE_ATTRIBUTE_DIRECTORY) && !(a & FILE_ATTRIBUTE_REPARSE_POINT)) {
        const auto open = [&Walk, &Entry](DWORD Access) { return Walk.OpenItself(Entry, Access); };
        return Folder(open, Walk.PathOf(Entry), Walk.FinalNameOf(Entry), Rules);
    }
    if (a & FILE_ATTRIBUTE_DIRECTORY) {
        // A link to a folder goes, itself, only where folders go.
        pass.Left = !Rules.FolderLinks || !DeleteEntry(Walk, Entry);
        pass.LinkBelow = pass.Left;
        return pass;
    }
    if (a & VolumeLabelAttribute) return pass;
    if (!Rules.Takes(Entry.Name)) {
        pass.Left = true;
        return pass;
    }
    if (DeleteEntry(Walk, Entry)) return pass;
    pass.Left = true;
    // Asking for the attributes only is refused to no program that holds the file: what fails now is a link.
    const DWORD access = FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES;
    TEntryHandle held = Walk.OpenItself(Entry, access | (Rules.Protect ? ProtectRights : 0));
    if (!held.Valid() && Rules.Protect) held = Walk.OpenItself(Entry, access);
    if (!held.Valid()) pass.LinkBelow = true;
    else if (Rules.Schedule) Schedule(held, Walk.PathOf(Entry), a, Rules);
    return pass;
}

TRemoval::TPass TRemoval::Folder(const TOpener& Open, const WideString& Path, const WideString& FinalName,
                                 const TRules& Rules)
{
    TEntryHandle itself = OpenFolder(Open, Rules.Protect);
    TPass pass;
    if (!itself.Valid()) {
        pass.Left = pass.LinkBelow = true;  // a folder that opens as something else is a link all the same
        return pass;
    }
    pass = Tree(itself, Path, FinalName, Rules);
    if (!Rules.RemoveFolders) return pass;
    if (!pass.Left) {
        TEntryHandle folder = Open(DELETE | FILE_READ_ATTRIBUTES);
        if (folder.Valid() && folder.Delete()) return pass;
        pass.Left = true;
    }
    // Deepest first: its entries were scheduled before it, so that it is empty by then.
    if (Rules.Schedule && !pass.LinkBelow && DeleteAtRestart(Path)) ++FScheduled;
    return pass;
}

void TRemoval::Schedule(TEntryHandle& Itself, const WideString& Path, DWORD Attributes, const TRules& Rules)
{
    // A file with another name is not ours alone: its access list and attributes stay as they are.
    const bool ownFile = Itself.Links() == 1;
    if (Rules.Protect && ownFile) TAdministratorsOnly::Instance().Apply(Itself.Get());
    // The deletion at the restart cannot take a read-only file.
    if ((Attributes & FILE_ATTRIBUTE_READONLY) && ownFile) Itself.SetAttributes(FILE_ATTRIBUTE_ARCHIVE);
    if (DeleteAtRestart(Path)) ++FScheduled;
}

// The system's own idea of a shell folder, for a value that is missing.
WideString KnownFolder(int Csidl)
{
    using TGetFolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
    static const auto get = SystemFunction<TGetFolderPath>("shell32.dll", "SHGetFolderPathW");
    wchar_t path[MAX_PATH] = {};
    return get && SUCCEEDED(get(nullptr, Csidl, nullptr, 0, path)) ? WideString(path) : WideString();
}

WideString ShellFolder(HKEY Root, const char* Name, bool CanCreate, int Csidl)
{
    TRegistry registry;
    registry.SetRootKey(Root);
    registry.OpenKey(ShellFoldersKey, CanCreate);  // a key that is not open reads as empty
    DWORD type = REG_NONE;
    WideString folder = registry.ReadWideString(Name, &type);
    if (type == REG_EXPAND_SZ) folder = Expanded(folder);
    // A 32-bit program reads the registry's 32-bit view, where the value may never have been written.
    if (folder.empty()) folder = KnownFolder(Csidl);
    // An empty or relative value would address whatever the current drive or folder is.
    return PathKind(folder) == TPathKind::BelowRoot ? folder : WideString();
}

bool DeleteQuickLaunchShortcutOf(const WideString& ExeName)
{
    const WideString appData = ShellFolder(HKEY_CURRENT_USER, "AppData", false, CSIDL_APPDATA);
    if (appData.empty()) return false;
    const WideString quickLaunch = IncludeTrailingBackslash(appData) + L"Microsoft\\Internet Explorer\\Quick Launch";
    return DeleteFileItself(quickLaunch + L"\\" + ShortcutNameOf(ExeName));
}

std::vector<DWORD> FindProcesses(const WideString& ExeName)
{
    std::vector<DWORD> ids;
    TProcessSnapshot snapshot;
    TProcessEntry entry;
    while (snapshot.Next(entry))
        if (SameAsciiCase(entry.ExeFile, ExeName)) ids.push_back(entry.ProcessID);
    return ids;
}

void EndProcesses(const WideString& ExeName)
{
    std::vector<TKernelHandle> terminated;  // kept open until they have ended
    for (DWORD id : FindProcesses(ExeName)) {
        if (id == GetCurrentProcessId()) continue;  // the uninstaller must live to finish its work
        TKernelHandle process = OpenProcessAllAccess(id);
        if (TerminateProcessHandle(process, 0)) terminated.push_back(std::move(process));
    }
    WaitForProcesses(terminated, TerminationWaitMs);
}
