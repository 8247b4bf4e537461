#pragma once
#include <string>
#include <vector>

// Unix-side helpers for tests that need what Windows programs under Wine cannot make themselves: symbolic links
// (CreateSymbolicLink is a no-op in Wine 8) and extra drive letters.
namespace testsupport {

// The Unix path of a Windows path (wine_get_unix_file_name); throws outside Wine.
std::string UnixPath(const std::string& windowsPath);

// Unix symbolic links made for one test and removed when it ends, so that no later clean-up meets them (the shell
// under Wine follows links while it deletes).
class Symlinks {
public:
    Symlinks() = default;
    Symlinks(const Symlinks&) = delete;
    Symlinks& operator=(const Symlinks&) = delete;
    ~Symlinks();
    // Makes linkPath -> targetPath (Windows paths; the target may be missing); throws when the link is not there.
    void Make(const std::string& targetPath, const std::string& linkPath);

private:
    std::vector<std::string> links_;
    std::vector<std::string> unixLinks_;
};

// Whether the system can open a link itself rather than its target (Windows can, Wine 8 cannot: there every call
// on a link acts on the target, and a link can be removed only from the Unix side).
bool LinksOpenAsThemselves();

// Maps a free drive letter to a folder while it lives (a link in the prefix's dosdevices folder).
class ScratchDrive {
public:
    explicit ScratchDrive(const std::string& folder);
    ScratchDrive(const ScratchDrive&) = delete;
    ScratchDrive& operator=(const ScratchDrive&) = delete;
    ~ScratchDrive();
    char Letter() const { return letter_; }
    std::string Root() const { return std::string(1, letter_) + ":\\"; }

private:
    char letter_ = 0;
    std::string device_;  // Unix path of the dosdevices entry
};

}  // namespace testsupport
