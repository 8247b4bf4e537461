#include "LayoutReader.h"

#include <windows.h>

#include <cctype>
#include <climits>
#include <map>

#include "Controls.h"

namespace {

bool SameIdent(const std::string& A, const std::string& B)
{
    if (A.size() != B.size()) return false;
    for (size_t i = 0; i < A.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(A[i])) != std::tolower(static_cast<unsigned char>(B[i])))
            return false;
    return true;
}

std::string LowerAscii(std::string S)
{
    for (char& c : S) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return S;
}

// Named constants that integer properties accept: colours and character sets.
const std::map<std::string, int>& IntegerConstants()
{
    static const std::map<std::string, int> constants = [] {
        std::map<std::string, int> m;
        const std::pair<const char*, long long> table[] = {
            {"clBlack", 0x000000}, {"clMaroon", 0x000080}, {"clGreen", 0x008000}, {"clOlive", 0x008080},
            {"clNavy", 0x800000}, {"clPurple", 0x800080}, {"clTeal", 0x808000}, {"clGray", 0x808080},
            {"clSilver", 0xC0C0C0}, {"clRed", 0x0000FF}, {"clLime", 0x00FF00}, {"clYellow", 0x00FFFF},
            {"clBlue", 0xFF0000}, {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00}, {"clWhite", 0xFFFFFF},
            {"clNone", 0x1FFFFFFF}, {"clDefault", 0x20000000},
            {"clScrollBar", 0xFF000000}, {"clBackground", 0xFF000001}, {"clActiveCaption", 0xFF000002},
            {"clInactiveCaption", 0xFF000003}, {"clMenu", 0xFF000004}, {"clWindow", 0xFF000005},
            {"clWindowFrame", 0xFF000006}, {"clMenuText", 0xFF000007}, {"clWindowText", 0xFF000008},
            {"clCaptionText", 0xFF000009}, {"clActiveBorder", 0xFF00000A}, {"clInactiveBorder", 0xFF00000B},
            {"clAppWorkSpace", 0xFF00000C}, {"clHighlight", 0xFF00000D}, {"clHighlightText", 0xFF00000E},
            {"clBtnFace", 0xFF00000F}, {"clBtnShadow", 0xFF000010}, {"clGrayText", 0xFF000011},
            {"clBtnText", 0xFF000012}, {"clInactiveCaptionText", 0xFF000013}, {"clBtnHighlight", 0xFF000014},
            {"cl3DDkShadow", 0xFF000015}, {"cl3DLight", 0xFF000016}, {"clInfoText", 0xFF000017},
            {"clInfoBk", 0xFF000018},
            {"ANSI_CHARSET", ANSI_CHARSET}, {"DEFAULT_CHARSET", DEFAULT_CHARSET}, {"SYMBOL_CHARSET", SYMBOL_CHARSET},
            {"SHIFTJIS_CHARSET", SHIFTJIS_CHARSET}, {"HANGEUL_CHARSET", HANGEUL_CHARSET},
            {"GB2312_CHARSET", GB2312_CHARSET}, {"CHINESEBIG5_CHARSET", CHINESEBIG5_CHARSET},
            {"OEM_CHARSET", OEM_CHARSET}, {"EASTEUROPE_CHARSET", EASTEUROPE_CHARSET},
            {"RUSSIAN_CHARSET", RUSSIAN_CHARSET}, {"GREEK_CHARSET", GREEK_CHARSET},
            {"TURKISH_CHARSET", TURKISH_CHARSET}, {"BALTIC_CHARSET", BALTIC_CHARSET},
        };
        for (const auto& entry : table)
            m[LowerAscii(entry.first)] = static_cast<int>(static_cast<uint32_t>(entry.second));
        return m;
    }();
    return constants;
}

// The value of a decimal or hexadecimal digit (either case) that the caller has checked.
int HexDigitValue(char Digit)
{
    const int c = std::toupper(static_cast<unsigned char>(Digit));
    return std::isdigit(c) ? c - '0' : c - 'A' + 10;
}

