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
// handlers bound by name through the bindings the root's owner (the form) fills. Unknown classes, properties or
// values: EResourceError naming the resource and the line. The program registers the classes a layout may name
// before any is read (RegisterComponentClasses).

// windows.h first, everywhere: its RegisterClass macro renames the registry's member the same way in every unit.
#include <windows.h>

#include <any>
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <type_traits>
#include <vector>

#include "Classes.h"
#include "Controls.h"

// What a layout binds by name on its root: components to fields, event identifiers to methods. The form fills it.
class TLayoutBindings {
public:
    template <class T>
    void PublishField(const std::string& Name, T*& Field)
    {
        FFields[Name] = [&Field](TComponent* C) {
            Field = dynamic_cast<T*>(C);
            return Field != nullptr;
        };
    }
    void PublishMethod(const std::string& Name, std::any Method) { FMethods[Name] = std::move(Method); }
    // Throws EResourceError when no published method has that name.
    const std::any& FindMethod(const std::string& Name) const;
    // Binds a component created by the layout to the published field of its name; throws EResourceError when there
    // is none.
    void BindField(const std::string& Name, TComponent* Component) const;

    // The property table of a root whose own class has none (a derived form takes TForm's).
    std::string RootClass;

private:
    std::map<std::string, std::function<bool(TComponent*)>> FFields;
    std::map<std::string, std::any> FMethods;
};

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
    // A list of strings as one text, each item a line ending in CR LF.
    std::string AsLines() const;
    // The position of an identifier among Names (the enumeration in declared order: its name table).
    int AsEnum(const char* const* Names, size_t Count) const;
    template <size_t N>
    int AsEnum(const char* const (&Names)[N]) const { return AsEnum(Names, N); }
    int AsEnum(std::initializer_list<const char*> Names) const { return AsEnum(Names.begin(), Names.size()); }
    // A set of identifiers as bits: bit i stands for Names[i].
    unsigned AsSet(const char* const* Names, size_t Count) const;
    template <size_t N>
    unsigned AsSet(const char* const (&Names)[N]) const { return AsSet(Names, N); }
    // Every failure above throws EConvertError naming the value; the reader adds the resource and line.
};

// Sets one property of a component; throws when the value does not fit.
using TPropertySetter =
    std::function<void(TComponent& Component, const TLayoutValue& Value, const TLayoutBindings& Bindings)>;

// Sets a property that names another component of the layout. It runs once the whole layout is read, so the
// component named may be declared further down (ActivePage = TabSheet1).
using TReferenceSetter = std::function<void(TComponent& Component, TComponent& Target)>;

class TClassRegistry {
public:
    static TClassRegistry& Instance();
    ~TClassRegistry();
    TClassRegistry(const TClassRegistry&) = delete;
    TClassRegistry& operator=(const TClassRegistry&) = delete;
    void RegisterClass(const std::string& ClassName, const std::string& BaseClassName,
                       std::function<TComponent*(TComponent* Owner)> Factory);
    void RegisterProperty(const std::string& ClassName, const std::string& Property, TPropertySetter Setter);
    void RegisterReference(const std::string& ClassName, const std::string& Property, TReferenceSetter Setter);
    bool IsRegistered(const std::string& ClassName) const;
    TComponent* Create(const std::string& ClassName, TComponent* Owner) const;
    // Looks the property up along the base classes; nullptr when none has it.
    const TPropertySetter* FindProperty(const std::string& ClassName, const std::string& Property) const;
    const TReferenceSetter* FindReference(const std::string& ClassName, const std::string& Property) const;

private:
    TClassRegistry();
    struct TClassEntry;
    TClassEntry& Entry(const std::string& ClassName);
    const TClassEntry* FindEntry(const std::string& ClassName) const;
    template <class TSetter>
    const TSetter* FindAlongBases(const std::string& ClassName, const std::string& Property,
                                  std::map<std::string, TSetter> TClassEntry::*Table) const;
    std::vector<TClassEntry>* FClasses;
};

// Registers a setter on components of class T. Set takes (T&, const TLayoutValue&) or, for events that bind a
// published method, (T&, const TLayoutValue&, const TLayoutBindings&).
template <class T, class F>
void RegisterLayoutProperty(TClassRegistry& Registry, const std::string& ClassName, const std::string& Property, F Set)
{
    Registry.RegisterProperty(ClassName, Property,
                              [Set](TComponent& C, const TLayoutValue& V, const TLayoutBindings& Bindings) {
                                  T& target = dynamic_cast<T&>(C);
                                  if constexpr (std::is_invocable_v<F, T&, const TLayoutValue&, const TLayoutBindings&>)
                                      Set(target, V, Bindings);
                                  else
                                      Set(target, V);
                              });
}

