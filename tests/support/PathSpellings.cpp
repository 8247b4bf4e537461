#include "PathSpellings.h"

#include <windows.h>

namespace testsupport {

CurrentFolder::CurrentFolder(const std::string& folder)
{
    char saved[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, saved);
    saved_ = saved;
    entered_ = SetCurrentDirectoryA(folder.c_str()) != FALSE;
}

CurrentFolder::~CurrentFolder()
{
    SetCurrentDirectoryA(saved_.c_str());
}

std::vector<std::string> RootAndRelativeSpellings(char letter, const std::string& sub)
{
    const std::string d(1, letter), lower(1, static_cast<char>(letter - 'A' + 'a'));
    return {d + ":",        d + ":\\",     lower + ":/",   d + ":\\" + sub + "\\..", d + ":\\\\",
            "\\",           "\\\\?\\" + d + ":\\",         "\\\\.\\" + d + ":\\",   "",
            ".",            "..",          "..\\" + sub,   ".\\" + sub,             sub,
            d + ":..",      d + ":" + sub, "\\\\server\\share",                     "\\\\server\\share\\"};
}

}  // namespace testsupport
