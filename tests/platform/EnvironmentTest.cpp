#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "TestSupport.h"

// The prefix must behave like the target systems: Chinese code page, GBK paths.
TEST(Environment, AnsiCodePageIsChinese)
{
    EXPECT_EQ(936u, GetACP());
    EXPECT_EQ(936u, GetOEMCP());
}

TEST(Environment, GbkPathsRoundTrip)
{
    std::string folder = testsupport::FreshFolder("环境");
    std::string file = folder + "\\卸载.txt";
    testsupport::WriteFile(file, "x");
    WIN32_FIND_DATAA data;
    HANDLE h = FindFirstFileA((folder + "\\*.txt").c_str(), &data);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    FindClose(h);
    EXPECT_STREQ("卸载.txt", data.cFileName);
    EXPECT_EQ(8u, std::strlen(data.cFileName));  // 4 GBK bytes + ".txt"
}
