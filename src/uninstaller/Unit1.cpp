#include "Unit1.h"

#include <cstdlib>
#include <vector>

#include "Classes.h"
#include "VelPublicFun.h"
#include "WinServices.h"

namespace {

const DWORD TerminationWaitMs = 5000;
const DWORD VolumeLabelAttribute = 0x08;  // as directory entries of old file systems report a volume label

bool StartsWithFullStop(const TFindEntry& Entry)
{
    return !Entry.Name.empty() && Entry.Name[0] == '.';
}

// Removes a file, or a link, through a handle that is known to be the entry itself, so that a link never takes its
// target along. An entry that cannot be opened so (in use, or a link the file system always resolves) stays.
void DeleteEntry(const TFolderWalk& Walk, const TFindEntry& Entry)
{
    TEntryHandle handle = Walk.OpenItself(Entry, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES);
    if (!handle.Valid()) return;
    if (Entry.Attributes & FILE_ATTRIBUTE_READONLY) handle.SetAttributes(FILE_ATTRIBUTE_ARCHIVE);
    handle.Delete();  // a failure leaves the file to the shell removal of its folder
}

bool DeleteTree(const std::string& Dir, bool RemoveFolders)
{
    bool result = DirectoryExists(Dir);
    if (!result) return false;
    TFolderWalk walk(Dir);
    TFindEntry entry;
    while (walk.Next(entry)) {
        const DWORD a = entry.Attributes;
        // Dot names go only with the shell removal of their folder; volume labels are no files.
        if (StartsWithFullStop(entry) || a == VolumeLabelAttribute) continue;
        if (a & FILE_ATTRIBUTE_DIRECTORY) {
            if (a & FILE_ATTRIBUTE_REPARSE_POINT) {
                if (RemoveFolders) DeleteEntry(walk, entry);  // the link only, and like a folder only when asked
            } else if (walk.OpenItself(entry, FILE_READ_ATTRIBUTES).Valid()) {
                // (A folder that opens as something else is a link all the same, and stays.)
                result = DeleteTree(walk.PathOf(entry), RemoveFolders);
            }
        } else if (!(a & VolumeLabelAttribute)) {
            DeleteEntry(walk, entry);
        }
    }
    // The shell takes what the pass left (dot names, files it could not delete), unless a link is among it.
    if (RemoveFolders && walk.Complete()) ShellDeleteFolder(Dir);
    return result;
}

}  // namespace

void TForm1::DeleteShortcut(const std::string& Path)
{
    if (FileExists(Path)) FileDelete(Path);
}

bool TForm1::DeleteFolderTree(const std::string& Dir, bool RemoveFolders)
{
    // A folder that is itself a link is not the tree to delete; neither is a root or a path relative to anything.
    if (PathKind(Dir) != TPathKind::BelowRoot) return false;
    DWORD a = GetFileAttributesA(Dir.c_str());
    if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT)) return false;
    return DeleteTree(Dir, RemoveFolders);
}

int TForm1::FindProcessesByName(const std::string& Name, TStringList* List)
{
    const std::string wanted = UpperCaseAscii(Name);
    int count = 0;
    TProcessSnapshot snapshot;
    TProcessEntry entry;
    while (snapshot.Next(entry)) {
        if (UpperCaseAscii(entry.ExeFile) != wanted) continue;
        List->Add(IntToStr(entry.ProcessID));
        ++count;
    }
    return count;
}

void TForm1::KillProcessesByName(const std::string& Name)
{
    TStringList ids;
    if (FindProcessesByName(Name, &ids) <= 0) return;
    std::vector<TKernelHandle> terminated;  // kept open until they have ended
    for (int i = 0; i < ids.Count(); ++i) {
        DWORD id = static_cast<DWORD>(std::strtoul(ids.Strings(i).c_str(), nullptr, 10));
        if (id == GetCurrentProcessId()) continue;  // the uninstaller must live to finish its work
        TKernelHandle process = OpenProcessAllAccess(id);
        if (TerminateProcessHandle(process, 0)) terminated.push_back(std::move(process));
    }
    WaitForProcesses(terminated, TerminationWaitMs);
}
