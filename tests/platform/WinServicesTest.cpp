#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Classes.h"
#include "TestSupport.h"
#include "WineLinks.h"
#include "WinServices.h"

using testsupport::FreshFolder;
using testsupport::ReadBytes;

namespace {

std::vector<TFindEntry> Entries(const std::string& folder, DWORD* result)
{
    std::vector<TFindEntry> entries;
    TFolderWalk walk(LongPath(folder));
    TFindEntry e;
    while (walk.Next(e)) entries.push_back(e);
    *result = walk.Result();
    return entries;
}

const TFindEntry* Find(const std::vector<TFindEntry>& entries, const std::string& name)
{
    auto it = std::find_if(entries.begin(), entries.end(), [&](const TFindEntry& e) { return e.Name == AnsiToWide(name); });
    return it == entries.end() ? nullptr : &*it;
}

}  // namespace

// Only paths below a root are ever handed to a removal; every spelling of a root must be recognised as one.
TEST(PathKind, RootsInEverySpelling)
{
    for (const char* root : {"C:", "C:\\", "c:/", "C:\\\\", "C:/.", "C:\\Windows\\..", "C:\\x\\..\\", "\\",
                             "\\\\server\\share", "\\\\server\\share\\", "//server/share/", "\\\\server",
                             "\\\\server\\share\\sub\\..", "\\\\?\\C:\\", "\\\\?\\C:", "\\\\.\\C:\\",
                             "\\\\?\\UNC\\server\\share\\", "\\\\?\\Volume{0b1c2d3e-0000-0000-0000-100000000000}\\",
                             "\\\\?\\C:\\Windows\\..", "\\\\server\\乗"})
        EXPECT_EQ(TPathKind::Root, PathKind(root)) << root;
}

TEST(PathKind, RelativeAndBelowRoot)
{
    for (const char* relative : {"", "Program Files", ".\\x", "..\\x", "C:x", "C:..\\x", "\\Windows"})
        EXPECT_EQ(TPathKind::Relative, PathKind(relative)) << relative;
    for (const char* below : {"C:\\Program Files\\Corvane软件\\Com", "c:/x", "C:\\x\\", "\\\\server\\share\\x",
                              "\\\\?\\C:\\x", "\\\\?\\UNC\\server\\share\\x", "D:\\乗\\x", "\\\\server\\乗\\x"})
        EXPECT_EQ(TPathKind::BelowRoot, PathKind(below)) << below;
    // The shell would take them as patterns and delete whatever they match.
    for (const char* pattern : {"C:\\da?a", "C:\\*", "C:\\x\\*.*", "\\\\?\\C:\\x?", "?:\\x", "\\\\server\\share\\*"})
        EXPECT_EQ(TPathKind::Pattern, PathKind(pattern)) << pattern;
}

