#include <gtest/gtest.h>
#include <windows.h>
#include <aclapi.h>
#include <sddl.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "PathSpellings.h"
#include "Processes.h"
#include "ProgramSupport.h"
#include "Removal.h"
#include "TestSupport.h"
#include "WindowSupport.h"
#include "WineLinks.h"
#include "WinServices.h"

using testsupport::FolderExists;
using testsupport::FreshFolder;
using testsupport::WriteFile;
using testsupport::MakeFolder;

namespace {

bool DeleteFolderTree(const std::string& Dir, bool RemoveFolders)
{
    return TRemoval().FolderTree(AnsiToWide(Dir), RemoveFolders);
}

void DeleteShortcut(const std::string& Path)
{
    TRemoval().Shortcut(AnsiToWide(Path));
}

void SetAttributes(const std::string& path, DWORD attributes)
{
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), attributes)) << path;
}

// Everything below a folder, links not followed: relative name -> attributes and size, for before/after checks.
std::map<std::string, std::string> Listing(const std::string& folder, const std::string& prefix = "")
{
    std::map<std::string, std::string> items;
    WIN32_FIND_DATAA d;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &d);
    if (h == INVALID_HANDLE_VALUE) return items;
    do {
        std::string name = d.cFileName;
        if (name == "." || name == "..") continue;
        items[prefix + name] = std::to_string(d.dwFileAttributes) + "/" + std::to_string(d.nFileSizeLow);
        if ((d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(d.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            for (const auto& item : Listing(folder + "\\" + name, prefix + name + "\\")) items.insert(item);
        }
    } while (FindNextFileA(h, &d));
    FindClose(h);
    return items;
}

std::set<std::string> Names(const std::map<std::string, std::string>& listing)
{
    std::set<std::string> names;
    for (const auto& item : listing) names.insert(item.first);
    return names;
}

// An installation as installers leave it: nested folders, Chinese names, read-only, hidden and system files,
// and names beginning with a full stop.
std::string MakeInstallation()
{
    std::string dir = FreshFolder("Com");
    MakeFolder(dir + "\\数据");
    MakeFolder(dir + "\\数据\\缓存");
    MakeFolder(dir + "\\数据\\.cache");
    MakeFolder(dir + "\\plugins");
    WriteFile(dir + "\\Quintaro.exe", "MZ");
    WriteFile(dir + "\\Quintaro.ini", "settings");
    WriteFile(dir + "\\.version", "1");
    WriteFile(dir + "\\数据\\用户.dat", "data");
    WriteFile(dir + "\\数据\\缓存\\索引.idx", "index");
    WriteFile(dir + "\\数据\\.cache\\a", "a");
    WriteFile(dir + "\\plugins\\a.dll", "dll");
    WriteFile(dir + "\\plugins\\desktop.ini", "ini");
    SetAttributes(dir + "\\Quintaro.ini", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    SetAttributes(dir + "\\plugins\\a.dll", FILE_ATTRIBUTE_READONLY);
    SetAttributes(dir + "\\plugins\\desktop.ini", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
    SetAttributes(dir + "\\数据\\缓存\\索引.idx", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
    return dir;
}

// Whether the entry's access list is full control for SYSTEM and the Administrators group alone, nothing inherited.
bool AdministratorsOnly(const std::string& path)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    PACL list = nullptr;
    if (GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &list,
                              nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    std::set<std::string> trustees;
    for (DWORD i = 0; list && i < list->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        GetAce(list, i, reinterpret_cast<void**>(&ace));
        char* sid = nullptr;
        ConvertSidToStringSidA(&ace->SidStart, &sid);
        trustees.insert(std::string(sid ? sid : "?") + (ace->Mask == FILE_ALL_ACCESS ? "" : " partly"));
        LocalFree(sid);
    }
    LocalFree(descriptor);
    return (control & SE_DACL_PROTECTED) && trustees == std::set<std::string>{"S-1-5-18", "S-1-5-32-544"};
}

// Whether the file system keeps the access list given to a file (Wine makes one up from the Unix mode instead).
bool AccessListsKept()
{
    const std::string probe = FreshFolder("acl") + "\\probe";
    WriteFile(probe, "x");
    const TKernelHandle file(CreateFileA(probe.c_str(), READ_CONTROL | WRITE_DAC | WRITE_OWNER, 0, nullptr,
                                         OPEN_EXISTING, 0, nullptr));
    return TAdministratorsOnly::Instance().Apply(file.Get()) && AdministratorsOnly(probe);
}

}  // namespace

TEST(FolderTree, WithRemoveFoldersTheWholeTreeGoes)
{
    std::string dir = MakeInstallation();
    EXPECT_TRUE(DeleteFolderTree(dir, true));
    EXPECT_FALSE(FolderExists(dir)) << "names that begin with a full stop too";

    std::string empty = FreshFolder("empty");
    EXPECT_TRUE(DeleteFolderTree(empty, true));
    EXPECT_FALSE(FolderExists(empty));
}

TEST(FolderTree, WithoutRemoveFoldersOnlyFilesGo)
{
    std::string dir = MakeInstallation();
    EXPECT_TRUE(DeleteFolderTree(dir, false));
    // Every folder stays; of the files only those whose names begin with a full stop (and what such folders hold).
    const std::set<std::string> left = {".version", "plugins", "数据", "数据\\.cache", "数据\\.cache\\a", "数据\\缓存"};
    EXPECT_EQ(left, Names(Listing(dir)));
}

TEST(FolderTree, OnlyExistingFolders)
{
    std::string dir = FreshFolder("file");
    WriteFile(dir + "\\Quintaro.exe", "MZ");
    EXPECT_FALSE(DeleteFolderTree(dir + "\\Quintaro.exe", true));
    EXPECT_TRUE(FileExists(dir + "\\Quintaro.exe"));
    EXPECT_FALSE(DeleteFolderTree(dir + "\\missing", true));
}

// Every spelling of a root on a scratch drive: if a refusal failed, only the scratch folder would be lost.
TEST(FolderTree, RefusesRootsAndRelativePaths)
{
    std::string scratch = FreshFolder("drive");
    MakeFolder(scratch + "\\Com");
    WriteFile(scratch + "\\canary.txt", "x");
    WriteFile(scratch + "\\Com\\canary.txt", "x");
    testsupport::ScratchDrive drive(scratch);
    const testsupport::CurrentFolder current(drive.Root() + "Com");
    ASSERT_TRUE(current.Entered());
    for (bool removeFolders : {true, false}) {
        for (const std::string& path : testsupport::RootAndRelativeSpellings(drive.Letter(), "Com")) {
            EXPECT_FALSE(DeleteFolderTree(path, removeFolders)) << path;
            ASSERT_TRUE(FileExists(scratch + "\\canary.txt")) << path;
            ASSERT_TRUE(FileExists(scratch + "\\Com\\canary.txt")) << path;
        }
    }
}

namespace {

// A tree holding a link to a folder outside it and a link to a file outside it, and the outside itself.
class LinksInTheTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        outside = FreshFolder("用户资料");
        MakeFolder(outside + "\\文档");
        WriteFile(outside + "\\文档\\论文.doc", "precious");
        WriteFile(outside + "\\文档\\空.txt", "");
        WriteFile(outside + "\\只读.txt", "precious");
        WriteFile(outside + "\\可写.txt", "precious");
        SetAttributes(outside + "\\只读.txt", FILE_ATTRIBUTE_READONLY);
        SetAttributes(outside + "\\文档\\空.txt", FILE_ATTRIBUTE_HIDDEN);
        emptyOutside = FreshFolder("空目录");

        tree = MakeInstallation();
        links.Make(outside + "\\文档", tree + "\\数据\\文档");
        links.Make(emptyOutside, tree + "\\plugins\\空");
        links.Make(outside + "\\只读.txt", tree + "\\数据\\缓存\\只读.txt");
        links.Make(outside + "\\可写.txt", tree + "\\可写.txt");
        before = Listing(outside);
    }

    void ExpectOutsideUntouched()
    {
        EXPECT_EQ(before, Listing(outside));
        EXPECT_TRUE(FolderExists(emptyOutside));
    }

    testsupport::Symlinks links;
    std::string outside, emptyOutside, tree;
    std::map<std::string, std::string> before;
};

}  // namespace

TEST_F(LinksInTheTree, TargetsSurviveAndLinksGoWhereTheSystemCanRemoveThem)
{
    DeleteFolderTree(tree, true);
    ExpectOutsideUntouched();
    if (testsupport::LinksOpenAsThemselves()) {
        EXPECT_FALSE(FolderExists(tree)) << "the links went, and then the tree";
        return;
    }
    // Wine acts on a link's target in every call: the links stay, and the folders that hold them; everything else
    // goes.
    const std::set<std::string> left = {"可写.txt", "plugins", "plugins\\空", "数据", "数据\\文档", "数据\\缓存",
                                        "数据\\缓存\\只读.txt"};
    EXPECT_EQ(left, Names(Listing(tree)));
}

TEST_F(LinksInTheTree, WithoutRemoveFoldersLinksToFoldersStay)
{
    DeleteFolderTree(tree, false);
    ExpectOutsideUntouched();
    EXPECT_TRUE(FolderExists(tree + "\\数据\\文档"));
    EXPECT_TRUE(FolderExists(tree + "\\plugins\\空"));
    EXPECT_FALSE(FileExists(tree + "\\Quintaro.ini"));
}

TEST_F(LinksInTheTree, ATreeThatIsALinkIsLeftAlone)
{
    std::string link = FreshFolder("link") + "\\Com";
    links.Make(tree, link);
    EXPECT_FALSE(DeleteFolderTree(link, true));
    EXPECT_TRUE(FileExists(tree + "\\Quintaro.exe"));
    EXPECT_TRUE(FolderExists(link));
}

// A link made while the removal runs, in a folder it has already listed: nothing the link leads to is touched, and the
// folder that holds it stays (a removal by path would follow the link).
TEST_F(LinksInTheTree, ALinkMadeDuringTheRemovalLeadsNowhere)
{
    const std::string dir = FreshFolder("Com");
    WriteFile(dir + "\\.version", "1");
    MakeFolder(dir + "\\many");
    for (int i = 0; i < 3000; ++i) WriteFile(dir + "\\many\\" + std::to_string(i) + ".dat", "x");
    bool made = false;
    testsupport::TWatcherThread linker([&] {
        // As soon as the walk is inside the large folder, the top folder has been listed.
        while (FileExists(dir + "\\many\\0.dat") && FileExists(dir + "\\many\\2999.dat")) Sleep(5);
        try {
            links.Make(outside + "\\文档", dir + "\\late");
            made = true;
        } catch (const std::exception&) {
        }
    });
    DeleteFolderTree(dir, true);
    linker.Join();
    ASSERT_TRUE(made) << "the link came too late to matter";
    ExpectOutsideUntouched();
    EXPECT_FALSE(FolderExists(dir + "\\many"));
    EXPECT_FALSE(FileExists(dir + "\\.version"));
}

// Read-only belongs to the file, not the name: a user's read-only file that has a second name in the tree keeps it.
TEST(FolderTree, AHardLinkedFileKeepsItsAttributes)
{
    const std::string mine = FreshFolder("mine") + "\\只读.txt", dir = MakeInstallation();
    WriteFile(mine, "precious");
    SetAttributes(mine, FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(CreateHardLinkA((dir + "\\plugins\\linked.txt").c_str(), mine.c_str(), nullptr));
    DeleteFolderTree(dir, true);
    EXPECT_FALSE(FolderExists(dir));
    EXPECT_EQ("precious", testsupport::ReadBytes(mine));
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_READONLY), GetFileAttributesA(mine.c_str()) & FILE_ATTRIBUTE_READONLY);
}

