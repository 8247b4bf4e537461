#pragma once
// Labels and push buttons.

#include "Controls.h"

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };

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

protected:
    void Paint() override;
    void FontChanged() override;

private:
    void AdjustBounds();
    UINT TextFormat() const;
    bool FAutoSize = true;
    bool FTransparent = false;
    bool FWordWrap = false;
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
};

// A push button (the system BUTTON class). Enter/Escape reach it through the form's dialog keys.
class TButton : public TWinControl {
public:
    explicit TButton(TComponent* AOwner);
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int Value) { FModalResult = Value; }
    bool Default() const { return FDefault; }
    void SetDefault(bool Value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool Value) { FCancel = Value; }
    // A click: OnClick, then the modal result to the form.
    void Click() override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;

private:
    int FModalResult = 0;
    bool FDefault = false;
    bool FCancel = false;
};

class TClassRegistry;
// Layout class and property tables of this unit.
void RegisterStdCtrlsClasses(TClassRegistry& Registry);
