#include "WineLinks.h"

#include <windows.h>

#include <cstdlib>
#include <functional>
#include <stdexcept>
#include <vector>

#include "TestSupport.h"

namespace testsupport {

namespace {

std::wstring Wide(const std::string& s, UINT codePage)
{
    int n = MultiByteToWideChar(codePage, 0, s.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n - 1 : 0), L'\0');
    if (n > 1) MultiByteToWideChar(codePage, 0, s.c_str(), -1, &wide[0], n);
    return wide;
}

// Runs a Unix program (Wine starts ELF binaries given by their Z: path) until done() holds. Wine does not follow a
// Unix child: the outcome is what is waited for. What it hands back as the child's handles is no handle at all (a
// 32-bit caller gets whatever was on the stack), so they are not closed: closing them closed handles of this
// process, its thread's message queue among them. The arguments are Unix paths in UTF-8, so the command line goes
// through the wide API.
void RunUnix(const std::string& program, const std::vector<std::string>& args, const std::function<bool()>& done)
{
    std::wstring app = L"Z:" + Wide(program, CP_UTF8);
    for (wchar_t& c : app)
        if (c == L'/') c = L'\\';
    std::wstring cmd = Wide(program, CP_UTF8);
    for (const std::string& a : args) cmd += L" \"" + Wide(a, CP_UTF8) + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(app.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        throw std::runtime_error("cannot run " + program);
    if (!testsupport::WaitUntil(done, 10000)) throw std::runtime_error(program + " did not do its work");
}

bool Exists(const std::string& windowsPath)
{
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA(windowsPath.c_str(), &data);  // sees a dangling link too
    if (h == INVALID_HANDLE_VALUE) return false;
    FindClose(h);
    return true;
}

}  // namespace

std::string UnixPath(const std::string& windowsPath)
{
    using Fn = char*(CDECL*)(LPCWSTR);
    auto fn = reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!fn) throw std::runtime_error("not running under Wine");
    char* unix = fn(Wide(windowsPath, CP_ACP).c_str());
    if (!unix) throw std::runtime_error("no Unix path for " + windowsPath);
    std::string result = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

void Symlinks::Make(const std::string& targetPath, const std::string& linkPath)
{
    // The link's Unix path is taken while it does not exist yet, so that nothing can resolve it to the target.
    std::string unixLink = UnixPath(linkPath);
    RunUnix("/bin/ln", {"-sfn", UnixPath(targetPath), unixLink}, [&] { return Exists(linkPath); });
    links_.push_back(linkPath);
    unixLinks_.push_back(unixLink);
}

Symlinks::~Symlinks()
{
    for (size_t i = 0; i < links_.size(); ++i) {
        try {
            RunUnix("/bin/rm", {"-f", unixLinks_[i]}, [&] { return !Exists(links_[i]); });
        } catch (const std::exception&) {
            // Already gone with its folder.
        }
    }
}

bool LinksOpenAsThemselves()
{
    static const bool result = [] {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        std::string link = std::string(temp) + "quintaro-link-probe-" + std::to_string(GetCurrentProcessId());
        Symlinks links;
        links.Make(temp, link);
        HANDLE h = CreateFileA(link.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        FILE_ATTRIBUTE_TAG_INFO info = {};
        bool itself = h != INVALID_HANDLE_VALUE &&
                      GetFileInformationByHandleEx(h, FileAttributeTagInfo, &info, sizeof info) &&
                      (info.FileAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        return itself;
    }();
    return result;
}

ScratchDrive::ScratchDrive(const std::string& folder)
{
    const char* prefix = std::getenv("WINEPREFIX");
    if (!prefix) throw std::runtime_error("WINEPREFIX is not set");
    DWORD used = GetLogicalDrives();
    for (char c = 'Y'; c >= 'M' && !letter_; --c)
        if (!(used & (1u << (c - 'A'))) && GetFileAttributesA((std::string(1, c) + ":\\").c_str()) == INVALID_FILE_ATTRIBUTES)
            letter_ = c;
    if (!letter_) throw std::runtime_error("no free drive letter");
    device_ = std::string(prefix) + "/dosdevices/" + static_cast<char>(letter_ - 'A' + 'a') + ":";
    RunUnix("/bin/ln", {"-sfn", UnixPath(folder), device_},
            [&] { return GetFileAttributesA(Root().c_str()) != INVALID_FILE_ATTRIBUTES; });
}

ScratchDrive::~ScratchDrive()
{
    try {
        RunUnix("/bin/rm", {"-f", device_}, [&] { return GetFileAttributesA(Root().c_str()) == INVALID_FILE_ATTRIBUTES; });
    } catch (const std::exception&) {
        // A drive letter left over only maps a scratch folder.
    }
}

}  // namespace testsupport