[[noreturn]] void BadValue(const TLayoutValue& Value, const char* Expected)
{
    const std::string shown = Value.Kind == TLayoutValue::vkInteger ? IntToStr(Value.Integer) : Value.Text;
    throw EConvertError("'" + shown + "' is not " + Expected);
}

std::string Utf8ToAnsi(const std::string& Utf8)
{
    if (Utf8.empty()) return std::string();
    const int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, Utf8.data(), static_cast<int>(Utf8.size()),
                                         nullptr, 0);
    if (wide <= 0) throw EConvertError("a string is not valid UTF-8");
    WideString text(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, Utf8.data(), static_cast<int>(Utf8.size()), &text[0], wide);
    BOOL lossy = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), wide, nullptr, 0, nullptr, &lossy);
    std::string ansi(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), wide, &ansi[0], size, nullptr, &lossy);
    if (lossy) throw EConvertError("the string '" + ansi + "' has characters outside the ANSI code page");
    return ansi;
}

void AppendUtf8(std::string& Out, unsigned Code)
{
    if (Code < 0x80) {
        Out += static_cast<char>(Code);
    } else if (Code < 0x800) {
        Out += static_cast<char>(0xC0 | (Code >> 6));
        Out += static_cast<char>(0x80 | (Code & 0x3F));
    } else {
        Out += static_cast<char>(0xE0 | (Code >> 12));
        Out += static_cast<char>(0x80 | ((Code >> 6) & 0x3F));
        Out += static_cast<char>(0x80 | (Code & 0x3F));
    }
}

// ---------------------------------------------------------------------------------------------------------------
// Reading

struct TToken {
    enum TKind { tkEnd, tkIdent, tkInteger, tkString, tkBinary, tkSymbol } Kind = tkEnd;
    std::string Text;  // identifier, string (UTF-8), symbol or binary bytes
    long long Integer = 0;
    int Line = 1;
};

class TLexer {
public:
    TLexer(const std::string& Text, const std::string& Source) : FText(Text), FSource(Source)
    {
        if (FText.compare(0, 3, "\xEF\xBB\xBF") == 0) FPos = 3;  // a UTF-8 byte order mark
        Advance();
    }
    const TToken& Current() const { return FToken; }
    TToken Take()
    {
        TToken token = FToken;
        Advance();
        return token;
    }
    [[noreturn]] void Fail(const std::string& Message, int Line) const
    {
        throw EResourceError(FSource + ", line " + std::to_string(Line) + ": " + Message);
    }
    [[noreturn]] void Fail(const std::string& Message) const { Fail(Message, FToken.Line); }
    bool IsSymbol(char C) const { return FToken.Kind == TToken::tkSymbol && FToken.Text[0] == C; }
    bool IsIdent(const char* Word) const { return FToken.Kind == TToken::tkIdent && SameIdent(FToken.Text, Word); }
    void ExpectSymbol(char C)
    {
        if (!IsSymbol(C)) Fail(std::string("'") + C + "' expected");
        Advance();
    }
    std::string ExpectIdent(const char* What)
    {
        if (FToken.Kind != TToken::tkIdent) Fail(std::string(What) + " expected");
        return Take().Text;
    }

private:
    char Peek(size_t Ahead = 0) const { return FPos + Ahead < FText.size() ? FText[FPos + Ahead] : '\0'; }
    bool AtEnd() const { return FPos >= FText.size(); }

