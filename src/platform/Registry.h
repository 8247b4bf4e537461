#pragma once
// Registry access in the manner of the component library's TRegistry: a root key, one current key, string reads.

#include <windows.h>

#include <string>

#include "Classes.h"

// A value that cannot be read as asked, such as a string read of a number.
class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

// An open registry key, closed with RegCloseKey.
class TRegKey {
public:
    TRegKey() = default;
    TRegKey(const TRegKey&) = delete;
    TRegKey& operator=(const TRegKey&) = delete;
    ~TRegKey() { Reset(); }

    HKEY Get() const { return FKey; }
    bool Valid() const { return FKey != nullptr; }
    void Reset(HKEY Key = nullptr);

private:
    HKEY FKey = nullptr;
};

class TRegistry : public TObject {
public:
    TRegistry() = default;
    ~TRegistry() override = default;  // the current key closes with it

    HKEY RootKey() const { return FRootKey; }
    // Closes the current key; the next OpenKey starts from the new root.
    void SetRootKey(HKEY Value);
    HKEY CurrentKey() const { return FCurrentKey.Get(); }

    // Opens Key below the root with full access, as the current key; with CanCreate a missing key is created.
    // Returns whether the key is open.
    bool OpenKey(const std::string& Key, bool CanCreate);
    void CloseKey() { FCurrentKey.Reset(); }

    // A REG_SZ or REG_EXPAND_SZ value as stored (not expanded), of any length. A missing value, or no open key,
    // reads as empty; a value of any other type throws ERegistryException "Invalid data type for 'Name'".
    std::string ReadString(const std::string& Name) const;
    // The same value as the system stores it, in UTF-16: a path read so can be checked for an exact ANSI form. Type,
    // when given, receives REG_SZ or REG_EXPAND_SZ (REG_NONE for a value that reads as empty).
    WideString ReadWideString(const std::string& Name, DWORD* Type = nullptr) const;

private:
    HKEY FRootKey = HKEY_CURRENT_USER;
    TRegKey FCurrentKey;
};
