#include "WinServices.h"

#include <sddl.h>

#include "Classes.h"
#include "SystemLibraries.h"

TKernelHandle& TKernelHandle::operator=(TKernelHandle&& Other) noexcept
{
    if (this != &Other) Reset(Other.Release());
    return *this;
}

HANDLE TKernelHandle::Release()
{
    HANDLE h = FHandle;
    FHandle = nullptr;
    return h;
}

void TKernelHandle::Reset(HANDLE Handle)
{
    if (Valid()) CloseHandle(FHandle);
    FHandle = Handle;
}

TFindHandle::~TFindHandle()
{
    if (Valid()) FindClose(FHandle);
}

namespace {

// Index just after Count components (each ended by a backslash or the end of S) that begin at From.
size_t SkipComponents(const WideString& S, size_t From, int Count)
{
    size_t i = From;
    for (int n = 0; n < Count && i < S.size(); ++n) {
        const size_t b = S.find(L'\\', i);
        i = b == WideString::npos ? S.size() : b + 1;
    }
    return i;
}

bool StartsWith(const WideString& S, const wchar_t* Prefix)
{
    return S.compare(0, TWideCharTraits::length(Prefix), Prefix) == 0;
}

// Length of the root of a full path: "C:\", "\\server\share\", "\\?\C:\", "\\?\UNC\server\share\", "\\?\Volume{..}\".
size_t RootLength(const WideString& Full)
{
    if (StartsWith(Full, L"\\\\?\\") || StartsWith(Full, L"\\\\.\\")) {
        if (UpperCaseAscii(Full.substr(4, 4)) == L"UNC\\") return SkipComponents(Full, 8, 2);
        return SkipComponents(Full, 4, 1);
    }
    if (StartsWith(Full, L"\\\\")) return SkipComponents(Full, 2, 2);
    return SkipComponents(Full, 0, 1);
}

// True when a component below the root is "." or "..": only literal "\\?\" paths keep them, and where they lead
// is not for us to guess.
bool HasDotComponent(const WideString& Full, size_t From)
{
    while (From < Full.size()) {
        const size_t b = Full.find(L'\\', From);
        const WideString part = Full.substr(From, b == WideString::npos ? WideString::npos : b - From);
        if (part == L"." || part == L"..") return true;
        if (b == WideString::npos) break;
        From = b + 1;
    }
    return false;
}

// What an API call of the kind "fill this buffer, or say how large it must be" gives, however long it is. Call
// returns the length written, or a size needed (or, for module names, the whole buffer) when it does not fit; 0 on
// failure.
template <typename String, typename Call>
String BufferResult(Call Fill)
{
    String buffer(MAX_PATH, typename String::value_type());
    for (;;) {
        const DWORD n = Fill(&buffer[0], static_cast<DWORD>(buffer.size()));
        if (n == 0) return String();
        if (n < buffer.size()) return buffer.substr(0, n);
        buffer.resize(n > buffer.size() ? n : buffer.size() * 2);
    }
}

WideString FullPathName(const WideString& Path)
{
    return BufferResult<WideString>([&Path](wchar_t* Buffer, DWORD Size) {
        return GetFullPathNameW(Path.c_str(), Size, Buffer, nullptr);
    });
}

WideString WideShortPath(const WideString& Path)
{
    return BufferResult<WideString>([&Path](wchar_t* Buffer, DWORD Size) {
        return GetShortPathNameW(Path.c_str(), Buffer, Size);
    });
}

std::string ExactShortPath(const WideString& Path)
{
    const WideString shortPath = WideShortPath(Path);
    std::string exact;
    return !shortPath.empty() && ExactAnsi(shortPath, exact) ? exact : std::string();
}

// The folder that holds Path, without a trailing backslash unless it is a drive root.
WideString HoldingFolder(const WideString& Path)
{
    WideString folder = Path.substr(0, Path.find_last_of(L'\\'));
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
    return folder;
}

// By the file system's rule: character by character, case aside. The locale's comparison takes "ß" for "ss" and
// passes over soft hyphens, so a link's target whose path differed from the entry's only so passed for the entry.
bool SameName(const WideString& A, const WideString& B)
{
    return !A.empty() && CompareStringOrdinal(A.c_str(), static_cast<int>(A.size()), B.c_str(),
                                              static_cast<int>(B.size()), TRUE) == CSTR_EQUAL;
}

DWORD AttributesOf(const std::string& Path)
{
    return GetFileAttributesA(Path.c_str());
}

}  // namespace

