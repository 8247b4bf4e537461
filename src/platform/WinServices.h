#pragma once
// The plain Windows services of the uninstall: paths, files and folders opened as themselves, access lists.
// Thin typed calls of the ANSI API; every handle they hand out is owned by a small RAII type.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "Classes.h"

class TStringList;

// A kernel object handle (file, process, snapshot). NULL and INVALID_HANDLE_VALUE both mean "none", since the API
// uses either to report failure.
class TKernelHandle {
public:
    TKernelHandle() = default;
    explicit TKernelHandle(HANDLE Handle) : FHandle(Handle) {}
    TKernelHandle(TKernelHandle&& Other) noexcept : FHandle(Other.Release()) {}
    TKernelHandle& operator=(TKernelHandle&& Other) noexcept;
    TKernelHandle(const TKernelHandle&) = delete;
    TKernelHandle& operator=(const TKernelHandle&) = delete;
    ~TKernelHandle() { Reset(); }

    HANDLE Get() const { return FHandle; }
    bool Valid() const { return FHandle != nullptr && FHandle != INVALID_HANDLE_VALUE; }
    HANDLE Release();
    void Reset(HANDLE Handle = nullptr);

private:
    HANDLE FHandle = nullptr;
};

// A find handle (FindFirstFile), closed with FindClose.
class TFindHandle {
public:
    TFindHandle() = default;
    explicit TFindHandle(HANDLE Handle) : FHandle(Handle) {}
    TFindHandle(const TFindHandle&) = delete;
    TFindHandle& operator=(const TFindHandle&) = delete;
    ~TFindHandle();

    HANDLE Get() const { return FHandle; }
    bool Valid() const { return FHandle != INVALID_HANDLE_VALUE; }

private:
    HANDLE FHandle = INVALID_HANDLE_VALUE;
};

// Paths ---------------------------------------------------------------------------------------------------------

enum class TPathKind {
    Relative,   // empty, relative, or relative to a drive's current folder ("C:x", "\x")
    Root,       // a drive or share root in any spelling ("C:", "c:/", "\", "\\server\share\", "\\?\C:\"), or a
                // literal "\\?\" path with "." or ".." in it, which may lead there
    BelowRoot,  // a fully qualified path below a root
    Pattern,    // "?" or "*" in it: a pattern that may match other names, never a name to act on
};

// What a path names once "." and ".." are resolved; the removal operations act only on BelowRoot paths.
TPathKind PathKind(const WideString& Path);
TPathKind PathKind(const std::string& Path);

// Files and folders ---------------------------------------------------------------------------------------------

// The Windows folder (GetWindowsDirectory with 260 characters), such as C:\WINDOWS.
WideString WindowsFolder();
// The system folder (GetSystemDirectory), such as C:\WINDOWS\system32.
WideString SystemFolder();
// Every path the program deletes, writes or starts must be exactly the path on disk, and the ANSI API would hand out
// look-alikes for names outside the code page. These give the exact ANSI form of such a path: the path itself when
// every character has one, else its short (8.3) form when the file system keeps one, else empty.
std::string ExactAnsiPath(const WideString& Path);
// The exact short (8.3) form of an existing path, or empty.
std::string ShortPathName(const std::string& Path);
// The full path of the running executable, exactly; empty when it has no exact ANSI form.
std::string ModuleFileName();
// The user's temporary folder without a trailing backslash, exactly; empty when it has no exact ANSI form.
std::string TempFolder();

bool FileExists(const std::string& Path);       // an existing file, not a folder
bool DirectoryExists(const std::string& Path);  // an existing folder
bool FileSetAttr(const std::string& Path, DWORD Attributes);  // replaces all attributes

// Asks the system to delete a file, or an empty folder, at the next restart (the elevated program may); true when
// that is recorded. The system deletes by path then: what is scheduled must be out of reach of other accounts.
bool DeleteAtRestart(const WideString& Path);

// A name made of a new GUID ("{...}" without its braces) after Prefix: nobody can have guessed it before.
WideString UniqueName(const WideString& Prefix);

// Whether the program runs with the administrators' full rights (elevated; on systems without elevation, as a member
// of the Administrators group).
bool RunsElevated();

