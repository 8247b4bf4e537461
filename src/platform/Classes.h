#pragma once
// Base classes of the component layer: exceptions, components with owners, lists.
// Strings are byte strings in the ANSI code page (GBK on the target systems).

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

// UTF-16 text for the wide Win32 calls. Its own character traits make it a type of this program: the compiler then
// builds only the operations the program uses, where std::wstring would link the run-time library's whole prebuilt
// wide string (with GCC some 35 KB of the shipped executable). In every other way it is std::wstring.
struct TWideCharTraits : std::char_traits<wchar_t> {};
using WideString = std::basic_string<wchar_t, TWideCharTraits>;

class Exception : public std::runtime_error {
public:
    explicit Exception(const std::string& message) : std::runtime_error(message) {}
    std::string Message() const { return what(); }
};

// "'%s' is not a valid integer value" and the like.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A stored layout or resource that cannot be read.
class EResourceError : public Exception {
public:
    using Exception::Exception;
};

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

// Sets a flag for one scope and clears it at the end, whatever leaves the scope.
class TFlagScope {
public:
    explicit TFlagScope(bool& Flag) : FFlag(Flag) { FFlag = true; }
    ~TFlagScope() { FFlag = false; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& FFlag;
};

enum class TOperation { opInsert, opRemove };

// A component is freed by its owner, which keeps its owned components in creation order.
class TComponent : public TObject {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;

    TComponent* Owner() const { return FOwner; }
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int Index) const { return FComponents.at(static_cast<size_t>(Index)); }
    int ComponentIndex() const;
    TComponent* FindComponent(const std::string& AName) const;

    const std::string& Name() const { return FName; }
    void SetName(const std::string& Value) { FName = Value; }
    int32_t Tag() const { return FTag; }
    void SetTag(int32_t Value) { FTag = Value; }

    // Moves this component to another owner (or none).
    void SetOwner(TComponent* AOwner);
    // Frees every owned component, the last created first.
    void DestroyComponents();
    // Asks to be told (Notification opRemove) when AComponent goes away; the two are told of each other.
    void FreeNotification(TComponent* AComponent);
    // Undoes FreeNotification, on both sides.
    void RemoveFreeNotification(TComponent* AComponent);

    // While the layout reader sets the properties: work that depends on all of them (measuring a text, say) waits
    // for Loaded, which the reader calls once every property of the form's layout is set.
    bool Loading() const { return FLoading; }
    void BeginLoading() { FLoading = true; }
    virtual void Loaded() { FLoading = false; }

protected:
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    bool Destroying() const { return FDestroying; }

private:
    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);

    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    std::string FName;
    int32_t FTag = 0;
    bool FDestroying = false;
    bool FLoading = false;
};

// A list of untyped references; it never frees what it holds.
class TList : public TObject {
public:
    int Add(void* Item);
    int IndexOf(const void* Item) const;
    int Remove(const void* Item);
    void Delete(int Index);
    void Clear() { FItems.clear(); }
    int Count() const { return static_cast<int>(FItems.size()); }
    void* Items(int Index) const { return FItems.at(static_cast<size_t>(Index)); }

private:
    std::vector<void*> FItems;
};

// Every change is announced: OnChanging before it, OnChange after it (once for SetText and Clear), so that a control
// can follow the list it shows.
class TStringList : public TObject {
public:
    int Add(const std::string& S);
    void Insert(int Index, const std::string& S);
    void Delete(int Index);
    void Clear();
    int Count() const { return static_cast<int>(FStrings.size()); }
    const std::string& Strings(int Index) const { return FStrings.at(static_cast<size_t>(Index)); }
    void SetStrings(int Index, const std::string& S);
    int IndexOf(const std::string& S) const;
    // The lines joined, each followed by CR LF.
    std::string Text() const;
    // Splits at CR LF, LF or CR; a final line break adds no empty line.
    void SetText(const std::string& Value);
    // Items separated by Delimiter; an item also ends at a blank or control character, and an item in Quote
    // characters may hold them (a doubled quote stands for one). Blanks around items are dropped.
    void SetDelimitedText(const std::string& Value, char Delimiter, char Quote = '"');
    // Writes Text() to a file, creating or replacing it; throws on failure.
    void SaveToFile(const std::string& FileName) const;
    // The same, to a file that must not exist yet: whatever has the name already is never written through.
    void SaveToNewFile(const std::string& FileName) const;

    TNotifyEvent OnChanging;
    TNotifyEvent OnChange;

private:
    // Runs one change between OnChanging and OnChange.
    template <class F>
    void Change(F Edit);
    std::vector<std::string> FStrings;
};

// Number conversions with the framework's messages.
int StrToInt(const std::string& S);         // throws EConvertError "'S' is not a valid integer value"
std::string IntToStr(int64_t Value);
std::string IntToHex(uint32_t Value, int Digits);  // upper case, zero padded
std::string Trim(const std::string& S);     // drops leading and trailing blanks and control characters
std::string UpperCaseAscii(const std::string& S);  // only a..z change
WideString UpperCaseAscii(const WideString& S);
std::string ExtractFilePath(const std::string& FileName);  // up to and including the last '\' or ':'
// S with a backslash at its end unless its last character already is one (a GBK trail byte 0x5C is not); "" stays.
std::string IncludeTrailingBackslash(const std::string& S);
WideString IncludeTrailingBackslash(const WideString& S);
std::string ExtractFileName(const std::string& FileName);  // after the last '\' or ':'
std::string ChangeFileExt(const std::string& FileName, const std::string& Extension);

// Code page conversions. The system's own conversion to the ANSI code page puts look-alikes ("â" -> "a") or "?" in
// place of characters the code page lacks; ExactAnsi refuses instead, so that a name it gives is the very name.
WideString AnsiToWide(const std::string& S);
std::string WideToAnsi(const WideString& S);             // the system's conversion, look-alikes and all
bool ExactAnsi(const WideString& S, std::string& Result);  // false when a character has no exact ANSI form
