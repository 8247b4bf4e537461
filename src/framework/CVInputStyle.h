#pragma once
// The house look of the everyday input controls (InputCtrls), as restrained as the button look: a one-pixel frame
// in the button grey that turns blue under the pointer and deep blue with the focus, checks in the house blue, the
// glass button picture behind a drop-down list's arrow, group frames in the grey of the separator lines. Text
// fields, check boxes, radio buttons and drop-down lists keep the system control and its behaviour; the style paints
// them over, as the button style does. A group box paints itself, so its look is its frame colour.

#include <memory>

#include "CVControlStyle.h"
#include "InputCtrls.h"

struct TInputStyleColors {
    TColor Frame;
    TColor HotFrame;
    TColor FocusFrame;
    TColor DisabledFrame;
    TColor Mark;         // the check and the radio dot; the focused drop-down list's text field
    TColor HotFill;      // a check box under the pointer
    TColor PressedFill;  // a check box held down
    TColor GroupFrame;
};

extern const TInputStyleColors InputStyleDefaults;

class TInputStyle : public TControlStyle {
public:
    TInputStyle(TComponent* AOwner, TWinControl* AControl, const TInputStyleColors& Colors);
    // Takes over the control's window procedure and shows the look.
    void Attach();
    bool Hot() const { return FHot; }

protected:
    void HookWndProc(TMessage& Message);
    // The frame's colour in the control's state: disabled, focused, under the pointer, or none of these.
    TColor FrameColor() const;
    // The style composes the client area (WM_PAINT); a text field's style paints only its frame.
    virtual bool PaintsClient() const { return true; }
    // Whether the stock handling of Msg may have drawn over the look, which is then shown again.
    virtual bool Follows(UINT Msg) const;
    virtual void Restore() { FControl->Repaint(); }
    bool Compose(TCanvas&) override { return false; }

    TInputStyleColors FColors;

private:
    bool FHot = false;
};

// Check boxes and radio buttons: the box or circle, the caption with its mnemonic, the focus mark around it.
class TCheckStyle : public TInputStyle {
public:
    TCheckStyle(TComponent* AOwner, TButtonControl* AControl, const TInputStyleColors& Colors);

protected:
    bool Compose(TCanvas& Canvas) override;

private:
    void DrawBox(TCanvas& Canvas, const RECT& Box);
    TButtonControl* FButton;
};

// Text fields: the frame over the system's sunken edge; the text, caret and selection stay the system's.
class TEditStyle : public TInputStyle {
public:
    TEditStyle(TComponent* AOwner, TEdit* AControl, const TInputStyleColors& Colors);

protected:
    bool PaintsClient() const override { return false; }
    bool Follows(UINT Msg) const override;
    void Restore() override;

private:
    TEdit* FEdit;
};

// Drop-down lists: the field with the picked item (white on the house blue with the focus) and the arrow on the
// glass button picture. The opened list is the system's.
class TComboStyle : public TInputStyle {
public:
    TComboStyle(TComponent* AOwner, TComboBox* AControl, const TInputStyleColors& Colors);

protected:
    bool Compose(TCanvas& Canvas) override;

private:
    void DrawArrowButton(TCanvas& Canvas, const RECT& Button);
    TComboBox* FCombo;
    std::unique_ptr<TBitmap> FBackground;
    std::unique_ptr<TBitmap> FBackgroundB;
};

// Gives Control the look of its family (and its parent's font); false when it is none of the input controls.
bool StyleInputControl(TComponent* Control, const TInputStyleColors& Colors);
// Registers the input controls' layout tables and adds the look pass's rule for them.
void RegisterInputStyle();
