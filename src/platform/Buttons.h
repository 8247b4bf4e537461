#pragma once
// Bitmap buttons and speed buttons.

#include <memory>

#include "StdCtrls.h"

enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
inline constexpr const char* BitBtnKindNames[] = {"bkCustom", "bkOK",    "bkCancel", "bkHelp",   "bkYes", "bkNo",
                                                  "bkClose",  "bkAbort", "bkRetry",  "bkIgnore", "bkAll"};

// An owner-drawn push button that can show a glyph; its Kind sets modal result, Default and Cancel.
class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent* AOwner);
    ~TBitBtn() override;
    TBitBtnKind Kind() const { return FKind; }
    void SetKind(TBitBtnKind Value);
    TBitmap& Glyph() { return *FGlyph; }
    void Click() override;  // bkClose closes the form

protected:
    void CreateParams(TCreateParams& Params) override;
    void WndProc(TMessage& Message) override;
    // The stock owner-draw look: face, glyph, caption, focus rectangle.
    virtual void DrawItem(const DRAWITEMSTRUCT& Item);
    void UpdateDefaultLook() override;

private:
    TBitBtnKind FKind = bkCustom;
    std::unique_ptr<TBitmap> FGlyph;
};

// A flat windowless button that draws a glyph; clicks on release inside.
class TSpeedButton : public TGraphicControl {
public:
    explicit TSpeedButton(TComponent* AOwner);
    ~TSpeedButton() override;
    TBitmap& Glyph() { return *FGlyph; }
    bool Flat() const { return FFlat; }
    void SetFlat(bool Value);
    bool Down() const { return FDown; }

protected:
    void WndProc(TMessage& Message) override;
    void Paint() override;

private:
    void MouseDown(POINT P);
    void MouseMove(POINT P);
    void MouseUp(POINT P);
    std::unique_ptr<TBitmap> FGlyph;
    bool FFlat = false;
    bool FDown = false;   // pressed and the mouse still over it
    bool FMouseInControl = false;
    bool FTracking = false;  // the press started here; the release decides the click
};

class TClassRegistry;
// Layout class and property tables of this unit.
void RegisterButtonsClasses(TClassRegistry& Registry);