TPathKind PathKind(const WideString& Path)
{
    WideString p = Path;
    for (wchar_t& c : p)
        if (c == L'/') c = L'\\';
    // Only a literal "\\?\" prefix has a question mark of its own.
    if (p.find_first_of(L"?*", StartsWith(p, L"\\\\?\\") ? 4 : 0) != WideString::npos) return TPathKind::Pattern;
    const bool drive =
        p.size() >= 2 && p[1] == L':' && ((p[0] >= L'A' && p[0] <= L'Z') || (p[0] >= L'a' && p[0] <= L'z'));
    const bool driveRooted = drive && p.size() >= 3 && p[2] == L'\\';
    if (!driveRooted && !StartsWith(p, L"\\\\")) {
        // "C:" and "\" alone stand for a whole drive; anything else here depends on the current folder.
        return p == L"\\" || (drive && p.size() == 2) ? TPathKind::Root : TPathKind::Relative;
    }
    const WideString full = FullPathName(p);
    const size_t root = RootLength(full);
    if (full.find_first_not_of(L'\\', root) == WideString::npos || HasDotComponent(full, root))
        return TPathKind::Root;
    return TPathKind::BelowRoot;
}

TPathKind PathKind(const std::string& Path)
{
    return PathKind(AnsiToWide(Path));
}

WideString WindowsFolder()
{
    wchar_t buffer[260] = {};
    const UINT n = GetWindowsDirectoryW(buffer, 260);
    return n < 260 ? WideString(buffer, n) : WideString();
}

WideString SystemFolder()
{
    return BufferResult<WideString>([](wchar_t* Buffer, DWORD Size) { return GetSystemDirectoryW(Buffer, Size); });
}

std::string ExactAnsiPath(const WideString& Path)
{
    std::string exact;
    if (ExactAnsi(Path, exact)) return exact;
    return ExactShortPath(Path);
}

std::string ShortPathName(const std::string& Path)
{
    return ExactShortPath(AnsiToWide(Path));
}

std::string ModuleFileName()
{
    return ExactAnsiPath(BufferResult<WideString>([](wchar_t* Buffer, DWORD Size) {
        return GetModuleFileNameW(nullptr, Buffer, Size);
    }));
}

std::string TempFolder()
{
    WideString folder = BufferResult<WideString>([](wchar_t* Buffer, DWORD Size) { return GetTempPathW(Size, Buffer); });
    if (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
    return ExactAnsiPath(folder);
}

bool FileExists(const std::string& Path)
{
    DWORD a = AttributesOf(Path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& Path)
{
    DWORD a = AttributesOf(Path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileSetAttr(const std::string& Path, DWORD Attributes)
{
    return SetFileAttributesA(Path.c_str(), Attributes) != FALSE;
}

bool DeleteAtRestart(const WideString& Path)
{
    return MoveFileExW(Path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
}

WideString UniqueName(const WideString& Prefix)
{
    GUID guid = {};
    wchar_t text[40] = {};
    if (FAILED(CoCreateGuid(&guid)) || !StringFromGUID2(guid, text, 40)) throw Exception("Cannot make a unique name");
    const WideString braced = text;
    return Prefix + braced.substr(1, braced.size() - 2);
}

bool RunsElevated()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    const TKernelHandle owned(token);
    TOKEN_ELEVATION elevation = {};
    DWORD size = 0;
    if (GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size))
        return elevation.TokenIsElevated != 0;
    // Before elevation existed an administrator had all rights at once.
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                  &administrators))
        return false;
    BOOL member = FALSE;
    const bool known = CheckTokenMembership(nullptr, administrators, &member) != FALSE;
    FreeSid(administrators);
    return known && member;
}

TAdministratorsOnly::TAdministratorsOnly()
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    // Protected (P): nothing inherited from the folder above; the entries' own children inherit the list.
    if (ConvertStringSecurityDescriptorToSecurityDescriptorW(L"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)",
                                                             SDDL_REVISION_1, &descriptor, nullptr))
        FDescriptor.reset(descriptor);
}

const TAdministratorsOnly& TAdministratorsOnly::Instance()
{
    static const TAdministratorsOnly list;
    return list;
}