TEST(Shortcut, DeletesAFileOnly)
{
    std::string dir = FreshFolder("shortcut");
    WriteFile(dir + "\\Quintaro.LNK", "x");
    MakeFolder(dir + "\\Quintaro卸载.lnk");
    DeleteShortcut(dir + "\\Quintaro.lnk");  // the file system ignores the case of names
    DeleteShortcut(dir + "\\Quintaro卸载.lnk");
    DeleteShortcut(dir + "\\missing.lnk");
    EXPECT_FALSE(FileExists(dir + "\\Quintaro.LNK"));
    EXPECT_TRUE(FolderExists(dir + "\\Quintaro卸载.lnk"));
}

// The current folder holds a canary: a deleter that cannot spell a long path may fall back on the current folder
// (the shell's FO_DELETE does under Wine).
TEST(FolderTree, ReachesPathsLongerThanMaxPathAndNothingElse)
{
    const std::string here = FreshFolder("current"), dir = FreshFolder("deep");
    WriteFile(here + "\\canary.txt", "x");
    const testsupport::CurrentFolder current(here);
    ASSERT_TRUE(current.Entered());
    WideString deep = LongPath(dir);
    for (int i = 0; i < 12; ++i) {
        deep += L"\\a-rather-long-folder-name-";
        deep += std::to_wstring(i).c_str();
        ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
    }
    ASSERT_GT(deep.size(), 300u);
    ASSERT_TRUE(TKernelHandle(CreateFileW((deep + L"\\deep.dat").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0,
                                          nullptr)).Valid());
    EXPECT_TRUE(DeleteFolderTree(dir, true));
    EXPECT_FALSE(FolderExists(dir));
    EXPECT_TRUE(FileExists(here + "\\canary.txt"));
}

