// Stored layouts read onto real forms: values, creation, parents, alignment, bound fields and events, inherited
// layouts, resources, and errors that name the resource and the line.
#include "CoreSupport.h"
#include "ExtCtrls.h"
#include "LayoutReader.h"
#include "StdCtrls.h"
#include "PublishedNames.h"

using namespace coretest;

namespace {

// Keeps the raw values that the reader hands over.
class TProbe : public TComponent {
public:
    using TComponent::TComponent;
    int Number = 0;
    std::vector<std::string> Lines;
    std::string Data;
    int LoadedCalls = 0;
    TComponent* Buddy = nullptr;
    bool BuddyBeforeLoaded = false;
    void Loaded() override
    {
        TComponent::Loaded();
        ++LoadedCalls;
        BuddyBeforeLoaded = Buddy != nullptr;
    }
};

void RegisterProbe()
{
    TClassRegistry& registry = TClassRegistry::Instance();
    if (registry.IsRegistered("TCoreProbe")) return;
    registry.RegisterClass("TCoreProbe", "TComponent", [](TComponent* Owner) { return new TProbe(Owner); });
    RegisterLayoutProperty<TProbe>(registry, "TCoreProbe", "Number",
                                   [](TProbe& p, const TLayoutValue& v) { p.Number = v.AsInt(); });
    RegisterLayoutProperty<TProbe>(registry, "TCoreProbe", "Lines.Strings", [](TProbe& p, const TLayoutValue& v) {
        if (v.Kind != TLayoutValue::vkStrings) throw EConvertError("a string list is expected");
        p.Lines = v.Items;
    });
    RegisterLayoutReference<TProbe, TPanel>(registry, "TCoreProbe", "Buddy",
                                            [](TProbe& p, TPanel& Target) { p.Buddy = &Target; });
    RegisterLayoutProperty<TProbe>(registry, "TCoreProbe", "Data", [](TProbe& p, const TLayoutValue& v) {
        if (v.Kind != TLayoutValue::vkBinary) throw EConvertError("binary data is expected");
        p.Data = v.Text;
    });
}

class TLayoutForm : public TForm {
public:
    explicit TLayoutForm(TComponent* AOwner) : TForm(AOwner)
    {
        PublishField("Panel1", Panel1);
        PublishField("Button1", Button1);
        PublishField("Label1", Label1);
        PublishMethod("Button1Click", TNotifyEvent([this](TObject*) { ++Clicks; }));
        PublishMethod("FormCloseQuery", TCloseQueryEvent([](TObject*, bool& CanClose) { CanClose = false; }));
    }
    const testsupport::TPublishedNames Others{*this, {"Probe", "Top1", "Extra", "Later", "Other"}};
    TPanel* Panel1 = nullptr;
    TButton* Button1 = nullptr;
    TLabel* Label1 = nullptr;
    int Clicks = 0;
};

std::unique_ptr<TLayoutForm> Read(const std::string& Utf8)
{
    RegisterProbe();
    auto form = std::make_unique<TLayoutForm>(nullptr);
    ReadFormLayoutText(*form, Utf8, "TEST.DFM");
    return form;
}

// The message of the failure that reading a layout gives, or a note that it did not fail.
std::string ErrorOf(const std::string& Utf8)
{
    try {
        Read(Utf8);
    } catch (const EResourceError& e) {
        return e.what();
    }
    return "no error";
}

const char* const FullLayout = u8R"(object LayoutForm: TLayoutForm
  Caption = '卸载' +
    'Quintaro'
  ClientWidth = 400
  ClientHeight = 300
  BorderStyle = bsDialog
  BorderIcons = [biSystemMenu]
  Color = clBtnFace
  Font.Charset = GB2312_CHARSET
  Font.Height = -13
  Font.Name = '宋体'
  OldCreateOrder = False
  OnCloseQuery = FormCloseQuery
  PixelsPerInch = 96
  object Panel1: TPanel
    Left = 0
    Top = 0
    Width = 400
    Height = 40
    Align = alBottom
    Color = 15724527
    TabOrder = 1
    object Button1: TButton
      Left = 300
      Top = 8
      Width = 66
      Height = 23
      Anchors = [akRight, akBottom]
      Caption = 'It''s'#13#10'ok'
      TabOrder = 0
      OnClick = Button1Click
    end
  end
  object Label1: TLabel
    Tag = -1
    Left = 10
    Top = 60
    Caption = '您好'
    Font.Height = -15
    Font.Style = [fsBold]
  end
  object Probe: TCoreProbe
    Number = -16777201
    Lines.Strings = (
      'one'
      '二')
    Data = {
      0A0B
      0C}
  end
  object Top1: TPanel
    Height = 20
    Align = alTop
    TabOrder = 0
  end
end
)";