SECURITY_ATTRIBUTES* TAdministratorsOnly::Attributes() const
{
    if (!FDescriptor) return nullptr;
    FAttributes = {sizeof FAttributes, FDescriptor.get(), FALSE};
    return &FAttributes;
}

bool TAdministratorsOnly::Apply(HANDLE Entry) const
{
    if (!FDescriptor) return false;
    // SetKernelObjectSecurity sets the list on this entry only; SetSecurityInfo would go on to walk everything below
    // it by path. An owner the system does not let us give is no reason to leave the list unset.
    const SECURITY_INFORMATION list = DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION;
    return SetKernelObjectSecurity(Entry, list | OWNER_SECURITY_INFORMATION, FDescriptor.get()) ||
           SetKernelObjectSecurity(Entry, list, FDescriptor.get());
}

void CreateTextFile(const std::string& FileName, const TStringList& Lines)
{
    Lines.SaveToNewFile(FileName);
}

// Folder enumeration ---------------------------------------------------------------------------------------------

TEntryHandle::TEntryHandle(const WideString& Path, DWORD Access)
    : FHandle(CreateFileW(Path.c_str(), Access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr))
{
}

namespace {

// The system's name of an open object, looked up once in ntdll (where every Windows version has it).
struct TObjectNames {
    struct TName {
        USHORT Length;
        USHORT MaximumLength;
        PWSTR Buffer;
    };
    using TQuery = LONG(WINAPI*)(HANDLE, int, PVOID, ULONG, PULONG);
    static const int ObjectNameInformation = 1;
    TQuery Query;

    TObjectNames() : Query(SystemFunction<TQuery>("ntdll.dll", "NtQueryObject")) {}

    WideString Of(HANDLE Handle) const
    {
        std::vector<BYTE> buffer(sizeof(TName) + MAX_PATH * sizeof(wchar_t));
        for (int tries = 0; Query && tries < 2; ++tries) {
            ULONG needed = 0;
            const LONG status = Query(Handle, ObjectNameInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                                      &needed);
            if (status >= 0) {
                const TName* name = reinterpret_cast<const TName*>(buffer.data());
                return WideString(name->Buffer, name->Length / sizeof(wchar_t));
            }
            if (needed <= buffer.size()) break;
            buffer.resize(needed);
        }
        return WideString();
    }

    static const TObjectNames& Instance()
    {
        static const TObjectNames names;
        return names;
    }
};

}  // namespace

WideString TEntryHandle::FinalName() const
{
    // The object name rather than the DOS path: one call at any length (Wine gives no DOS final path longer than
    // MAX_PATH), and in UTF-16, where the ANSI form of a name outside the code page is a look-alike of another.
    return Valid() ? TObjectNames::Instance().Of(FHandle.Get()) : WideString();
}

bool TEntryHandle::Is(const WideString& Final) const
{
    return Valid() && SameName(FinalName(), Final);
}

bool TEntryHandle::SetAttributes(DWORD Attributes)
{
    FILE_BASIC_INFO info = {};  // zero times stay as they are
    info.FileAttributes = Attributes;
    return SetFileInformationByHandle(FHandle.Get(), FileBasicInfo, &info, sizeof info) != FALSE;
}

DWORD TEntryHandle::Links() const
{
    // The standard information alone: the whole record also asks the volume for its serial number, which under Wine
    // is a request to the mount manager's driver, many times the cost of the rest.
    FILE_STANDARD_INFO info = {};
    return GetFileInformationByHandleEx(FHandle.Get(), FileStandardInfo, &info, sizeof info) && info.NumberOfLinks > 1
               ? info.NumberOfLinks
               : 1;
}

bool TEntryHandle::Delete()
{
    FILE_DISPOSITION_INFO info = {TRUE};
    return SetFileInformationByHandle(FHandle.Get(), FileDispositionInfo, &info, sizeof info) != FALSE;
}

bool TEntryHandle::Rename(const WideString& NewPath)
{
    // The system's own spelling ("\??\C:\..."), which every version takes here without converting it.
    WideString name = NewPath;
    if (name.compare(0, 4, L"\\\\?\\") == 0) name.replace(0, 4, L"\\??\\");
    std::vector<BYTE> buffer(sizeof(FILE_RENAME_INFO) + name.size() * sizeof(wchar_t));
    FILE_RENAME_INFO& info = *reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    info.ReplaceIfExists = FALSE;
    info.RootDirectory = nullptr;
    info.FileNameLength = static_cast<DWORD>(name.size() * sizeof(wchar_t));
    name.copy(info.FileName, name.size());
    return SetFileInformationByHandle(FHandle.Get(), FileRenameInfo, &info, static_cast<DWORD>(buffer.size())) !=
           FALSE;
}