namespace {

// What waits for the next restart is done, as the system does it at boot.
void Restart()
{
    const TKernelHandle restart = testsupport::StartProgram("wineboot.exe -r");
    WaitForSingleObject(restart.Get(), 60000);
}

void EndHolders(std::vector<TKernelHandle>& Holders)
{
    for (const TKernelHandle& holder : Holders) TerminateProcessHandle(holder, 0);
    ASSERT_TRUE(WaitForProcesses(Holders, 5000));
}

}  // namespace

// A file held open by another program, which lets nobody delete or rename it: the rest goes now, the file (under its
// own name) and the folders above it at the next restart. A link in a tree is never scheduled: its target and
// everything outside the tree survive the restart.
TEST(FolderTree, WhatIsInUseGoesAtTheNextRestart)
{
    testsupport::Symlinks links;
    const std::string outside = FreshFolder("outside");
    WriteFile(outside + "\\keep.txt", "keep");
    const std::string dir = MakeInstallation(), linked = MakeInstallation();
    links.Make(outside + "\\keep.txt", linked + "\\plugins\\link.txt");
    std::vector<std::string> held = {dir + "\\数据\\open.log", linked + "\\数据\\open.log"};
    std::vector<TKernelHandle> holders;
    for (const std::string& path : held) {
        holders.push_back(testsupport::StartProgram("\"" + testsupport::HelpersFolder() + "\\Quintaro.exe\" \"" + path + "\""));
        testsupport::WaitUntil([&path] { return FileExists(path); });
    }

    TRemoval removal;
    removal.FolderTree(AnsiToWide(dir), true);
    EXPECT_EQ(3, removal.ScheduledAtRestart()) << "the file and the two folders above it";
    EXPECT_TRUE(removal.ScheduledUnderOwnNames());
    EXPECT_FALSE(removal.TreeKept());
    removal.FolderTree(AnsiToWide(linked), true);
    EXPECT_TRUE(removal.TreeKept()) << "the link stays, and the folders above it";
    EXPECT_EQ((std::set<std::string>{"数据", "数据\\open.log"}), Names(Listing(dir)));
    // Until the restart no other account may put a link in their place. Wine keeps no access lists on files.
    if (AccessListsKept()) {
        for (const std::string& left : {dir, dir + "\\数据", held[0]})
            EXPECT_TRUE(AdministratorsOnly(left)) << left;
    }
    EndHolders(holders);
    Restart();

    EXPECT_FALSE(FolderExists(dir)) << "nothing of the installation is left";
    EXPECT_FALSE(FolderExists(linked + "\\数据")) << "a link-free folder of it goes all the same";
    EXPECT_TRUE(FolderExists(linked + "\\plugins")) << "the link's folder is not scheduled";
    EXPECT_EQ("keep", testsupport::ReadBytes(outside + "\\keep.txt"));
}

