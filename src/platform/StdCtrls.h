#pragma once
// Labels and push buttons.

#include "Controls.h"

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };
inline constexpr const char* AlignmentNames[] = {"taLeftJustify", "taRightJustify", "taCenter"};
inline constexpr const char* TextLayoutNames[] = {"tlTop", "tlCenter", "tlBottom"};

// Draws a control's text in the canvas font with a clear background; disabled text is embossed in the system's
// highlight and shadow colours.
void DrawControlText(TCanvas& Canvas, const std::string& Text, RECT Rect, UINT Format, bool Enabled);

// Draws a bitmap unscaled at (X, Y) with its bottom-left pixel's colour left out, as glyphs and transparent
// pictures are shown.
void DrawTransparentBitmap(HDC DC, int X, int Y, TBitmap& Bitmap);

class TLabel : public TGraphicControl {
public:
    explicit TLabel(TComponent* AOwner);
    std::string Caption() const override { return FCaption; }
    void SetCaption(const std::string& Value) override;
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool Value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout Value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool Value);
    // An "&" in the caption underlines the next character, the label's mnemonic; false shows every "&" as it is
    // (texts that are not captions: paths, messages).
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool Value);
    // The control the label's mnemonic gives the focus to.
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* Value);

protected:
    void Paint() override;
    void FontChanged() override;
    void Loaded() override;
    void WndProc(TMessage& Message) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void AdjustBounds();
    UINT TextFormat() const;
    bool FAutoSize = true;
    bool FTransparent = false;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
    TWinControl* FFocusControl = nullptr;
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
};

// A push button (the system BUTTON class). It answers the form's dialog keys: Enter when it has the focus or is the
// default button, Escape when it is the cancel button; and its caption's mnemonic, which clicks it.
class TButton : public TWinControl {
public:
    explicit TButton(TComponent* AOwner);
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult Value) { FModalResult = Value; }
    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    // A click: OnClick, then the modal result to the form.
    void Click() override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
    // Shows the window as the default button or not (the system style; owner-drawn buttons repaint).
    virtual void UpdateDefaultLook();

private:
    bool WantsDialogKey(WPARAM Key) const;
    TModalResult FModalResult = mrNone;
    bool FDefault = false;
    bool FCancel = false;
};

class TClassRegistry;
// Layout class and property tables of this unit.
void RegisterStdCtrlsClasses(TClassRegistry& Registry);
