#pragma once
// The everyday input controls: a one-line text field, check boxes, radio buttons, a drop-down list, and the group
// box that frames them. A unit of its own, so that a program links it only when it shows one of them. Each is the
// system control (so screen readers and other programs see what they expect) except the group box, which paints
// itself.

#include <string>

#include "Classes.h"
#include "Controls.h"

// One line of text (the system EDIT). Enter and Escape stay the form's dialog keys; Tab moves on.
class TEdit : public TWinControl {
public:
    explicit TEdit(TComponent* AOwner);
    std::string Text() const { return Caption(); }
    void SetText(const std::string& Value) { SetCaption(Value); }
    // The most characters the user may type; 0 for no limit. Text set by the program is not cut.
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int Value);
    // Shown instead of each character (a password field); 0 shows the text.
    char PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(char Value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool Value);
    // The whole text is selected when the focus comes by keyboard, as in a dialog.
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool Value) { FAutoSelect = Value; }
    // After every change of the text, the user's or the program's.
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateHandleDone() override;
    void WndProc(TMessage& Message) override;

private:
    int FMaxLength = 0;
    char FPasswordChar = 0;
    bool FReadOnly = false;
    bool FAutoSelect = true;
};

// A check box or radio button on the system BUTTON. The control keeps the check itself, so a click and the program
// setting Checked go the same way; OnClick follows every change of Checked once the control is loaded.
class TButtonControl : public TWinControl {
public:
    explicit TButtonControl(TComponent* AOwner);
    bool Checked() const { return FChecked; }
    virtual void SetChecked(bool Value);
    // What a click, Space or the control's mnemonic does.
    virtual void Toggle() = 0;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateHandleDone() override;
    void WndProc(TMessage& Message) override;
    virtual DWORD ButtonStyle() const = 0;

private:
    bool FChecked = false;
};

class TCheckBox : public TButtonControl {
public:
    explicit TCheckBox(TComponent* AOwner);
    void Toggle() override { SetChecked(!Checked()); }

protected:
    DWORD ButtonStyle() const override { return BS_CHECKBOX; }
};

// Radio buttons with the same parent are one group: checking one clears the others. Only the checked one is a tab
// stop; the arrow keys move to the next or previous one of the group and check it.
class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(TComponent* AOwner);
    void SetChecked(bool Value) override;
    void Toggle() override { SetChecked(true); }

protected:
    DWORD ButtonStyle() const override { return BS_RADIOBUTTON; }
    void WndProc(TMessage& Message) override;

private:
    void MoveInGroup(bool Forward);
};

// A drop-down list to pick one of Items from (the system COMBOBOX, drop-down list style): nothing to type.
class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent* AOwner);
    // The control follows every change of the list.
    TStringList& Items() { return FItems; }
    // The picked item; -1 for none.
    int ItemIndex() const;
    void SetItemIndex(int Value);
    // The picked item's text, empty when none is picked.
    std::string Text() const;
    // How many items the opened list shows before it scrolls.
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int Value) { FDropDownCount = Value; }
    bool DroppedDown();
    // After the user picked another item (not after SetItemIndex).
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateHandleDone() override;
    void WndProc(TMessage& Message) override;

private:
    void FillList();
    void SizeDropDown();
    TStringList FItems;
    int FItemIndex = -1;  // kept while there is no window
    int FDropDownCount = 8;
};

// A frame with a caption that holds other controls; it paints itself, the frame in FrameColor.
class TGroupBox : public TCustomControl {
public:
    explicit TGroupBox(TComponent* AOwner);
    TColor FrameColor() const { return FFrameColor; }
    void SetFrameColor(TColor Value);
    // The children sit below the caption.
    RECT AlignRect() const override;

protected:
    void Paint() override;
    void WndProc(TMessage& Message) override;

private:
    int CaptionHeight();
    TColor FFrameColor = clBtnShadow;
};

class TClassRegistry;
// Layout class and property tables of this unit.
void RegisterInputCtrlsClasses(TClassRegistry& Registry);