    void SkipBlanks()
    {
        while (!AtEnd()) {
            const char c = Peek();
            if (c == '\n') ++FLine;
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
                ++FPos;
            } else if (c == '/' && Peek(1) == '/') {
                while (!AtEnd() && Peek() != '\n') ++FPos;
            } else {
                break;
            }
        }
    }

    void Advance()
    {
        SkipBlanks();
        FToken = TToken{};
        FToken.Line = FLine;
        if (AtEnd()) return;
        const char c = Peek();
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') {
            ReadIdent();
        } else if (std::isdigit(static_cast<unsigned char>(c)) || c == '$' ||
                   (c == '-' && (std::isdigit(static_cast<unsigned char>(Peek(1))) || Peek(1) == '$'))) {
            ReadInteger();
        } else if (c == '\'' || c == '#') {
            ReadString();
        } else if (c == '{') {
            ReadBinary();
        } else if (std::string("=:[](),+<>").find(c) != std::string::npos) {
            FToken.Kind = TToken::tkSymbol;
            FToken.Text = std::string(1, c);
            ++FPos;
        } else {
            Fail(std::string("unexpected character '") + c + "'", FLine);
        }
    }

    void ReadIdent()
    {
        FToken.Kind = TToken::tkIdent;
        while (!AtEnd() && (std::isalnum(static_cast<unsigned char>(Peek())) || Peek() == '_' || Peek() == '.'))
            FToken.Text += FText[FPos++];
    }

    void ReadInteger()
    {
        FToken.Kind = TToken::tkInteger;
        const bool negative = Peek() == '-';
        if (negative) ++FPos;
        const bool hex = Peek() == '$';
        if (hex) ++FPos;
        std::string digits;
        while (!AtEnd() && (hex ? std::isxdigit(static_cast<unsigned char>(Peek()))
                                : std::isdigit(static_cast<unsigned char>(Peek()))))
            digits += FText[FPos++];
        if (digits.empty() || digits.size() > 16 || std::isalpha(static_cast<unsigned char>(Peek())) || Peek() == '.')
            Fail("bad number", FLine);
        // Sixteen digits at most, so the sum cannot wrap; a value past the signed range is a bad number too.
        unsigned long long value = 0;
        for (const char digit : digits)
            value = value * (hex ? 16 : 10) + static_cast<unsigned>(HexDigitValue(digit));
        if (value > static_cast<unsigned long long>(LLONG_MAX)) Fail("bad number", FLine);
        FToken.Integer = negative ? -static_cast<long long>(value) : static_cast<long long>(value);
    }

    // 'text' pieces (with '' for a quote) and #nnn character codes, written one after the other.
    void ReadString()
    {
        FToken.Kind = TToken::tkString;
        while (Peek() == '\'' || Peek() == '#') {
            if (Peek() == '#') {
                ++FPos;
                std::string digits;
                while (std::isdigit(static_cast<unsigned char>(Peek()))) digits += FText[FPos++];
                if (digits.empty() || digits.size() > 5) Fail("bad character code", FLine);
                const unsigned code = static_cast<unsigned>(std::stoul(digits));
                if (code > 0xFFFF) Fail("bad character code", FLine);
                AppendUtf8(FToken.Text, code);
                continue;
            }
            ++FPos;
            for (;;) {
                if (AtEnd() || Peek() == '\n' || Peek() == '\r') Fail("unterminated string", FLine);
                if (Peek() == '\'') {
                    if (Peek(1) != '\'') break;
                    ++FPos;
                }
                FToken.Text += FText[FPos++];
            }
            ++FPos;
        }
    }

    void ReadBinary()
    {
        FToken.Kind = TToken::tkBinary;
        ++FPos;
        std::string hex;
        for (;;) {
            SkipBlanks();
            if (AtEnd()) Fail("unterminated binary data", FLine);
            if (Peek() == '}') break;
            if (!std::isxdigit(static_cast<unsigned char>(Peek()))) Fail("bad binary data", FLine);
            hex += FText[FPos++];
        }
        ++FPos;
        if (hex.size() % 2) Fail("odd number of hexadecimal digits", FLine);
        for (size_t i = 0; i < hex.size(); i += 2)
            FToken.Text += static_cast<char>(HexDigitValue(hex[i]) * 16 + HexDigitValue(hex[i + 1]));
    }

    const std::string& FText;
    const std::string& FSource;
    size_t FPos = 0;
    int FLine = 1;
    TToken FToken;
};

