// A program planted where the uninstaller must never start anything from: when run, it leaves "planted-ran.txt"
// beside itself.
#include <windows.h>

#include <string>

int main()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string marker = path;
    marker = marker.substr(0, marker.rfind('\\') + 1) + "planted-ran.txt";
    HANDLE file = CreateFileA(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return 0;
}
