#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "PathSpellings.h"
#include "SavedRegistryValue.h"
#include "Registry.h"
#include "TestSupport.h"
#include "VelPublicFun.h"
#include "WineLinks.h"

using testsupport::FileExists;
using testsupport::FolderExists;
using testsupport::FreshFolder;
using testsupport::WriteFile;
using testsupport::MakeFolder;

TEST(ShellDeleteFolder, RemovesTheWholeTree)
{
    std::string dir = FreshFolder("程序组");
    MakeFolder(dir + "\\子目录");
    MakeFolder(dir + "\\子目录\\.cache");
    WriteFile(dir + "\\Quintaro.lnk", "x");
    WriteFile(dir + "\\说明.txt", "x");
    WriteFile(dir + "\\子目录\\.index", "x");
    WriteFile(dir + "\\子目录\\.cache\\a", "x");
    SetFileAttributesA((dir + "\\说明.txt").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    SetFileAttributesA((dir + "\\子目录\\.index").c_str(), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY);

    EXPECT_TRUE(ShellDeleteFolder(dir));
    EXPECT_FALSE(FolderExists(dir));
    EXPECT_FALSE(ShellDeleteFolder(dir)) << "a missing folder";
}

// The tree goes entry by entry, each as itself: a link in it is never followed, so what it points to survives, and a
// folder that is itself a link is refused.
TEST(ShellDeleteFolder, NeverDeletesThroughALink)
{
    testsupport::Symlinks links;
    std::string outside = FreshFolder("outside");
    MakeFolder(outside + "\\data");
    WriteFile(outside + "\\data\\user.dat", "keep");
    WriteFile(outside + "\\notes.txt", "keep");

    std::string withFolderLink = FreshFolder("group");
    MakeFolder(withFolderLink + "\\sub");
    WriteFile(withFolderLink + "\\a.lnk", "x");
    links.Make(outside + "\\data", withFolderLink + "\\sub\\data");
    std::string withFileLink = FreshFolder("group");
    links.Make(outside + "\\notes.txt", withFileLink + "\\notes.txt");
    std::string isLink = FreshFolder("group") + "\\link";
    links.Make(outside, isLink);

    for (const std::string& tree : {withFolderLink, withFileLink})
        EXPECT_EQ(!FolderExists(tree), ShellDeleteFolder(tree)) << "true only when the folder is gone: " << tree;
    EXPECT_FALSE(FileExists(withFolderLink + "\\a.lnk")) << "the rest of the tree went";
    EXPECT_FALSE(ShellDeleteFolder(isLink));
    EXPECT_TRUE(FileExists(outside + "\\data\\user.dat"));
    EXPECT_TRUE(FileExists(outside + "\\notes.txt"));
}

// Each spelling of a root is tried on a scratch drive, so that a refusal that fails costs only a scratch folder.
TEST(ShellDeleteFolder, RefusesRootsAndRelativePaths)
{
    std::string scratch = FreshFolder("drive");
    MakeFolder(scratch + "\\Program Files");
    WriteFile(scratch + "\\canary.txt", "x");
    WriteFile(scratch + "\\Program Files\\canary.txt", "x");
    testsupport::ScratchDrive drive(scratch);
    {
        const testsupport::CurrentFolder current(drive.Root());
        ASSERT_TRUE(current.Entered());
        for (const std::string& path : testsupport::RootAndRelativeSpellings(drive.Letter(), "Program Files")) {
            EXPECT_FALSE(ShellDeleteFolder(path)) << path;
            ASSERT_TRUE(FileExists(scratch + "\\canary.txt")) << path;
            ASSERT_TRUE(FileExists(scratch + "\\Program Files\\canary.txt")) << path;
        }
    }
    EXPECT_TRUE(ShellDeleteFolder(drive.Root() + "Program Files")) << "below the root it may";
    EXPECT_FALSE(FolderExists(scratch + "\\Program Files"));
}

namespace {

// The current user's "AppData" value, put back as it was after each test.
class QuickLaunch : public ::testing::Test {
protected:
    void SetUp() override
    {
        appData = FreshFolder("AppData");
        folder = appData + "\\Microsoft\\Internet Explorer\\Quick Launch";
        for (const char* part : {"\\Microsoft", "\\Microsoft\\Internet Explorer",
                                 "\\Microsoft\\Internet Explorer\\Quick Launch"})
            MakeFolder(appData + part);
    }

    testsupport::TSavedValue value{HKEY_CURRENT_USER, "AppData"};
    std::string appData;
    std::string folder;
};

}  // namespace

TEST_F(QuickLaunch, DeletesTheShortcutOfTheExecutableName)
{
    value.Set(appData);
    WriteFile(folder + "\\Quintaro.lnk", "x");
    WriteFile(folder + "\\Other.lnk", "x");
    EXPECT_TRUE(DeleteQuickLaunchShortcut("C:\\Tools\\Quintaro.exe")) << "only the name of a full path counts";
    EXPECT_FALSE(FileExists(folder + "\\Quintaro.lnk"));
    EXPECT_TRUE(FileExists(folder + "\\Other.lnk"));
    EXPECT_FALSE(DeleteQuickLaunchShortcut("Quintaro.exe")) << "already gone";

    WriteFile(folder + "\\卸载.lnk", "x");
    EXPECT_TRUE(DeleteQuickLaunchShortcut("卸载"));
    EXPECT_FALSE(FileExists(folder + "\\卸载.lnk"));
}

// Without a usable AppData folder the path would start at the current drive's root: nothing is deleted.
TEST_F(QuickLaunch, WithoutAppDataDeletesNothing)
{
    std::string scratch = FreshFolder("drive");
    for (const char* part : {"\\Microsoft", "\\Microsoft\\Internet Explorer",
                             "\\Microsoft\\Internet Explorer\\Quick Launch"})
        MakeFolder(scratch + part);
    std::string stray = scratch + "\\Microsoft\\Internet Explorer\\Quick Launch\\Quintaro.lnk";
    WriteFile(stray, "x");
    testsupport::ScratchDrive drive(scratch);
    const testsupport::CurrentFolder current(drive.Root());
    ASSERT_TRUE(current.Entered());

    for (const std::string& setting :
         {std::string(""), std::string("Microsoft\\.."), std::string(1, drive.Letter()) + ":"}) {
        value.Set(setting);
        EXPECT_FALSE(DeleteQuickLaunchShortcut("Quintaro.exe")) << setting;
    }
    value.Remove();
    EXPECT_FALSE(DeleteQuickLaunchShortcut("Quintaro.exe"));
    EXPECT_TRUE(FileExists(stray));
}

TEST_F(QuickLaunch, AppDataOfAnotherTypeIsAFailure)
{
    value.SetNumber(1);
    try {
        DeleteQuickLaunchShortcut("Quintaro.exe");
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ("Invalid data type for 'AppData'", e.Message());
    }
}