class TLayoutReader {
public:
    TLayoutReader(TWinControl& Root, const TLayoutBindings& Bindings, const std::string& Text,
                  const std::string& Source)
        : FRoot(Root), FBindings(Bindings), FLex(Text, Source)
    {
    }

    void Read()
    {
        FRoot.DisableAlign();
        FAligned.push_back(&FRoot);
        try {
            ReadObject(nullptr);
            if (FLex.Current().Kind != TToken::tkEnd) FLex.Fail("text after the last 'end'");
            Finish();
        } catch (...) {
            EnableAlignment();
            throw;
        }
        EnableAlignment();
    }

private:
    struct TRead {
        TComponent* Component;
        int Line;
    };
    struct TReference {
        TComponent* Component;
        const TReferenceSetter* Setter;
        std::string Property;
        std::string Target;
        int Line;
    };

    // "object Name: TClass" creates, "inherited Name: TClass" finds; the outermost one is the form itself.
    void ReadObject(TComponent* Enclosing)
    {
        const int line = FLex.Current().Line;
        const bool inherited = FLex.IsIdent("inherited");
        if (!inherited && !FLex.IsIdent("object") && !FLex.IsIdent("inline")) FLex.Fail("'object' expected");
        FLex.Take();
        const std::string name = FLex.ExpectIdent("component name");
        FLex.ExpectSymbol(':');
        const std::string className = FLex.ExpectIdent("class name");
        TComponent* component = Enclosing ? ChildComponent(Enclosing, name, className, inherited, line) : &FRoot;
        if (!Enclosing) FRoot.SetName(name);
        // Derived form classes have no table of their own: the root takes the one its bindings name.
        const std::string tableClass =
            !Enclosing && !TClassRegistry::Instance().IsRegistered(className) ? FBindings.RootClass : className;
        component->BeginLoading();
        FRead.push_back(TRead{component, line});
        while (!FLex.IsIdent("end")) {
            if (FLex.Current().Kind == TToken::tkEnd) FLex.Fail("'end' expected");
            if (FLex.IsIdent("object") || FLex.IsIdent("inherited") || FLex.IsIdent("inline"))
                ReadObject(component);
            else
                ReadProperty(*component, tableClass);
        }
        FLex.Take();
    }

    TComponent* ChildComponent(TComponent* Enclosing, const std::string& Name, const std::string& ClassName,
                               bool Inherited, int Line)
    {
        if (Inherited) {
            TComponent* existing = FRoot.FindComponent(Name);
            if (!existing) FLex.Fail("inherited component '" + Name + "' not found", Line);
            return existing;
        }
        TClassRegistry& registry = TClassRegistry::Instance();
        if (!registry.IsRegistered(ClassName)) FLex.Fail("class " + ClassName + " not found", Line);
        TComponent* component = nullptr;
        try {
            component = registry.Create(ClassName, &FRoot);
        } catch (const std::exception& e) {
            FLex.Fail(e.what(), Line);
        }
        component->SetName(Name);
        component->BeginLoading();  // before it joins its parent, which would otherwise start its measuring
        if (auto* win = dynamic_cast<TWinControl*>(component)) {
            win->DisableAlign();
            FAligned.push_back(win);
        }
        if (auto* control = dynamic_cast<TControl*>(component)) {
            auto* parent = dynamic_cast<TWinControl*>(Enclosing);
            if (!parent) FLex.Fail(Name + " cannot be put into " + Enclosing->Name(), Line);
            control->SetParent(parent);
        }
        return component;
    }

