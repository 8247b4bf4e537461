#pragma once
#include <windows.h>

#include <string>

#include "Classes.h"

namespace testsupport {

// A value of the "Shell Folders" key below Root, changed by a test and put back as it was (or removed again) when
// this goes.
class TSavedValue {
public:
    TSavedValue(HKEY Root, const char* Name);
    ~TSavedValue();
    TSavedValue(const TSavedValue&) = delete;
    TSavedValue& operator=(const TSavedValue&) = delete;

    void Set(const std::string& Value, DWORD Type = REG_SZ);
    void SetNumber(DWORD Value);
    void SetWide(const WideString& Value);
    void Remove();

private:
    const char* FName;
    HKEY FKey = nullptr;
    bool FExisted = false;
    DWORD FType = REG_SZ;
    std::string FData;
};

}  // namespace testsupport