// The access list that keeps an entry out of every unprivileged account's reach: full control for SYSTEM and the
// Administrators group only, nothing inherited from above, owned by the Administrators group.
class TAdministratorsOnly {
public:
    static const TAdministratorsOnly& Instance();
    // For creating an entry with it; null when the system could not build it.
    SECURITY_ATTRIBUTES* Attributes() const;
    // Gives an open entry (opened with WRITE_DAC, and WRITE_OWNER for the owner) the access list, on the entry alone:
    // nothing below it is walked. True when the list was set.
    bool Apply(HANDLE Entry) const;

private:
    TAdministratorsOnly();
    struct TLocalFree {
        void operator()(void* Memory) const { LocalFree(Memory); }
    };
    std::unique_ptr<void, TLocalFree> FDescriptor;
    mutable SECURITY_ATTRIBUTES FAttributes = {};
};

// Writes the lines, each followed by CR LF, in the ANSI code page, to a file it creates: an existing file (or a link
// of that name) is never written through. Throws on failure.
void CreateTextFile(const std::string& FileName, const TStringList& Lines);

// Folder enumeration --------------------------------------------------------------------------------------------

// The long form of a fully qualified path ("\\?\C:\dir", "\\?\UNC\server\share\dir"), which the wide calls take at
// any length, without a trailing backslash; empty for a path that is not fully qualified.
WideString LongPath(const WideString& Path);
WideString LongPath(const std::string& Path);

struct TFindEntry {
    WideString Name;
    DWORD Attributes = 0;
};

// An entry opened without following a link, so that what was checked is what gets changed.
class TEntryHandle {
public:
    TEntryHandle() = default;
    TEntryHandle(const WideString& Path, DWORD Access);

    bool Valid() const { return FHandle.Valid(); }
    // The full name the system knows the opened entry by, links on the way resolved: the object name, such as
    // "\Device\HarddiskVolume2\dir\name" ("\??\C:\dir\name" under Wine). A folder's entries are named by it plus
    // a backslash and their own names.
    WideString FinalName() const;
    // Whether the opened entry is the one named so (a final name as the walk derives it).
    bool Is(const WideString& Final) const;
    bool SetAttributes(DWORD Attributes);
    // How many names the file has (hard links); 1 when it cannot be told.
    DWORD Links() const;
    // Marks the entry for deletion; it goes when the handle closes. A link goes, not what it points to.
    bool Delete();
    // Gives the entry the new name NewPath (long form, same volume); false, changing nothing, when a name is there
    // already or the system refuses.
    bool Rename(const WideString& NewPath);
    HANDLE Get() const { return FHandle.Get(); }

private:
    TKernelHandle FHandle;
};

// Every entry of one folder (the pattern folder\*.*, "." and ".." included), each of which can be told apart from a
// link. A link is a reparse point (junction, symbolic link, mount point), or an entry that the file system resolves
// to its target even when asked to open the entry itself: Wine keeps links as Unix symbolic links, resolves them in
// every call (deleting through one deletes the target) and marks only those to folders as reparse points.
class TFolderWalk {
public:
    // Folder in its long form. Its final name, when the caller knows it already, saves opening the folder.
    explicit TFolderWalk(const WideString& Folder, const WideString& FinalName = WideString());

    bool Next(TFindEntry& Entry);
    // The error that ended the enumeration: ERROR_NO_MORE_FILES (18) when every entry came; 0 while entries come.
    DWORD Result() const { return FResult; }
    bool Complete() const { return FResult == ERROR_NO_MORE_FILES; }

    const WideString& Folder() const { return FFolder; }
    WideString PathOf(const TFindEntry& Entry) const { return FFolder + L"\\" + Entry.Name; }
    // The final name the entry has when it is itself.
    WideString FinalNameOf(const TFindEntry& Entry) const;
    // The entry opened as itself, or an invalid handle when it cannot be opened or the handle would be the target of
    // a link rather than the entry.
    TEntryHandle OpenItself(const TFindEntry& Entry, DWORD Access) const;

private:
    WideString FFolder;
    WideString FFinalName;
    WIN32_FIND_DATAW FData = {};
    TFindHandle FFind;
    bool FFirst = true;
    DWORD FResult = 0;
};

bool IsDotEntry(const TFindEntry& Entry);  // "." or ".."

// The entry at Path opened as itself, or an invalid handle when it cannot be opened or a link stands at its name.
TEntryHandle OpenItself(const WideString& Path, DWORD Access);
// Deletes the file at Path as itself, and only when its folder is no link either: never a link's target, nothing
// through a linked folder. True when the file was deleted; a read-only file is not.
bool DeleteFileItself(const WideString& Path);
