#include "Registry.h"

#include <vector>

void TRegKey::Reset(HKEY Key)
{
    if (FKey) RegCloseKey(FKey);
    FKey = Key;
}

void TRegistry::SetRootKey(HKEY Value)
{
    CloseKey();
    FRootKey = Value;
}

bool TRegistry::OpenKey(const std::string& Key, bool CanCreate)
{
    CloseKey();
    HKEY key = nullptr;
    LONG rc = CanCreate ? RegCreateKeyExA(FRootKey, Key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                          nullptr, &key, nullptr)
                        : RegOpenKeyExA(FRootKey, Key.c_str(), 0, KEY_ALL_ACCESS, &key);
    if (rc != ERROR_SUCCESS) return false;
    FCurrentKey.Reset(key);
    return true;
}

std::string TRegistry::ReadString(const std::string& Name) const
{
    return WideToAnsi(ReadWideString(Name));
}

WideString TRegistry::ReadWideString(const std::string& Name, DWORD* Type) const
{
    if (Type) *Type = REG_NONE;
    if (!FCurrentKey.Valid()) return WideString();
    const WideString name = AnsiToWide(Name);
    std::vector<wchar_t> data(256);
    DWORD type = 0;
    for (;;) {
        DWORD size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
        LONG rc = RegQueryValueExW(FCurrentKey.Get(), name.c_str(), nullptr, &type,
                                   reinterpret_cast<BYTE*>(data.data()), &size);
        if (rc == ERROR_MORE_DATA) {
            // The value may grow between the calls: ask again with what it needs now.
            const size_t needed = size / sizeof(wchar_t) + 1;
            data.resize(needed > data.size() ? needed : data.size() * 2);
            continue;
        }
        if (rc != ERROR_SUCCESS) return WideString();
        if (type != REG_SZ && type != REG_EXPAND_SZ) throw ERegistryException("Invalid data type for '" + Name + "'");
        if (Type) *Type = type;
        // Stored with or without its terminating NUL: the text ends at the first NUL or with the data.
        WideString text(data.data(), size / sizeof(wchar_t));
        return text.substr(0, text.find(L'\0'));
    }
}