    void ReadProperty(TComponent& Component, const std::string& ClassName)
    {
        const int line = FLex.Current().Line;
        const std::string property = FLex.ExpectIdent("property name");
        FLex.ExpectSymbol('=');
        const TLayoutValue value = ReadValue();
        const TClassRegistry& registry = TClassRegistry::Instance();
        if (const TReferenceSetter* reference = registry.FindReference(ClassName, property)) {
            if (value.Kind != TLayoutValue::vkIdent) FLex.Fail(property + ": a component name is expected", line);
            FReferences.push_back(TReference{&Component, reference, property, value.Text, line});
            return;
        }
        const TPropertySetter* setter = registry.FindProperty(ClassName, property);
        if (!setter) FLex.Fail("unknown property " + property + " of " + ClassName, line);
        try {
            (*setter)(Component, value, FBindings);
        } catch (const std::exception& e) {
            FLex.Fail(property + ": " + e.what(), line);
        }
    }

    std::string ReadStringValue()
    {
        std::string utf8 = FLex.Take().Text;
        while (FLex.IsSymbol('+')) {
            FLex.Take();
            if (FLex.Current().Kind != TToken::tkString) FLex.Fail("string expected after '+'");
            utf8 += FLex.Take().Text;
        }
        try {
            return Utf8ToAnsi(utf8);
        } catch (const std::exception& e) {
            FLex.Fail(e.what());
        }
    }

    TLayoutValue ReadValue()
    {
        TLayoutValue value;
        const TToken& token = FLex.Current();
        switch (token.Kind) {
        case TToken::tkInteger:
            value.Kind = TLayoutValue::vkInteger;
            value.Integer = FLex.Take().Integer;
            break;
        case TToken::tkString:
            value.Kind = TLayoutValue::vkString;
            value.Text = ReadStringValue();
            break;
        case TToken::tkIdent:
            value.Kind = TLayoutValue::vkIdent;
            value.Text = FLex.Take().Text;
            break;
        case TToken::tkBinary:
            value.Kind = TLayoutValue::vkBinary;
            value.Text = FLex.Take().Text;
            break;
        case TToken::tkSymbol:
            if (FLex.IsSymbol('[')) {
                ReadSet(value);
            } else if (FLex.IsSymbol('(')) {
                ReadStrings(value);
            } else {
                FLex.Fail("value expected");
            }
            break;
        case TToken::tkEnd: FLex.Fail("value expected");
        }
        return value;
    }

    void ReadSet(TLayoutValue& Value)
    {
        Value.Kind = TLayoutValue::vkSet;
        FLex.ExpectSymbol('[');
        while (!FLex.IsSymbol(']')) {
            Value.Items.push_back(FLex.ExpectIdent("set element"));
            if (!FLex.IsSymbol(']')) FLex.ExpectSymbol(',');
        }
        FLex.Take();
    }

    void ReadStrings(TLayoutValue& Value)
    {
        Value.Kind = TLayoutValue::vkStrings;
        FLex.ExpectSymbol('(');
        while (!FLex.IsSymbol(')')) {
            if (FLex.Current().Kind != TToken::tkString) FLex.Fail("string expected in the list");
            Value.Items.push_back(ReadStringValue());
        }
        FLex.Take();
    }

    // References, fields, then Loaded, then the tab order, once every component of the layout is there.
    void Finish()
    {
        for (const TReference& reference : FReferences) {
            TComponent* target = FRoot.FindComponent(reference.Target);
            if (!target)
                FLex.Fail(reference.Property + ": component '" + reference.Target + "' not found", reference.Line);
            try {
                (*reference.Setter)(*reference.Component, *target);
            } catch (const std::exception& e) {
                FLex.Fail(reference.Property + ": " + e.what(), reference.Line);
            }
        }
        for (const TRead& read : FRead) {
            if (read.Component == &FRoot || read.Component->Name().empty()) continue;
            try {
                FBindings.BindField(read.Component->Name(), read.Component);
            } catch (const std::exception& e) {
                FLex.Fail(e.what(), read.Line);
            }
        }
        for (const TRead& read : FRead) read.Component->Loaded();
        for (const TRead& read : FRead)
            if (auto* win = dynamic_cast<TWinControl*>(read.Component)) win->FixupTabList();
    }