TEST(WinServices, FilesAndFolders)
{
    std::string dir = FreshFolder("files");
    std::string file = dir + "\\只读.txt";
    testsupport::WriteFile(file, "x");
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(dir));
    EXPECT_TRUE(DirectoryExists(dir));
    EXPECT_FALSE(DirectoryExists(file));
    EXPECT_FALSE(FileExists(dir + "\\missing"));

    ASSERT_TRUE(FileSetAttr(file, FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_FALSE(DeleteFileItself(AnsiToWide(file))) << "a read-only file is not deleted";
    ASSERT_TRUE(FileSetAttr(file, FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE), GetFileAttributesA(file.c_str()));
    EXPECT_TRUE(DeleteFileItself(AnsiToWide(file)));
    EXPECT_FALSE(FileExists(file));
}

TEST(WinServices, SystemPaths)
{
    std::string windows = WideToAnsi(WindowsFolder());
    ASSERT_GE(windows.size(), 3u);
    EXPECT_EQ(":\\", windows.substr(1, 2));
    EXPECT_TRUE(DirectoryExists(windows));
    std::string exe = ModuleFileName();
    EXPECT_EQ("TEST_PLATFORM.EXE", UpperCaseAscii(ExtractFileName(exe)));
    EXPECT_TRUE(FileExists(exe));
}

TEST(WinServices, CreateTextFileEndsEveryLineWithCrLfAndNeverWritesOverAName)
{
    std::string file = FreshFolder("text") + "\\deleteFile.bat";
    TStringList lines;
    lines.Add("@echo off");
    lines.Add("del \"C:\\卸载 程序\\Uninstall.exe\"");
    CreateTextFile(file, lines);
    const std::string written = "@echo off\r\ndel \"C:\\\xd0\xb6\xd4\xd8 \xb3\xcc\xd0\xf2\\Uninstall.exe\"\r\n";
    EXPECT_EQ(written, ReadBytes(file));
    lines.Add("more");
    EXPECT_THROW(CreateTextFile(file, lines), Exception);
    EXPECT_EQ(written, ReadBytes(file));
}

TEST(FolderWalk, ReportsEveryEntryAndHowItEnded)
{
    std::string dir = FreshFolder("walk");
    testsupport::WriteFile(dir + "\\数据.dat", "x");
    testsupport::WriteFile(dir + "\\.hidden", "x");
    CreateDirectoryA((dir + "\\子目录").c_str(), nullptr);
    SetFileAttributesA((dir + "\\数据.dat").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);

    DWORD result = 0;
    std::vector<TFindEntry> entries = Entries(dir, &result);
    EXPECT_EQ(static_cast<DWORD>(ERROR_NO_MORE_FILES), result);
    EXPECT_EQ(5u, entries.size());
    ASSERT_NE(nullptr, Find(entries, "."));
    ASSERT_NE(nullptr, Find(entries, ".."));
    ASSERT_NE(nullptr, Find(entries, ".hidden"));
    ASSERT_NE(nullptr, Find(entries, "子目录"));
    ASSERT_NE(nullptr, Find(entries, "数据.dat"));
    EXPECT_TRUE(Find(entries, "子目录")->Attributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(static_cast<DWORD>(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM),
              Find(entries, "数据.dat")->Attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN));

    Entries(dir + "\\missing", &result);
    EXPECT_NE(0u, result);
    EXPECT_NE(static_cast<DWORD>(ERROR_NO_MORE_FILES), result) << "a refused search is no complete one";
}

// An entry is itself only under its own name, by the file system's rule: case aside, every character counts. The
// locale's comparison took a target "Straße" for an entry "Strasse", and passed over a soft hyphen.
TEST(EntryHandle, IsTheEntryUnderItsOwnNameOnly)
{
    const WideString path = LongPath(FreshFolder("names")) + L"\\Stra\u00DFe.txt";
    const HANDLE made = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, made);
    CloseHandle(made);
    const TEntryHandle file(path, FILE_READ_ATTRIBUTES);
    const WideString final = file.FinalName();
    ASSERT_NE(WideString::npos, final.find(L"Stra\u00DFe.txt"));
    EXPECT_TRUE(file.Is(final));
    EXPECT_TRUE(file.Is(UpperCaseAscii(final)));
    WideString spelledOut = final, softHyphen = final;
    spelledOut.replace(final.find(L'\u00DF'), 1, L"ss");
    softHyphen.insert(final.find(L"Stra") + 1, L"\u00AD");
    EXPECT_FALSE(file.Is(spelledOut));
    EXPECT_FALSE(file.Is(softHyphen));
}

// Wine resolves Unix symbolic links in every call, so a link must be recognised before anything acts on it.
TEST(FolderWalk, TellsLinksFromEntries)
{
    testsupport::Symlinks links;
    std::string outside = FreshFolder("outside");
    testsupport::WriteFile(outside + "\\target.txt", "keep");
    std::string dir = FreshFolder("links");
    testsupport::WriteFile(dir + "\\plain.txt", "x");
    CreateDirectoryA((dir + "\\plain").c_str(), nullptr);
    links.Make(outside, dir + "\\folderlink");
    links.Make(outside + "\\target.txt", dir + "\\filelink.txt");
    links.Make(dir + "\\plain.txt", dir + "\\samefolderlink.txt");

    TFolderWalk walk(LongPath(dir));
    TFindEntry e;
    std::vector<std::string> itself;
    while (walk.Next(e))
        if (!IsDotEntry(e) && walk.OpenItself(e, FILE_READ_ATTRIBUTES).Valid()) itself.push_back(WideToAnsi(e.Name));
    std::sort(itself.begin(), itself.end());
    // Where the system can open a link itself (Windows), the link is an entry like any other; under Wine the
    // handle would be the target's, so the links are no entries to act on.
    std::vector<std::string> expected = {"plain", "plain.txt"};
    if (testsupport::LinksOpenAsThemselves())
        expected = {"filelink.txt", "folderlink", "plain", "plain.txt", "samefolderlink.txt"};
    EXPECT_EQ(expected, itself);
    EXPECT_EQ("keep", ReadBytes(outside + "\\target.txt"));
}
