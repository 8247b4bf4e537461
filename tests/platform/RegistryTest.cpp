#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "Registry.h"

namespace {

// A scratch key of this test run below HKEY_CURRENT_USER, removed again afterwards.
class RegistryTest : public ::testing::Test {
protected:
    const std::string key = "Software\\QuintaroTests\\Registry" + std::to_string(GetCurrentProcessId());

    void SetUp() override
    {
        HKEY h = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                                 &h, nullptr));
        scratch = h;
    }
    void TearDown() override
    {
        RegCloseKey(scratch);
        RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    }
    void Set(const char* name, DWORD type, const std::string& bytes)
    {
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(scratch, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                                static_cast<DWORD>(bytes.size())));
    }
    std::string Read(const char* name)
    {
        TRegistry reg;
        reg.SetRootKey(HKEY_CURRENT_USER);
        EXPECT_TRUE(reg.OpenKey(key, false));
        return reg.ReadString(name);
    }

    HKEY scratch = nullptr;
};

}  // namespace

TEST_F(RegistryTest, ReadsStringsAsStored)
{
    Set("Common Programs", REG_SZ, std::string("C:\\开始菜单\\程序\0", 18));
    Set("AppData", REG_EXPAND_SZ, std::string("%USERPROFILE%\\AppData\\Roaming", 30));
    Set("NoTerminator", REG_SZ, "abc");
    Set("Empty", REG_SZ, std::string());
    std::string longText(5000, 'x');
    longText += "尾";
    Set("Long", REG_SZ, longText + '\0');

    EXPECT_EQ("C:\\开始菜单\\程序", Read("Common Programs"));
    EXPECT_EQ("%USERPROFILE%\\AppData\\Roaming", Read("AppData")) << "never expanded";
    EXPECT_EQ("abc", Read("NoTerminator"));
    EXPECT_EQ("", Read("Empty"));
    EXPECT_EQ(longText, Read("Long"));
    EXPECT_EQ("", Read("Missing"));
}

TEST_F(RegistryTest, OtherTypesRaiseNamingTheValue)
{
    DWORD number = 7;
    Set("AppData", REG_DWORD, std::string(reinterpret_cast<const char*>(&number), sizeof number));
    Set("Binary", REG_BINARY, "abc");
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(key, false));
    try {
        reg.ReadString("AppData");
        FAIL() << "no exception";
    } catch (const ERegistryException& e) {
        EXPECT_EQ("Invalid data type for 'AppData'", e.Message());
    }
    EXPECT_THROW(reg.ReadString("Binary"), Exception);
}

TEST_F(RegistryTest, OpenOrCreate)
{
    TRegistry reg;
    EXPECT_EQ(HKEY_CURRENT_USER, reg.RootKey());
    EXPECT_EQ("", reg.ReadString("AppData")) << "no key open";
    EXPECT_FALSE(reg.OpenKey(key + "\\Sub", false)) << "a missing key is not created without CanCreate";
    EXPECT_EQ(nullptr, reg.CurrentKey());
    EXPECT_EQ("", reg.ReadString("AppData"));

    EXPECT_TRUE(reg.OpenKey(key + "\\Sub", true));
    EXPECT_NE(nullptr, reg.CurrentKey());
    reg.CloseKey();
    EXPECT_EQ(nullptr, reg.CurrentKey());
    EXPECT_TRUE(reg.OpenKey(key + "\\Sub", false)) << "created by the call before";
}

// The uninstall creates the all-users Shell Folders key when it is missing; creating an existing key keeps its values.
TEST_F(RegistryTest, LocalMachineKeyOpensWithCreate)
{
    const std::string machineKey = "Software\\QuintaroTests\\Machine" + std::to_string(GetCurrentProcessId());
    {
        TRegistry reg;
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(reg.OpenKey(machineKey, true));
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(reg.CurrentKey(), "Common Desktop", 0, REG_SZ,
                                                reinterpret_cast<const BYTE*>("D:\\桌面"), 7));
    }
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey(machineKey, true));
    EXPECT_EQ("D:\\桌面", reg.ReadString("Common Desktop"));
    reg.CloseKey();
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, machineKey.c_str());
}