    void EnableAlignment()
    {
        for (TWinControl* win : FAligned) win->EnableAlign();
        FAligned.clear();
    }

    TWinControl& FRoot;
    const TLayoutBindings& FBindings;
    TLexer FLex;
    std::vector<TRead> FRead;
    std::vector<TReference> FReferences;
    std::vector<TWinControl*> FAligned;
};

}  // namespace

// ---------------------------------------------------------------------------------------------------------------
// Values

bool TLayoutValue::AsBool() const
{
    if (Kind == vkIdent && SameIdent(Text, "True")) return true;
    if (Kind == vkIdent && SameIdent(Text, "False")) return false;
    BadValue(*this, "True or False");
}

int TLayoutValue::AsInt() const
{
    if (Kind == vkInteger) {
        // Colours may be written as unsigned 32-bit numbers.
        if (Integer < INT_MIN || Integer > static_cast<long long>(UINT_MAX)) BadValue(*this, "a 32-bit integer");
        return static_cast<int>(static_cast<uint32_t>(Integer));
    }
    if (Kind == vkIdent) {
        const auto& constants = IntegerConstants();
        auto found = constants.find(LowerAscii(Text));
        if (found != constants.end()) return found->second;
    }
    BadValue(*this, "an integer");
}

const std::string& TLayoutValue::AsString() const
{
    if (Kind != vkString) BadValue(*this, "a string");
    return Text;
}

std::string TLayoutValue::AsLines() const
{
    if (Kind != vkStrings) throw EConvertError("a list of strings is expected");
    std::string text;
    for (const std::string& line : Items) text += line + "\r\n";
    return text;
}

int TLayoutValue::AsEnum(const char* const* Names, size_t Count) const
{
    if (Kind == vkIdent)
        for (size_t i = 0; i < Count; ++i)
            if (SameIdent(Text, Names[i])) return static_cast<int>(i);
    BadValue(*this, "a valid value here");
}

unsigned TLayoutValue::AsSet(const char* const* Names, size_t Count) const
{
    if (Kind != vkSet) BadValue(*this, "a set");
    unsigned bits = 0;
    for (const std::string& item : Items) {
        TLayoutValue element;
        element.Kind = vkIdent;
        element.Text = item;
        bits |= 1u << element.AsEnum(Names, Count);
    }
    return bits;
}

// ---------------------------------------------------------------------------------------------------------------
// Registry

