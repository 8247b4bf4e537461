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
    // Binds a component created by the layout to the published field of its name, if there is one.
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
    // The position of an identifier among Names (the enumeration in declared order).
    int AsEnum(std::initializer_list<const char*> Names) const;
    // A set of identifiers as bits: bit i stands for Names[i].
    unsigned AsSet(std::initializer_list<const char*> Names) const;
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
