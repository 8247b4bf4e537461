#include "WinServices.h"

#include <shellapi.h>
#include <tlhelp32.h>

#include "Classes.h"

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

// Index of the next backslash at or after From, stepping over GBK characters whose trail byte is 0x5C.
size_t NextBackslash(const std::string& S, size_t From)
{
    for (size_t i = From; i < S.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(S[i])) && i + 1 < S.size())
            ++i;
        else if (S[i] == '\\')
            return i;
    }
    return std::string::npos;
}

// Index just after Count components (each ended by a backslash or the end of S) that begin at From.
size_t SkipComponents(const std::string& S, size_t From, int Count)
{
    size_t i = From;
    for (int n = 0; n < Count && i < S.size(); ++n) {
        size_t b = NextBackslash(S, i);
        i = b == std::string::npos ? S.size() : b + 1;
    }
    return i;
}

bool StartsWith(const std::string& S, const char* Prefix)
{
    return S.compare(0, std::char_traits<char>::length(Prefix), Prefix) == 0;
}

// Length of the root of a full path: "C:\", "\\server\share\", "\\?\C:\", "\\?\UNC\server\share\", "\\?\Volume{..}\".
size_t RootLength(const std::string& Full)
{
    if (StartsWith(Full, "\\\\?\\") || StartsWith(Full, "\\\\.\\")) {
        if (UpperCaseAscii(Full.substr(4, 4)) == "UNC\\") return SkipComponents(Full, 8, 2);
        return SkipComponents(Full, 4, 1);
    }
    if (StartsWith(Full, "\\\\")) return SkipComponents(Full, 2, 2);
    return SkipComponents(Full, 0, 1);
}