namespace {

void RegisterControlProperties(TClassRegistry& R)
{
    RegisterLayoutSetter(R, "TComponent", "Tag", &TComponent::SetTag);
    const std::string cls = "TControl";
    RegisterLayoutSetter(R, cls, "Left", &TControl::SetLeft);
    RegisterLayoutSetter(R, cls, "Top", &TControl::SetTop);
    RegisterLayoutSetter(R, cls, "Width", &TControl::SetWidth);
    RegisterLayoutSetter(R, cls, "Height", &TControl::SetHeight);
    RegisterLayoutSetter(R, cls, "ClientWidth", &TControl::SetClientWidth);
    RegisterLayoutSetter(R, cls, "ClientHeight", &TControl::SetClientHeight);
    RegisterLayoutSetter(R, cls, "Align", &TControl::SetAlign, AlignNames);
    RegisterLayoutSetter(R, cls, "Anchors", &TControl::SetAnchors, AnchorNames);
    RegisterLayoutSetter(R, cls, "Caption", &TControl::SetCaption);
    RegisterLayoutSetter(R, cls, "Color", &TControl::SetColor);
    RegisterLayoutSetter(R, cls, "ParentColor", &TControl::SetParentColor);
    RegisterLayoutSetter(R, cls, "ParentFont", &TControl::SetParentFont);
    RegisterLayoutSetter(R, cls, "Font.Name", &TControl::Font, &TFont::SetName);
    RegisterLayoutSetter(R, cls, "Font.Height", &TControl::Font, &TFont::SetHeight);
    RegisterLayoutSetter(R, cls, "Font.Size", &TControl::Font, &TFont::SetSize);
    RegisterLayoutSetter(R, cls, "Font.Style", &TControl::Font, &TFont::SetStyle, FontStyleNames);
    RegisterLayoutSetter(R, cls, "Font.Color", &TControl::Font, &TFont::SetColor);
    RegisterLayoutSetter(R, cls, "Font.Charset", &TControl::Font, &TFont::SetCharset);
    RegisterLayoutSetter(R, cls, "Visible", &TControl::SetVisible);
    RegisterLayoutSetter(R, cls, "Enabled", &TControl::SetEnabled);
    RegisterLayoutSetter(R, cls, "Hint", &TControl::SetHint);
    RegisterLayoutSetter(R, cls, "ShowHint", &TControl::SetShowHint);
    RegisterLayoutProperty<TControl>(R, cls, "OnClick", [](TControl& c, const TLayoutValue& v, const TLayoutBindings& b) {
        c.OnClick = LayoutEvent<TNotifyEvent>(b, v);
    });

    const std::string win = "TWinControl";
    RegisterLayoutSetter(R, win, "TabOrder", &TWinControl::SetTabOrder);
    RegisterLayoutSetter(R, win, "TabStop", &TWinControl::SetTabStop);
    RegisterLayoutSetter(R, win, "DoubleBuffered", &TWinControl::SetDoubleBuffered);
}

}  // namespace

struct TClassRegistry::TClassEntry {
    std::string Name;
    std::string Base;
    std::function<TComponent*(TComponent*)> Factory;
    std::map<std::string, TPropertySetter> Properties;  // by lower-case name
    std::map<std::string, TReferenceSetter> References;
};

TClassRegistry& TClassRegistry::Instance()
{
    static TClassRegistry registry;
    return registry;
}

// The reader places controls itself, so the tables of their base classes are always there; the units of
// concrete classes are registered by the program.
TClassRegistry::TClassRegistry() : FClasses(new std::vector<TClassEntry>)
{
    RegisterClass("TComponent", "", nullptr);
    RegisterClass("TControl", "TComponent", nullptr);
    RegisterClass("TGraphicControl", "TControl", nullptr);
    RegisterClass("TWinControl", "TControl", nullptr);
    RegisterControlProperties(*this);
}

TClassRegistry::~TClassRegistry() { delete FClasses; }

void TClassRegistry::RegisterClass(const std::string& ClassName, const std::string& BaseClassName,
                                   std::function<TComponent*(TComponent* Owner)> Factory)
{
    for (TClassEntry& entry : *FClasses) {
        if (!SameIdent(entry.Name, ClassName)) continue;
        entry.Base = BaseClassName;
        entry.Factory = std::move(Factory);
        return;
    }
    FClasses->push_back(TClassEntry{ClassName, BaseClassName, std::move(Factory), {}, {}});
}

TClassRegistry::TClassEntry& TClassRegistry::Entry(const std::string& ClassName)
{
    for (TClassEntry& entry : *FClasses)
        if (SameIdent(entry.Name, ClassName)) return entry;
    throw Exception("class " + ClassName + " is not registered");
}

const TClassRegistry::TClassEntry* TClassRegistry::FindEntry(const std::string& ClassName) const
{
    for (const TClassEntry& entry : *FClasses)
        if (SameIdent(entry.Name, ClassName)) return &entry;
    return nullptr;
}

void TClassRegistry::RegisterProperty(const std::string& ClassName, const std::string& Property,
                                      TPropertySetter Setter)
{
    Entry(ClassName).Properties[LowerAscii(Property)] = std::move(Setter);
}

