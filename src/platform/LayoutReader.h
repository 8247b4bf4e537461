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

#include <functional>
#include <string>
#include <vector>

#include "Classes.h"

class TCustomForm;

// One property value as written in a layout.
struct TLayoutValue {
    enum TKind { vkInteger, vkString, vkIdent, vkSet, vkStrings } Kind = vkInteger;
    long long Integer = 0;
    std::string Text;                   // strings (converted to ANSI) and identifiers
    std::vector<std::string> Items;     // sets and string lists
    bool AsBool() const;                // True/False
    int AsInt() const;
};

// Sets one property of a component; throws when the value does not fit.
using TPropertySetter = std::function<void(TComponent& Component, const TLayoutValue& Value, TCustomForm& Root)>;

class TClassRegistry {
public:
    static TClassRegistry& Instance();
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

// Reads the RCDATA resource ResourceName of the executable onto Root.
void ReadFormLayout(TCustomForm& Root, const std::string& ResourceName);
// The same from text (used by ReadFormLayout; tests feed it directly). SourceName appears in error messages.
void ReadFormLayoutText(TCustomForm& Root, const std::string& Utf8Text, const std::string& SourceName);