class LayoutReader : public ::testing::Test {
protected:
    void TearDown() override { Pump(); }
};

}  // namespace

TEST_F(LayoutReader, AFormLayoutCreatesSetsAndBinds)
{
    auto form = Read(FullLayout);
    EXPECT_EQ("LayoutForm", form->Name());
    EXPECT_EQ("卸载Quintaro", form->Caption()) << "UTF-8 in the layout, GBK in the program";
    EXPECT_EQ(bsDialog, form->BorderStyle());
    EXPECT_EQ(TBorderIcons(biSystemMenu), form->BorderIcons());
    EXPECT_EQ(clBtnFace, form->Color());
    EXPECT_EQ("宋体", form->Font().Name());
    EXPECT_EQ(GB2312_CHARSET, form->Font().Charset());
    ASSERT_TRUE(form->OnCloseQuery);

    ASSERT_NE(nullptr, form->Panel1);
    ASSERT_NE(nullptr, form->Button1);
    ASSERT_NE(nullptr, form->Label1);
    EXPECT_EQ(form->FindComponent("Panel1"), form->Panel1);
    EXPECT_EQ(form.get(), form->Button1->Owner()) << "the form owns every component of its layout";
    EXPECT_EQ(form->Panel1, form->Button1->Parent());
    EXPECT_EQ(form.get(), form->Label1->Parent());
    EXPECT_EQ("It's\r\nok", form->Button1->Caption());
    form->Button1->Click();
    EXPECT_EQ(1, form->Clicks);

    EXPECT_EQ(-1, form->Label1->Tag());
    EXPECT_EQ("您好", form->Label1->Caption());
    EXPECT_EQ(-15, form->Label1->Font().Height());
    EXPECT_EQ(TFontStyles(fsBold), form->Label1->Font().Style());
    EXPECT_FALSE(form->Label1->ParentFont()) << "a font of its own";
    EXPECT_EQ(-13, form->Button1->Font().Height()) << "the others follow the form's font";

    auto* probe = dynamic_cast<TProbe*>(form->FindComponent("Probe"));
    ASSERT_NE(nullptr, probe);
    EXPECT_EQ(static_cast<int>(0xFF00000F), probe->Number);
    EXPECT_EQ((std::vector<std::string>{"one", "二"}), probe->Lines);
    EXPECT_EQ(std::string("\x0A\x0B\x0C"), probe->Data);
    EXPECT_EQ(1, probe->LoadedCalls);

    auto* top = dynamic_cast<TPanel*>(form->FindComponent("Top1"));
    ASSERT_NE(nullptr, top);
    EXPECT_EQ(0, top->TabOrder()) << "tab order as stored, not as created";
    EXPECT_EQ(1, form->Panel1->TabOrder());

    form->HandleNeeded();
    RECT client{};
    GetClientRect(form->Handle(), &client);
    EXPECT_EQ("0,0,400,300", Bounds(client));
    EXPECT_EQ("0,0,400,20", Bounds(*top));
    EXPECT_EQ("0,260,400,300", Bounds(*form->Panel1));
    EXPECT_EQ("300,8,366,31", Bounds(*form->Button1));
    form->SetClientWidth(500);
    EXPECT_EQ("400,8,466,31", Bounds(*form->Button1)) << "anchored to the right edge";
}

