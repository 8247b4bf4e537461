// The input controls on real windows with real input (keys and clicks through the system's queue), read from a
// stored layout as another program's settings dialog would be.
#include <gtest/gtest.h>
#include <windows.h>

#include "InputCtrls.h"
#include "LayoutReader.h"
#include "StdCtrls.h"
#include "StockSupport.h"
#include "WindowSupport.h"

namespace {

using testsupport::TypeKeys;
using testsupport::TypeText;

const char* const DialogLayout = u8R"(object SettingsForm: TSettingsForm
  ClientWidth = 320
  ClientHeight = 220
  Caption = '设置'
  object LabelName: TLabel
    Left = 8
    Top = 12
    Caption = '名称(&N)：'
    FocusControl = EditName
  end
  object EditName: TEdit
    Left = 80
    Top = 8
    Width = 120
    Text = 'abc'
    MaxLength = 5
    OnChange = EditNameChange
  end
  object EditSecret: TEdit
    Left = 80
    Top = 36
    PasswordChar = '*'
  end
  object CheckProxy: TCheckBox
    Left = 8
    Top = 64
    Caption = '使用代理(&X)'
    Checked = True
  end
  object GroupMode: TGroupBox
    Left = 8
    Top = 88
    Width = 200
    Height = 70
    Caption = '方式(&M)'
    object RadioA: TRadioButton
      Left = 8
      Top = 20
      Caption = 'A'
      Checked = True
    end
    object RadioB: TRadioButton
      Left = 8
      Top = 42
      Caption = 'B'
    end
  end
  object RadioOutside: TRadioButton
    Left = 216
    Top = 64
    Caption = 'C'
    Checked = True
  end
  object ComboLanguage: TComboBox
    Left = 80
    Top = 164
    Style = csDropDownList
    ItemIndex = 1
    Items.Strings = (
      '简体中文'
      'English'
      '日本語')
    OnChange = ComboLanguageChange
  end
  object BtnOK: TButton
    Left = 150
    Top = 190
    Caption = '确定(&O)'
    Default = True
    ModalResult = 1
  end
  object BtnCancel: TButton
    Left = 235
    Top = 190
    Caption = '取消'
    Cancel = True
    ModalResult = 2
  end
end
)";

// The application's loop, which gives the form its dialog keys and mnemonics, for at least Milliseconds.
void Pump(DWORD Milliseconds = 30)
{
    const DWORD start = GetTickCount();
    do {
        Application->ProcessMessages();
        Sleep(5);
    } while (GetTickCount() - start < Milliseconds);
}

class TSettingsForm : public TForm {
public:
    explicit TSettingsForm(TComponent* AOwner) : TForm(AOwner)
    {
        PublishField("LabelName", LabelName);
        PublishField("EditName", EditName);
        PublishField("EditSecret", EditSecret);
        PublishField("CheckProxy", CheckProxy);
        PublishField("GroupMode", GroupMode);
        PublishField("RadioA", RadioA);
        PublishField("RadioB", RadioB);
        PublishField("RadioOutside", RadioOutside);
        PublishField("ComboLanguage", ComboLanguage);
        PublishField("BtnOK", BtnOK);
        PublishField("BtnCancel", BtnCancel);
        PublishMethod("EditNameChange", TNotifyEvent([this](TObject*) { ++NameChanges; }));
        PublishMethod("ComboLanguageChange", TNotifyEvent([this](TObject*) { ++LanguageChanges; }));
    }
    TLabel* LabelName = nullptr;
    TEdit *EditName = nullptr, *EditSecret = nullptr;
    TCheckBox* CheckProxy = nullptr;
    TGroupBox* GroupMode = nullptr;
    TRadioButton *RadioA = nullptr, *RadioB = nullptr, *RadioOutside = nullptr;
    TComboBox* ComboLanguage = nullptr;
    TButton *BtnOK = nullptr, *BtnCancel = nullptr;
    int NameChanges = 0, LanguageChanges = 0;
};

class InputCtrls : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!Application) Application = new TApplication(nullptr);
        RegisterInputCtrlsClasses(TClassRegistry::Instance());
    }
    void SetUp() override
    {
        SetCursorPos(799, 599);
        Form.reset(new TSettingsForm(nullptr));
        ReadFormLayoutText(*Form, DialogLayout, "SETTINGS.DFM");
        Form->SetBorderStyle(bsNone);
        Form->SetLeft(40);
        Form->SetTop(40);
        Form->Show();
        SetForegroundWindow(Form->Handle());
        Pump();
    }
    void TearDown() override
    {
        Form.reset();
        Pump();
    }
    // Keys, then the messages they cause.
    void Type(std::initializer_list<WORD> Keys, std::initializer_list<WORD> Held = {})
    {
        TypeKeys(Keys, Held);
        Pump(100);
    }
    void ClickOn(TControl* Control, int X, int Y)
    {
        testsupport::ClickAt(Control->ClientToScreen(POINT{X, Y}));
        Pump(100);
    }
    HWND Focus() const { return GetFocus(); }

    std::unique_ptr<TSettingsForm> Form;
};