// A library loaded by a running program can be renamed, not deleted: it waits for the restart under a name of its own,
// so that the installation put back before the restart keeps its files of the old names.
TEST(FolderTree, ALibraryInUseWaitsUnderANewNameAndAReinstallKeepsItsFiles)
{
    const std::string dir = MakeInstallation(), lib = dir + "\\lib", marker = FreshFolder("marker") + "\\loaded";
    MakeFolder(lib);
    ASSERT_TRUE(CopyFileA((testsupport::HelpersFolder() + "\\PlantedLibrary.dll").c_str(), (lib + "\\core.dll").c_str(),
                          TRUE));
    SetEnvironmentVariableA("QUINTARO_PLANTED_MARKER", marker.c_str());
    std::vector<TKernelHandle> holders;
    holders.push_back(testsupport::StartProgram("\"" + testsupport::HelpersFolder() + "\\Quintaro.exe\" \"" + lib +
                                                "\\core.dll\""));
    SetEnvironmentVariableA("QUINTARO_PLANTED_MARKER", nullptr);
    ASSERT_TRUE(testsupport::WaitUntil([&marker] { return FileExists(marker); })) << "the library was loaded";

    TRemoval removal;
    removal.FolderTree(AnsiToWide(dir), true);
    EXPECT_EQ(3, removal.ScheduledAtRestart()) << "the library and the two folders above it";
    EXPECT_FALSE(removal.ScheduledUnderOwnNames());
    const std::set<std::string> left = Names(Listing(lib));
    ASSERT_EQ(1u, left.size());
    EXPECT_NE("core.dll", *left.begin()) << "renamed";

    // Installed again before the restart, and then the library's user ends.
    WriteFile(lib + "\\core.dll", "new");
    WriteFile(dir + "\\Quintaro.exe", "MZ new");
    EndHolders(holders);
    Restart();

    EXPECT_EQ("new", testsupport::ReadBytes(lib + "\\core.dll"));
    EXPECT_EQ("MZ new", testsupport::ReadBytes(dir + "\\Quintaro.exe"));
    EXPECT_EQ(std::set<std::string>{"core.dll"}, Names(Listing(lib))) << "the renamed library went";
}

