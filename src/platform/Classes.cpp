#include "Classes.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cctype>
#include <cstdlib>

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    FDestroying = true;
    // Those that asked are told first, so that they drop their references before anything goes.
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        other->RemoveFreeNotification(this);
        other->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
}

int TComponent::ComponentIndex() const
{
    if (!FOwner) return -1;
    auto& list = FOwner->FComponents;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

TComponent* TComponent::FindComponent(const std::string& AName) const
{
    if (AName.empty()) return nullptr;
    for (TComponent* c : FComponents)
        if (CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, c->FName.c_str(), -1, AName.c_str(), -1) ==
            CSTR_EQUAL)
            return c;
    return nullptr;
}

void TComponent::SetOwner(TComponent* AOwner)
{
    if (AOwner == FOwner) return;
    if (FOwner) FOwner->RemoveComponent(this);
    if (AOwner) AOwner->InsertComponent(this);
}

void TComponent::DestroyComponents()
{
    while (!FComponents.empty()) {
        TComponent* last = FComponents.back();
        RemoveComponent(last);
        delete last;
    }
}

void TComponent::FreeNotification(TComponent* AComponent)
{
    if (!AComponent || AComponent == this) return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
        FFreeNotifies.push_back(AComponent);
    if (std::find(AComponent->FFreeNotifies.begin(), AComponent->FFreeNotifies.end(), this) ==
        AComponent->FFreeNotifies.end())
        AComponent->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent)
{
    if (!AComponent) return;
    FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent), FFreeNotifies.end());
    auto& theirs = AComponent->FFreeNotifies;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation)
{
    if (Operation == TOperation::opRemove && AComponent->FOwner == this) RemoveComponent(AComponent);
}

void TComponent::InsertComponent(TComponent* AComponent)
{
    FComponents.push_back(AComponent);
    AComponent->FOwner = this;
}

void TComponent::RemoveComponent(TComponent* AComponent)
{
    FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), AComponent), FComponents.end());
    AComponent->FOwner = nullptr;
}

int TList::Add(void* Item)
{
    FItems.push_back(Item);
    return Count() - 1;
}

int TList::IndexOf(const void* Item) const
{
    auto it = std::find(FItems.begin(), FItems.end(), Item);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

int TList::Remove(const void* Item)
{
    int index = IndexOf(Item);
    if (index >= 0) Delete(index);
    return index;
}

void TList::Delete(int Index)
{
    FItems.erase(FItems.begin() + Index);
}

template <class F>
void TStringList::Change(F Edit)
{
    if (OnChanging) OnChanging(this);
    Edit();
    if (OnChange) OnChange(this);
}

int TStringList::Add(const std::string& S)
{
    Change([&] { FStrings.push_back(S); });
    return Count() - 1;
}

void TStringList::Insert(int Index, const std::string& S)
{
    Change([&] { FStrings.insert(FStrings.begin() + Index, S); });
}

void TStringList::Delete(int Index)
{
    Change([&] { FStrings.erase(FStrings.begin() + Index); });
}

void TStringList::Clear()
{
    Change([&] { FStrings.clear(); });
}

void TStringList::SetStrings(int Index, const std::string& S)
{
    std::string& item = FStrings.at(static_cast<size_t>(Index));
    Change([&] { item = S; });
}

int TStringList::IndexOf(const std::string& S) const
{
    auto it = std::find(FStrings.begin(), FStrings.end(), S);
    return it == FStrings.end() ? -1 : static_cast<int>(it - FStrings.begin());
}

std::string TStringList::Text() const
{
    std::string text;
    for (const std::string& s : FStrings) text += s + "\r\n";
    return text;
}

void TStringList::SetText(const std::string& Value)
{
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < Value.size(); ++i) {
        char c = Value[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < Value.size() && Value[i + 1] == '\n') ++i;
        } else {
            line.push_back(c);
        }
    }
    if (!line.empty()) lines.push_back(line);
    Change([&] { FStrings.swap(lines); });
}

namespace {

bool IsBlank(char C) { return static_cast<unsigned char>(C) <= ' '; }

// The position after the character at I: two bytes for a GBK lead byte, so that a trail byte is never taken for a
// delimiter or a quote.
size_t NextChar(const std::string& S, size_t I)
{
    return IsDBCSLeadByte(static_cast<BYTE>(S[I])) && I + 1 < S.size() ? I + 2 : I + 1;
}

// A quoted item from the opening quote at I: doubled quotes stand for one; an unclosed item runs to the end.
std::string QuotedItem(const std::string& S, size_t& I, char Quote)
{
    std::string item;
    I = NextChar(S, I);
    while (I < S.size()) {
        if (S[I] == Quote) {
            I = NextChar(S, I);
            if (I >= S.size() || S[I] != Quote) break;
        }
        const size_t next = NextChar(S, I);
        item.append(S, I, next - I);
        I = next;
    }
    return item;
}

}  // namespace

void TStringList::SetDelimitedText(const std::string& Value, char Delimiter, char Quote)
{
    std::vector<std::string> items;
    size_t i = 0;
    auto skipBlanks = [&] {
        while (i < Value.size() && IsBlank(Value[i]) && Value[i] != '\0') ++i;
    };
    skipBlanks();
    while (i < Value.size() && Value[i] != '\0') {
        if (Value[i] == Quote) {
            items.push_back(QuotedItem(Value, i, Quote));
        } else {
            const size_t start = i;
            while (i < Value.size() && !IsBlank(Value[i]) && Value[i] != Delimiter) i = NextChar(Value, i);
            items.push_back(Value.substr(start, i - start));
        }
        skipBlanks();
        if (i < Value.size() && Value[i] == Delimiter) {
            // A delimiter at the very end stands before one more, empty item.
            if (i + 1 >= Value.size()) items.emplace_back();
            ++i;
            skipBlanks();
        }
    }
    Change([&] { FStrings.swap(items); });
}

