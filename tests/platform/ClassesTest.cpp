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

TEST(Numbers, StrToIntTakesTheInt32RangeWithSurroundingBlanksAndRefusesAnythingElse)
{
    EXPECT_EQ(2147483647, StrToInt("2147483647"));
    EXPECT_EQ(-2147483647 - 1, StrToInt("-2147483648"));
    EXPECT_EQ(5, StrToInt(" +5\t"));
    for (const char* bad : {"2147483648", "-2147483649", "99999999999999999999", "", " ", "12x", "0x10", "1 2"})
        EXPECT_THROW(StrToInt(bad), EConvertError) << bad;
}

TEST(StringList, EveryChangeIsAnnouncedBeforeAndAfterOnce)
{
    TStringList list;
    std::vector<std::string> log;
    list.OnChanging = [&](TObject*) { log.push_back("changing " + std::to_string(list.Count())); };
    list.OnChange = [&](TObject*) { log.push_back("change " + std::to_string(list.Count())); };
    list.SetText("a\r\nb\r\n");
    list.Add("c");
    list.SetStrings(0, "A");
    list.Delete(1);
    list.Insert(0, "z");
    list.Clear();
    EXPECT_EQ((std::vector<std::string>{"changing 0", "change 2", "changing 2", "change 3", "changing 3", "change 3",
                                        "changing 3", "change 2", "changing 2", "change 3", "changing 3", "change 0"}),
              log);
}