TEST_F(InputCtrls, TextEntryKeepsToMaxLengthAndTellsEveryChange)
{
    TEdit* edit = Form->EditName;
    EXPECT_EQ("abc", edit->Text());
    edit->SetFocus();
    Pump();
    EXPECT_EQ(0, edit->Perform(EM_GETSEL) & 0xFFFF) << "focus by program or key selects the whole text";
    EXPECT_EQ(3, HIWORD(edit->Perform(EM_GETSEL)));
    const int before = Form->NameChanges;
    TypeText("xyz12345");
    Pump(200);
    EXPECT_EQ("xyz12", edit->Text()) << "typing replaced the selection and stopped at MaxLength";
    EXPECT_LE(before + 5, Form->NameChanges);
    edit->SetText("0123456789");
    EXPECT_EQ("0123456789", edit->Text()) << "the program's text is not cut";

    EXPECT_EQ('*', Form->EditSecret->Perform(EM_GETPASSWORDCHAR));
    Form->EditSecret->SetFocus();
    TypeText("pw");
    Pump(100);
    EXPECT_EQ("pw", Form->EditSecret->Text());

    edit->SetReadOnly(true);
    edit->SetFocus();
    TypeText("q");
    Pump(100);
    EXPECT_EQ("0123456789", edit->Text());
}

TEST_F(InputCtrls, CheckAndRadioStateFollowClicksSpaceAndArrows)
{
    TCheckBox* check = Form->CheckProxy;
    EXPECT_TRUE(check->Checked());
    EXPECT_EQ(BST_CHECKED, check->Perform(BM_GETCHECK)) << "the layout's state reached the system control";
    int clicks = 0;
    check->OnClick = [&clicks](TObject*) { ++clicks; };
    ClickOn(check, 6, 8);
    EXPECT_FALSE(check->Checked());
    EXPECT_EQ(BST_UNCHECKED, check->Perform(BM_GETCHECK));
    EXPECT_EQ(check->Handle(), Focus());
    Type({VK_SPACE});
    EXPECT_TRUE(check->Checked());
    check->SetChecked(false);
    EXPECT_EQ(3, clicks) << "OnClick follows every change, the program's too";

    // Radio buttons are grouped by parent: the one outside the group box stays checked.
    EXPECT_TRUE(Form->RadioA->Checked());
    EXPECT_TRUE(Form->RadioOutside->Checked());
    EXPECT_TRUE(Form->RadioA->TabStop());
    EXPECT_FALSE(Form->RadioB->TabStop()) << "only the checked button of a group is a tab stop";
    ClickOn(Form->RadioB, 6, 8);
    EXPECT_TRUE(Form->RadioB->Checked());
    EXPECT_FALSE(Form->RadioA->Checked());
    EXPECT_TRUE(Form->RadioOutside->Checked());
    Type({VK_DOWN});
    EXPECT_EQ(Form->RadioA->Handle(), Focus()) << "the arrows go round the group";
    EXPECT_TRUE(Form->RadioA->Checked());
    EXPECT_FALSE(Form->RadioB->Checked());
}

TEST_F(InputCtrls, DropDownSelectionByKeysAndByTheOpenedList)
{
    TComboBox* combo = Form->ComboLanguage;
    EXPECT_EQ(1, combo->ItemIndex()) << "an index read before the items holds once they are there";
    EXPECT_EQ("English", combo->Text());
    EXPECT_EQ(3, combo->Perform(CB_GETCOUNT));
    combo->SetFocus();
    Type({VK_DOWN});
    EXPECT_EQ(2, combo->ItemIndex());
    EXPECT_EQ("日本語", combo->Text());
    EXPECT_EQ(1, Form->LanguageChanges);
    combo->SetItemIndex(0);
    EXPECT_EQ(1, Form->LanguageChanges) << "the program's choice is no change of the user's";

    // Enter and Escape close the opened list and leave the dialog open.
    combo->Perform(CB_SHOWDROPDOWN, TRUE);
    Pump();
    ASSERT_TRUE(combo->DroppedDown());
    Type({VK_DOWN, VK_RETURN});
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(1, combo->ItemIndex());
    EXPECT_EQ(mrNone, Form->ModalResult());
    combo->Perform(CB_SHOWDROPDOWN, TRUE);
    Pump();
    Type({VK_ESCAPE});
    EXPECT_FALSE(combo->DroppedDown());
    EXPECT_EQ(mrNone, Form->ModalResult());

    combo->Items().Delete(0);
    EXPECT_EQ(2, combo->Perform(CB_GETCOUNT)) << "the control follows its list";
    EXPECT_EQ(1, combo->ItemIndex());
}

TEST_F(InputCtrls, EnterEscapeAndMnemonicsInADialog)
{
    Form->EditName->SetFocus();
    Type({'X'}, {VK_MENU});
    EXPECT_FALSE(Form->CheckProxy->Checked()) << "Alt+X toggles the check box";
    EXPECT_EQ(Form->CheckProxy->Handle(), Focus());
    Type({'N'}, {VK_MENU});
    EXPECT_EQ(Form->EditName->Handle(), Focus()) << "a label's mnemonic goes to its FocusControl";
    Type({'M'}, {VK_MENU});
    EXPECT_EQ(Form->RadioA->Handle(), Focus()) << "a group box's mnemonic goes to the first control in it";
    Form->EditName->SetFocus();
    Type({'O'});
    EXPECT_EQ(mrNone, Form->ModalResult()) << "a letter typed into a text field is text";

    Type({VK_RETURN});
    EXPECT_EQ(mrOk, Form->ModalResult()) << "Enter in a text field presses the default button";
    Form->SetModalResult(mrNone);
    Type({VK_ESCAPE});
    EXPECT_EQ(mrCancel, Form->ModalResult());
    Form->SetModalResult(mrNone);
    Form->CheckProxy->SetFocus();
    Type({'O'});
    EXPECT_EQ(mrOk, Form->ModalResult()) << "where the focus takes no characters, a letter is a mnemonic";
    Form->SetModalResult(mrNone);
    Form->BtnOK->SetEnabled(false);
    Type({'O'}, {VK_MENU});
    EXPECT_EQ(mrNone, Form->ModalResult()) << "a disabled button's mnemonic does nothing";
}

}  // namespace