namespace {

void SaveText(const std::string& FileName, const std::string& Text, DWORD Disposition)
{
    HANDLE h = CreateFileA(FileName.c_str(), GENERIC_WRITE, 0, nullptr, Disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw Exception("Cannot create file \"" + FileName + "\"");
    DWORD written = 0;
    BOOL ok = WriteFile(h, Text.data(), static_cast<DWORD>(Text.size()), &written, nullptr);
    CloseHandle(h);
    if (!ok || written != Text.size()) throw Exception("Cannot write file \"" + FileName + "\"");
}

}  // namespace

void TStringList::SaveToFile(const std::string& FileName) const
{
    SaveText(FileName, Text(), CREATE_ALWAYS);
}

void TStringList::SaveToNewFile(const std::string& FileName) const
{
    SaveText(FileName, Text(), CREATE_NEW);
}

int StrToInt(const std::string& S)
{
    std::string t = Trim(S);
    bool ok = !t.empty();
    long v = 0;
    if (ok) {
        char* end = nullptr;
        errno = 0;
        // strtol, not strtoll: the C run-time DLL has it, where MinGW links its own strtoll into the program. long
        // is 32 bits on Windows, so an overflow is ERANGE; the range test keeps it right where long is wider.
        v = std::strtol(t.c_str(), &end, 10);
        ok = *end == '\0' && errno == 0 && v >= INT32_MIN && v <= INT32_MAX && !std::isspace(static_cast<unsigned char>(t[0]));
    }
    if (!ok) throw EConvertError("'" + S + "' is not a valid integer value");
    return static_cast<int>(v);
}

std::string IntToStr(int64_t Value)
{
    return std::to_string(Value);
}

std::string IntToHex(uint32_t Value, int Digits)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string s;
    do {
        s.insert(s.begin(), hex[Value & 0xF]);
        Value >>= 4;
    } while (Value);
    while (static_cast<int>(s.size()) < Digits) s.insert(s.begin(), '0');
    return s;
}

std::string Trim(const std::string& S)
{
    size_t b = 0, e = S.size();
    while (b < e && static_cast<unsigned char>(S[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(S[e - 1]) <= ' ') --e;
    return S.substr(b, e - b);
}

std::string UpperCaseAscii(const std::string& S)
{
    std::string r = S;
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return r;
}

WideString UpperCaseAscii(const WideString& S)
{
    WideString r = S;
    for (wchar_t& c : r)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return r;
}

namespace {

// Index just past the last path delimiter, walking GBK characters so that a trail byte 0x5C is not taken for '\'.
size_t AfterLastDelimiter(const std::string& S, const char* delimiters)
{
    size_t after = 0;
    for (size_t i = 0; i < S.size(); ++i) {
        if (IsDBCSLeadByte(static_cast<BYTE>(S[i])) && i + 1 < S.size()) {
            ++i;
            continue;
        }
        for (const char* d = delimiters; *d; ++d)
            if (S[i] == *d) after = i + 1;
    }
    return after;
}

}  // namespace

std::string ExtractFilePath(const std::string& FileName)
{
    return FileName.substr(0, AfterLastDelimiter(FileName, "\\:"));
}

std::string IncludeTrailingBackslash(const std::string& S)
{
    if (S.empty() || AfterLastDelimiter(S, "\\") == S.size()) return S;
    return S + "\\";
}

WideString IncludeTrailingBackslash(const WideString& S)
{
    return S.empty() || S.back() == L'\\' ? S : S + L"\\";
}

std::string ExtractFileName(const std::string& FileName)
{
    return FileName.substr(AfterLastDelimiter(FileName, "\\:"));
}

std::string ChangeFileExt(const std::string& FileName, const std::string& Extension)
{
    size_t nameStart = AfterLastDelimiter(FileName, "\\:");
    size_t dot = AfterLastDelimiter(FileName, "\\:.");
    if (dot > nameStart) return FileName.substr(0, dot - 1) + Extension;
    return FileName + Extension;
}

namespace {

std::string WideToAnsi(const WideString& S, DWORD Flags, BOOL* UsedDefault)
{
    if (S.empty()) return std::string();
    const int size = static_cast<int>(S.size());
    const int n = WideCharToMultiByte(CP_ACP, Flags, S.data(), size, nullptr, 0, nullptr, UsedDefault);
    std::string result(static_cast<size_t>(n), '\0');
    if (n > 0) WideCharToMultiByte(CP_ACP, Flags, S.data(), size, &result[0], n, nullptr, UsedDefault);
    return result;
}

}  // namespace

WideString AnsiToWide(const std::string& S)
{
    if (S.empty()) return WideString();
    const int size = static_cast<int>(S.size());
    const int n = MultiByteToWideChar(CP_ACP, 0, S.data(), size, nullptr, 0);
    WideString result(static_cast<size_t>(n), L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, S.data(), size, &result[0], n);
    return result;
}

std::string WideToAnsi(const WideString& S)
{
    return WideToAnsi(S, 0, nullptr);
}

bool ExactAnsi(const WideString& S, std::string& Result)
{
    BOOL usedDefault = FALSE;
    Result = WideToAnsi(S, WC_NO_BEST_FIT_CHARS, &usedDefault);
    // The way back must give the same text: a conversion that ignores the flag is caught here too.
    return !usedDefault && AnsiToWide(Result) == S;
}
