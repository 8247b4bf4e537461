#include "SavedRegistryValue.h"

#include <gtest/gtest.h>

namespace testsupport {

namespace {

const char* const ShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

}  // namespace

TSavedValue::TSavedValue(HKEY Root, const char* Name) : FName(Name)
{
    RegCreateKeyExA(Root, ShellFolders, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &FKey, nullptr);
    DWORD size = 0;
    FExisted = RegQueryValueExA(FKey, Name, nullptr, &FType, nullptr, &size) == ERROR_SUCCESS;
    FData.resize(size);
    if (FExisted && size) RegQueryValueExA(FKey, Name, nullptr, &FType, reinterpret_cast<BYTE*>(&FData[0]), &size);
}

TSavedValue::~TSavedValue()
{
    if (FExisted)
        RegSetValueExA(FKey, FName, 0, FType, reinterpret_cast<const BYTE*>(FData.data()),
                       static_cast<DWORD>(FData.size()));
    else
        RegDeleteValueA(FKey, FName);
    RegCloseKey(FKey);
}

void TSavedValue::Set(const std::string& Value, DWORD Type)
{
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(FKey, FName, 0, Type, reinterpret_cast<const BYTE*>(Value.c_str()),
                                            static_cast<DWORD>(Value.size() + 1)));
}

void TSavedValue::SetNumber(DWORD Value)
{
    ASSERT_EQ(ERROR_SUCCESS,
              RegSetValueExA(FKey, FName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&Value), sizeof(Value)));
}

void TSavedValue::SetWide(const WideString& Value)
{
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(FKey, AnsiToWide(FName).c_str(), 0, REG_SZ,
                                            reinterpret_cast<const BYTE*>(Value.c_str()),
                                            static_cast<DWORD>((Value.size() + 1) * sizeof(wchar_t))));
}

void TSavedValue::Remove()
{
    RegDeleteValueA(FKey, FName);
}

}  // namespace testsupport
