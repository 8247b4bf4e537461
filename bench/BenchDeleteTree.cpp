// The folder-tree deletion of the uninstall against the command processor's "rd /s /q", on identical trees.
//   BenchDeleteTree make <folder>           builds the tree: 20,000 files in 400 nested folders, some read-only,
//                                           hidden or system, some with Chinese or dot names
//   BenchDeleteTree time <tree1> <tree2>|- [<peer.exe> <tree3> [peer-first]]
//                                           deletes tree1 with DeleteFolderTree and tree2 (unless "-") with
//                                           cmd /c rd /s /q and prints both times in seconds (rd without the start-up
//                                           of cmd itself); with a peer, also the time of the peer program that
//                                           deletes tree3, after ours or, with peer-first, before it
//   BenchDeleteTree leftovers <folder>      builds a small tree with a file held open and a path deeper than
//                                           MAX_PATH, deletes it and prints what is left and what waits for the
//                                           next restart
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "Unit1.h"

namespace {

const int TopFolders = 20;
const int SubFolders = 19;  // 20 + 20 * 19 = 400 folders
const int FilesPerFolder = 50;

bool MakeFile(const std::string& path, int index)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    std::string data;
    for (int i = 0; i <= index % 4; ++i) data += "file " + std::to_string(index) + " of the installation\r\n";
    DWORD written = 0;
    WriteFile(h, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    CloseHandle(h);
    DWORD attributes = 0;
    if (index % 7 == 0) attributes |= FILE_ATTRIBUTE_READONLY;
    if (index % 11 == 0) attributes |= FILE_ATTRIBUTE_HIDDEN;
    if (index % 29 == 0) attributes |= FILE_ATTRIBUTE_SYSTEM;
    return !attributes || SetFileAttributesA(path.c_str(), attributes);
}

bool MakeFolderWithFiles(const std::string& folder, int& counter)
{
    if (!CreateDirectoryA(folder.c_str(), nullptr)) return false;
    for (int i = 0; i < FilesPerFolder; ++i, ++counter) {
        std::string name = i == 0 ? ".state" : (i % 5 == 0 ? "数据" : "file") + std::to_string(i) + ".dat";
        if (!MakeFile(folder + "\\" + name, counter)) return false;
    }
    return true;
}

int Make(const std::string& root)
{
    int counter = 0;
    if (!CreateDirectoryA(root.c_str(), nullptr)) return std::fprintf(stderr, "cannot create %s\n", root.c_str()), 1;
    for (int t = 0; t < TopFolders; ++t) {
        std::string top = root + "\\模块" + std::to_string(t);
        if (!MakeFolderWithFiles(top, counter)) return std::fprintf(stderr, "cannot fill %s\n", top.c_str()), 1;
        std::string parent = top;
        for (int s = 0; s < SubFolders; ++s) {
            // Two levels of nesting, then back to the module folder: depth varies from one to three.
            std::string sub = (s % 3 == 0 ? top : parent) + "\\sub" + std::to_string(s);
            if (!MakeFolderWithFiles(sub, counter)) return std::fprintf(stderr, "cannot fill %s\n", sub.c_str()), 1;
            parent = sub;
        }
    }
    std::printf("%d files in %d folders\n", counter, TopFolders * (SubFolders + 1));
    return 0;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(f.QuadPart);
}

// Runs a command line to its end with its output discarded (cmd reports each deletion in the console's code page,
// which came out garbled among the bench's lines); its time in seconds.
double Run(std::string cmd)
{
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                             OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = si.hStdOutput = si.hStdError = nul;
    PROCESS_INFORMATION pi = {};
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    const BOOL started = CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi);
    if (started) WaitForSingleObject(pi.hProcess, INFINITE);
    QueryPerformanceCounter(&t1);
    if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
    if (!started) return -1;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return Seconds(t0, t1);
}

double RunCmd(const std::string& arguments)
{
    return Run("cmd.exe /c " + arguments);
}