// Reads a value as the type a setter takes: bool, string, or a number (int, colour, character set).
template <class V>
V LayoutValueAs(const TLayoutValue& Value)
{
    if constexpr (std::is_same_v<V, bool>)
        return Value.AsBool();
    else if constexpr (std::is_same_v<V, std::string>)
        return Value.AsString();
    else
        return static_cast<V>(Value.AsInt());
}

// The same for an enumeration or a set of flags, read through its name table.
template <class V, size_t N>
V LayoutValueAs(const TLayoutValue& Value, const char* const (&Names)[N])
{
    if constexpr (std::is_enum_v<V>)
        return static_cast<V>(Value.AsEnum(Names));
    else
        return static_cast<V>(Value.AsSet(Names));
}

// A property set through a member setter of T (of a part of T, such as its font, with Part).
template <class T, class V>
void RegisterLayoutSetter(TClassRegistry& Registry, const std::string& ClassName, const std::string& Property,
                          void (T::*Set)(V))
{
    RegisterLayoutProperty<T>(Registry, ClassName, Property, [Set](T& C, const TLayoutValue& Value) {
        (C.*Set)(LayoutValueAs<std::decay_t<V>>(Value));
    });
}
template <class T, class TPart, class V>
void RegisterLayoutSetter(TClassRegistry& Registry, const std::string& ClassName, const std::string& Property,
                          TPart& (T::*Part)(), void (TPart::*Set)(V))
{
    RegisterLayoutProperty<T>(Registry, ClassName, Property, [Part, Set](T& C, const TLayoutValue& Value) {
        ((C.*Part)().*Set)(LayoutValueAs<std::decay_t<V>>(Value));
    });
}
// Enumerations and flag sets, through their name tables.
template <class T, class E, size_t N>
void RegisterLayoutSetter(TClassRegistry& Registry, const std::string& ClassName, const std::string& Property,
                          void (T::*Set)(E), const char* const (&Names)[N])
{
    RegisterLayoutProperty<T>(Registry, ClassName, Property, [Set, &Names](T& C, const TLayoutValue& Value) {
        (C.*Set)(LayoutValueAs<E>(Value, Names));
    });
}
template <class T, class TPart, class E, size_t N>
void RegisterLayoutSetter(TClassRegistry& Registry, const std::string& ClassName, const std::string& Property,
                          TPart& (T::*Part)(), void (TPart::*Set)(E), const char* const (&Names)[N])
{
    RegisterLayoutProperty<T>(Registry, ClassName, Property, [Part, Set, &Names](T& C, const TLayoutValue& Value) {
        ((C.*Part)().*Set)(LayoutValueAs<E>(Value, Names));
    });
}

// A design-time property: its value is checked and has no effect at run time.
template <class V>
void RegisterLayoutIgnored(TClassRegistry& Registry, const std::string& ClassName, const std::string& Property)
{
    Registry.RegisterProperty(ClassName, Property, [](TComponent&, const TLayoutValue& Value, const TLayoutBindings&) {
        LayoutValueAs<V>(Value);
    });
}

// Registers a reference property on components of class T that names a component of class TTarget; Set takes
// (T&, TTarget&). A component of another class is an error naming the property.
template <class T, class TTarget, class F>
void RegisterLayoutReference(TClassRegistry& Registry, const std::string& ClassName, const std::string& Property,
                             F Set)
{
    Registry.RegisterReference(ClassName, Property, [Set](TComponent& C, TComponent& Target) {
        auto* target = dynamic_cast<TTarget*>(&Target);
        if (!target) throw EConvertError("'" + Target.Name() + "' does not fit this property");
        Set(dynamic_cast<T&>(C), *target);
    });
}

// The published method that an identifier value names.
const std::any& FindLayoutMethod(const TLayoutBindings& Bindings, const TLayoutValue& Value);

// The same as an event of type T (TNotifyEvent, TCloseEvent, ...); another kind is an error naming the method.
template <class T>
T LayoutEvent(const TLayoutBindings& Bindings, const TLayoutValue& Value)
{
    if (const T* event = std::any_cast<T>(&FindLayoutMethod(Bindings, Value))) return *event;
    throw EResourceError("method '" + Value.Text + "' does not fit this event");
}

// Reads the RCDATA resource ResourceName of the executable onto Root (the components it creates are owned by Root).
void ReadLayout(TWinControl& Root, const TLayoutBindings& Bindings, const std::string& ResourceName);
// The same from text. SourceName appears in error messages.
void ReadLayoutText(TWinControl& Root, const TLayoutBindings& Bindings, const std::string& Utf8Text,
                    const std::string& SourceName);