WideString LongPath(const std::string& Path)
{
    return LongPath(AnsiToWide(Path));
}

WideString LongPath(const WideString& Path)
{
    if (PathKind(Path) == TPathKind::Relative) return WideString();
    WideString full = FullPathName(Path);
    if (full.size() > 3 && full.back() == L'\\') full.pop_back();
    if (full.compare(0, 4, L"\\\\?\\") == 0 || full.compare(0, 4, L"\\\\.\\") == 0) return full;
    if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

namespace {

// The first entry of a folder, without the short names nobody here reads (the system makes one up for every long
// name) and in large batches; systems before Windows 7 know neither request and get the plain one.
HANDLE FindFirstEntry(const WideString& Folder, WIN32_FIND_DATAW& Data)
{
    const WideString pattern = Folder + L"\\*.*";
    HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &Data, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE && GetLastError() == ERROR_INVALID_PARAMETER)
        find = FindFirstFileW(pattern.c_str(), &Data);
    return find;
}

}  // namespace

TFolderWalk::TFolderWalk(const WideString& Folder, const WideString& FinalName)
    : FFolder(Folder),
      FFinalName(FinalName.empty() ? TEntryHandle(Folder, FILE_READ_ATTRIBUTES).FinalName() : FinalName),
      FFind(FindFirstEntry(Folder, FData))
{
    if (!FFind.Valid()) FResult = GetLastError();
}

bool TFolderWalk::Next(TFindEntry& Entry)
{
    if (!FFind.Valid() || FResult != 0) return false;
    if (!FFirst && !FindNextFileW(FFind.Get(), &FData)) {
        FResult = GetLastError();
        return false;
    }
    FFirst = false;
    Entry.Name = FData.cFileName;
    Entry.Attributes = FData.dwFileAttributes;
    return true;
}

WideString TFolderWalk::FinalNameOf(const TFindEntry& Entry) const
{
    return IncludeTrailingBackslash(FFinalName) + Entry.Name;
}

TEntryHandle TFolderWalk::OpenItself(const TFindEntry& Entry, DWORD Access) const
{
    TEntryHandle handle(PathOf(Entry), Access);
    if (handle.Is(FinalNameOf(Entry))) return handle;
    return TEntryHandle();
}

bool IsDotEntry(const TFindEntry& Entry)
{
    return Entry.Name == L"." || Entry.Name == L"..";
}

TEntryHandle OpenItself(const WideString& Path, DWORD Access)
{
    if (PathKind(Path) != TPathKind::BelowRoot) return TEntryHandle();
    // The name the folder lists for the entry: the long one even when Path spells it short.
    WIN32_FIND_DATAW data = {};
    const TFindHandle find(FindFirstFileW(Path.c_str(), &data));
    if (!find.Valid()) return TEntryHandle();
    TEntryHandle handle(Path, Access);
    const WideString expected =
        IncludeTrailingBackslash(TEntryHandle(HoldingFolder(Path), FILE_READ_ATTRIBUTES).FinalName()) + data.cFileName;
    if (handle.Is(expected)) return handle;
    return TEntryHandle();
}

namespace {

// A root, or a folder that is no link at its own name (links above it are the system's business).
bool IsFolderItself(const WideString& Folder)
{
    const DWORD a = GetFileAttributesW(Folder.c_str());
    if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY) || (a & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    return PathKind(Folder) == TPathKind::Root || OpenItself(Folder, FILE_READ_ATTRIBUTES).Valid();
}

}  // namespace

bool DeleteFileItself(const WideString& Path)
{
    const DWORD a = GetFileAttributesW(Path.c_str());
    if (a == INVALID_FILE_ATTRIBUTES || (a & FILE_ATTRIBUTE_DIRECTORY) || !IsFolderItself(HoldingFolder(Path)))
        return false;
    TEntryHandle file = OpenItself(Path, DELETE | FILE_READ_ATTRIBUTES);
    return file.Valid() && file.Delete();
}
