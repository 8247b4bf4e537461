#pragma once
// Stored layouts: text resources (type RCDATA, UTF-8) read onto a form at construction.
//
//   object Form1: TForm1            (or "inherited Form1: TForm1" for a layout over a base class's)
//     Caption = 'Quintaro卸载'
//     Font.Height = -13
//     BorderIcons = [biSystemMenu]
//     OnCreate = FormCreate
//     object PanelSet5: TPanel      (created with the form as owner, the enclosing control as parent)
//       Align = alClient
//     end
//   end
//
// Components are created by class name, properties set by name through each class's table, fields and event
// handlers bound by name through the form. Unknown classes, properties or values: EResourceError naming the
// resource and the line.

// windows.h first, everywhere: its RegisterClass macro renames the registry's member the same way in every unit.
#include <windows.h>

#include <any>
#include <functional>
#include <initializer_list>
#include <string>
#include <type_traits>
#include <vector>

#include "Classes.h"

class TCustomForm;

// One property value as written in a layout.
struct TLayoutValue {
    enum TKind { vkInteger, vkString, vkIdent, vkSet, vkStrings, vkBinary } Kind = vkInteger;
    long long Integer = 0;
    std::string Text;                   // strings (converted to ANSI), identifiers, bytes of { } binary data
    std::vector<std::string> Items;     // sets and string lists
    bool AsBool() const;                // True/False
    // Integers, colour names (clBtnFace, ...) and character set names (GB2312_CHARSET, ...).
    int AsInt() const;
    const std::string& AsString() const;
    // The position of an identifier among Names (the enumeration in declared order).
    int AsEnum(std::initializer_list<const char*> Names) const;
    // A set of identifiers as bits: bit i stands for Names[i].
    unsigned AsSet(std::initializer_list<const char*> Names) const;
    // Every failure above throws EConvertError naming the value; the reader adds the resource and line.
};

// Sets one property of a component; throws when the value does not fit.
using TPropertySetter = std::function<void(TComponent& Component, const TLayoutValue& Value, TCustomForm& Root)>;

class TClassRegistry {
public:
    static TClassRegistry& Instance();
    ~TClassRegistry();
    TClassRegistry(const TClassRegistry&) = delete;
    TClassRegistry& operator=(const TClassRegistry&) = delete;
    void RegisterClass(const std::string& ClassName, const std::string& BaseClassName,
                       std::function<TComponent*(TComponent* Owner)> Factory);
    void RegisterProperty(const std::string& ClassName, const std::string& Property, TPropertySetter Setter);
    bool IsRegistered(const std::string& ClassName) const;
    TComponent* Create(const std::string& ClassName, TComponent* Owner) const;
    // Looks the property up along the base classes; nullptr when none has it.
    const TPropertySetter* FindProperty(const std::string& ClassName, const std::string& Property) const;

private:
    TClassRegistry();
    struct TClassEntry;
    std::vector<TClassEntry>* FClasses;
};

// Registers a setter on components of class T. Set takes (T&, const TLayoutValue&) or, for events that bind a
// method of the form, (T&, const TLayoutValue&, TCustomForm& Root).
template <class T, class F>
void RegisterLayoutProperty(TClassRegistry& Registry, const std::string& ClassName, const std::string& Property, F Set)
{
    Registry.RegisterProperty(ClassName, Property, [Set](TComponent& C, const TLayoutValue& V, TCustomForm& Root) {
        T& target = dynamic_cast<T&>(C);
        if constexpr (std::is_invocable_v<F, T&, const TLayoutValue&, TCustomForm&>)
            Set(target, V, Root);
        else
            Set(target, V);
    });
}

// The published method of Root that an identifier value names.
const std::any& FindLayoutMethod(TCustomForm& Root, const TLayoutValue& Value);

// The same as an event of type T (TNotifyEvent, TCloseEvent, ...); another kind is an error naming the method.
template <class T>
T LayoutEvent(TCustomForm& Root, const TLayoutValue& Value)
{
    if (const T* event = std::any_cast<T>(&FindLayoutMethod(Root, Value))) return *event;
    throw EResourceError("method '" + Value.Text + "' does not fit this event");
}

// Reads the RCDATA resource ResourceName of the executable onto Root.
void ReadFormLayout(TCustomForm& Root, const std::string& ResourceName);
// The same from text (used by ReadFormLayout; tests feed it directly). SourceName appears in error messages.
void ReadFormLayoutText(TCustomForm& Root, const std::string& Utf8Text, const std::string& SourceName);