void TClassRegistry::RegisterReference(const std::string& ClassName, const std::string& Property,
                                       TReferenceSetter Setter)
{
    Entry(ClassName).References[LowerAscii(Property)] = std::move(Setter);
}

bool TClassRegistry::IsRegistered(const std::string& ClassName) const { return FindEntry(ClassName) != nullptr; }

TComponent* TClassRegistry::Create(const std::string& ClassName, TComponent* Owner) const
{
    const TClassEntry* entry = FindEntry(ClassName);
    if (!entry) throw EResourceError("class " + ClassName + " not found");
    if (!entry->Factory) throw EResourceError("class " + ClassName + " cannot be created");
    return entry->Factory(Owner);
}

template <class TSetter>
const TSetter* TClassRegistry::FindAlongBases(const std::string& ClassName, const std::string& Property,
                                              std::map<std::string, TSetter> TClassEntry::*Table) const
{
    const std::string key = LowerAscii(Property);
    std::string current = ClassName;
    // Guards against a base-class cycle in the tables.
    for (size_t depth = 0; !current.empty() && depth <= FClasses->size(); ++depth) {
        const TClassEntry* entry = FindEntry(current);
        if (!entry) return nullptr;
        auto found = (entry->*Table).find(key);
        if (found != (entry->*Table).end()) return &found->second;
        current = entry->Base;
    }
    return nullptr;
}

const TPropertySetter* TClassRegistry::FindProperty(const std::string& ClassName, const std::string& Property) const
{
    return FindAlongBases(ClassName, Property, &TClassEntry::Properties);
}

const TReferenceSetter* TClassRegistry::FindReference(const std::string& ClassName, const std::string& Property) const
{
    return FindAlongBases(ClassName, Property, &TClassEntry::References);
}

// ---------------------------------------------------------------------------------------------------------------

// Bindings

namespace {

bool SameName(const std::string& A, const std::string& B)
{
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, A.c_str(), -1, B.c_str(), -1) == CSTR_EQUAL;
}

}  // namespace

const std::any& TLayoutBindings::FindMethod(const std::string& Name) const
{
    for (const auto& entry : FMethods)
        if (SameName(entry.first, Name)) return entry.second;
    throw EResourceError("published method '" + Name + "' not found");
}

void TLayoutBindings::BindField(const std::string& Name, TComponent* Component) const
{
    for (const auto& entry : FFields) {
        if (!SameName(entry.first, Name)) continue;
        if (!entry.second(Component)) throw EResourceError("field '" + Name + "' does not fit the component's class");
        return;
    }
    // A name the program cannot reach is a mistake in the layout or in the form's class, never meant.
    throw EResourceError("no published field '" + Name + "'");
}

const std::any& FindLayoutMethod(const TLayoutBindings& Bindings, const TLayoutValue& Value)
{
    if (Value.Kind != TLayoutValue::vkIdent) throw EConvertError("a method name is expected");
    return Bindings.FindMethod(Value.Text);
}

// ---------------------------------------------------------------------------------------------------------------

void ReadLayoutText(TWinControl& Root, const TLayoutBindings& Bindings, const std::string& Utf8Text,
                    const std::string& SourceName)
{
    TLayoutReader(Root, Bindings, Utf8Text, SourceName).Read();
}

void ReadLayout(TWinControl& Root, const TLayoutBindings& Bindings, const std::string& ResourceName)
{
    const HMODULE module = GetModuleHandleA(nullptr);
    HRSRC info = FindResourceA(module, ResourceName.c_str(), RT_RCDATA);
    if (!info) throw EResourceError("layout resource " + ResourceName + " not found");
    HGLOBAL data = LoadResource(module, info);
    const char* bytes = data ? static_cast<const char*>(LockResource(data)) : nullptr;
    if (!bytes) throw EResourceError("layout resource " + ResourceName + " cannot be loaded");
    ReadLayoutText(Root, Bindings, std::string(bytes, SizeofResource(module, info)), ResourceName);
}