bool Gone(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

void TimeOurs(const std::string& tree)
{
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    TForm1::DeleteFolderTree(AnsiToWide(tree), true);
    QueryPerformanceCounter(&t1);
    std::printf("DeleteFolderTree %.3f%s\n", Seconds(t0, t1), Gone(tree) ? "" : " (tree left)");
}

void TimePeer(const char* peer, const char* tree)
{
    const double seconds = Run(std::string("\"") + peer + "\"");
    std::printf("peer %.3f%s\n", seconds, Gone(tree) ? "" : " (tree left)");
}

// The two take turns going first from round to round, so that neither always meets the other's aftermath (the
// server's caches, the file system's journal).
int Time(const std::string& tree1, const std::string& tree2, const char* peer, const char* tree3, bool peerFirst)
{
    if (peer && peerFirst) TimePeer(peer, tree3);
    TimeOurs(tree1);
    if (peer && !peerFirst) TimePeer(peer, tree3);
    if (tree2 != "-") {
        const double startUp = RunCmd("exit");
        const double rd = RunCmd("rd /s /q \"" + tree2 + "\"") - startUp;
        std::printf("rd %.3f%s\n", rd, Gone(tree2) ? "" : " (tree left)");
    }
    return 0;
}

std::wstring Wide(const std::string& s)
{
    std::wstring w(s.size(), L'\0');
    w.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), &w[0],
                                                     static_cast<int>(w.size()))));
    return w;
}

// Entries of the restart list (pairs of NUL-ended names, the second empty for a deletion) that lie in Folder.
int PendingBelow(const std::wstring& Folder)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\Session Manager", 0, KEY_READ, &key))
        return 0;
    DWORD size = 0;
    RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr, nullptr, &size);
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    RegQueryValueExW(key, L"PendingFileRenameOperations", nullptr, nullptr, reinterpret_cast<BYTE*>(&data[0]), &size);
    RegCloseKey(key);
    int count = 0;
    for (size_t i = 0; i < data.size() && data[i];) {
        std::wstring name = data.c_str() + i;
        if (name.find(Folder) != std::wstring::npos) ++count;
        i += name.size() + 1;
        i += std::wstring(data.c_str() + i).size() + 1;  // the target: empty for a deletion
    }
    return count;
}

int Leftovers(const std::string& root)
{
    const std::wstring long_root = L"\\\\?\\" + Wide(root);
    std::wstring deep = long_root;
    CreateDirectoryW(deep.c_str(), nullptr);
    for (int i = 0; i < 12; ++i) {
        deep += L"\\a-rather-long-folder-name-" + std::to_wstring(i);
        CreateDirectoryW(deep.c_str(), nullptr);
    }
    HANDLE file = CreateFileW((deep + L"\\deep.dat").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
    CreateDirectoryW((long_root + L"\\logs").c_str(), nullptr);
    HANDLE held = CreateFileW((long_root + L"\\logs\\open.log").c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              CREATE_ALWAYS, 0, nullptr);
    const int before = PendingBelow(Wide(root));
    TForm1::DeleteFolderTree(AnsiToWide(root), true);
    std::printf("path of %u characters: %s\n", static_cast<unsigned>(deep.size() + 9),
                GetFileAttributesW((deep + L"\\deep.dat").c_str()) == INVALID_FILE_ATTRIBUTES ? "deleted" : "left");
    std::printf("file held open: %s; entries scheduled for the next restart: %d\n",
                GetFileAttributesW((long_root + L"\\logs\\open.log").c_str()) == INVALID_FILE_ATTRIBUTES ? "deleted" : "left",
                PendingBelow(Wide(root)) - before);
    CloseHandle(held);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "make") == 0) return Make(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "leftovers") == 0) return Leftovers(argv[2]);
    const bool peerFirst = argc == 7 && std::strcmp(argv[6], "peer-first") == 0;
    if ((argc == 4 || argc == 6 || peerFirst) && std::strcmp(argv[1], "time") == 0)
        return Time(argv[2], argv[3], argc >= 6 ? argv[4] : nullptr, argc >= 6 ? argv[5] : nullptr, peerFirst);
    std::fprintf(stderr,
                 "usage: BenchDeleteTree make <folder> | time <tree1> <tree2>|- [<peer.exe> <tree3> [peer-first]]\n");
    return 2;
}