TEST_F(LayoutReader, AnInheritedLayoutChangesWhatTheBaseCreated)
{
    auto form = Read(u8"object Base: TLayoutForm\n  Caption = 'base'\n  object Panel1: TPanel\n    Height = 10\n"
                     u8"  end\nend\n");
    ReadFormLayoutText(*form,
                       u8"inherited Derived: TLayoutForm\n  Caption = 'derived'\n  inherited Panel1: TPanel\n"
                       u8"    Height = 30\n  end\n  object Extra: TPanel\n  end\nend\n",
                       "DERIVED.DFM");
    EXPECT_EQ("Derived", form->Name());
    EXPECT_EQ("derived", form->Caption());
    EXPECT_EQ(30, form->Panel1->Height());
    EXPECT_EQ(2, form->ComponentCount()) << "Panel1 and Extra";
}

TEST_F(LayoutReader, AReferenceMayNameAComponentDeclaredFurtherDown)
{
    auto form = Read(u8"object F: TLayoutForm\n  object Probe: TCoreProbe\n    Buddy = Later\n  end\n"
                     u8"  object Later: TPanel\n  end\nend\n");
    auto* probe = dynamic_cast<TProbe*>(form->FindComponent("Probe"));
    ASSERT_NE(nullptr, probe);
    EXPECT_EQ(form->FindComponent("Later"), probe->Buddy);
    EXPECT_TRUE(probe->BuddyBeforeLoaded) << "resolved before Loaded";
    EXPECT_EQ("TEST.DFM, line 3: Buddy: component 'Nobody' not found",
              ErrorOf(u8"object F: TLayoutForm\n  object Probe: TCoreProbe\n    Buddy = Nobody\n  end\nend\n"));
    EXPECT_EQ("TEST.DFM, line 3: Buddy: 'Other' does not fit this property",
              ErrorOf(u8"object F: TLayoutForm\n  object Probe: TCoreProbe\n    Buddy = Other\n  end\n"
                      u8"  object Other: TCoreProbe\n  end\nend\n"));
}

TEST_F(LayoutReader, NumbersAreDecimalOrDollarHexadecimalInEitherCase)
{
    EXPECT_EQ(0x7FFFABCD, Read("object F: TLayoutForm\n  Tag = $7fffABCD\nend\n")->Tag());
    EXPECT_EQ(-255, Read("object F: TLayoutForm\n  Tag = -$FF\nend\n")->Tag());
    EXPECT_EQ(-2147483647 - 1, Read("object F: TLayoutForm\n  Tag = -2147483648\nend\n")->Tag());
}

