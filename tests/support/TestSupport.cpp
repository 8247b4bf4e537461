#include "TestSupport.h"

#include <windows.h>

#include <cstdlib>
#include <stdexcept>

namespace testsupport {

bool WaitUntil(const std::function<bool()>& Condition, unsigned Milliseconds)
{
    const DWORD start = GetTickCount();
    while (!Condition()) {
        if (GetTickCount() - start >= Milliseconds) return false;
        Sleep(5);
    }
    return true;
}

void MakeFolder(const std::string& path)
{
    if (!CreateDirectoryA(path.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        throw std::runtime_error("cannot create " + path);
}

// A name is never reused: what a killed run left under it stays untouched. Clearing it here once went through the
// shell's FO_DELETE, which under Wine, on a tree deeper than MAX_PATH, deletes the current folder's contents instead.
std::string FreshFolder(const std::string& name)
{
    static unsigned counter = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string base = std::string(temp) + "quintaro-tests";
    CreateDirectoryA(base.c_str(), nullptr);
    const std::string stem = base + "\\" + name + "-" + std::to_string(GetCurrentProcessId()) + "-";
    for (int tries = 0; tries < 1000; ++tries) {
        const std::string path = stem + std::to_string(++counter);
        if (CreateDirectoryA(path.c_str(), nullptr)) return path;
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    throw std::runtime_error("cannot create a fresh folder " + stem + "*");
}

std::string HelpersFolder()
{
    const char* unixPath = std::getenv("QUINTARO_HELPERS");
    if (!unixPath) throw std::runtime_error("QUINTARO_HELPERS is not set");
    // Wine maps the Unix root to drive Z:.
    std::string path = std::string("Z:") + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot write " + path);
    DWORD written = 0;
    ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
}

std::string ReadBytes(const std::string& path)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "<missing>";
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(h, buffer, sizeof(buffer), &got, nullptr) && got) bytes.append(buffer, got);
    CloseHandle(h);
    return bytes;
}

bool FileExists(const std::string& path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::string& path)
{
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace testsupport
