// Path helpers on GBK strings: a double-byte character whose trail byte is 0x5C ("乗" is 0x81 0x5C) is no backslash.
#include <gtest/gtest.h>

#include "Classes.h"

TEST(PathHelpers, IncludeTrailingBackslash)
{
    EXPECT_EQ("C:\\程序\\", IncludeTrailingBackslash("C:\\程序"));
    EXPECT_EQ("C:\\程序\\", IncludeTrailingBackslash("C:\\程序\\"));
    EXPECT_EQ("C:\\程序乗\\", IncludeTrailingBackslash("C:\\程序乗"));
    EXPECT_EQ("C:\\乗\\", IncludeTrailingBackslash("C:\\乗\\"));
    EXPECT_EQ("", IncludeTrailingBackslash(""));
}

TEST(PathHelpers, FolderAndNameParts)
{
    EXPECT_EQ("C:\\程序乗\\", ExtractFilePath("C:\\程序乗\\卸载.exe"));
    EXPECT_EQ("C:\\", ExtractFilePath("C:\\程序乗"));
    EXPECT_EQ("程序乗", ExtractFileName("C:\\程序乗"));
    EXPECT_EQ("C:", ExtractFilePath("C:a.txt"));
    EXPECT_EQ("C:\\乗\\a.bat", ChangeFileExt("C:\\乗\\a.exe", ".bat"));
    EXPECT_EQ("C:\\a.b\\c.bat", ChangeFileExt("C:\\a.b\\c", ".bat"));
}