TEST_F(LayoutReader, BadLayoutsFailWithTheResourceAndTheLine)
{
    EXPECT_EQ("TEST.DFM, line 3: class TNoSuchClass not found",
              ErrorOf("object F: TLayoutForm\n  Caption = 'x'\n  object P: TNoSuchClass\n  end\nend\n"));
    EXPECT_EQ("TEST.DFM, line 2: unknown property Colour of TForm",
              ErrorOf("object F: TLayoutForm\n  Colour = clRed\nend\n"));
    EXPECT_EQ("TEST.DFM, line 4: unknown property Bevel of TButton",
              ErrorOf("object F: TLayoutForm\n  object B: TButton\n    Left = 1\n    Bevel = 2\n  end\nend\n"));
    const std::string badValue = ErrorOf("object F: TLayoutForm\n\n  object P: TPanel\n    Align = alMiddle\n  end\nend");
    EXPECT_EQ(0u, badValue.find("TEST.DFM, line 4: Align:")) << badValue;
    EXPECT_NE(std::string::npos, badValue.find("alMiddle"));
    const std::string noMethod = ErrorOf("object F: TLayoutForm\n  OnShow = FormShow\nend\n");
    EXPECT_EQ(0u, noMethod.find("TEST.DFM, line 2:")) << noMethod;
    EXPECT_NE(std::string::npos, noMethod.find("FormShow"));
    const std::string wrongKind = ErrorOf("object F: TLayoutForm\n  OnCloseQuery = Button1Click\nend\n");
    EXPECT_NE(std::string::npos, wrongKind.find("Button1Click")) << wrongKind;
    EXPECT_EQ("TEST.DFM, line 2: unterminated string", ErrorOf("object F: TLayoutForm\n  Caption = 'open\nend\n"));
    EXPECT_EQ("TEST.DFM, line 2: inherited component 'Gone' not found",
              ErrorOf("object F: TLayoutForm\n  inherited Gone: TPanel\n  end\nend\n"));
    EXPECT_EQ("TEST.DFM, line 3: 'end' expected", ErrorOf("object F: TLayoutForm\n  Caption = 'x'\n"));
    EXPECT_EQ("TEST.DFM, line 2: bad number", ErrorOf("object F: TLayoutForm\n  Tag = $8000000000000000\nend\n"));
    EXPECT_EQ("TEST.DFM, line 4: no published field 'Stray'",
              ErrorOf("object F: TLayoutForm\n  object Panel1: TPanel\n  end\n  object Stray: TPanel\n  end\nend\n"))
        << "a name the form's class does not publish is a mistake, not a component to leave unbound";
    const std::string wrongField = ErrorOf("object F: TLayoutForm\n  object Panel1: TLabel\n  end\nend\n");
    EXPECT_EQ(0u, wrongField.find("TEST.DFM, line 2:")) << wrongField;
}

// The root form's layout resource, read onto a plain form that publishes its show handler.
class TRootLayoutForm : public TForm {
public:
    explicit TRootLayoutForm(TComponent* AOwner) : TForm(AOwner)
    {
        AddLayout("TLICENSEROOTFORM");
        PublishMethod("FormShow", TNotifyEvent([this](TObject*) { ++Shows; }));
        OnCreate = [this](TObject*) {
            CaptionAtCreate = Caption();
            if (FailCreate) throw Exception("no create");
        };
    }
    ~TRootLayoutForm() override { ++Freed; }
    int Shows = 0;
    std::string CaptionAtCreate;
    static bool FailCreate;
    static int Freed;
};
bool TRootLayoutForm::FailCreate = false;
int TRootLayoutForm::Freed = 0;

TEST_F(LayoutReader, FormsReadTheirResourcesBeforeOnCreate)
{
    auto form = std::unique_ptr<TRootLayoutForm>(TCustomForm::Create<TRootLayoutForm>(nullptr));
    EXPECT_EQ("VelRootForm", form->CaptionAtCreate);
    EXPECT_EQ(696, form->Width());
    EXPECT_EQ(465, form->Height());
    EXPECT_EQ("宋体", form->Font().Name());
    EXPECT_EQ(-12, form->Font().Height());
    EXPECT_EQ(ANSI_CHARSET, form->Font().Charset());
    ASSERT_TRUE(form->OnShow);
    form->OnShow(form.get());
    EXPECT_EQ(1, form->Shows);

    TRootLayoutForm::FailCreate = true;
    const int freed = TRootLayoutForm::Freed;
    EXPECT_THROW(TCustomForm::Create<TRootLayoutForm>(nullptr), Exception) << "OnCreate's failure reaches the creator";
    EXPECT_EQ(freed + 1, TRootLayoutForm::Freed) << "and the half-made form is freed";
    TRootLayoutForm::FailCreate = false;

    TForm plain(nullptr);
    try {
        ReadFormLayout(plain, "NOSUCHLAYOUT");
        ADD_FAILURE() << "no error";
    } catch (const EResourceError& e) {
        EXPECT_NE(std::string::npos, std::string(e.what()).find("NOSUCHLAYOUT"));
    }
}