// A program group is flat: the shortcuts directly in it go, and the folder once that leaves it empty; its subfolders
// stay with what they hold. A folder that holds a user's hive is a profile, and nothing of it is touched.
TEST(ProgramGroup, TakesOnlyTheShortcutsDirectlyInItAndLeavesProfilesAlone)
{
    const std::string group = FreshFolder("Quintaro");
    for (const char* name : {"a.lnk", "b.URL", "c.pif", "desktop.ini", "说明.txt"}) WriteFile(group + "\\" + name, "x");
    SetAttributes(group + "\\desktop.ini", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);
    MakeFolder(group + "\\帮助");
    WriteFile(group + "\\帮助\\帮助.lnk", "x");
    EXPECT_TRUE(TRemoval().ProgramGroup(AnsiToWide(group)));
    EXPECT_EQ((std::set<std::string>{"说明.txt", "帮助", "帮助\\帮助.lnk"}), Names(Listing(group)));

    const std::string flat = FreshFolder("Quintaro");
    WriteFile(flat + "\\Quintaro.lnk", "x");
    EXPECT_TRUE(TRemoval().ProgramGroup(AnsiToWide(flat)));
    EXPECT_FALSE(FolderExists(flat));

    const std::string profile = FreshFolder("Quintaro");
    WriteFile(profile + "\\NTUSER.DAT", "hive");
    WriteFile(profile + "\\a.lnk", "x");
    MakeFolder(profile + "\\Links");
    WriteFile(profile + "\\Links\\b.lnk", "x");
    const std::map<std::string, std::string> before = Listing(profile);
    EXPECT_FALSE(TRemoval().ProgramGroup(AnsiToWide(profile)));
    EXPECT_EQ(before, Listing(profile));
}