// True when a component below the root is "." or "..": only literal "\\?\" paths keep them, and where they lead
// is not for us to guess.
bool HasDotComponent(const std::string& Full, size_t From)
{
    while (From < Full.size()) {
        size_t b = NextBackslash(Full, From);
        std::string part = Full.substr(From, b == std::string::npos ? std::string::npos : b - From);
        if (part == "." || part == "..") return true;
        if (b == std::string::npos) break;
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

std::string FullPathName(const std::string& Path)
{
    return BufferResult<std::string>([&Path](char* Buffer, DWORD Size) {
        return GetFullPathNameA(Path.c_str(), Size, Buffer, nullptr);
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

WideString JoinName(const WideString& Folder, const WideString& Name)
{
    return !Folder.empty() && Folder.back() == L'\\' ? Folder + Name : Folder + L"\\" + Name;
}

bool SameName(const WideString& A, const WideString& B)
{
    return !A.empty() && lstrcmpiW(A.c_str(), B.c_str()) == 0;
}

DWORD AttributesOf(const std::string& Path)
{
    return GetFileAttributesA(Path.c_str());
}

}  // namespace

TPathKind PathKind(const std::string& Path)
{
    std::string p = Path;
    for (char& c : p)
        if (c == '/') c = '\\';  // never a GBK trail byte
    // Neither is a GBK trail byte either; only a literal "\\?\" prefix has a question mark of its own.
    if (p.find_first_of("?*", StartsWith(p, "\\\\?\\") ? 4 : 0) != std::string::npos) return TPathKind::Pattern;
    bool drive = p.size() >= 2 && p[1] == ':' && ((p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z'));
    bool driveRooted = drive && p.size() >= 3 && p[2] == '\\';
    if (!driveRooted && !StartsWith(p, "\\\\")) {
        // "C:" and "\" alone stand for a whole drive; anything else here depends on the current folder.
        return p == "\\" || (drive && p.size() == 2) ? TPathKind::Root : TPathKind::Relative;
    }
    std::string full = FullPathName(p);
    size_t root = RootLength(full);
    if (full.find_first_not_of('\\', root) == std::string::npos || HasDotComponent(full, root))
        return TPathKind::Root;
    return TPathKind::BelowRoot;
}

std::string WindowsDirectory()
{
    char buffer[260] = {};
    UINT n = GetWindowsDirectoryA(buffer, sizeof buffer);
    return n < sizeof buffer ? std::string(buffer, n) : std::string();
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

FARPROC SystemProcAddress(const char* Library, const char* Function)
{
    char folder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    const HMODULE module = LoadLibraryA((std::string(folder, length) + "\\" + Library).c_str());
    return module ? GetProcAddress(module, Function) : nullptr;
}

bool ShellDeleteTree(const std::string& Folder)
{
    return ShellDeleteTree(AnsiToWide(Folder));
}

bool ShellDeleteTree(const WideString& Folder)
{
    WideString from = Folder;
    if (from.compare(0, 8, L"\\\\?\\UNC\\") == 0)
        from.replace(0, 8, L"\\\\");
    else if (from.compare(0, 4, L"\\\\?\\") == 0)
        from.erase(0, 4);
    from.push_back(L'\0');  // the list ends in two NULs with the string's own
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.pTo = L"";
    op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION;
    using TOperation = int(WINAPI*)(SHFILEOPSTRUCTW*);
    static const TOperation operation = SystemFunction<TOperation>("shell32.dll", "SHFileOperationW");
    return operation && operation(&op) == 0;
}

bool DeleteAtRestart(const WideString& Path)
{
    return MoveFileExW(Path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != FALSE;
}

void CreateTextFile(const std::string& FileName, const TStringList& Lines)
{
    Lines.SaveToNewFile(FileName);
}

bool RunHidden(const std::string& CommandLine)
{
    return WinExec(CommandLine.c_str(), SW_HIDE) > 31;
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

bool TEntryHandle::Delete()
{
    FILE_DISPOSITION_INFO info = {TRUE};
    return SetFileInformationByHandle(FHandle.Get(), FileDispositionInfo, &info, sizeof info) != FALSE;
}

WideString LongPath(const std::string& Path)
{
    if (PathKind(Path) == TPathKind::Relative) return WideString();
    const WideString wide = AnsiToWide(Path);
    WideString full = BufferResult<WideString>([&wide](wchar_t* Buffer, DWORD Size) {
        return GetFullPathNameW(wide.c_str(), Size, Buffer, nullptr);
    });
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
    return JoinName(FFinalName, Entry.Name);
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

TEntryHandle OpenItself(const std::string& Path, DWORD Access)
{
    if (PathKind(Path) != TPathKind::BelowRoot) return TEntryHandle();
    const WideString path = AnsiToWide(Path);
    // The name the folder lists for the entry: the long one even when Path spells it short.
    WIN32_FIND_DATAW data = {};
    const TFindHandle find(FindFirstFileW(path.c_str(), &data));
    if (!find.Valid()) return TEntryHandle();
    WideString folder = path.substr(0, path.find_last_of(L'\\'));
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
    TEntryHandle handle(path, Access);
    const WideString expected = JoinName(TEntryHandle(folder, FILE_READ_ATTRIBUTES).FinalName(), data.cFileName);
    if (handle.Is(expected)) return handle;
    return TEntryHandle();
}

namespace {

// A root, or a folder that is no link at its own name (links above it are the system's business).
bool IsFolderItself(const std::string& Folder)
{
    const DWORD a = AttributesOf(Folder);
    if (a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY) || (a & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    return PathKind(Folder) == TPathKind::Root || OpenItself(Folder, FILE_READ_ATTRIBUTES).Valid();
}

// The folder that holds Path, without a trailing backslash unless it is a root.
std::string HoldingFolder(const std::string& Path)
{
    std::string folder = ExtractFilePath(Path);
    if (!folder.empty() && PathKind(folder) != TPathKind::Root) folder.pop_back();
    return folder;
}

}  // namespace

bool DeleteFileItself(const std::string& Path)
{
    if (!FileExists(Path) || !IsFolderItself(HoldingFolder(Path))) return false;
    TEntryHandle file = OpenItself(Path, DELETE | FILE_READ_ATTRIBUTES);
    return file.Valid() && file.Delete();
}

bool IsLinkFreeFolder(const WideString& Folder, const WideString& FinalName)
{
    TFolderWalk walk(Folder, FinalName);
    TFindEntry entry;
    while (walk.Next(entry)) {
        if (IsDotEntry(entry)) continue;
        if ((entry.Attributes & FILE_ATTRIBUTE_REPARSE_POINT) || !walk.OpenItself(entry, FILE_READ_ATTRIBUTES).Valid())
            return false;
        if ((entry.Attributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !IsLinkFreeFolder(walk.PathOf(entry), walk.FinalNameOf(entry)))
            return false;
    }
    return walk.Complete();
}

bool IsLinkFreeFolder(const std::string& Folder)
{
    const WideString folder = LongPath(Folder);
    const DWORD a = GetFileAttributesW(folder.c_str());
    if (folder.empty() || a == INVALID_FILE_ATTRIBUTES || !(a & FILE_ATTRIBUTE_DIRECTORY) ||
        (a & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    return IsLinkFreeFolder(folder, WideString());
}

// Processes -------------------------------------------------------------------------------------------------------

namespace {

// The toolhelp functions, looked up by name once: old systems lack them, and then no process is seen.
struct TToolhelp {
    using TCreateSnapshot = HANDLE(WINAPI*)(DWORD, DWORD);
    using TWalk = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);
    TCreateSnapshot CreateSnapshot = nullptr;
    TWalk First = nullptr;
    TWalk Next = nullptr;

    TToolhelp()
    {
        HMODULE kernel = GetModuleHandleA("kernel32.dll");
        if (!kernel) return;
        CreateSnapshot = Lookup<TCreateSnapshot>(kernel, "CreateToolhelp32Snapshot");
        First = Lookup<TWalk>(kernel, "Process32First");
        Next = Lookup<TWalk>(kernel, "Process32Next");
    }
    bool Available() const { return CreateSnapshot && First && Next; }

    template <typename F>
    static F Lookup(HMODULE Module, const char* Name)
    {
        // Through the generic function pointer type, which converts to any other without a cast warning.
        return reinterpret_cast<F>(reinterpret_cast<void (*)()>(GetProcAddress(Module, Name)));
    }

    static const TToolhelp& Instance()
    {
        static const TToolhelp toolhelp;
        return toolhelp;
    }
};

}  // namespace

TProcessSnapshot::TProcessSnapshot()
{
    const TToolhelp& toolhelp = TToolhelp::Instance();
    if (toolhelp.Available()) FSnapshot.Reset(toolhelp.CreateSnapshot(TH32CS_SNAPPROCESS, 0));
}

bool TProcessSnapshot::Next(TProcessEntry& Entry)
{
    if (!FSnapshot.Valid()) return false;
    const TToolhelp& toolhelp = TToolhelp::Instance();
    PROCESSENTRY32 pe = {};
    pe.dwSize = sizeof pe;
    BOOL ok = FFirst ? toolhelp.First(FSnapshot.Get(), &pe) : toolhelp.Next(FSnapshot.Get(), &pe);
    FFirst = false;
    if (!ok) {
        FSnapshot.Reset();
        return false;
    }
    Entry.ProcessID = pe.th32ProcessID;
    Entry.ExeFile = pe.szExeFile;
    return true;
}

TKernelHandle OpenProcessAllAccess(DWORD ProcessID)
{
    // The all-access mask every Windows version accepts; newer headers define a wider one that older systems refuse.
    const DWORD allAccess = 0x1F0FFF;
    return TKernelHandle(OpenProcess(allAccess, FALSE, ProcessID));
}

bool TerminateProcessHandle(const TKernelHandle& Process, UINT ExitCode)
{
    return Process.Valid() && TerminateProcess(Process.Get(), ExitCode) != FALSE;
}

bool WaitForProcesses(const std::vector<TKernelHandle>& Processes, DWORD TimeoutMs)
{
    ULONGLONG deadline = GetTickCount64() + TimeoutMs;
    for (const TKernelHandle& process : Processes) {
        ULONGLONG now = GetTickCount64();
        DWORD left = now < deadline ? static_cast<DWORD>(deadline - now) : 0;
        if (WaitForSingleObject(process.Get(), left) != WAIT_OBJECT_0) return false;
    }
    return true;
}
